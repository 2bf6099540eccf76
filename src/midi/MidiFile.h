#pragma once
// The bytes of a Standard MIDI File being written: the header, tracks opened with a zero
// length that is patched when the track ends, and the events of a track with their delta
// times as variable-length quantities. Numbers are big-endian. The whole file is kept in
// memory and saved through a temporary file, so a failed write leaves nothing half written.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "midi/MidiTime.h"

namespace vornel {

class MidiFile {
 public:
  // Meta-event types.
  static constexpr uint8_t kSequenceNumber = 0x00;
  static constexpr uint8_t kTextEvent = 0x01;
  static constexpr uint8_t kTrackName = 0x03;
  static constexpr uint8_t kEndOfTrack = 0x2F;
  static constexpr uint8_t kSetTempo = 0x51;
  static constexpr uint8_t kTimeSignature = 0x58;
  static constexpr uint8_t kKeySignature = 0x59;
  // Velocity of every note-off written.
  static constexpr uint8_t kNoteOffVelocity = 32;

  explicit MidiFile(uint16_t division = kMidiTicksPerQuarter) : division_(division) {}

  uint16_t Division() const { return division_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  // "MThd", length 6, the format, the number of tracks and the division.
  void WriteHeader(uint16_t format, uint16_t trackCount);
  // "MTrk" with a zero length, patched by EndTrack; the running total starts at 0.
  void BeginTrack(uint8_t channel = 0);
  // The end-of-track event, then the track's length written into its length field.
  void EndTrack();
  uint8_t Channel() const { return channel_; }
  // The delta times written in the current track so far.
  uint64_t TotalTicks() const { return totalTicks_; }

  void WriteVarLen(uint32_t value);
  void WriteNoteOn(uint32_t delta, uint8_t channel, uint8_t key, uint8_t velocity);
  void WriteNoteOff(uint32_t delta, uint8_t channel, uint8_t key);
  void WriteController(uint32_t delta, uint8_t channel, uint8_t controller, uint8_t value);
  void WriteProgramChange(uint32_t delta, uint8_t channel, uint8_t program);
  void WriteMeta(uint32_t delta, uint8_t type, std::span<const uint8_t> data);
  // A text meta-event; the UTF-8 text is written in Windows-1252, other characters as '?'.
  void WriteText(uint32_t delta, uint8_t type, std::string_view text);
  // FF 51 03 with the microseconds per quarter of the tempo word (clamped, MidiTime.h).
  void WriteTempo(uint32_t delta, uint32_t tempoWord);
  // FF 58 04 nn dd 18 08, dd = log2 of the denominator (of 4/4 for a signature that is not one).
  void WriteTimeSignature(uint32_t delta, int32_t numerator, int32_t denominator);
  // FF 59 02 sf mi, sf the signed count of sharps (negative for flats).
  void WriteKeySignature(uint32_t delta, int8_t accidentals, bool minor);

  // Writes the file through a temporary file renamed into place; false (with the reason in
  // `error`) when it cannot be written whole.
  bool Save(const std::string& path, std::string* error = nullptr) const;

 private:
  void WriteDelta(uint32_t delta);
  void WriteChannelEvent(uint32_t delta, uint8_t status, uint8_t channel, uint8_t a, uint8_t b, bool twoBytes);
  void PutU16(uint16_t v);
  void PutU32(uint32_t v);

  std::vector<uint8_t> bytes_;
  uint16_t division_;
  size_t lengthAt_ = 0;  // position of the current track's length field
  bool inTrack_ = false;
  uint8_t channel_ = 0;
  uint64_t totalTicks_ = 0;
};

}  // namespace vornel
