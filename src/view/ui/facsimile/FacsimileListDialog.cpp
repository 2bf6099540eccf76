#include "view/ui/facsimile/FacsimileListDialog.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

#include "platform/UserPrompts.h"

namespace vornel::view {

FacsimileListDialog::FacsimileListDialog(wxWindow* parent, const CFacsimileListDlg& list)
    : wxDialog(parent, wxID_ANY, kFacsimileListCaption, wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      editor_(list) {
  list_ = new wxListBox(this, kListId, wxDefaultPosition, wxSize(460, 220), 0, nullptr, wxLB_SINGLE | wxLB_HSCROLL);
  auto* buttons = new wxBoxSizer(wxVERTICAL);
  const struct {
    int id;
    const char* label;
  } actions[] = {{kAddId, "Add"},
                 {kDeleteId, "Delete"},
                 {kAddLinkId, "Add HTTP Link"},
                 {kEditCaptionId, "Edit caption"},
                 {kViewId, "View image"}};
  for (const auto& action : actions) {
    buttons->Add(new wxButton(this, action.id, action.label), 0, wxEXPAND | wxBOTTOM, 4);
  }
  buttons->AddStretchSpacer();
  buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxEXPAND | wxBOTTOM, 4);
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0, wxEXPAND);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(list_, 1, wxEXPAND | wxALL, 8);
  row->Add(buttons, 0, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  SetSizerAndFit(row);
  Refill(-1);
  for (const int id : {kAddId, kDeleteId, kAddLinkId, kEditCaptionId, kViewId}) Bind(wxEVT_BUTTON, &FacsimileListDialog::OnButton, this, id);
  Bind(wxEVT_LISTBOX_DCLICK, &FacsimileListDialog::OnDoubleClick, this, kListId);
}

void FacsimileListDialog::Refill(int select) {
  list_->Clear();
  for (const std::string& path : editor_.Paths()) list_->Append(wxString::FromUTF8(path));
  if (select >= 0 && select < static_cast<int>(list_->GetCount())) list_->SetSelection(select);
}

size_t FacsimileListDialog::Selected() const {
  const int selection = list_->GetSelection();
  return selection == wxNOT_FOUND ? editor_.Paths().size() : static_cast<size_t>(selection);
}

void FacsimileListDialog::OnButton(wxCommandEvent& event) {
  const size_t selected = Selected();
  RunGuarded([&] {
    switch (event.GetId()) {
      case kAddId:
        if (editor_.AddFile()) Refill(static_cast<int>(editor_.Paths().size()) - 1);
        break;
      case kDeleteId:
        if (editor_.Remove(selected)) Refill(-1);
        break;
      case kAddLinkId:
        if (editor_.AddLink()) Refill(static_cast<int>(editor_.Paths().size()) - 1);
        break;
      case kEditCaptionId: editor_.EditCaption(selected); break;
      case kViewId: editor_.View(selected); break;
      default: event.Skip(); break;
    }
  });
}

void FacsimileListDialog::OnDoubleClick(wxCommandEvent&) {
  const size_t selected = Selected();
  RunGuarded([&] {
    if (editor_.EditLink(selected)) Refill(static_cast<int>(selected));
  });
}

}  // namespace vornel::view
