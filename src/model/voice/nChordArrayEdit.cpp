// Editing operations of a voice: slots, runs of rhythm values, stave breaks, moving events
// between voices.

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/instrument/CKey.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"
#include "model/score/StaveBreakPlaces.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

// A voice grows at most this far past its end in one step (a slot far beyond it is a
// caller's mistake, not music).
constexpr size_t kMaxGrowth = 1 << 16;

bool HasLowerVoiceNote(const nChord& chord) {
  return std::any_of(chord.notes.begin(), chord.notes.end(),
                     [](const auto& n) { return n != nullptr && (n->flags & nNotes::kLowerVoiceFlag); });
}

}  // namespace

nChord* nChordArray::GetOrCreateChord(size_t index) {
  if (index >= events_.size()) {
    if (index - events_.size() > kMaxGrowth) {
      throw std::out_of_range("event index " + std::to_string(index) + " out of range");
    }
    events_.resize(index + 1);
  }
  if (events_[index] == nullptr) events_[index] = std::make_shared<nChord>();
  return events_[index].get();
}

bool nChordArray::CopyRange(const nChordArray& source, size_t start, size_t count) {
  if (start >= source.size()) return false;
  const size_t end = start + std::min(count, source.size() - start);
  std::vector<Handle> copies;
  copies.reserve(end - start);
  for (size_t i = start; i < end; ++i) copies.push_back(CopyEntry(source.events_[i]));
  DeleteChords();
  events_ = std::move(copies);
  return true;
}

bool nChordArray::RemoveEvents(size_t index, size_t count, bool deleteEvents) {
  if (index >= events_.size()) return false;
  const size_t end = RunEnd(index, count);
  events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(index),
                events_.begin() + static_cast<std::ptrdiff_t>(end));
  if (deleteEvents) currentTimeSignature_.reset();
  return true;
}

void nChordArray::DotPairs(size_t start, size_t count, bool absorb) {
  const size_t end = RunEnd(start, count);
  bool firstOfPair = true;
  bool atStart = true;
  for (size_t i = start; i < end; ++i) {
    nChord* e = events_[i].get();
    if (e == nullptr || !e->IsChord()) continue;
    if (firstOfPair) {
      // The dot's length comes out of the rests that follow.
      if (absorb && atStart && !(e->rhythm & 8)) AbsorbFollowing(i, static_cast<uint16_t>(e->rhythm | 8));
      e->rhythm = static_cast<uint16_t>((e->rhythm ^ 8) & 0x00FF);
    } else {
      e->rhythm &= static_cast<uint16_t>(~0x80u);
      // A sixty-fourth has no shorter value.
      if ((e->rhythm & 7) < 7) ++e->rhythm;
    }
    atStart = false;
    firstOfPair = !firstOfPair;
  }
}

void nChordArray::SetRhythm(size_t start, size_t count, int code, int selector) {
  if (selector < 0 || selector > 9) selector = 0;
  const size_t end = RunEnd(start, count);
  const auto word = [&](const nChord& e) {
    const uint16_t value = code >= 0 ? static_cast<uint16_t>(code & 7) : static_cast<uint16_t>(e.rhythm & 7);
    return static_cast<uint16_t>((selector << 4) | value);
  };
  for (size_t i = start; i < end; ++i) {
    nChord* e = events_[i].get();
    if (e == nullptr || !e->IsChord()) continue;
    AbsorbFollowing(i, word(*e));
    break;
  }
  for (size_t i = start; i < end; ++i) {
    nChord* e = events_[i].get();
    if (e != nullptr && e->IsChord()) e->rhythm = word(*e);
  }
}

size_t nChordArray::AbsorbFollowing(size_t index, uint16_t newRhythm) {
  size_t i = index;
  while (i < events_.size() && (events_[i] == nullptr || !events_[i]->IsChord())) ++i;
  if (i >= events_.size()) return 0;
  uint32_t total = nChord::PlainTicks(events_[i]->rhythm);
  const uint32_t limit = nChord::PlainTicks(newRhythm);
  size_t absorbed = 0;
  for (size_t j = i + 1; j < events_.size(); ++j) {
    const nChord* e = events_[j].get();
    if (e == nullptr) continue;
    if (!e->IsRest() && !e->IsGhost()) break;
    const uint32_t length = nChord::PlainTicks(e->rhythm);
    if (total + length > limit) break;
    total += length;
    events_[j].reset();
    ++absorbed;
  }
  return absorbed;
}

void nChordArray::ScaleRhythm(size_t start, size_t count, bool halve) {
  const size_t end = RunEnd(start, count);
  for (size_t i = start; i < end; ++i) {
    nChord* e = events_[i].get();
    if (e == nullptr || !e->IsChord()) continue;
    int code = e->rhythm & 7;
    code = halve ? std::min(code + 1, 7) : std::max(code - 1, 0);
    e->rhythm = static_cast<uint16_t>((e->rhythm & 0xF8) | code);
  }
}

