#include "shell/ui/TemplateListWindow.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

namespace vornel {

TemplateListWindow::TemplateListWindow(wxWindow* parent, CTemplateList& list)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(list.caption), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      list_(list) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  entries = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(320, 280), 0, nullptr, wxLB_SINGLE);
  entries->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) {
    if (Validate() && TransferDataFromWindow()) EndModal(wxID_OK);
  });
  top->Add(entries, 1, wxEXPAND | wxALL, 6);
  auto* buttons = new wxStdDialogButtonSizer();
  buttons->AddButton(new wxButton(this, wxID_OK, wxString::FromUTF8(CTemplateList::kApplyLabel.data(),
                                                                      CTemplateList::kApplyLabel.size())));
  buttons->AddButton(new wxButton(this, wxID_CANCEL));
  buttons->Realize();
  top->Add(buttons, 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);
}

bool TemplateListWindow::TransferDataToWindow() {
  wxArrayString items;
  for (const std::string& entry : list_.entries) items.Add(wxString::FromUTF8(entry));
  entries->Set(items);
  if (!items.empty()) entries->SetSelection(0);
  return true;
}

bool TemplateListWindow::TransferDataFromWindow() {
  list_.Take(entries->GetSelection());
  return true;
}

bool WxTemplateListDialogs::Run(CTemplateList& list) {
  TemplateListWindow window(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr, list);
  return window.ShowModal() == wxID_OK;
}

}  // namespace vornel
