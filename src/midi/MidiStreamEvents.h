#pragma once
// The records of a play as the player's stream events: 12 bytes each, little-endian: delta
// ticks, stream id 0, event word. The word is a short MIDI message in its low three bytes, or
// a tempo, a no-operation or a cursor position for the player's owner.

#include <cstdint>
#include <optional>
#include <vector>

#include "midi/strMidiNote.h"

namespace vornel {

inline constexpr size_t kMidiStreamEventBytes = 12;
// Bit of the event word that asks the stream to report the event to the player.
inline constexpr uint32_t kMidiStreamCallback = 0x40000000;
inline constexpr uint32_t kMidiStreamTempo = 0x01000000;
inline constexpr uint32_t kMidiStreamNop = 0x02000000;
inline constexpr uint32_t kMidiStreamPosition = 0x42000000;

// The event word of a record with its delta; nothing for records that the stream does not
// carry (repeat signs, tempo texts).
std::optional<uint32_t> MidiStreamEventWord(const strMidiNote& record, uint32_t delta);

// A beat per `beatTicks` up to the last record's time, as percussion notes (velocity 64,
// lasting a quarter of a beat) on the metronome channel, merged into the absolute-time list.
void AddMetronomeBeats(strMidiBuffer& buffer, uint32_t beatTicks, uint8_t key = 81, uint8_t channel = 9);

// Where a bar marker of a play stands: its system and bar.
struct MidiPlayPosition {
  int32_t system = 0;
  int32_t bar = 0;
  bool operator==(const MidiPlayPosition&) const = default;
};

// The stream events of an absolute-time list, the first delta 0. With `positions` the bar
// markers' whole systems and bars are listed there and each marker's word carries its index
// in the list (the first 16,777,216 markers; later ones are left out).
std::vector<uint8_t> WriteStreamEvents(const strMidiBuffer& buffer, std::vector<MidiPlayPosition>* positions = nullptr);
// The most bar markers a play lists.
inline constexpr size_t kMaxPlayPositions = size_t(1) << 24;

}  // namespace vornel
