// Voice utilities of the commands and importers: rests, lyrics, merging, tick ranges, stems,
// slurs, markers and the "Remove all..." commands.

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "model/instrument/CKey.h"
#include "model/score/CVoicesArray.h"
#include "model/voice/RhythmValues.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

// More rests than this in one call is not music (importers pass counts read from files).
constexpr size_t kMaxAppendedRests = 1 << 16;

// The mark of the index finger (one dot) that off-beat notes take.
constexpr int kOneDotDecoration = 8;
constexpr uint16_t kOneDotMark = 1;

bool IsWordSeparator(char c) { return c == ' ' || c == '\r' || c == '\n'; }

}  // namespace

size_t nChordArray::AppendRests(size_t count, uint32_t noteValue) {
  if (noteValue < 1 || count > kMaxAppendedRests) return 0;
  // 1 + log2 of the value: 1 whole, 2 half, 3 quarter ...
  const uint16_t code = static_cast<uint16_t>(std::min<int>(std::bit_width(noteValue), 7));
  for (size_t i = 0; i < count; ++i) push_back(std::make_unique<nChord>(nChord::kChord, code));
  return count;
}

size_t nChordArray::RemoveEmptyChords(size_t start, size_t count) {
  if (start >= events_.size()) return 0;
  const size_t end = RunEnd(start, count);
  const auto first = events_.begin() + static_cast<std::ptrdiff_t>(start);
  const auto last = events_.begin() + static_cast<std::ptrdiff_t>(end);
  const auto kept = std::remove_if(first, last, [](const Handle& e) { return e != nullptr && e->IsRest(); });
  const size_t removed = static_cast<size_t>(last - kept);
  events_.erase(kept, last);
  return removed;
}

void nChordArray::GhostsToRests() {
  for (const Handle& e : events_) {
    if (e != nullptr && e->IsGhost()) e->ToggleGhost();
  }
}

void nChordArray::DistributeLyrics(std::string_view text, size_t start) {
  size_t index = start;
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsWordSeparator(text[pos])) ++pos;
    if (pos == text.size()) break;
    const size_t wordEnd = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(pos), text.end(), IsWordSeparator) -
                           text.begin();
    const std::string_view word = text.substr(pos, wordEnd - pos);
    pos = wordEnd;
    while (index < events_.size() && (events_[index] == nullptr || !events_[index]->IsChord() ||
                                      events_[index]->notes.empty())) {
      ++index;
    }
    if (index >= events_.size()) return;
    events_[index]->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, word, 0, 0, 0);
    ++index;
  }
}

