#include "layout/ui/dialogs/SectionTreeDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>

#include "document/CBriotabDoc.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

// Each item carries its path from the root.
class PathData : public wxTreeItemData {
 public:
  explicit PathData(SectionTree::Path path) : path(std::move(path)) {}
  SectionTree::Path path;
};

}  // namespace

SectionTreeDialog::SectionTreeDialog(wxWindow* parent, CBriotabDoc& doc)
    : TexturedDialog(parent, wxID_ANY, "Sections", 0xF0F0F0, DialogTexture::kDialog,
                     wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      doc_(doc) {
  tree_ = new wxTreeCtrl(this, kTree, wxDefaultPosition, wxSize(320, 360),
                         wxTR_DEFAULT_STYLE | wxTR_EDIT_LABELS | wxTR_SINGLE);
  sorted_ = new wxCheckBox(this, kSorted, "sorted");
  auto* apply = new wxButton(this, kApply, "Apply sorted order ");
  auto* chapter = new wxButton(this, kNewChapter, wxString::FromUTF8(SectionTree::kNewChapter.data()));
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(sorted_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  row->Add(apply, 0, wxRIGHT, 6);
  row->Add(chapter);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(tree_, 1, wxEXPAND | wxALL, 6);
  top->Add(row, 0, wxALL, 6);
  top->Add(CreateStdDialogButtonSizer(wxOK), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  core_.Fill(doc_.sections, doc_.GetTitle());
  Rebuild();

  tree_->Bind(wxEVT_TREE_BEGIN_DRAG, [this](wxTreeEvent& event) {
    // The root stays where it is.
    if (event.GetItem() == tree_->GetRootItem()) return;
    dragged_ = event.GetItem();
    event.Allow();
  });
  tree_->Bind(wxEVT_TREE_END_DRAG, [this](wxTreeEvent& event) {
    const wxTreeItemId dragged = dragged_;
    dragged_ = wxTreeItemId();
    DropItem(dragged, event.GetItem());
  });
  tree_->Bind(wxEVT_TREE_END_LABEL_EDIT, [this](wxTreeEvent& event) {
    if (event.IsEditCancelled() || event.GetLabel().empty()) return;
    if (SectionTreeItem* item = core_.Item(PathOf(event.GetItem()))) item->text = event.GetLabel().utf8_string();
  });
  tree_->Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent& event) { tree_->EditLabel(event.GetItem()); });
  sorted_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
    core_.Sort(sorted_->GetValue());
    Rebuild();
  });
  apply->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ApplyOrder(); });
  chapter->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddChapter(); });
}

wxTreeItemId SectionTreeDialog::ItemAt(const SectionTree::Path& path) const {
  wxTreeItemId item = tree_->GetRootItem();
  for (size_t index : path) {
    wxTreeItemIdValue cookie;
    wxTreeItemId child = tree_->GetFirstChild(item, cookie);
    for (size_t i = 0; i < index && child.IsOk(); ++i) child = tree_->GetNextChild(item, cookie);
    if (!child.IsOk()) return {};
    item = child;
  }
  return item;
}

SectionTree::Path SectionTreeDialog::PathOf(const wxTreeItemId& item) const {
  if (!item.IsOk()) return {};
  const auto* data = dynamic_cast<const PathData*>(tree_->GetItemData(item));
  return data != nullptr ? data->path : SectionTree::Path{};
}

bool SectionTreeDialog::DropItem(const wxTreeItemId& dragged, const wxTreeItemId& target) {
  if (!dragged.IsOk() || !target.IsOk() || dragged == tree_->GetRootItem()) {
    Prompts().Beep(BeepKind::kDefault);
    return false;
  }
  if (!core_.Drop(PathOf(dragged), PathOf(target), doc_.sections)) return false;
  SectionsReordered();
  Rebuild();
  return true;
}

bool SectionTreeDialog::ApplyOrder() {
  if (!core_.ApplyOrder(doc_.sections)) return false;
  core_.Renumber();
  SectionsReordered();
  Rebuild();
  return true;
}

void SectionTreeDialog::AddChapter() {
  core_.AddChapter();
  Rebuild();
}

void SectionTreeDialog::SectionsReordered() {
  doc_.undoStack.DeleteAllSections();
  doc_.UpdateSectionList();
  doc_.UpdateAllViews(kHintRepaintAll);
}

void SectionTreeDialog::Rebuild() {
  tree_->DeleteAllItems();
  const wxTreeItemId root = tree_->AddRoot(wxString::FromUTF8(core_.root.text), -1, -1, new PathData({}));
  SectionTree::Path path;
  AddChildren(root, core_.root, path);
  tree_->ExpandAll();
}

void SectionTreeDialog::AddChildren(const wxTreeItemId& parent, const SectionTreeItem& item, SectionTree::Path& path) {
  for (size_t i = 0; i < item.children.size(); ++i) {
    path.push_back(i);
    const SectionTreeItem& child = item.children[i];
    const wxTreeItemId id = tree_->AppendItem(parent, wxString::FromUTF8(child.text), -1, -1, new PathData(path));
    AddChildren(id, child, path);
    path.pop_back();
  }
}

}  // namespace vornel
