#include "model/voice/nNoteArray.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "model/instrument/CKey.h"
#include "model/instrument/CTabInstrument.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace vornel {

void nNoteArray::Store(ArchiveWriter& ar) const {
  const std::vector<const nNotes*> notes = InReadOrder();
  ar.WriteCount(notes.size());
  for (const nNotes* note : notes) ar.WriteObject(note, true);  // each note is the chord's own
}

void nNoteArray::Load(ArchiveReader& ar) {
  ar.ReadOwnedObjectArray<nNotes>(items());
  // A chord left with one note holds it without a list.
  if (RemoveIf([](const auto& note) { return note == nullptr; }) > 0) items().shrink_to_fit();
  SortDescending();
  LimitToMaxNotes();
}

int nNoteArray::InsertInPitchOrder(std::unique_ptr<nNotes> note) {
  if (note == nullptr || size() >= kMaxNotes) return -1;
  size_t i = 0;
  while (i < size() && (at(i) == nullptr || at(i)->pitch >= note->pitch)) ++i;
  insert(i, std::move(note));
  return static_cast<int>(i);
}

void nNoteArray::SortDescending() {
  std::stable_sort(begin(), end(), [](const auto& a, const auto& b) { return a->pitch > b->pitch; });
}

std::vector<const nNotes*> nNoteArray::InReadOrder() const {
  std::vector<const nNotes*> notes;
  notes.reserve(size());
  for (const auto& note : items()) {
    if (note != nullptr) notes.push_back(note.get());
  }
  std::stable_sort(notes.begin(), notes.end(), [](const nNotes* a, const nNotes* b) { return a->pitch > b->pitch; });
  return notes;
}

void nNoteArray::SortAscending() {
  std::stable_sort(begin(), end(), [](const auto& a, const auto& b) { return a->pitch < b->pitch; });
}

void nNoteArray::LimitToMaxNotes() {
  if (size() > kMaxNotes) items().resize(kMaxNotes);
}

bool nNoteArray::operator==(const nNoteArray& other) const { return ElementsEqual(*this, other); }

// ---------------------------------------------------------------------------------------------
// Setting and removing notes

namespace {

template <typename Items, typename Pred>
nNotes* FirstNote(const Items& items, Pred pred, int* index = nullptr) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] != nullptr && pred(*items[i])) {
      if (index != nullptr) *index = static_cast<int>(i);
      return items[i].get();
    }
  }
  if (index != nullptr) *index = -1;
  return nullptr;
}

}  // namespace

nNotes* nNoteArray::SetNote(uint8_t pitch, uint8_t course, uint8_t interval, bool byCourse) {
  if (pitch == 0) {
    RemoveNote(byCourse ? course : interval, byCourse);
    return nullptr;
  }
  if (nNotes* note = FindNote(byCourse ? course : interval, byCourse)) {
    note->pitch = pitch;
    note->ornament = 0;
    return note;
  }
  auto note = std::make_unique<nNotes>();
  note->pitch = pitch;
  note->string = course;
  note->interval = interval;
  nNotes* added = note.get();
  return InsertInPitchOrder(std::move(note)) >= 0 ? added : nullptr;
}

bool nNoteArray::RemoveNote(uint8_t courseOrInterval, bool byCourse) {
  int index = -1;
  if (byCourse) {
    NoteOnCourse(courseOrInterval, &index);
  } else {
    NoteWithInterval(courseOrInterval, &index);
  }
  if (index < 0) return false;
  erase(static_cast<size_t>(index));
  // Notes that lost their course go with it.
  RemoveIf([](const auto& n) { return n == nullptr || n->string == nNotes::kNoCourse; });
  return true;
}

void nNoteArray::DeleteNotesFromCourse(uint8_t course) {
  RemoveIf([course](const auto& n) { return n != nullptr && n->string >= course; });
}

void nNoteArray::CopyFrom(const nNoteArray& other) {
  if (this != &other) OwnedArray::operator=(other);
}

// ---------------------------------------------------------------------------------------------
// Finding notes

nNotes* nNoteArray::NoteOnCourse(uint8_t course, int* index) const {
  return FirstNote(items(), [course](const nNotes& n) { return n.string == course; }, index);
}

nNotes* nNoteArray::NoteWithInterval(uint8_t interval, int* index) const {
  return FirstNote(items(), [interval](const nNotes& n) { return n.interval == interval; }, index);
}

