#include "midi/MidiFileTrack.h"

#include <algorithm>
#include <string>

namespace vornel {

namespace {

// Repeat types of a repeat sign (bits 4-6 of its bar line).
constexpr uint8_t kRepeatEnd = 0;    // dots on the left: play again from the start
constexpr uint8_t kRepeatStart = 1;  // dots on the right
constexpr uint8_t kRepeatBoth = 2;

void WriteController(MidiFile& file, uint32_t delta, const strMidiNote& r, uint8_t controller, uint8_t value,
                     const MidiEcho& echo) {
  file.WriteController(delta, r.channel, controller, value);
  if (echo.on) file.WriteController(0, echo.channel, controller, value);
}

// Writes one record; false when the record has no event in a file (its delta then goes to
// the next one).
bool WriteRecord(MidiFile& file, uint32_t delta, const strMidiNote& r, const MidiEcho& echo) {
  switch (r.kind) {
    case strMidiNote::kNoteOn:
      file.WriteNoteOn(delta, r.channel, r.key, r.velocity);
      return true;
    case strMidiNote::kNoteOff:
      file.WriteNoteOff(delta, r.channel, r.key);
      return true;
    case strMidiNote::kText:
      if (r.text.empty()) return false;
      file.WriteText(delta, MidiFile::kTextEvent, r.text);
      return true;
    case strMidiNote::kDynamics:
      WriteController(file, delta, r, 11, r.velocity, echo);
      return true;
    case strMidiNote::kController:
      switch (r.key) {
        case 1: WriteController(file, delta, r, 7, r.velocity, echo); return true;
        case 3: WriteController(file, delta, r, 11, r.velocity, echo); return true;
        case 4: WriteController(file, delta, r, 4, r.velocity, echo); return true;
        case 5:
          WriteController(file, delta, r, 64, 127, echo);
          WriteController(file, 0, r, 4, r.velocity, echo);
          return true;
        case 6: WriteController(file, delta, r, 68, r.velocity, echo); return true;
        case 7:
        case 66: WriteController(file, delta, r, 1, r.velocity, echo); return true;
        case 8: WriteController(file, delta, r, 10, r.velocity, echo); return true;
        case 9: WriteController(file, delta, r, 65, r.velocity, echo); return true;
        case 10: WriteController(file, delta, r, 37, r.velocity, echo); return true;
        case 11: WriteController(file, delta, r, 67, r.velocity, echo); return true;
        case strMidiNote::kSubProgram: file.WriteProgramChange(delta, r.channel, r.velocity); return true;
        case strMidiNote::kSubTempo: file.WriteTempo(delta, static_cast<uint32_t>(r.duration)); return true;
        case 17: WriteController(file, delta, r, 123, 0, echo); return true;
        default: return false;
      }
    default:
      return false;
  }
}

}  // namespace

void MidiFileTrack::WriteHeaderAndTitle(MidiFile& file, uint16_t tracks, std::string_view title,
                                        std::string_view author) {
  file.WriteHeader(1, static_cast<uint16_t>(tracks + 1));
  file.BeginTrack();
  file.WriteText(0, MidiFile::kTextEvent, "Title = " + std::string(title));
  file.WriteText(0, MidiFile::kTextEvent, "Author = " + std::string(author));
  file.EndTrack();
}

strMidiBuffer MidiFileTrack::ExpandRepeats(const strMidiBuffer& records) {
  strMidiBuffer out;
  out.reserve(records.size());
  uint64_t shift = 0;  // the length of the passages written again so far
  size_t start = 0;    // first record of the passage to repeat
  uint32_t startTime = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    const strMidiNote& r = records[i];
    if (r.kind != strMidiNote::kRepeatSign) {
      out.push_back(r);
      out.records().back().time = static_cast<uint32_t>(std::min<uint64_t>(r.time + shift, kMidiMaxTicks));
      continue;
    }
    if (r.key != strMidiNote::kRepeatKey) continue;
    if (r.velocity == kRepeatStart) {
      start = i + 1;
      startTime = r.time;
    } else if (r.velocity == kRepeatEnd || r.velocity == kRepeatBoth) {
      // The passage again, right after the sign; what follows moves back by its length.
      const uint32_t length = r.time - std::min(startTime, r.time);
      strMidiBuffer::Records copy;
      records.CopyRange(start, i, copy);
      for (strMidiNote& c : copy) {
        c.time = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{c.time} - startTime + r.time + shift, kMidiMaxTicks));
        out.push_back(std::move(c));
      }
      shift += length;
      start = i + 1;
      startTime = r.time;
    }
  }
  return out;
}

uint64_t MidiFileTrack::WriteEvents(MidiFile& file, const strMidiBuffer& records, const MidiEcho& echo,
                                    bool expandRepeats) {
  const strMidiBuffer expanded = expandRepeats ? ExpandRepeats(records) : strMidiBuffer();
  const strMidiBuffer& list = expandRepeats ? expanded : records;
  const uint64_t before = file.TotalTicks();
  uint32_t previous = 0;
  for (const strMidiNote& r : list) {
    if (r.kind == strMidiNote::kRepeatSign || r.kind == strMidiNote::kBarMarker) continue;
    const uint32_t delta = r.time >= previous ? r.time - previous : 0;
    if (WriteRecord(file, delta, r, echo)) previous = std::max(previous, r.time);
  }
  return file.TotalTicks() - before;
}

void MidiFileTrack::WriteMetronome(MidiFile& file, uint64_t totalTicks, uint32_t beatTicks, uint8_t channel,
                                   uint8_t key, uint64_t events) {
  file.BeginTrack(channel);
  file.WriteText(0, MidiFile::kTrackName, "metronome");
  file.WriteController(0, channel, 7, kMetronomeVolume);
  if (beatTicks > 0) {
    strMidiBuffer clicks;
    const uint32_t clickTicks = MetronomeClickTicks(beatTicks);
    const uint64_t count = std::min({totalTicks / clickTicks, uint64_t{kMidiMaxTicks} / clickTicks,
                                     MaxMetronomeClicks(events)});
    clicks.reserve(static_cast<size_t>(count) * 2);
    for (uint64_t k = 0; k < count; ++k) {
      clicks.AddNote(static_cast<uint32_t>(k * clickTicks), key, kMetronomeVelocity,
                     static_cast<int32_t>(clickTicks / 4), channel);
    }
    clicks.AddNoteOffs();
    WriteEvents(file, clicks, MidiEcho{}, false);
  }
  file.EndTrack();
}

}  // namespace vornel
