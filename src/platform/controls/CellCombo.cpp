#include "platform/controls/CellCombo.h"

#include <algorithm>

namespace vornel {

CellComboPlace PlaceCellCombo(const CellComboMetrics& m) {
  const int reserve = (m.itemsTallerThanWindow && !m.noScroll) ? m.scrollBarWidth + 3 : 3;
  const int edge = m.windowWidth - reserve;
  CellComboPlace place{m.label.left, m.columnWidth};
  if (place.left + place.width > edge) place.width = edge - place.left;
  if (m.maximumWidth > 0) place.width = std::min(place.width, m.maximumWidth);
  if (place.width < m.minimumWidth) {
    place.width = m.minimumWidth;
    if (place.left + place.width > edge) place.left = std::max(0, edge - place.width);
  }
  return place;
}

bool CellComboShows(ListViewMode mode, bool hasCombo, bool controlHeld) {
  return mode != ListViewMode::kIcon && hasCombo && !controlHeld;
}

std::optional<std::string> CellComboResult(bool itemSelected, const std::optional<std::string>& chosenLine,
                                           const std::string& typedText) {
  const std::string text = chosenLine.value_or(typedText);
  if (!itemSelected || text.empty()) return std::nullopt;
  return text;
}

}  // namespace vornel
