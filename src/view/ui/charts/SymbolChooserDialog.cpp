#include "view/ui/charts/SymbolChooserDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/UserPrompts.h"
#include "view/ui/charts/ChartControls.h"
#include "view/ui/dialogs/CGlyphButton.h"

namespace vornel {

SymbolChooserDialog::SymbolChooserDialog(wxWindow* parent, SymbolChooser& chooser)
    : TexturedDialog(parent, wxID_ANY, "Symbols", 0xE6E6E6), chooser_(chooser) {
  grid_ = new CStaticGlyphChart(this, kGrid, wxSize(chooser.grid.Columns() * 40, chooser.grid.Rows() * 40),
                                &chooser.grid);
  chosen_ = new CGlyphButton(this, kChosen, wxSize(56, 56));
  code_ = new wxStaticText(this, kCode, "None", wxDefaultPosition, wxSize(100, -1), wxALIGN_CENTRE_HORIZONTAL);
  auto* none = new wxButton(this, kNone, "None");

  auto* side = new wxBoxSizer(wxVERTICAL);
  side->Add(chosen_, 0, wxALIGN_CENTER_HORIZONTAL | wxBOTTOM, 6);
  side->Add(code_, 0, wxALIGN_CENTER_HORIZONTAL | wxBOTTOM, 12);
  side->Add(none, 0, wxEXPAND);
  LayOutBesideButtons(*this, grid_, side);

  Bind(EVT_GLYPH_CHOSEN, [this](wxCommandEvent&) {
    if (chooser_.TakeSelection()) ShowChoice();
  });
  none->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ChooseNone(); });
}

bool SymbolChooserDialog::TransferDataToWindow() {
  ShowChoice();
  return true;
}

bool SymbolChooserDialog::TransferDataFromWindow() {
  const std::string message = chooser_.Validate();
  if (message.empty()) return true;
  Prompts().ShowMessage(message, MessageKind::kWarning);
  return false;
}

void SymbolChooserDialog::ChooseNone() {
  chooser_.ChooseNone();
  ShowChoice();
}

void SymbolChooserDialog::ShowChoice() {
  chosen_->SetGlyph(chooser_.IsNone() ? 0 : static_cast<uint32_t>(chooser_.symbol), 0, !chooser_.tablature);
  code_->SetLabel(wxString::FromUTF8(chooser_.Shown()));
  grid_->Refresh();
}

std::optional<int32_t> ChooseSymbol(wxWindow* parent, int32_t current, bool tablature) {
  SymbolChooser chooser(tablature, current);
  SymbolChooserDialog dialog(parent, chooser);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return chooser.symbol;
}

}  // namespace vornel