nNotes* nNoteArray::FindNote(uint8_t courseOrInterval, bool byCourse) const {
  return byCourse ? NoteOnCourse(courseOrInterval) : NoteWithInterval(courseOrInterval);
}

uint8_t nNoteArray::PitchOnCourse(uint8_t course) const {
  const nNotes* note = NoteOnCourse(course);
  return note != nullptr ? note->pitch : 0;
}

uint8_t nNoteArray::NextNoteAboveCourse(uint8_t course, uint8_t& found) const {
  const nNotes* note = FirstNote(items(), [course](const nNotes& n) { return n.string > course; });
  if (note == nullptr) return 0;
  found = note->string;
  return note->pitch;
}

nNotes* nNoteArray::FindNeighbourNote(uint8_t interval) const {
  return FirstNote(items(), [interval](const nNotes& n) { return std::abs(n.interval - interval) == 2; });
}

nNotes* nNoteArray::FindNoteNearPitch(int pitch) const {
  return FirstNote(items(), [pitch](const nNotes& n) { return std::abs(n.pitch - pitch) <= 1; });
}

bool nNoteArray::RemoveNoteNearPitch(int pitch) {
  int index = -1;
  FirstNote(items(), [pitch](const nNotes& n) { return std::abs(n.pitch - pitch) <= 1; }, &index);
  if (index < 0) return false;
  erase(static_cast<size_t>(index));
  return true;
}

int nNoteArray::HighestPitch() const {
  const nNotes* note = GetHighestNote();
  return note != nullptr ? note->pitch : -1;
}

int nNoteArray::LowestPitch() const {
  int lowest = 128;
  for (const auto& n : items()) {
    if (n != nullptr) lowest = std::min<int>(lowest, n->pitch);
  }
  return lowest == 128 ? -1 : lowest;
}

nNotes* nNoteArray::GetHighestNote() const {
  nNotes* highest = nullptr;
  for (const auto& n : items()) {
    if (n != nullptr && (highest == nullptr || n->pitch > highest->pitch)) highest = n.get();
  }
  return highest;
}

// ---------------------------------------------------------------------------------------------
// Courses

namespace {

// Course order, then pitch order, both ascending.
bool CourseThenPitch(const nNotes& a, const nNotes& b) {
  return a.string != b.string ? a.string < b.string : a.pitch < b.pitch;
}

// The notes in course order without reordering the chord.
std::vector<const nNotes*> InCourseOrder(const nNoteArray::Items& items) {
  std::vector<const nNotes*> notes;
  notes.reserve(items.size());
  for (const auto& n : items) {
    if (n != nullptr) notes.push_back(n.get());
  }
  std::stable_sort(notes.begin(), notes.end(),
                   [](const nNotes* a, const nNotes* b) { return CourseThenPitch(*a, *b); });
  return notes;
}

}  // namespace

std::pair<int, int> nNoteArray::GetStringSpan() const {
  const auto notes = InCourseOrder(items());
  if (notes.empty()) return {0, 0};
  return {notes.front()->string, notes.back()->string};
}

int nNoteArray::GetNeighbourString(uint8_t course) const {
  const auto notes = InCourseOrder(items());
  for (size_t i = 0; i < notes.size(); ++i) {
    if (notes[i]->string != course) continue;
    if (i + 1 < notes.size()) return notes[i + 1]->string;
    if (i > 0) return notes[i - 1]->string;
    return 0;
  }
  return 0;
}

nNoteArray::BarreNotes nNoteArray::CountBarreNotes() const {
  BarreNotes barre;
  for (size_t i = 0; i < size(); ++i) {
    const nNotes* n = items()[i].get();
    if (n == nullptr || ((n->fingering >> 4) & 0x0F) != 8) continue;
    if (barre.count++ == 0) barre.first = static_cast<int>(i);
    barre.last = static_cast<int>(i);
  }
  return barre;
}

// ---------------------------------------------------------------------------------------------
// Ordering and marks

void nNoteArray::SortByPitch(bool ascending) {
  if (size() < 2) return;
  if (ascending) {
    SortAscending();
  } else {
    SortDescending();
  }
}

void nNoteArray::SortByCourse() {
  std::stable_sort(begin(), end(), [](const auto& a, const auto& b) { return CourseThenPitch(*a, *b); });
}

bool nNoteArray::ToggleDecorationOnString(uint8_t course, int code) {
  nNotes* note = NoteOnCourse(course);
  if (note == nullptr) return false;
  note->ToggleDecoration(code);
  return true;
}