size_t nChordArray::MergeVoice(nChordArray& other, int32_t numerator, int32_t denominator, int voiceNumber) {
  RebarVoice(numerator, denominator);
  other.RebarVoice(numerator, denominator);
  const bool empty = std::all_of(events_.begin(), events_.end(), [](const Handle& e) { return e == nullptr; });
  if (empty) {
    CopyRange(other, 0, other.size());
    RebarVoice(numerator, denominator);
    return 0;
  }
  const uint16_t voiceMarks = static_cast<uint16_t>(nNotes::kLowerVoiceFlag | (std::abs(voiceNumber) & 3) |
                                                    (voiceNumber < 0 ? 8 : 0));
  // The other voice's chords that sound, in time order (one after another, so their ends are
  // in order too).
  struct Span {
    uint32_t start;
    uint32_t end;
    const nChord* chord;
  };
  std::vector<Span> spans;
  for (const Handle& source : other.events_) {
    if (source == nullptr || !source->IsChord() || source->notes.empty() ||
        source->ChordMark() == nChord::kTimelessMark) {
      continue;
    }
    spans.push_back({source->time, source->time + source->GetDurationTicks(), source.get()});
  }
  // A piece keeps its length exactly: where one value cannot hold it, the values after the
  // first wait here and become held chords once the merge is done.
  std::unordered_map<const nChord*, std::vector<uint16_t>> more;
  size_t approximated = 0;
  const auto setLength = [&](nChord& e, uint32_t length) {
    std::vector<uint16_t> words = RhythmsForTicks(length);
    if (words.empty()) {
      words = NearestRhythms({length, 1});
      ++approximated;
    }
    e.rhythm = words.front();
    if (words.size() > 1) more[&e] = std::vector<uint16_t>(words.begin() + 1, words.end());
  };
  size_t next = 0;  // the first span that has not ended at the time reached
  // The times inside (from, to) where a span starts or ends.
  const auto cutsWithin = [&](uint32_t from, uint32_t to) {
    std::vector<uint32_t> points;
    for (size_t k = next; k < spans.size() && spans[k].start < to; ++k) {
      if (spans[k].start > from) points.push_back(spans[k].start);
      if (spans[k].end > from && spans[k].end < to) points.push_back(spans[k].end);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    points.push_back(to);
    return points;
  };
  // Every span that sounds over [at, until) gives `target` its notes: struck, with its marks,
  // where it starts at `at`, held where it started before (so that every note of the other
  // voice sounds its whole length whatever this voice does meanwhile).
  const auto join = [&](nChord& target, uint32_t at, uint32_t until) {
    for (size_t k = next; k < spans.size() && spans[k].start < until; ++k) {
      const Span& span = spans[k];
      if (span.end <= at) continue;
      const bool struck = span.start == at;
      for (const auto& note : span.chord->notes) {
        if (note == nullptr || target.notes.size() >= nNoteArray::kMaxNotes) continue;
        auto copy = std::make_unique<nNotes>(*note);
        copy->flags = static_cast<uint16_t>((copy->flags & ~0x0Bu) | voiceMarks);
        if (!struck) {
          copy->slur = kHeldSlurWord;
          copy->ornament = 0;
          copy->fingering = 0;
        }
        target.notes.push_back(std::move(copy));
      }
      if (!struck) continue;
      // The other voice's marks (lyrics, dynamics, chord names ...) go with its notes; a mark
      // the chord holds already is not doubled.
      for (const auto& mark : span.chord->metaEvents) {
        if (mark == nullptr) continue;
        const bool held = std::any_of(target.metaEvents.begin(), target.metaEvents.end(),
                                      [&](const auto& m) { return m != nullptr && *m == *mark; });
        if (!held) target.metaEvents.push_back(std::make_unique<CMetaEvent>(*mark));
      }
    }
    target.notes.SortByPitch(true);
  };
  // The pieces of [from, to): `first` (a chord of this voice, or a new rest) cut where the
  // other voice's chords start or end, the later pieces holding its notes on.
  std::vector<Handle> out;
  out.reserve(events_.size() + 2 * spans.size());
  const auto cutInto = [&](Handle first, uint32_t from, uint32_t to, bool keepValue) {
    while (next < spans.size() && spans[next].end <= from) ++next;
    const std::vector<uint32_t> points = cutsWithin(from, to);
    std::vector<Handle> pieces;
    pieces.push_back(std::move(first));
    for (size_t k = 1; k < points.size(); ++k) pieces.push_back(HeldContinuation(*pieces.front(), 0));
    uint32_t at = from;
    for (size_t k = 0; k < pieces.size(); ++k) {
      nChord& piece = *pieces[k];
      if (points.size() > 1 || !keepValue) setLength(piece, points[k] - at);
      piece.time = at;
      join(piece, at, points[k]);
      at = points[k];
      out.push_back(std::move(pieces[k]));
    }
  };
  uint32_t reached = 0;
  for (Handle& e : events_) {
    if (e == nullptr || !e->IsChord() || e->ChordMark() == nChord::kTimelessMark) {
      out.push_back(std::move(e));
      continue;
    }
    const uint32_t start = e->time;
    const uint32_t stop = start + e->GetDurationTicks();
    if (start > reached) cutInto(std::make_shared<nChord>(), reached, start, false);
    cutInto(std::move(e), start, stop, true);
    reached = std::max(reached, stop);
  }
  // The other voice goes on after this one: rests and its chords.
  if (!spans.empty() && spans.back().end > reached) cutInto(std::make_shared<nChord>(), reached, spans.back().end, false);
  // The pieces that one value could not hold go on in held chords.
  events_.clear();
  events_.reserve(out.size());
  for (Handle& e : out) {
    const auto waiting = e != nullptr ? more.find(e.get()) : more.end();
    events_.push_back(std::move(e));
    if (waiting == more.end()) continue;
    for (const uint16_t word : waiting->second) events_.push_back(HeldContinuation(*events_.back(), word));
  }
  RebarVoice(numerator, denominator);
  return approximated;
}

bool nChordArray::CopyRangeBetweenTicks(nChordArray& destination, uint32_t firstTick, uint32_t lastTick) const {
  const size_t first = IndexOfChordAtTick(firstTick);
  const size_t last = IndexOfChordAtTick(lastTick);
  if (last >= events_.size() || first >= last) return false;
  for (size_t i = first; i <= last; ++i) destination.push_back(CopyEntry(events_[i]));
  return true;
}

bool nChordArray::DeleteRangeBetweenTicks(uint32_t firstTick, uint32_t lastTick) {
  const size_t first = IndexOfChordAtTick(firstTick);
  const size_t last = IndexOfChordAtTick(lastTick);
  if (last >= events_.size() || first >= last) return false;
  // Shared events (the stave break) only leave this voice.
  events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(first),
                events_.begin() + static_cast<std::ptrdiff_t>(last + 1));
  return true;
}

