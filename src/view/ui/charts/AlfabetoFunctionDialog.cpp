#include "view/ui/charts/AlfabetoFunctionDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "model/instrument/CAlfabeto.h"
#include "platform/UserPrompts.h"

namespace vornel {

AlfabetoFunctionDialog::AlfabetoFunctionDialog(wxWindow* parent, AlfabetoLetterChoice& choice)
    : wxDialog(parent, wxID_ANY, "Alfabeto function"), choice_(choice) {
  auto* grid = new wxFlexGridSizer(2, 4, 6);
  letter_ = new wxTextCtrl(this, kLetter, wxEmptyString, wxDefaultPosition, wxSize(40, -1));
  letter_->SetMaxLength(1);
  description_ = new wxTextCtrl(this, kDescription, wxEmptyString, wxDefaultPosition, wxSize(220, -1));
  grid->Add(new wxStaticText(this, wxID_ANY, "Assign chord to letter (A-Z):"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(letter_);
  grid->Add(new wxStaticText(this, wxID_ANY, "Description:"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(description_, 1, wxEXPAND);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 1, wxEXPAND | wxALL, 8);
  top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);
  letter_->Bind(wxEVT_TEXT, &AlfabetoFunctionDialog::OnLetterTyped, this);
}

bool AlfabetoFunctionDialog::TransferDataToWindow() {
  letter_->ChangeValue(choice_.letter != 0 ? wxString(wxUniChar(choice_.letter)) : wxString());
  description_->ChangeValue(wxString::FromUTF8(choice_.description));
  return true;
}

bool AlfabetoFunctionDialog::TransferDataFromWindow() {
  const wxString letter = letter_->GetValue();
  if (letter.empty()) {
    Prompts().Beep(BeepKind::kExclamation);
    return false;
  }
  choice_.letter = static_cast<char16_t>(letter[0].GetValue());
  choice_.description = description_->GetValue().utf8_string();
  return true;
}

void AlfabetoFunctionDialog::OnLetterTyped(wxCommandEvent&) {
  const wxString typed = letter_->GetValue();
  if (typed.empty()) return;
  const char16_t normal = CAlfabeto::NormalizeLetter(static_cast<char16_t>(typed[0].GetValue()));
  const wxString shown = normal != 0 ? wxString(wxUniChar(normal)) : wxString();
  if (shown != typed) letter_->ChangeValue(shown);
}

bool AlfabetoEntryForms::Has(EntryForm form) const {
  return form == EntryForm::kAlfabetoLetter || others_.Has(form);
}

std::optional<AlfabetoLetterChoice> AlfabetoEntryForms::AlfabetoLetter(const AlfabetoLetterChoice& proposed) {
  AlfabetoLetterChoice choice = proposed;
  AlfabetoFunctionDialog dialog(parent_, choice);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return choice;
}

}  // namespace vornel
