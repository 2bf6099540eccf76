#include "shell/palettes/PaletteCommands.h"

#include "shell/palettes/PaletteTable.h"
#include "shell/palettes/ToolsPalette.h"

namespace vornel::palettes {

namespace {

// Pane tool bar commands that stand for another command of the main window: command → sent.
// The others (34157, 34371) are the main window's own and go straight to it.
constexpr std::pair<int, int> kForwards[] = {{33919, 33181}, {33920, 34074}};

int PaneOf(int command) {
  for (int pane : {kUpperPane, kLowerPane}) {
    for (const PaletteInfo& palette : PanePalettes(pane)) {
      if (palette.command == command) return pane;
    }
  }
  return -1;
}

}  // namespace

void AddPaletteCommands(view::CommandTable& table, PaletteTarget& target) {
  using view::CommandEvent;
  for (const PaletteInfo& palette : AllPalettes()) {
    const int pane = PaneOf(palette.command);
    table.Add(
        palette.command, [&target](const CommandEvent& e) { target.SelectPalette(e.id); }, {},
        [&target, pane, id = palette.command] { return target.CurrentPalette(pane) == id; });
  }
  table.Add(kFloatUpperPalette, [&target](const CommandEvent&) { target.FloatPalette(kUpperPane); });
  table.Add(kFloatLowerPalette, [&target](const CommandEvent&) { target.FloatPalette(kLowerPane); });
  table.Add(kSetColumns, [&target](const CommandEvent&) { target.SetColumns(NextColumnCount(target.Columns())); });
  for (const auto& [command, sent] : kForwards) {
    table.Add(command, [&target, sent = sent](const CommandEvent&) { target.SendCommand(sent); });
  }
  if (!table.Contains(34371)) table.Add(34371, {});
  // The buttons' own commands: carried, without a handler, until their view or document
  // carries them.
  for (const PaletteInfo& palette : AllPalettes()) {
    for (const PaletteButton& button : palette.buttons) {
      if (!table.Contains(button.command)) table.Add(button.command, {});
    }
  }
}

}  // namespace vornel::palettes