void nChordArray::SetStemDirections(int middlePitch, bool startDown) {
  bool down = startDown;
  for (const Handle& e : events_) {
    if (e == nullptr || !e->IsChord() || e->notes.empty()) continue;
    e->status &= static_cast<uint16_t>(~0x80u);
    // The note farthest from the middle line decides; a tie keeps the direction before.
    const int above = e->notes.HighestPitch() - middlePitch;
    const int below = middlePitch - e->notes.LowestPitch();
    if (above != below) down = above > below;
    if (down) e->status |= 0x80;
    for (const auto& note : e->notes) {
      if (note == nullptr || (note->slur & 0xFF) == 0) continue;
      note->slur = down ? (note->slur | 0x80u) : (note->slur & ~0x80u);
    }
  }
}

size_t nChordArray::ReplaceOrnament(uint8_t from, uint8_t to) {
  size_t count = 0;
  for (const Handle& e : events_) {
    if (e == nullptr) continue;
    for (const auto& note : e->notes) {
      if (note != nullptr && note->ornament == from) {
        note->ornament = to;
        ++count;
      }
    }
  }
  return count;
}

void nChordArray::SetTimeSignatureShort(bool shortForm) {
  for (const Handle& e : events_) {
    if (e == nullptr) continue;
    if (CMetaEvent* signature = e->metaEvents.Find(CMetaEvent::kTimeSignature)) {
      signature->value = shortForm ? (signature->value | 4u) : (signature->value & ~4u);
    }
  }
}

void nChordArray::SetSlurWidth(bool wide) {
  constexpr uint32_t kWideSlur = 13;
  for (const Handle& e : events_) {
    if (e == nullptr || !e->IsChord()) continue;
    for (const auto& note : e->notes) {
      if (note == nullptr || (note->slur & 0xFFF) == 0) continue;
      const uint32_t type = (note->slur >> 8) & 0x0F;
      if (wide && type == 0) note->slur |= kWideSlur << 8;
      if (!wide && type == kWideSlur) note->slur &= ~0xF00u;
    }
  }
}

void nChordArray::MarkOffbeatNotes(int divisor) {
  if (divisor <= 0) return;
  const Meter meter = MeterInForce(4, 4);
  const uint32_t unit = meter.barLength / static_cast<uint32_t>(divisor);
  if (unit == 0) return;
  UpdateTickPositions(4, 4);
  for (const Handle& e : events_) {
    if (e == nullptr || !e->IsChord() || e->notes.size() != 1 || e->delta % unit == 0) continue;
    nNotes* note = e->notes.GetHighestNote();
    if ((note->fingering & 0x0F) != kOneDotMark) note->ToggleDecoration(kOneDotDecoration);
  }
}

void nChordArray::CountPitchClasses(int (&table)[12]) const {
  const size_t end = std::min<size_t>(events_.size(), 122);
  for (size_t i = 0; i < end; ++i) {
    const nChord* e = events_[i].get();
    if (e == nullptr || !e->IsChord()) continue;
    for (const auto& note : e->notes) {
      if (note != nullptr) ++table[note->pitch % 12];
    }
  }
}

nChordArray::TickRange nChordArray::FindMarkedRange() const {
  if (events_.empty()) return {-1, 0};
  TickRange range;
  bool begun = false;
  bool ended = false;
  for (const Handle& e : events_) {
    if (e == nullptr) continue;
    for (const auto& meta : e->metaEvents) {
      if (meta == nullptr || meta->kind != CMetaEvent::kMarker) continue;
      meta->referent = e.get();
      if (!begun && meta->cx == 0) {
        range.start = e->delta;
        begun = true;
      } else if (begun && !ended && meta->cx != 0) {
        range.end = e->delta;
        ended = true;
      }
    }
  }
  return range;
}

