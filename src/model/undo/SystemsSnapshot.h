#pragma once
// What an undo or redo entry of an edit that changed only some systems of a section holds:
// copies of those systems as they were, where they stood and how many systems the section had
// then. Undoing exchanges them with the section's systems in that place, so an entry costs
// what the edit touched, however long the section is.

#include <cstddef>

#include "model/score/CStaveArray.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

struct SystemsSnapshot {
  size_t first = 0;           // the index of the first system held
  size_t sectionSystems = 0;  // the section's systems when they were taken
  OwnedArray<CStaveArray> systems;
};

}  // namespace vornel
