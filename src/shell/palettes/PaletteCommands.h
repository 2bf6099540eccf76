#pragma once
// The commands of the "Palettes" pane: choosing a pane's palette (33819-33824 upper,
// 33826-33831 lower), tearing a palette off (34121, 34122), the column count (33921), and the
// pane tool bar's commands passed on to the main window. Every palette button's command is
// carried too, disabled, until the view or the document that carries it out is in the route
// before this table.

#include "view/commands/CommandTable.h"

namespace vornel::palettes {

// What the palettes pane does for its commands.
class PaletteTarget {
 public:
  virtual ~PaletteTarget() = default;
  virtual void SelectPalette(int command) = 0;
  // The command of the pane's current palette (0 when none).
  virtual int CurrentPalette(int pane) const = 0;
  virtual void FloatPalette(int pane) = 0;
  virtual int Columns() const = 0;
  virtual void SetColumns(int columns) = 0;
  // To the main window, routed like a menu command.
  virtual void SendCommand(int id) = 0;
};

inline constexpr int kFloatUpperPalette = 34121;
inline constexpr int kFloatLowerPalette = 34122;
inline constexpr int kSetColumns = 33921;

// The pane tool bar (resource 33918), in order.
inline constexpr int kPaneToolBar[] = {33919, 33920, 34157, kFloatUpperPalette, kFloatLowerPalette, kSetColumns, 34371};

void AddPaletteCommands(view::CommandTable& table, PaletteTarget& target);

}  // namespace vornel::palettes
