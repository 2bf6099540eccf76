#pragma once
// The rules of a list's in-place combo box (the cell combo of a list control): where it goes
// over an item's label, when it shows, and what closing it writes back. The window layer's
// list control (platform/ui/CListCtrlExt) follows them.

#include <optional>
#include <string>

#include "platform/draw/DrawTypes.h"

namespace vornel {

struct CellComboMetrics {
  int columnWidth = 0;     // the first column's width (report view) or the label's width
  Rect label;              // the item's label, in the control's client coordinates
  int windowWidth = 0;     // the control's width
  int scrollBarWidth = 0;  // a vertical scroll bar's width
  bool itemsTallerThanWindow = false;
  bool noScroll = false;   // the control never scrolls
  int minimumWidth = 150;
  int maximumWidth = -1;   // -1: no limit
};

// The combo box's left edge and width: from the label's left at the column's width, never past
// the window's right edge (less a scroll bar when one shows, and 3 pixels), at most the
// maximum width, and at least the minimum width, moved left when that makes it pass the edge.
struct CellComboPlace {
  int left = 0;
  int width = 0;
  friend bool operator==(const CellComboPlace&, const CellComboPlace&) = default;
};
CellComboPlace PlaceCellCombo(const CellComboMetrics& metrics);

enum class ListViewMode { kIcon, kSmallIcon, kList, kReport };

// Whether a double-click (or F4) shows the item's combo box: never in icon view, never with
// Ctrl held, only for an item that has one.
bool CellComboShows(ListViewMode mode, bool hasCombo, bool controlHeld);

// The text closing the list writes into the selected item: the chosen line, else the last
// typed text; nothing when no item is selected or the text is empty (the item keeps its text).
std::optional<std::string> CellComboResult(bool itemSelected, const std::optional<std::string>& chosenLine,
                                           const std::string& typedText);

}  // namespace vornel
