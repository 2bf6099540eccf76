#include "midi/MidiStreamEvents.h"

#include <algorithm>

#include "midi/MidiTime.h"

namespace vornel {

namespace {

uint32_t ShortMessage(uint8_t status, uint8_t a, uint8_t b) {
  return status | (uint32_t{a & 0x7Fu} << 8) | (uint32_t{b & 0x7Fu} << 16);
}

uint32_t ControlChange(uint8_t channel, uint8_t controller, uint8_t value) {
  return ShortMessage(static_cast<uint8_t>(0xB0 | (channel & 0x0F)), controller, value);
}

void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::optional<uint32_t> MidiStreamEventWord(const strMidiNote& r, uint32_t delta) {
  const uint8_t channel = r.channel & 0x0F;
  switch (r.kind) {
    case strMidiNote::kNoteOn:
    case strMidiNote::kNoteOff: {
      uint32_t word = ShortMessage(static_cast<uint8_t>(r.kind | channel), r.key, r.velocity);
      if (r.flag != 0 && channel == 0 && delta != 0 && r.kind == strMidiNote::kNoteOn) word |= kMidiStreamCallback;
      return word;
    }
    case strMidiNote::kBarMarker:
      return kMidiStreamPosition | (uint32_t{r.key} << 16) | r.velocity;
    case strMidiNote::kText:
      return kMidiStreamNop;
    case strMidiNote::kDynamics:
      return ControlChange(channel, 11, r.velocity);
    case strMidiNote::kController:
      switch (r.key) {
        case 1: return ControlChange(channel, 7, r.velocity);
        case 3: return ControlChange(channel, 11, r.velocity);
        case 4: return ControlChange(channel, 4, r.velocity);
        case 7:
        case 15: return ControlChange(channel, 1, r.velocity);
        case 8: return ControlChange(channel, 8, r.velocity);
        case 11: return ControlChange(channel, 67, r.velocity);
        case strMidiNote::kSubProgram: return ShortMessage(static_cast<uint8_t>(0xC0 | channel), r.velocity, 0);
        case strMidiNote::kSubTempo:
          return kMidiStreamTempo | MidiTempoMicroseconds(static_cast<uint32_t>(r.duration));
        default: return ControlChange(channel, r.key, r.velocity);
      }
    default:
      return std::nullopt;
  }
}

void AddMetronomeBeats(strMidiBuffer& buffer, uint32_t beatTicks, uint8_t key, uint8_t channel) {
  if (beatTicks == 0 || buffer.empty()) return;
  const uint32_t last = buffer.records().back().time;
  const uint32_t clickTicks = MetronomeClickTicks(beatTicks);
  const uint64_t clicks = std::min<uint64_t>(uint64_t{last} / clickTicks + 1, MaxMetronomeClicks(buffer.size()));
  strMidiBuffer beats;
  for (uint64_t k = 0; k < clicks; ++k) {
    beats.AddNote(static_cast<uint32_t>(k * clickTicks), key, 64, static_cast<int32_t>(clickTicks / 4), channel & 0x0F);
  }
  beats.AddNoteOffs();
  buffer.Merge(std::move(beats));
}

std::vector<uint8_t> WriteStreamEvents(const strMidiBuffer& buffer, std::vector<MidiPlayPosition>* positions) {
  std::vector<uint8_t> out;
  out.reserve(buffer.size() * kMidiStreamEventBytes);
  uint32_t previous = buffer.empty() ? 0 : buffer[0].time;
  uint32_t pending = 0;  // the time of records the stream does not carry
  for (const strMidiNote& r : buffer) {
    const uint32_t delta = pending + (r.time >= previous ? r.time - previous : 0);
    previous = std::max(previous, r.time);
    auto word = MidiStreamEventWord(r, delta);
    if (word && positions != nullptr && r.kind == strMidiNote::kBarMarker) {
      if (positions->size() < kMaxPlayPositions) {
        word = kMidiStreamPosition | static_cast<uint32_t>(positions->size());
        positions->push_back({r.markerSystem, r.markerBar});
      } else {
        word.reset();
      }
    }
    if (!word) {
      pending = delta;
      continue;
    }
    pending = 0;
    PutLE32(out, delta);
    PutLE32(out, 0);
    PutLE32(out, *word);
  }
  return out;
}

}  // namespace vornel