int nChordArray::InsertStaveBreaks(size_t n, const Handle& staveBreak) {
  if (staveBreak == nullptr) return 1;
  const std::vector<size_t> places = StaveBreakPlaces(events_.size(), n, [this](size_t i) { return events_[i].get(); });
  if (places.empty()) return 1;
  // The list grows once; then, from the end, each run of entries moves once to its place and
  // the break before it goes in.
  size_t from = events_.size();
  events_.resize(events_.size() + places.size());
  size_t to = events_.size();
  for (size_t p = places.size(); p-- > 0;) {
    const auto begin = events_.begin();
    to = static_cast<size_t>(std::move_backward(begin + static_cast<std::ptrdiff_t>(places[p]),
                                                begin + static_cast<std::ptrdiff_t>(from), begin + static_cast<std::ptrdiff_t>(to)) -
                             begin);
    events_[--to] = staveBreak;
    from = places[p];
  }
  return static_cast<int>(places.size()) + 1;
}

uint32_t nChordArray::ExpandInto(std::vector<Handle>& out, Handle chord, uint32_t ticks, size_t* chordPos) {
  // Whole breves beyond the first go before the chord as empty chords (at most as many as a
  // voice may grow by at once).
  const uint32_t breves = ticks / nChord::kBreveTicks;
  const uint32_t before = breves > 1 ? std::min<uint32_t>(breves - 1, kMaxGrowth) : 0;
  for (uint32_t b = 0; b < before; ++b) out.push_back(std::make_shared<nChord>());
  if (chordPos != nullptr) *chordPos = out.size();
  nChord& c = *chord;
  out.push_back(std::move(chord));
  // What is left for the chord is less than two breves.
  const uint32_t remaining = breves > 1 ? ticks - (breves - 1) * nChord::kBreveTicks : ticks;
  if (remaining == nChord::kBreveTicks) {
    c.rhythm = 0;
    return 0;
  }
  uint32_t left = c.SetRhythmFromTicks(remaining);
  if (left >= 12) {
    auto rest = std::make_shared<nChord>();
    left = rest->SetRhythmFromTicks(left);
    out.push_back(std::move(rest));
  }
  return left;
}

uint32_t nChordArray::ExpandTicks(uint32_t ticks, size_t index, size_t* chordIndex) {
  Checked(index);
  if (chordIndex != nullptr) *chordIndex = index;
  if (ticks == 0) return 0;
  Handle chord = events_[index] != nullptr ? events_[index] : std::make_shared<nChord>();
  std::vector<Handle> pieces;
  size_t at = 0;
  const uint32_t left = ExpandInto(pieces, std::move(chord), ticks, &at);
  if (chordIndex != nullptr) *chordIndex = index + at;
  // The pieces stand in order in place of the entry: one insertion moves the tail once.
  events_[index] = std::move(pieces.front());
  events_.insert(events_.begin() + static_cast<std::ptrdiff_t>(index + 1),
                 std::make_move_iterator(pieces.begin() + 1), std::make_move_iterator(pieces.end()));
  return left;
}

void nChordArray::KeepChordsAndStaveBreaks() {
  std::erase_if(events_, [](const Handle& e) { return e == nullptr || !(e->IsChord() || e->IsStaveBreak()); });
}

size_t nChordArray::MoveUntilStaveBreak(nChordArray& target) {
  size_t i = 0;
  for (; i < events_.size(); ++i) {
    if (events_[i] != nullptr && events_[i]->IsStaveBreak()) break;
    target.push_back(std::move(events_[i]));
  }
  if (i < events_.size()) ++i;  // the break itself is taken off
  events_.erase(events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(i));
  return target.size();
}

size_t nChordArray::MoveBars(size_t n, nChordArray& target) {
  target.DeleteChords();
  size_t moved = 0;
  size_t bars = 0;
  size_t i = 0;
  for (; i < events_.size() && bars < n; ++i) {
    const nChord* e = events_[i].get();
    if (e != nullptr && e->IsBarLine()) ++bars;
    if (e != nullptr && e->IsStaveBreak()) continue;
    target.push_back(std::move(events_[i]));
    ++moved;
  }
  events_.erase(events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(i));
  return moved;
}

void nChordArray::RaiseOnCourse(uint8_t course, int amount) {
  for (const Handle& e : events_) {
    if (e == nullptr || !e->IsChord()) continue;
    if (nNotes* note = e->notes.NoteOnCourse(course)) note->pitch = static_cast<uint8_t>(std::clamp(note->pitch + amount, 1, 127));
  }
}

size_t nChordArray::OctaveFold(int limit, bool upward) {
  size_t moved = 0;
  for (const Handle& e : events_) {
    if (e == nullptr) continue;
    for (const auto& note : e->notes) {
      if (note == nullptr) continue;
      if (upward && note->pitch < limit && note->pitch + 12 <= 127) {
        note->pitch = static_cast<uint8_t>(note->pitch + 12);
        note->interval = static_cast<uint8_t>(note->interval + 7);
        ++moved;
      } else if (!upward && note->pitch > limit && note->pitch >= 12 && note->interval >= 7) {
        note->pitch = static_cast<uint8_t>(note->pitch - 12);
        note->interval = static_cast<uint8_t>(note->interval - 7);
        ++moved;
      }
    }
  }
  return moved;
}