void nNoteArray::SetStemAndVoiceMarks(uint16_t value, bool setBit2) {
  for (const auto& n : items()) {
    if (n == nullptr || !(n->flags & nNotes::kLowerVoiceFlag)) continue;
    n->flags = static_cast<uint16_t>((n->flags & ~3u) | (value & 3u));
    if (setBit2) n->flags |= 4;
  }
}

nNoteArray::SplitCounts nNoteArray::SplitByPitch(int split, int& upperLowest, int& lowerHighest) {
  SplitCounts counts;
  for (const auto& n : items()) {
    if (n == nullptr) continue;
    if (n->pitch > split || n->string == 0) {
      n->flags &= static_cast<uint16_t>(~nNotes::kLowerVoiceFlag);
      upperLowest = std::min<int>(upperLowest, n->pitch);
      ++counts.upper;
    } else {
      n->flags |= nNotes::kLowerVoiceFlag;
      lowerHighest = std::max<int>(lowerHighest, n->pitch);
      ++counts.lower;
    }
  }
  return counts;
}

// ---------------------------------------------------------------------------------------------
// Courses on a tablature instrument

void nNoteArray::AssignStrings(const CTabInstrument& instrument) {
  SortDescending();
  int previous = -1;
  bool first = true;
  for (const auto& n : items()) {
    int course = instrument.FindStringForPitch(n->pitch - kCoursePitchOffset, -1);
    // Each note goes on a course after the one before it, when there is such a course.
    if (!first && course <= previous && previous != nNotes::kNoCourse) {
      const int after = instrument.FindStringForPitch(n->pitch - kCoursePitchOffset, previous);
      if (after >= 0) course = after;
    }
    n->string = course < 0 ? nNotes::kNoCourse : static_cast<uint8_t>(course);
    previous = n->string;
    first = false;
  }
  SortByCourse();
}

void nNoteArray::ReverseStringOrder(const CTabInstrument& instrument) {
  const int count = static_cast<int>(instrument.tuning.CoursesInUse());
  for (const auto& n : items()) {
    if (n == nullptr || n->string >= count) continue;
    const int from = n->string;
    const int to = count - 1 - from;
    const int shift = instrument.tuning.courses[static_cast<size_t>(to)].pitch -
                      instrument.tuning.courses[static_cast<size_t>(from)].pitch;
    n->string = static_cast<uint8_t>(to);
    n->pitch = static_cast<uint8_t>(std::clamp(n->pitch + shift, 0, 127));
  }
}

nNoteArray::Frets nNoteArray::FretRange(const nTuning& tuning) const {
  Frets frets;
  frets.onCourse.fill(-1);
  const int count = static_cast<int>(tuning.CoursesInUse());
  for (int course = 0; course < count; ++course) {
    const nNotes* note = NoteOnCourse(static_cast<uint8_t>(course));
    if (note == nullptr || note->pitch == 0) continue;
    const int fret = note->pitch - tuning.courses[static_cast<size_t>(course)].pitch - kCoursePitchOffset;
    if (fret < 0) continue;
    frets.onCourse[static_cast<size_t>(course)] = fret;
    if (fret > 0) frets.lowest = std::min(frets.lowest, fret);
    frets.highest = std::max(frets.highest, fret);
  }
  return frets;
}

// ---------------------------------------------------------------------------------------------
// Spelling

namespace {

void SpellNote(nNotes& note, const CKey& key, bool otherSpelling) {
  char accidental = 0;
  note.SpellInKey(key, otherSpelling, accidental);
}

}  // namespace

void nNoteArray::Respell(const CKey& key) {
  for (const auto& n : items()) {
    if (n != nullptr) SpellNote(*n, key, false);
  }
}

void nNoteArray::RespellKeepingMarks(const CKey& key) {
  for (const auto& n : items()) {
    if (n == nullptr) continue;
    SpellNote(*n, key, (n->status & 4) != 0);
    n->status &= ~0x20u;
  }
}

void nNoteArray::Transpose(int amount, const CKey& key, bool diatonic) {
  for (const auto& n : items()) {
    if (n == nullptr) continue;
    if (diatonic) {
      n->interval = static_cast<uint8_t>(std::clamp(n->interval + amount, 0, 255));
      n->pitch = static_cast<uint8_t>(std::clamp(key.StepToPitch(n->interval), 0, 127));
    } else {
      n->pitch = static_cast<uint8_t>(std::clamp(n->pitch + amount, 0, 127));
      SpellNote(*n, key, false);
    }
  }
}

}  // namespace vornel
