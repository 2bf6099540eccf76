#pragma once
// The main frame's bars: the quick-access bar above the ribbon, the ribbon, and the
// customisable tool bars ("Editing options", "MIDI Play Bar", the palette bar, the alfabeto
// bar, the zoom bar, and the keyboard console's bar once the console hands it over) as docking
// panes. It keeps each bar's state in the profile ("ToolBarEx%d"), shows the bars' context
// menu and the customisation, hides controls of a bar docked at a side, and fits the ribbon's
// pane to the ribbon when it is minimised or restored.

#include <wx/aui/framemanager.h>

#include <array>
#include <functional>
#include <memory>

#include "shell/bars/ToolbarTable.h"

class wxFrame;
class wxMenu;

namespace vornel {

class BarCommands;
class CRibbonBar;
class CToolBarEx;
class ProfileStore;

class FrameBars {
 public:
  static constexpr const char* kRibbonPane = "ribbon";
  static constexpr const char* kQuickPane = "quickaccess";
  // "&Customize..." of the bars' context menu.
  static constexpr int kCustomizeBar = 255;

  FrameBars(wxFrame& frame, wxAuiManager& dock, BarCommands& commands, ProfileStore& profile);
  ~FrameBars();

  CRibbonBar* Ribbon() const { return ribbon_; }
  CToolBarEx* QuickBar() const { return quick_; }
  // A bar by its number (1 to 6); null for one not made.
  CToolBarEx* Bar(int number) const;
  static std::string PaneName(int number);
  // The console's bar joins the set; `relayout` lays the console out again.
  void AdoptConsoleBar(CToolBarEx* bar, std::function<void(bool shown)> showBar, std::function<bool()> barShown);

  bool BarShown(int number) const;
  void ShowBar(int number, bool show);
  // The switch of the "Editing options", "MIDI Play Bar" and zoom bars.
  bool ToolbarsShown() const { return toolbarsShown_; }
  void ShowToolbars(bool show);
  bool RibbonPanelsShown() const;
  void ShowRibbonPanels(bool show);
  // Shows or hides the "MIDI Play Bar", floating at (100, 100) on the screen.
  void FloatMidiBar();

  // The customisation of a bar (a modal dialog).
  void Customize(int number);
  // The bars' context menu: every bar (checked when shown), "&Properties View", "&Output",
  // and "&Customize..." for `bar`. The caller pops it up and hands the choice to RunMenuChoice.
  std::unique_ptr<wxMenu> BuildContextMenu();
  void RunMenuChoice(int chosen, CToolBarEx& bar);
  void ShowContextMenu(CToolBarEx& bar, const wxPoint& screen);
  // The palette bar's buttons as a pop-up menu at a point of the frame.
  void ShowToolbarMenu(const wxPoint& client);

  // Keeps a bar's state in the profile.
  void SaveState(const CToolBarEx& bar);
  // Reads the bars' states from the profile: options first, then buttons; a state that cannot
  // be read leaves the bar as it was made.
  void RestoreStates();
  // After the docking layout was read: the ribbon and the bars keep the sizes they have now.
  void FitPanes();
  // A bar docked at the left or right side hides its controls; back at the top or the bottom
  // it shows them.
  void CheckSideDocking();

 private:
  void AddBarPane(CToolBarEx* bar, int row, int position);
  void FitBarPane(CToolBarEx& bar);
  void FitRibbonPane();

  wxFrame& frame_;
  wxAuiManager& dock_;
  BarCommands& commands_;
  ProfileStore& profile_;
  CRibbonBar* ribbon_ = nullptr;
  CToolBarEx* quick_ = nullptr;
  std::array<CToolBarEx*, 7> bars_{};  // by number; 0 unused
  std::function<void(bool)> showConsoleBar_;
  std::function<bool()> consoleBarShown_;
  bool toolbarsShown_ = true;
  // While the bars are made, the docking layout is computed once at the end.
  bool building_ = true;
};

}  // namespace vornel
