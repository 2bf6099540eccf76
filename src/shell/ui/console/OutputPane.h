#pragma once
// The output pane: three lists ("Build", "Debug", "Find") as tabs at the bottom, each with its
// fixed lines, and a context menu that copies, clears or hides the pane.

#include <wx/listbox.h>
#include <wx/panel.h>

#include <array>
#include <functional>

class wxAuiNotebook;

namespace vornel {

class COutputList : public wxListBox {
 public:
  COutputList(wxWindow* parent, int id, std::function<void()> hidePane);
  // The context menu's commands ("&Copy", "&Clear", "&Hide").
  void RunCommand(int id);

 private:
  void OnContextMenu(wxContextMenuEvent& event);
  std::function<void()> hidePane_;
};

class COutputWnd : public wxPanel {
 public:
  // `hidePane` hides the pane through the main frame.
  COutputWnd(wxWindow* parent, std::function<void()> hidePane);
  wxAuiNotebook* Tabs() const { return tabs_; }
  COutputList* List(size_t index) const { return lists_[index]; }
  // The lists take the user-interface font again (a system setting changed).
  void UpdateFonts();

 private:
  wxAuiNotebook* tabs_ = nullptr;
  std::array<COutputList*, 3> lists_{};
};

}  // namespace vornel
