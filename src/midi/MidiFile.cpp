#include "midi/MidiFile.h"

#include <algorithm>
#include <array>

#include "platform/io/FileIO.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr std::array<uint8_t, 4> kHeaderMagic = {'M', 'T', 'h', 'd'};
constexpr std::array<uint8_t, 4> kTrackMagic = {'M', 'T', 'r', 'k'};

}  // namespace

void MidiFile::PutU16(uint16_t v) {
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
  bytes_.push_back(static_cast<uint8_t>(v));
}

void MidiFile::PutU32(uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back(static_cast<uint8_t>(v >> shift));
}

void MidiFile::WriteHeader(uint16_t format, uint16_t trackCount) {
  bytes_.insert(bytes_.end(), kHeaderMagic.begin(), kHeaderMagic.end());
  PutU32(6);
  PutU16(format);
  PutU16(trackCount);
  PutU16(division_);
}

void MidiFile::BeginTrack(uint8_t channel) {
  if (inTrack_) EndTrack();
  bytes_.insert(bytes_.end(), kTrackMagic.begin(), kTrackMagic.end());
  PutU32(0);
  lengthAt_ = bytes_.size();
  inTrack_ = true;
  channel_ = channel & 0x0F;
  totalTicks_ = 0;
}

void MidiFile::EndTrack() {
  if (!inTrack_) return;
  WriteMeta(0, kEndOfTrack, {});
  const size_t length = bytes_.size() - lengthAt_;
  for (int i = 0; i < 4; ++i) bytes_[lengthAt_ - 4 + static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (24 - 8 * i));
  inTrack_ = false;
}

void MidiFile::WriteVarLen(uint32_t value) {
  value = std::min(value, kMidiMaxTicks);
  uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) bytes_.push_back(static_cast<uint8_t>(groups[--n] | 0x80));
  bytes_.push_back(groups[0]);
}

void MidiFile::WriteDelta(uint32_t delta) {
  delta = std::min(delta, kMidiMaxTicks);
  WriteVarLen(delta);
  totalTicks_ += delta;
}

void MidiFile::WriteChannelEvent(uint32_t delta, uint8_t status, uint8_t channel, uint8_t a, uint8_t b,
                                 bool twoBytes) {
  WriteDelta(delta);
  // Status bytes always name a channel 0-15; data bytes above 127 are held at 127, never
  // folded back.
  bytes_.push_back(static_cast<uint8_t>(status | (channel & 0x0F)));
  bytes_.push_back(std::min<uint8_t>(a, 0x7F));
  if (twoBytes) bytes_.push_back(std::min<uint8_t>(b, 0x7F));
}

void MidiFile::WriteNoteOn(uint32_t delta, uint8_t channel, uint8_t key, uint8_t velocity) {
  WriteChannelEvent(delta, 0x90, channel, key, velocity, true);
}

void MidiFile::WriteNoteOff(uint32_t delta, uint8_t channel, uint8_t key) {
  WriteChannelEvent(delta, 0x80, channel, key, kNoteOffVelocity, true);
}

void MidiFile::WriteController(uint32_t delta, uint8_t channel, uint8_t controller, uint8_t value) {
  WriteChannelEvent(delta, 0xB0, channel, controller, value, true);
}

void MidiFile::WriteProgramChange(uint32_t delta, uint8_t channel, uint8_t program) {
  WriteChannelEvent(delta, 0xC0, channel, program, 0, false);
}

void MidiFile::WriteMeta(uint32_t delta, uint8_t type, std::span<const uint8_t> data) {
  WriteDelta(delta);
  bytes_.push_back(0xFF);
  bytes_.push_back(type);
  WriteVarLen(static_cast<uint32_t>(data.size()));
  bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void MidiFile::WriteText(uint32_t delta, uint8_t type, std::string_view text) {
  std::string bytes = Utf8ToCp1252(text);
  // A meta length is a variable-length quantity; longer texts are cut.
  if (bytes.size() > kMidiMaxTicks) bytes.resize(kMidiMaxTicks);
  WriteMeta(delta, type, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

void MidiFile::WriteTempo(uint32_t delta, uint32_t tempoWord) {
  const uint32_t us = MidiTempoMicroseconds(tempoWord);
  const uint8_t data[3] = {static_cast<uint8_t>(us >> 16), static_cast<uint8_t>(us >> 8), static_cast<uint8_t>(us)};
  WriteMeta(delta, kSetTempo, data);
}

void MidiFile::WriteTimeSignature(uint32_t delta, int32_t numerator, int32_t denominator) {
  const MidiMeter meter = MidiMeter::From(numerator, denominator);
  uint8_t power = 0;
  for (uint32_t d = meter.denominator; d > 1; d /= 2) ++power;
  const uint8_t data[4] = {static_cast<uint8_t>(meter.numerator), power, 0x18, 0x08};
  WriteMeta(delta, kTimeSignature, data);
}

void MidiFile::WriteKeySignature(uint32_t delta, int8_t accidentals, bool minor) {
  const int8_t sf = std::clamp<int8_t>(accidentals, -7, 7);
  const uint8_t data[2] = {static_cast<uint8_t>(sf), static_cast<uint8_t>(minor ? 1 : 0)};
  WriteMeta(delta, kKeySignature, data);
}

bool MidiFile::Save(const std::string& path, std::string* error) const {
  return WriteFileAtomically(path, bytes_, error);
}

}  // namespace vornel
