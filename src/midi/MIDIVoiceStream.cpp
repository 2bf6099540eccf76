#include "midi/MIDIVoiceStream.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "midi/MidiTime.h"
#include "model/events/CMetaEvent.h"
#include "model/events/GraceNoteEvent.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "model/voice/nNotes.h"

namespace vornel {

namespace {

constexpr size_t kNone = std::numeric_limits<size_t>::max();
// Chord status values the builder acts on.
constexpr uint16_t kTimelessBits = 0x0F00;
constexpr uint16_t kDeadNoteMark = 13;
constexpr uint16_t kRepeatBit = 0x80;
// The longest pause one multi-bar rest adds (over a thousand whole notes).
constexpr uint64_t kMaxPause = 1000000;
constexpr uint8_t kTieType = 8;

uint8_t Clamp7(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 127)); }
uint8_t ClampVelocity(int64_t v) { return static_cast<uint8_t>(std::clamp<int64_t>(v, 1, 127)); }
uint32_t ClampTime(uint64_t t) { return static_cast<uint32_t>(std::min<uint64_t>(t, kMidiMaxTicks)); }

// The grace notes of an ornament code: 'M' the main pitch, 'N' the neighbour, and the ticks
// they take from the main note of length d.
struct GraceShape {
  const char* notes;
  int32_t taken;
};

GraceShape ShapeOf(int code, int32_t d) {
  switch (code) {
    case 1:
    case 0x41:
      return {"N", d / 3};
    case 2:
    case 6:
    case 0x42:
    case 0x46:
      return {"MN", (d / 4) * 2};
    case 4:
      return {"MNMN", ((2 * d) / 3) & ~3};
    case 7:
    case 0x26:
    case 0x47:
    case 0x66:
      return {"NNN", (d / 6) * 3};
    case 8:
      return {"NNNN", (d / 8) * 4};
    case 0x21:
    case 0x61:
      return {"NMN", (d / 7) * 3};
    case 0x22:
    case 0x44:
    case 0x48:
    case 0x62:
      return {"MNMN", (d / 8) * 4};
    case 0x24:
    case 100:
      return {"NN", (d / 5) * 2};
    case 0x27:
    case 0x67:
      return {"MNNN", (d / 8) * 4};
    default:
      return {"", 0};
  }
}

}  // namespace

int MidiControllerCode(const CMetaEvent& event) { return static_cast<int>((event.value >> 16) & 0xFF); }
int MidiControllerValue(const CMetaEvent& event) { return static_cast<int16_t>(event.value & 0xFFFF); }
uint32_t PackMidiController(int code, int value) {
  return (static_cast<uint32_t>(code & 0xFF) << 16) | static_cast<uint16_t>(static_cast<int16_t>(value));
}

struct MIDIVoiceStream::NoteContext {
  uint32_t time;
  int32_t duration;
  int transposition;
  const nChord* chord;
  uint8_t channel;
  uint8_t flag;
};

GraceParameters GraceParametersOf(const CMetaEvent& event) {
  GraceParameters g;
  g.flags = static_cast<uint32_t>(event.cy);
  g.step = GraceStartOffset(g.flags);
  return g;
}

void MIDIVoiceStream::Init(const MidiVoiceSettings& settings, uint8_t channel, uint8_t secondChannel,
                           int32_t numerator, int32_t denominator, int32_t firstSystem, bool reportPositions) {
  settings_ = settings;
  if (settings_.percussion) channel = secondChannel = 9;
  channels_[0] = channel & 0x0F;
  channels_[1] = (settings_.mergeVoices ? channel : secondChannel) & 0x0F;
  const MidiMeter meter = MidiMeter::From(numerator, denominator);
  barTicks_ = meter.barTicks;
  beatTicks_ = meter.beatTicks;
  firstSystem_ = firstSystem;
  reportPositions_ = reportPositions;
}