size_t nChordArray::RespellInKey(const CKey& key) {
  struct Heard {
    int step;
    int pitch;
  };
  std::vector<Heard> bar;
  size_t distinct = 0;
  for (const Handle& e : events_) {
    if (e == nullptr) continue;
    if (e->IsBarLine()) {
      bar.clear();
      continue;
    }
    if (!e->IsChord()) continue;
    for (const auto& note : e->notes) {
      if (note == nullptr) continue;
      char accidental = 0;
      int step = note->SpellInKey(key, (note->status & 4) != 0, accidental);
      const int pitch = note->pitch;
      // A writer's spelling stands as written.
      const bool written = (note->status & nNotes::kWrittenSpelling) != 0;
      const auto heard = std::find_if(bar.begin(), bar.end(), [&](const Heard& h) { return h.pitch == pitch; });
      if (heard != bar.end() && (!written || heard->step == step)) {
        // The pitch sounded earlier in the bar: it keeps that spelling, whose accidental stands.
        if (heard->step != step) {
          note->status ^= 4;
          note->SpellInKey(key, (note->status & 4) != 0, accidental);
        }
        note->status |= 0x20;
        continue;
      }
      note->status &= ~0x20u;
      if (accidental != 0 && (note->status & 4) == 0 && !written &&
          std::any_of(bar.begin(), bar.end(), [&](const Heard& h) { return h.step == step; })) {
        // Another pitch on this step in the bar: this one takes the other spelling. The name
        // follows the mark at once, so that spelling the voice again changes nothing.
        note->status |= 4;
        step = note->SpellInKey(key, true, accidental);
      }
      bar.push_back({step, pitch});
      ++distinct;
    }
  }
  return distinct;
}

void nChordArray::ClearItems(ClearCommand command) {
  if (command == ClearCommand::kStaticSpaces) {
    for (Handle& e : events_) {
      if (e == nullptr || !e->IsSpecialEvent()) continue;
      // A static space is this voice's own; a subtype-0x18 event only leaves the slot.
      if (e->SpecialSubtype() == nChord::kStaticSpace || e->SpecialSubtype() == nChord::kSectionOwned) e.reset();
    }
    return;
  }
  for (const Handle& e : events_) {
    if (e == nullptr || !e->IsChord()) continue;
    switch (command) {
      case ClearCommand::kVoicingCues:
      case ClearCommand::kNoteBeamFormatting:
        if (e->status & 0x80) e->status &= static_cast<uint16_t>(~0xF0u);
        break;
      case ClearCommand::kLyrics:
        e->metaEvents.RemoveKind(CMetaEvent::kLyrics);
        break;
      case ClearCommand::kMetaEvents:
        e->metaEvents.clear();
        break;
      case ClearCommand::kMarkers:
        e->metaEvents.RemoveKind(CMetaEvent::kMarker);
        break;
      case ClearCommand::kEndMarkers:
        if (const CMetaEvent* marker = e->metaEvents.Find(CMetaEvent::kMarker); marker != nullptr && marker->cx != 0) {
          e->metaEvents.RemoveKind(CMetaEvent::kMarker);
        }
        break;
      default:
        break;
    }
    // Bit 7 of an ornament word ties it to a floating ornament, which the chord may have lost.
    const bool dangling = command == ClearCommand::kDanglingFloatingOrnaments &&
                          e->metaEvents.Find(CMetaEvent::kFloatingOrnament) == nullptr;
    for (const auto& note : e->notes) {
      if (note == nullptr) continue;
      switch (command) {
        case ClearCommand::kFingerings: note->fingering = 0; break;
        case ClearCommand::kOrnaments: note->ornament = 0; break;
        case ClearCommand::kLinks: note->slur = 0; break;
        case ClearCommand::kVoicingCues: note->flags &= 0x000E; break;
        case ClearCommand::kSectionNotes: note->status &= ~4u; break;
        case ClearCommand::kNoteFlag6: note->flags &= 0xFFBF; break;
        case ClearCommand::kDanglingFloatingOrnaments:
          if (dangling && note->ornament != 0) note->ornament &= static_cast<uint16_t>(~0x80u);
          break;
        case ClearCommand::kPackSlurs: {
          const uint32_t w = note->slur;
          note->slur = ((((w >> 1) & 0x180) | (w & 0x70)) >> 1) | (w & 7);
          break;
        }
        case ClearCommand::kNoteBeamFormatting: note->flags = 0; break;
        case ClearCommand::kNoteValues: note->flags &= 0x00F0; break;
        default: break;
      }
    }
  }
}

}  // namespace vornel
