// Walking and searching a voice by index, bar and tick.

#include <algorithm>

#include "model/instrument/CClef.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

bool IsChordEvent(const nChord* e) { return e != nullptr && e->IsChord(); }

// A clef special event, or a bar line that announces a clef.
bool IsClefChange(const nChord* e) {
  return (e->IsSpecialEvent() && e->SpecialSubtype() == nChord::kClefChange) || (e->IsBarLine() && e->BarChange() == 2);
}

}  // namespace

size_t nChordArray::GetBarLineIndex(size_t n) const {
  if (n == 0) return 0;
  size_t seen = 0;
  for (size_t i = 0; i < events_.size(); ++i) {
    if (events_[i] != nullptr && events_[i]->IsBarLine() && ++seen == n) return i;
  }
  return events_.size();
}

size_t nChordArray::FindBarByNumber(uint32_t number) const {
  for (size_t i = 0; i < events_.size(); ++i) {
    const nChord* e = events_[i].get();
    if (e == nullptr || !e->IsBarLine()) continue;
    if (e->number == number) return i;
    if (e->number > number) return 0;
  }
  return events_.size();
}

size_t nChordArray::AfterFirstBarLine() const {
  for (size_t i = 0; i < events_.size(); ++i) {
    if (events_[i] != nullptr && events_[i]->IsBarLine()) return i + 1;
  }
  return events_.size();
}

int nChordArray::LastBarStart() const {
  if (events_.empty()) return -1;
  for (size_t i = events_.size() - 1; i-- > 0;) {
    const nChord* e = events_[i].get();
    if (e == nullptr || !e->IsBarLine()) continue;
    return static_cast<int>(e->status == 1 ? i : i + 1);
  }
  return 0;
}

nChord* nChordArray::FindBarAtTick(uint32_t tick) const {
  for (const Handle& e : events_) {
    if (e != nullptr && e->IsBarLine() && e->time >= tick) return e.get();
  }
  return events_.empty() ? nullptr : events_.back().get();
}

size_t nChordArray::IndexOfChordAtTick(uint32_t tick) const {
  for (size_t i = 0; i < events_.size(); ++i) {
    const nChord* e = events_[i].get();
    if (IsChordEvent(e) && e->delta >= tick) return i;
  }
  return events_.size();
}

nChord* nChordArray::FindChordAtTick(uint32_t tick) {
  cursor = IndexOfChordAtTick(tick);
  return cursor < events_.size() ? events_[cursor].get() : nullptr;
}

nChord* nChordArray::NextNthChord(int n, int& index) const {
  if (n <= 0) return nullptr;
  int seen = 0;
  for (size_t i = static_cast<size_t>(std::max(index, 0)); i < events_.size(); ++i) {
    if (IsChordEvent(events_[i].get()) && ++seen == n) {
      index = static_cast<int>(i + 1);
      return events_[i].get();
    }
  }
  index = static_cast<int>(events_.size());
  return nullptr;
}

nChord* nChordArray::SeekChord(int& index) const {
  for (size_t i = static_cast<size_t>(std::max(index, 0)); i < events_.size(); ++i) {
    if (IsChordEvent(events_[i].get())) {
      index = static_cast<int>(i);
      return events_[i].get();
    }
  }
  index = static_cast<int>(events_.size());
  return nullptr;
}

nChord* nChordArray::SeekChordBackward(int& index) const {
  const int last = static_cast<int>(events_.size()) - 1;
  for (int i = std::min(index, last); i >= 0; --i) {
    if (IsChordEvent(events_[static_cast<size_t>(i)].get())) {
      index = i;
      return events_[static_cast<size_t>(i)].get();
    }
  }
  index = -1;
  return nullptr;
}

bool nChordArray::FindPrevNearPitch(int& index, int pitch) const {
  if (index == 0) return false;
  const int last = static_cast<int>(events_.size()) - 1;
  for (int i = std::min(index - 1, last); i >= 0; --i) {
    const nChord* e = events_[static_cast<size_t>(i)].get();
    if (e != nullptr && e->notes.FindNoteNearPitch(pitch) != nullptr) {
      index = i;
      return true;
    }
  }
  index = -1;
  return false;
}

bool nChordArray::SkipToNextBar(int& index) const {
  for (size_t i = static_cast<size_t>(std::max(index, 0)); i < events_.size(); ++i) {
    if (events_[i] != nullptr && events_[i]->IsBarLine()) {
      index = static_cast<int>(i + 1);
      return false;
    }
  }
  index = static_cast<int>(events_.size());
  return true;
}

bool nChordArray::PrevBarLine(int& index) const {
  const int last = static_cast<int>(events_.size()) - 1;
  for (int i = std::min(index - 1, last); i >= 0; --i) {
    const nChord* e = events_[static_cast<size_t>(i)].get();
    if (e != nullptr && e->IsBarLine()) {
      index = i;
      return false;
    }
  }
  index = 0;
  return true;
}

nChord* nChordArray::NextRestOrGhost(int index) const {
  for (size_t i = static_cast<size_t>(std::max(index + 1, 0)); i < events_.size(); ++i) {
    nChord* e = events_[i].get();
    if (e == nullptr) continue;
    return (e->IsRest() || e->ChordMark() == nChord::kGhostMark) ? e : nullptr;
  }
  return nullptr;
}

CMetaEvent* nChordArray::FindPrecedingClefChange(int index) const {
  const int last = static_cast<int>(events_.size()) - 1;
  for (int i = std::min(index, last); i >= 0; --i) {
    const nChord* e = events_[static_cast<size_t>(i)].get();
    if (e == nullptr) continue;
    if (IsClefChange(e)) return e->metaEvents.Find(CMetaEvent::kClef);
  }
  return nullptr;
}

void nChordArray::ApplyClefChanges(CClef& stave) const {
  for (const Handle& e : events_) {
    if (e == nullptr || !IsClefChange(e.get())) continue;
    const CMetaEvent* clef = e->metaEvents.Find(CMetaEvent::kClef);
    if (clef == nullptr) continue;
    stave.key.alterations = static_cast<uint32_t>(clef->cy) & 7u;
    stave.key.bemol = (clef->cy & 0x10) == 0 ? 1 : 0;
    stave.stepOffset = clef->cx;
  }
}

nNotes* nChordArray::FindNextNoteOnString(uint8_t course, int& index) const {
  for (size_t i = static_cast<size_t>(std::max(index + 1, 0)); i < events_.size(); ++i) {
    const nChord* e = events_[i].get();
    if (!IsChordEvent(e)) continue;
    if (nNotes* note = e->notes.NoteOnCourse(course)) {
      index = static_cast<int>(i);
      return note;
    }
  }
  index = static_cast<int>(events_.size());
  return nullptr;
}

}  // namespace vornel