uint8_t MIDIVoiceStream::NoteVelocity(int key, uint32_t time) const {
  // Louder low or high by the equalizer's curve over the keyboard (1 at key 60) ...
  const double t = std::log(std::max(key, 2) * 0.5) / std::log(30.0);
  const double e = settings_.equalizer;
  const double base = e * t * t + (baseVelocity_ - e);
  // ... and accented on the first tick of a bar, less on a beat. Bars are counted from the
  // last bar line, so that a voice without bar lines still has its bars in the meter.
  const uint32_t inBar = time - barStart_;
  const double divisor = inBar % barTicks_ == 0 ? 80.0 : (inBar % beatTicks_ == 0 ? 100.0 : 120.0);
  const double v = (127.0 - base) * settings_.dynamicAmplitude / divisor + base;
  return ClampVelocity(static_cast<int64_t>(std::isfinite(v) ? std::trunc(v) : 64.0));
}

void MIDIVoiceStream::AddController(uint8_t subKind, int value, uint32_t time, uint8_t channel, strMidiBuffer& out) {
  strMidiNote& r = out.AddRecord(strMidiNote::kController, time, subKind, Clamp7(value), channel);
  // A tempo needs more than seven bits: its beats per minute ride in the duration.
  if (subKind == strMidiNote::kSubTempo) r.duration = std::clamp(value, 0, 0xFFF);
}

void MIDIVoiceStream::AddMetaEventRecords(const nChord& chord, uint32_t time, uint8_t channel, strMidiBuffer& out) {
  const auto each = [&](uint8_t kind, auto&& f) {
    for (const auto& m : chord.metaEvents) {
      if (m != nullptr && m->kind == kind) f(*m);
    }
  };
  each(CMetaEvent::kTempo, [&](const CMetaEvent& m) {
    AddController(strMidiNote::kSubTempo, static_cast<int>(m.value & 0xFFF), time, channel, out);
  });
  each(15, [&](const CMetaEvent&) { out.AddRecord(strMidiNote::kTempoText, time, 0, 0, channel); });
  each(CMetaEvent::kDynamics, [&](const CMetaEvent& m) {
    // The expression level is the low half of cy; the high half is the marking's index.
    out.AddRecord(strMidiNote::kDynamics, time, 0, Clamp7(static_cast<int>(m.cy & 0xFFFF)), channel);
  });
  each(CMetaEvent::kLyrics, [&](const CMetaEvent& m) { out.AddText(time, m.text, channel); });
  each(CMetaEvent::kMidiController, [&](const CMetaEvent& m) {
    const int value = MidiControllerValue(m);
    switch (MidiControllerCode(m)) {
      case 0: AddController(1, value, time, channel, out); break;
      case 1: baseVelocity_ = ClampVelocity(value); break;
      case 2: AddController(3, value, time, channel, out); break;
      case 3:
      case 4: AddController(4, value, time, channel, out); break;
      case 5: AddController(6, value, time, channel, out); break;
      case 6: AddController(7, value, time, channel, out); break;
      case 7: AddController(8, value, time, channel, out); break;
      case 8: AddController(9, value, time, channel, out); break;
      case 9:
        AddController(10, value, time, channel, out);
        AddController(11, value, time, channel, out);
        break;
      case 10: AddController(11, value, time, channel, out); break;
      case 12: AddController(strMidiNote::kSubProgram, value, time, channel, out); break;
      case 13: AddController(strMidiNote::kSubTempo, value, time, channel, out); break;
      case 65: AddController(66, value, time, channel, out); break;
      default: break;
    }
  });
}

