#pragma once
// What the ribbon, the tool bars and the console ask of the main window: to run a command,
// the state a command shows, menu ids, the recent files, the pictures and the active view's
// hooks. The main frame implements it; window tests may give their own.

#include <wx/bitmap.h>

#include <string>
#include <vector>

#include "shell/bars/MidiSliders.h"
#include "view/commands/CommandTable.h"

class wxMenu;

namespace vornel {

class BarCommands {
 public:
  virtual ~BarCommands() = default;
  // Runs a command through the command route; false when no target ran it.
  virtual bool Dispatch(const view::CommandEvent& event) = 0;
  virtual view::CommandState StateOf(int id) const = 0;
  // The window id of a menu item that sends `command`.
  virtual int MenuId(int command) = 0;
  virtual std::vector<std::string> RecentFiles() const = 0;
  // The picture of a command (or of a menu-only button: minus its menu) at size x size.
  virtual wxBitmap Picture(int id, int size) = 0;
  // The sliders of the active instrument line; empty without one.
  virtual std::vector<bars::SliderSetting> MidiSliders() const = 0;
  // The names of the active document's undo (or redo) entries, newest first.
  virtual std::vector<std::string> UndoNames(bool redo) const = 0;
};

}  // namespace vornel
