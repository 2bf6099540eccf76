#include "view/ui/dialogs/CustomOrnamentDialog.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "view/ui/dialogs/CGlyphButton.h"

namespace vornel {

CustomOrnamentDialog::CustomOrnamentDialog(wxWindow* parent, COrnamentGlyphTable& table,
                                           CCustomOrnamentDlg::EntryEditor editor)
    : TexturedDialog(parent, wxID_ANY, "Ornaments"), fields_(table), editor_(std::move(editor)) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  tabs_ = new wxNotebook(this, kGroupTabs);
  // Tabs only: the buttons below serve both groups.
  for (std::string_view name : CCustomOrnamentDlg::kGroups)
    tabs_->AddPage(new wxPanel(tabs_, wxID_ANY, wxDefaultPosition, wxSize(-1, 1)), wxString::FromUTF8(name.data(), name.size()));
  top->Add(tabs_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);

  auto* grid = new wxGridSizer(4, 8, 4, 4);
  for (int i = 0; i < CCustomOrnamentDlg::kSlots; ++i) {
    auto* button = new CGlyphButton(this, kFirstSlot + i);
    if (static_cast<size_t>(i) < CCustomOrnamentDlg::kSlotLabels.size()) {
      const std::string_view label = CCustomOrnamentDlg::kSlotLabels[static_cast<size_t>(i)];
      button->SetToolTip(wxString::FromUTF8(label.data(), label.size()));
    }
    button->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) { ClickSlot(i); });
    buttons_[static_cast<size_t>(i)] = button;
    grid->Add(button, 0, wxEXPAND);
  }
  top->Add(grid, 1, wxEXPAND | wxALL, 6);

  auto* defaults = new wxBoxSizer(wxHORIZONTAL);
  defaultSet_ = new wxChoice(this, kDefaultSet);
  for (std::string_view name : CCustomOrnamentDlg::kDefaultSets)
    defaultSet_->Append(wxString::FromUTF8(name.data(), name.size()));
  defaults->Add(defaultSet_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  auto* load = new wxButton(this, kLoadDefaultSet, "Load Default Set");
  defaults->Add(load, 0);
  top->Add(defaults, 0, wxEXPAND | wxALL, 6);
  top->Add(CreateStdDialogButtonSizer(wxOK), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);

  tabs_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
    if (event.GetEventObject() == tabs_) SelectGroup(event.GetSelection());
  });
  load->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { LoadDefaultSet(); });
  ShowSlots();
}

void CustomOrnamentDialog::ShowSlots() {
  for (int i = 0; i < CCustomOrnamentDlg::kSlots; ++i) {
    const CCustomOrnamentDlg::Slot& slot = fields_.slots[static_cast<size_t>(i)];
    buttons_[static_cast<size_t>(i)]->SetGlyph(slot.glyph, slot.index, slot.notation);
  }
  if (tabs_->GetSelection() != fields_.group) tabs_->ChangeSelection(static_cast<size_t>(fields_.group));
  Refresh();
}

void CustomOrnamentDialog::SelectGroup(int group) {
  fields_.SelectGroup(group);
  ShowSlots();
}

void CustomOrnamentDialog::ClickSlot(int i) {
  fields_.EditSlot(i, editor_);
  ShowSlots();
}

void CustomOrnamentDialog::LoadDefaultSet() {
  fields_.defaultSet = defaultSet_->GetSelection();
  if (!fields_.LoadDefaultSet()) return;
  ShowSlots();
}

bool ShowCustomOrnamentDialog(wxWindow* parent, COrnamentGlyphTable& table, CCustomOrnamentDlg::EntryEditor editor) {
  CustomOrnamentDialog dialog(parent, table, std::move(editor));
  dialog.ShowModal();
  return dialog.Fields().edited;
}

}  // namespace vornel
