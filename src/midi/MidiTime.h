#pragma once
// MIDI time: 768 ticks to a whole note, 192 to a quarter (the division of every stream and file
// this program writes), and the arithmetic of bars and tempi that playback, export and import
// share.

#include <cstdint>

namespace vornel {

inline constexpr uint32_t kMidiTicksPerWhole = 768;
inline constexpr uint32_t kMidiTicksPerQuarter = 192;
// The largest time a variable-length quantity can carry; event times are kept below it.
inline constexpr uint32_t kMidiMaxTicks = 0x0FFFFFFF;
// The tempo when none is given.
inline constexpr uint32_t kMidiDefaultTempo = 120;
// The slowest tempo written: 60,000,000 / 4 still fits the 24 bits of a tempo event.
inline constexpr uint32_t kMidiMinTempo = 4;

// A time signature as MIDI time sees it. A numerator of 0 or a denominator of 0, or one whose
// beat would be shorter than a tick, counts as 4/4, so that no bar or beat is ever 0 ticks.
struct MidiMeter {
  uint32_t numerator = 4;
  uint32_t denominator = 4;
  uint32_t barTicks = 768;
  uint32_t beatTicks = 192;

  // Ticks per bar = (768 >> log2(denominator)) × numerator, where log2 counts how often the
  // denominator can be halved before it reaches 1 (so 6/8 gives 576, 3/4 gives 576).
  static MidiMeter From(int64_t numerator, int64_t denominator);
};

// The metronome clicks on the beats, but never closer than a sixty-fourth note (a beat of a
// 1/512 meter would click on every tick), and never more than 64 times per event of the music
// it goes with (a few events that last very long must not make millions of clicks).
inline constexpr uint32_t kMinMetronomeTicks = kMidiTicksPerWhole / 64;
inline uint32_t MetronomeClickTicks(uint32_t beatTicks) { return beatTicks < kMinMetronomeTicks ? kMinMetronomeTicks : beatTicks; }
inline uint64_t MaxMetronomeClicks(uint64_t events) { return 64 * (events + 1); }

// Beats per minute as written: the low 12 bits of a tempo word, 0 read as the default tempo,
// anything below the slowest tempo raised to it.
uint32_t MidiTempoBpm(uint32_t tempoWord);
// Microseconds per quarter note of a tempo word (through MidiTempoBpm).
uint32_t MidiTempoMicroseconds(uint32_t tempoWord);

// number × numerator / denominator rounded half up, on non-negative values; a denominator of 0
// gives 0.
uint64_t MidiScale(uint64_t number, uint64_t numerator, uint64_t denominator);

}  // namespace vornel
