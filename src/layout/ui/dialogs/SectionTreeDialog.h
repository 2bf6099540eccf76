#pragma once
// "Sections": the document's sections in a tree, reordered by dragging one item onto another;
// "NEW CHAPTER" headings, labels edited in place, a sorted view and "Apply sorted order ".
// The tree shows the headless SectionTree and is built again from it after every change.

#include <wx/treectrl.h>

#include "layout/dialogs/SectionTree.h"
#include "layout/ui/dialogs/TexturedDialog.h"

class wxCheckBox;

namespace vornel {

class CBriotabDoc;

class SectionTreeDialog : public TexturedDialog {
 public:
  enum : int { kTree = 1779, kSorted = 1100, kApply = 1108, kNewChapter = 1109 };

  SectionTreeDialog(wxWindow* parent, CBriotabDoc& doc);

  wxTreeCtrl* Tree() const { return tree_; }
  SectionTree& Core() { return core_; }
  // The item at a path of child indices from the root.
  wxTreeItemId ItemAt(const SectionTree::Path& path) const;
  // A drop of one item onto another, as the end of a drag gives it; false (after a beep)
  // when nothing moved.
  bool DropItem(const wxTreeItemId& dragged, const wxTreeItemId& target);
  // "Apply sorted order ".
  bool ApplyOrder();
  void AddChapter();

 private:
  void Rebuild();
  void AddChildren(const wxTreeItemId& parent, const SectionTreeItem& item, SectionTree::Path& path);
  SectionTree::Path PathOf(const wxTreeItemId& item) const;
  // The document after its sections moved: no undo across the move, the panes and views anew.
  void SectionsReordered();

  CBriotabDoc& doc_;
  SectionTree core_;
  wxTreeCtrl* tree_;
  wxCheckBox* sorted_;
  wxTreeItemId dragged_;
};

}  // namespace vornel
