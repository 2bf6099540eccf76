#pragma once
// The chord palette without its window: where its chart goes in the pane, and what a
// double-click on it asks of the score view.

#include <optional>

#include "platform/draw/DrawTypes.h"
#include "view/commands/CommandTable.h"

namespace vornel {

class ChordChartGrid;

inline constexpr int kPaletteToolbarHeight = 20;
inline constexpr int kPaletteCellWidth = 50;
inline constexpr int kPaletteCellHeight = 75;
inline constexpr COLORREF kPaletteBackground = 0xDCDCC8;
// "Insert alfabeto or chord chart" at the view's cursor, by the view's insert mode.
inline constexpr int kInsertAlfabetoCommand = 33322;

struct PaletteLayout {
  int columns = 1;
  int rows = 1;
  Rect chart;  // below the tool bar, whole cells
};

// Columns of 50 pixels across the pane (at least one), enough rows for 25 letters.
PaletteLayout LayoutChordPalette(int width);

// The command that inserts the selected cell's letter at the cursor; nothing, after a beep,
// when no cell with a letter is selected.
std::optional<view::CommandEvent> PaletteInsertCommand(const ChordChartGrid& grid);

}  // namespace vornel
