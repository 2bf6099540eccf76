#pragma once
// The output pane: three lists ("Build", "Debug", "Find") as tabs at the bottom, each with its
// fixed lines, and a context menu that copies, clears or hides the pane.

#include <wx/listbox.h>
#include <wx/panel.h>

#include <array>
#include <functional>
#include <memory>
#include <ostream>

class wxAuiNotebook;

namespace vornel {

class ScopedImportWarnings;

class COutputList : public wxListBox {
 public:
  COutputList(wxWindow* parent, int id, std::function<void()> hidePane);
  // The context menu's commands ("&Copy", "&Clear", "&Hide").
  void RunCommand(int id);
  // The id of the context menu's entry `entry` (Copy, Clear, Hide).
  static int MenuId(size_t entry);

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

// While it lives, the importers' warnings go to the "Build" list of the pane `pane` gives (the
// pane may be built only when the first warning comes), a line each, and `show` brings the
// pane forward when one arrives.
class OutputPaneWarnings {
 public:
  OutputPaneWarnings(std::function<COutputWnd&()> pane, std::function<void()> show);
  ~OutputPaneWarnings();
  OutputPaneWarnings(const OutputPaneWarnings&) = delete;
  OutputPaneWarnings& operator=(const OutputPaneWarnings&) = delete;

 private:
  class Lines;
  std::unique_ptr<Lines> lines_;
  std::unique_ptr<std::ostream> stream_;
  std::unique_ptr<ScopedImportWarnings> scope_;
};

}  // namespace vornel
