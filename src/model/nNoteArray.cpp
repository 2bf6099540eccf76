#include "model/nNoteArray.h"

#include <algorithm>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace vornel {

void nNoteArray::Store(ArchiveWriter& ar) const { ar.WriteObjectArray(items()); }

void nNoteArray::Load(ArchiveReader& ar) {
  ar.ReadOwnedObjectArray<nNotes>(items());
  std::erase_if(items(), [](const auto& note) { return note == nullptr; });
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

void nNoteArray::SortAscending() {
  std::stable_sort(begin(), end(), [](const auto& a, const auto& b) { return a->pitch < b->pitch; });
}

void nNoteArray::LimitToMaxNotes() {
  if (size() > kMaxNotes) items().resize(kMaxNotes);
}

bool nNoteArray::operator==(const nNoteArray& other) const { return ElementsEqual(*this, other); }

}  // namespace vornel
