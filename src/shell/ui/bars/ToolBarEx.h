#pragma once
// A customisable tool bar: the buttons of its definition that its state puts on it, small or
// large icons, text labels under the icons, on their right or none. Undo and Redo open their
// drop-down lists, a button that only opens a menu shows it, the zoom bar holds its box. The
// bar's buttons send their commands through BarCommands, or, for the keyboard console, through
// a sender of its own.

#include <wx/aui/auibar.h>
#include <wx/weakref.h>

#include <functional>
#include <map>

#include "shell/bars/ToolbarTable.h"
#include "shell/ui/bars/UndoDropDown.h"
#include "view/commands/CommandTable.h"

class wxComboBox;

namespace vornel {

class BarCommands;

class CToolBarEx : public wxAuiToolBar {
 public:
  CToolBarEx(wxWindow* parent, const bars::ToolbarDefinition& definition, BarCommands& commands);

  const bars::ToolbarDefinition& Definition() const { return definition_; }
  const bars::ToolbarState& State() const { return state_; }
  // The options first, then the buttons.
  void ApplyState(const bars::ToolbarState& state);
  void SetTextOptions(bars::TextOption option);
  void SetIconOptions(bars::IconOption option);
  void SetButtons(const std::vector<int>& buttons);

  // The zoom box (the zoom bar only).
  wxComboBox* ZoomBox() const { return zoomBox_; }
  // Shows a percentage in the zoom box, unless the user is typing in it.
  void ShowZoom(int percent);
  // Controls are hidden while the bar stands at the left or right side.
  void SetControlsHidden(bool hidden);
  bool ControlsHidden() const { return controlsHidden_; }

  // The bar's buttons go elsewhere than the command route (the console's to the view).
  std::function<void(int id)> sendCommand;
  // The check mark a button shows, instead of the route's (the console's).
  std::function<std::optional<bool>(int id)> checkState;
  // The bar changed its size or its state.
  std::function<void(CToolBarEx&)> onChanged;
  // A right click on the bar.
  std::function<void(CToolBarEx&, const wxPoint&)> onContextMenu;

  // The open undo or redo list, for tests; null when none is open.
  CUndoMenu* OpenUndoList() const;
  // Opens the list of the undo (57643) or redo (57644) button.
  void ShowUndoList(int id);

 private:
  void Rebuild();
  int IconSide() const;
  void OnTool(wxCommandEvent& event);
  void OnDropDown(wxAuiToolBarEvent& event);
  void OnUpdateUI(wxUpdateUIEvent& event);

  const bars::ToolbarDefinition& definition_;
  BarCommands& commands_;
  bars::ToolbarState state_;
  wxComboBox* zoomBox_ = nullptr;
  bool controlsHidden_ = false;
  // The window ids of menu-only buttons and the menus they open.
  std::map<int, int> menuButtons_;
  // The check marks shown by buttons whose marks come from elsewhere (the console's).
  std::map<int, bool> marks_;
  wxWeakRef<CUndoMenu> undoList_;
};

}  // namespace vornel