void nChordArray::InsertIntoVoices(CVoicesArray& voices, size_t index) {
  const size_t n = std::min(events_.size(), voices.size());
  // Every index is checked before anything moves, so that a bad one loses no event.
  for (size_t i = 0; i < n; ++i) {
    if (index > voices.at(i)->size()) throw std::out_of_range("event index " + std::to_string(index) + " out of range");
  }
  for (size_t i = 0; i < n; ++i) voices.at(i)->insert(index, std::move(events_[i]));
  events_.erase(events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(n));
}

bool nChordArray::MoveNoteToOtherVoice(size_t voiceIndex, CVoicesArray& voices, nChord& source, const nNotes& note) {
  const nChordArray* other = voices.at(voiceIndex == 0 ? 1 : 0);
  nChord* target = nullptr;
  for (const Handle& e : other->events_) {
    if (e != nullptr && e->IsChord() && e->time >= source.time) {
      target = e.get();
      break;
    }
  }
  if (target == nullptr || target->time != source.time) return false;
  const nNotes moving = note;  // `note` may live in `source`
  if (target->notes.empty()) target->dy = 0;
  if (target->notes.SetNote(moving.pitch, moving.string, moving.interval, true) == nullptr) return false;
  source.notes.RemoveNote(moving.interval, false);
  return true;
}

void nChordArray::AssignStrings(size_t start, size_t count, const CTabInstrument& instrument) {
  const size_t end = RunEnd(start, count);
  for (size_t i = start; i < end; ++i) {
    nChord* e = events_[i].get();
    if (e != nullptr && e->IsChord()) e->notes.AssignStrings(instrument);
  }
}

void nChordArray::RespellAndRestring(size_t start, size_t count, const CKey& key, const CTabInstrument& instrument) {
  const size_t end = RunEnd(start, count);
  for (size_t i = start; i < end; ++i) {
    nChord* e = events_[i].get();
    if (e == nullptr || !e->IsChord()) continue;
    e->notes.Respell(key);
    e->notes.AssignStrings(instrument);
  }
}

bool nChordArray::AppendTimedNote(uint32_t gap, int pitch, uint8_t course, const CKey& key, std::string_view text) {
  // The chord the previous call left counts as a breve until a gap gives its length.
  const uint32_t breves = gap / nChord::kBreveTicks;
  if (breves > kMaxGrowth) return false;
  for (uint32_t b = 0; b < breves; ++b) push_back(std::make_unique<nChord>());
  gap -= breves * nChord::kBreveTicks;
  if (gap > 0) {
    if (events_.empty()) push_back(std::make_unique<nChord>());
    ExpandTicks(gap, events_.size() - 1);
    push_back(std::make_unique<nChord>());
  }
  if (events_.empty()) push_back(std::make_unique<nChord>());
  nChord* last = GetOrCreateChord(events_.size() - 1);
  if (pitch > 0 && pitch <= 127) {
    if (pitch < 23) pitch += 24;
    uint16_t name = 0;
    char accidental = 0;
    const int step = key.SpellPitch(pitch, name, accidental);
    if (last->notes.empty()) last->dy = 0;
    if (nNotes* note = last->notes.SetNote(static_cast<uint8_t>(pitch), course,
                                           static_cast<uint8_t>(std::clamp(step, 0, 255)), false)) {
      note->name = name;
    }
  }
  if (!text.empty() && last->IsChord()) last->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, text, 0, 0, 0);
  return true;
}

bool nChordArray::MoveNoteToAdjacentString(nNotes& note, int direction, const CTabInstrument& instrument) {
  const int count = static_cast<int>(instrument.tuning.CoursesInUse());
  const int target = direction < 0 ? note.string + 1 : note.string - 1;
  const bool exists = direction != 0 && target >= 0 && target < count;
  if (!exists || instrument.tuning.courses[static_cast<size_t>(target)].pitch + kCoursePitchOffset > note.pitch) {
    Prompts().Beep(BeepKind::kExclamation);
    return false;
  }
  note.string = static_cast<uint8_t>(target);
  return true;
}

size_t nChordArray::MoveNotesToAdjacentString(size_t start, size_t count, int direction,
                                              const CTabInstrument& instrument) {
  const size_t end = RunEnd(start, count);
  size_t moved = 0;
  for (size_t i = start; i < end; ++i) {
    nChord* e = events_[i].get();
    if (e == nullptr || !e->IsChord()) continue;
    for (const auto& note : e->notes) {
      if (note != nullptr && MoveNoteToAdjacentString(*note, direction, instrument)) ++moved;
    }
  }
  return moved;
}

uint32_t nChordArray::RestOfBeamGroup() {
  uint32_t sum = 0;
  for (++cursor; cursor < events_.size(); ++cursor) {
    const nChord* e = events_[cursor].get();
    if (e == nullptr) continue;
    if (!e->IsChord() || e->beamIndex == 0 || HasLowerVoiceNote(*e)) break;
    sum += nChord::PlainTicks(e->rhythm);
  }
  cursor = std::min(cursor, events_.size());
  return sum;
}

}  // namespace vornel