uint32_t MIDIVoiceStream::AddOrnament(const nNotes& note, int key, int code, const GraceParameters& grace,
                                      uint32_t time, int32_t d, uint8_t channel, strMidiBuffer& out) {
  // The neighbour is a diatonic step away in the key: above, or below for codes with bit 6;
  // the note's grace-note event chooses the step instead, and its key rotations the key the
  // neighbour is spelled in.
  const int step = grace.step != 0 ? grace.step : ((code & 0x40) != 0 ? -1 : 1);
  const int interval = note.interval;
  const CKey neighbourKey = GraceKey(settings_.key, grace.flags);
  int neighbour = key + neighbourKey.StepToPitch(interval + step) - settings_.key.StepToPitch(interval);
  if (neighbour == key) neighbour = key + (step > 0 ? 1 : -1);
  const bool neighbourPlays = neighbour >= 0 && neighbour <= 127;

  if (code == 5 || code == 0x45) {
    // One neighbour before the beat; never before the start of the music.
    const uint32_t length = static_cast<uint32_t>(((2 * d) / 3) / 4);
    const uint32_t start = time >= length ? time - length : 0;
    if (neighbourPlays && time > start) {
      out.AddNote(start, static_cast<uint8_t>(neighbour), kGraceVelocity, static_cast<int32_t>(time - start), channel,
                  note.string);
    }
    return 0;
  }
  if (code == 9 || code == 0x49) {
    // A chromatic run from the neighbour to the main note in the first half of its length.
    const int semitones = std::abs(neighbour - key);
    const int32_t half = d / 2;
    const int32_t each = semitones == 0 ? 0 : half / semitones;
    if (each == 0) return 0;
    const int direction = neighbour > key ? -1 : 1;
    for (int i = 0; i < semitones; ++i) {
      const int pitch = neighbour + i * direction;
      if (pitch < 0 || pitch > 127) continue;
      out.AddNote(time + static_cast<uint32_t>(i * each), static_cast<uint8_t>(pitch), kGraceVelocity, each, channel,
                  note.string);
    }
    return static_cast<uint32_t>(half);
  }
  const GraceShape shape = ShapeOf(code, d);
  const int32_t length = static_cast<int32_t>(std::char_traits<char>::length(shape.notes));
  if (length == 0) return 0;
  const int32_t each = shape.taken / length;
  if (each == 0) return 0;
  for (int32_t i = 0; i < length; ++i) {
    const int pitch = shape.notes[i] == 'M' ? key : neighbour;
    if (pitch < 0 || pitch > 127) continue;
    out.AddNote(time + static_cast<uint32_t>(i * each), static_cast<uint8_t>(pitch), kGraceVelocity, each, channel,
                note.string);
  }
  return static_cast<uint32_t>(shape.taken);
}

void MIDIVoiceStream::AddNote(const NoteContext& c, const nNotes& note, strMidiBuffer& out) {
  if (note.pitch == 0) return;
  const int key = c.transposition + note.pitch;
  // A key pushed off the keyboard by a transposition is not played (never folded back).
  if (key < 0 || key > 127) return;
  const int32_t d = c.duration;

  // A tie lengthens the note struck last on the key, up to the end of this chord. A tie with
  // nothing before it is played as a note.
  if (((note.slur >> 8) & 0x0F) == kTieType) {
    const auto it = lastNote_.find(key);
    if (it != lastNote_.end()) {
      const auto extend = [&](size_t index) {
        if (index == kNone) return;
        strMidiNote& r = out[index];
        const int64_t reach = static_cast<int64_t>(c.time) + d - r.time;
        r.duration = static_cast<int32_t>(std::clamp<int64_t>(std::max<int64_t>(int64_t{r.duration} + d, reach), 1,
                                                               kMidiMaxTicks));
      };
      extend(it->second.first);
      extend(it->second.second);
      return;
    }
  }

  // A bend lengthens (or, signed, shortens) the note by whole lengths.
  const int amount = note.flags & 3;
  const int64_t bend = int64_t{amount} * d * ((note.flags & 8) != 0 ? -1 : 1);
  const uint8_t velocity = NoteVelocity(key, c.time);
  currentVelocity_ = velocity;
  uint32_t ornament = 0;
  const int code = note.ornament & 0x7F;
  if (settings_.ornamentsPlayed && code != 0) {
    const CMetaEvent* grace = c.chord != nullptr ? GraceEventOf(*c.chord, note) : nullptr;
    ornament = AddOrnament(note, key, code, grace != nullptr ? GraceParametersOf(*grace) : GraceParameters{}, c.time, d,
                           c.channel, out);
  }
  const int32_t length = static_cast<int32_t>(std::clamp<int64_t>(bend + d - ornament, 1, kMidiMaxTicks));
  const uint32_t start = ClampTime(uint64_t{c.time} + ornament);
  out.AddNote(start, static_cast<uint8_t>(key), velocity, length, c.channel, note.string, c.flag);
  const size_t mainIndex = out.size() - 1;
  size_t echoIndex = kNone;

  if (settings_.octaveOn && note.string >= settings_.octaveString && key + 12 <= 127) {
    const uint32_t at = ClampTime(static_cast<uint64_t>(std::max<int64_t>(0, int64_t{c.time} + settings_.octaveDelay)));
    out.AddNote(at, static_cast<uint8_t>(key + 12), ClampVelocity(settings_.octaveVelocity), std::max(length / 2, 1),
                c.channel, note.string);
  }
  if (settings_.echoOn) {
    const int echoKey = key + settings_.echoOctave * 12;
    const int32_t delay = std::max(settings_.echoDelay, 0);
    if (echoKey >= 0 && echoKey <= 127 && length > delay) {
      out.AddNote(ClampTime(uint64_t{start} + static_cast<uint32_t>(delay)), static_cast<uint8_t>(echoKey), velocity,
                  length - delay, settings_.echoChannel & 0x0F, note.string);
      echoIndex = out.size() - 1;
    }
  }
  lastNote_[key] = {mainIndex, echoIndex};
}

