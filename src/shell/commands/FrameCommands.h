#pragma once
// The main frame's own commands: panes, bars and the ribbon shown or hidden, looks,
// preferences, the windows list, the metronome and the help pages. They ask the main window
// through FrameControls, so that the table is the same in the editor and in headless tests
// and tools.

#include <string_view>

#include "view/commands/CommandTable.h"

namespace vornel {

class CVornelTabApp;
class Metronome;

// What the frame shows or hides, each one switch with a check mark.
enum class FrameSwitch {
  kStatusBar,
  kEditMode,
  kPropertiesPane,
  kOutputPane,
  kFullScreen,
  kKeyboardConsole,
  kToolbars,       // "Editing options", "MIDI Play Bar" and the zoom bar
  kRibbonPanels,   // off: the ribbon is minimised to its tabs
};

class FrameControls {
 public:
  virtual ~FrameControls() = default;
  virtual bool IsOn(FrameSwitch which) const = 0;
  virtual void Switch(FrameSwitch which, bool on) = 0;
  virtual size_t DocumentCount() const = 0;
  virtual void ShowWindowsDialog() = 0;
  virtual void ApplyLook(int id) = 0;
  virtual void RunPreferences() = 0;
  // Shows every pane of the left group.
  virtual void ShowAllPanes() = 0;
  virtual void SwitchPaletteTab(std::string_view title) = 0;
  virtual void ShowPaletteMenu() = 0;
  // The customisation of the tool bars.
  virtual void CustomizeToolbars() = 0;
  // Shows or hides the "MIDI Play Bar", floating at (100, 100) on the screen.
  virtual void FloatMidiToolbar() = 0;
  // Shows the "MIDI Play list" window (made the first time) with the files it holds.
  virtual void ShowMidiPlaylist() = 0;
};

void AddFrameCommands(view::CommandTable& table, FrameControls& frame, CVornelTabApp& app, Metronome& metronome);

}  // namespace vornel
