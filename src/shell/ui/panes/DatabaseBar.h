#pragma once
// The document group pane: a tool bar of the group commands over a tree of the groups of the
// document-group folder, their documents and each document's sections. A double-click on a
// section (or on a document without sections) opens the document there; the tree's context
// menu and the tool bar send the group commands to the main frame, whose handlers call the
// pane's operations on the tree's selection.

#include <wx/panel.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ProgressDialogRun.h"
#include "shell/library/DocumentGroupPane.h"

class wxMenu;

namespace vornel {

class CVornelTabDoc;

// The group commands of the tool bar, in its order.
inline constexpr int kGroupPaneTools[] = {33070, 33078, 33072, 33071, 33080, 33074, 33073, 33079};

// A picture of a group command, drawn for the tool bar (size × size pixels).
wxBitmap GroupToolBitmap(int command, int size);

class CDatabaseTreeCtrl : public wxTreeCtrl {
 public:
  // Images of the tree's list.
  enum Image { kSectionSelected, kDocumentSelected, kGroupImage, kDocumentImage, kSectionImage };

  // `send` takes the group commands of the context menu; `openLeaf` a double-clicked leaf.
  CDatabaseTreeCtrl(wxWindow* parent, std::function<void(int)> send,
                     std::function<void(const GroupSelection&)> openLeaf);

  void Fill(const std::vector<GroupTreeGroup>& groups);
  // What an item stands for, by level.
  GroupSelection SelectionOf(const wxTreeItemId& item) const;
  GroupSelection CurrentSelection() const;
  // The tree's context menu ("Tree") and the command of each of its items (0 for none).
  static std::unique_ptr<wxMenu> BuildContextMenu();
  static int CommandOfMenuItem(int id);

  int lastSection = -1;   // the last section opened by a double-click
  int lastDocument = -1;  // and its document

 private:
  void AppendGroup(const wxTreeItemId& root, const GroupTreeGroup& group);
  void OnActivated(wxTreeEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnRightDown(wxMouseEvent& event);

  std::function<void(int)> send_;
  std::function<void(const GroupSelection&)> openLeaf_;
};

class CDatabaseBar : public wxPanel {
 public:
  // `sendToFrame` runs a command through the main frame; `open` opens (or activates) a
  // document of a path.
  CDatabaseBar(wxWindow* parent, std::string groupFolder, std::string documentRoot, std::string rootUrl,
               std::function<void(int)> sendToFrame, DocumentGroupPane::DocumentOpener open);

  DocumentGroupPane& Core() { return core_; }
  CDatabaseTreeCtrl* Tree() const { return tree_; }
  wxToolBar* ToolBar() const { return toolBar_; }

  // Lists the groups again and shows them.
  void RefreshGroups();
  // Runs a group command (33070-33080, 33165) on the tree's selection; `active` is the active
  // document (33074 beeps without one). False when the command is not the pane's.
  bool RunCommand(int id, CVornelTabDoc* active);
  // Opens the document of a leaf at its section.
  void OpenLeaf(const GroupSelection& selection);

 private:
  void ShowTree();

  DocumentGroupPane core_;
  ProgressDialogRun progress_{this};
  DocumentGroupPane::DocumentOpener open_;
  wxToolBar* toolBar_ = nullptr;
  CDatabaseTreeCtrl* tree_ = nullptr;
};

}  // namespace vornel