void MIDIVoiceStream::BuildVoice(const nChordArray& voice, bool firstVoice, bool reportNotes, strMidiBuffer& out) {
  const uint8_t channel = channels_[firstVoice ? 0 : 1];
  strMidiBuffer list;
  system_ = firstSystem_;
  bar_ = -1;
  barStart_ = 0;
  baseVelocity_ = settings_.velocity;
  lastNote_.clear();
  uint64_t time = 0;    // where the next chord starts
  uint64_t offset = 0;  // pauses of multi-bar rests so far

  for (size_t i = 0; i < voice.size(); ++i) {
    const nChord* e = voice.at(i);
    if (e == nullptr) continue;
    const uint32_t now = ClampTime(time + offset);
    if (e->IsBarLine()) {
      if (e->IsStaveBreak()) {
        ++system_;
        bar_ = -1;
      }
      if (reportPositions_) {
        ++bar_;
        strMidiNote& marker = list.AddRecord(strMidiNote::kBarMarker, now, static_cast<uint8_t>(system_),
                                             static_cast<uint8_t>(bar_), channel);
        marker.markerSystem = system_;
        marker.markerBar = bar_;
      }
    }
    if ((e->status & kTimelessBits) == kTimelessBits) continue;
    if (e->IsBarLine()) {
      if ((e->status & 0x0FFC) == 0x24C) {
        if (const CMetaEvent* pause = e->metaEvents.Find(CMetaEvent::kBarPause)) {
          offset += std::min<uint64_t>(pause->value, kMaxPause);
        }
      }
      if (firstVoice && (e->status & kRepeatBit) != 0) {
        list.AddRecord(strMidiNote::kRepeatSign, now, strMidiNote::kRepeatKey, static_cast<uint8_t>((e->status >> 4) & 7),
                       channel);
      }
      barStart_ = ClampTime(time + offset);
      continue;
    }
    if (!e->IsChord()) continue;

    const int32_t d = static_cast<int32_t>(e->GetDurationTicks());
    NoteContext c{};
    c.time = now;
    c.duration = d;
    c.transposition = settings_.transpose + (e->al >> 4);
    c.channel = channel;
    c.flag = (reportPositions_ && reportNotes) ? 1 : 0;
    c.chord = e;
    AddMetaEventRecords(*e, now, channel, list);
    if (e->ChordMark() == kDeadNoteMark) {
      list.AddNote(now, kDeadNoteKey, kDeadNoteVelocity, kDeadNoteTicks, channel);
    }
    for (const auto& note : e->notes) {
      if (note != nullptr) AddNote(c, *note, list);
    }
    time += static_cast<uint64_t>(d);
  }
  list.Sort();
  out.Merge(std::move(list));
}

strMidiBuffer MIDIVoiceStream::BuildInstrument(const nChordArray* voice1, const nChordArray* voice2, int mode) {
  strMidiBuffer result;
  if (mode >= kModeAll && settings_.mute) return result;
  if (mode == kModeVoice) {
    const nChordArray* voice = settings_.currentVoice == 1 ? voice2 : voice1;
    if (voice != nullptr) BuildVoice(*voice, true, true, result);
  } else {
    if (voice1 != nullptr) BuildVoice(*voice1, true, settings_.currentVoice != 1, result);
    strMidiBuffer second;
    if (voice2 != nullptr) BuildVoice(*voice2, false, settings_.currentVoice == 1, second);
    result.Merge(std::move(second));
  }
  result.AddNoteOffs();
  return result;
}

}  // namespace vornel
