#pragma once
// The undo and redo drop-downs: the list of the document's entries, newest first, and the
// pointer rule: hovering over an item selects it and every newer one, and the label under the
// list counts them; choosing undoes (or redoes) exactly that many steps.

#include <string>
#include <vector>

namespace vornel::bars {

inline constexpr const char* kUndoCountFormat = "Undo %d Actions";
// A document entry without a name is listed as this.
inline constexpr const char* kUnnamedAction = "Edit";

// The lines of the list: the entries' names, newest first, unnamed ones as kUnnamedAction.
std::vector<std::string> UndoListLines(const std::vector<std::string>& names);

struct UndoHover {
  int selected = 0;    // items 0 .. selected-1 are selected
  std::string label;   // "Undo %d Actions" with that count; empty when nothing is selected
};
// The selection when the pointer is over item `item` of a list of `count` items (-1 or past
// the end: the pointer is over no item, nothing changes and nothing is selected).
UndoHover HoverUndoList(int item, int count);
// How many steps a click on the list takes: the items selected.
inline int ChosenSteps(const UndoHover& hover) { return hover.selected; }

}  // namespace vornel::bars
