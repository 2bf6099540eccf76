#pragma once
// The split panes of lists: "Templates" (document templates above the instruments of the
// instrument base), "Sections" (the active document's sections above the active section's
// facsimiles), and the "File explorer" (folders above the files of the chosen folder). Each
// list has its caption and tool bar; Enter and a double-click open the selected entry and go
// no further. What each action does is decided by shell/panes/PaneActions.

#include <wx/defs.h>
// The folder tree is declared only once the configuration is known.
#include <wx/dirctrl.h>
#include <wx/treectrl.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/aui/auibar.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "shell/panes/PaneActions.h"

namespace vornel {

class TemplateListPane : public wxPanel {
 public:
  TemplateListPane(wxWindow* parent, panes::ListId list, const wxString& title, std::span<const int> tools,
                   panes::PaneServices& services);

  panes::ListId Id() const { return list_; }
  wxListBox* List() const { return listBox_; }
  wxAuiToolBar* ToolBar() const { return toolBar_; }
  // Fills the list; `selected` becomes the selection when it is an entry.
  void Fill(const std::vector<std::string>& entries, int selected = -1);
  panes::ListSelection Selection() const;
  // Called when a command asks for the list to be filled again.
  std::function<void()> refill;

  void OpenSelected();
  void RunCommand(int command);

 private:
  void OnKeyDown(wxKeyEvent& event);

  panes::ListId list_;
  panes::PaneServices& services_;
  wxStaticText* caption_ = nullptr;
  wxAuiToolBar* toolBar_ = nullptr;
  wxListBox* listBox_ = nullptr;
};

// Two lists, one above the other, sharing the height.
class SplitListPane : public wxPanel {
 public:
  struct ListSpec {
    panes::ListId id;
    const char* title;
    std::span<const int> tools;
  };
  SplitListPane(wxWindow* parent, const wxString& name, ListSpec top, ListSpec bottom, panes::PaneServices& services);
  TemplateListPane* Top() const { return top_; }
  TemplateListPane* Bottom() const { return bottom_; }

 private:
  wxSplitterWindow* splitter_ = nullptr;
  TemplateListPane* top_ = nullptr;
  TemplateListPane* bottom_ = nullptr;
};

class FileExplorerPane : public wxPanel {
 public:
  // `open` opens a document file.
  FileExplorerPane(wxWindow* parent, panes::PaneServices& services, std::function<void(const std::string&)> open);

  // The folder tree and the file list, made at the pane's first paint or here.
  wxGenericDirCtrl* Folders();
  wxListCtrl* Files();
  void ShowFolder(const std::string& folder);
  // The chosen folder's files, listed again.
  void FillFiles();
  void OpenFile(long item);

 private:
  void Build();

  panes::PaneServices& services_;
  std::function<void(const std::string&)> open_;
  wxAuiToolBar* toolBar_ = nullptr;
  wxSplitterWindow* splitter_ = nullptr;
  wxGenericDirCtrl* folders_ = nullptr;
  wxListCtrl* files_ = nullptr;
  bool buildQueued_ = false;
  std::string folder_;
};

}  // namespace vornel
