#include "view/charts/ChordPaletteLayout.h"

#include <algorithm>

#include "platform/UserPrompts.h"
#include "view/charts/ChartGrids.h"

namespace vornel {

PaletteLayout LayoutChordPalette(int width) {
  PaletteLayout layout;
  layout.columns = std::max(width / kPaletteCellWidth, 1);
  layout.rows = 25 / layout.columns + 1;
  layout.chart = {0, kPaletteToolbarHeight, layout.columns * kPaletteCellWidth,
                  kPaletteToolbarHeight + layout.rows * kPaletteCellHeight};
  return layout;
}

std::optional<view::CommandEvent> PaletteInsertCommand(const ChordChartGrid& grid) {
  const char16_t letter = grid.SelectedLetter();
  if (letter == 0) {
    Prompts().Beep(BeepKind::kError);
    return std::nullopt;
  }
  view::CommandEvent event;
  event.id = kInsertAlfabetoCommand;
  event.value = letter - u'A';
  return event;
}

}  // namespace vornel
