#include "view/ui/charts/OrnamentGlyphsDialog.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "model/ornament/COrnamentProps.h"
#include "platform/UserPrompts.h"
#include "view/draw/FontChooser.h"
#include "view/ui/charts/ChartControls.h"

namespace vornel {

OrnamentGlyphsDialog::OrnamentGlyphsDialog(wxWindow* parent, COrnamentDlg& chooser)
    : TexturedDialog(parent, wxID_ANY, "Ornament glyphs", 0xE6E6E6), chooser_(chooser) {
  grid_ = new CStaticGlyphChart(this, kGrid, wxSize(chooser.grid.Columns() * 44, chooser.grid.Rows() * 44),
                                &chooser.grid);
  code_ = new wxStaticText(this, kCode, "0", wxDefaultPosition, wxSize(120, -1));
  zoom_ = new wxSpinCtrl(this, kZoom, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 20, 200, 100);
  alignment_ = new wxChoice(this, kAlignment);
  for (int i = 0; i < COrnamentProps::kAlignmentCount; ++i) {
    const std::string_view entry = COrnamentDlg::AlignmentEntry(i);
    alignment_->Append(wxString::FromUTF8(entry.data(), entry.size()));
  }
  auto* font = new wxButton(this, kFontStyle, "Font style");

  auto* side = new wxFlexGridSizer(2, 4, 6);
  side->Add(new wxStaticText(this, wxID_ANY, "Glyph:"), 0, wxALIGN_CENTER_VERTICAL);
  side->Add(code_);
  side->Add(new wxStaticText(this, wxID_ANY, "Zoom:"), 0, wxALIGN_CENTER_VERTICAL);
  side->Add(zoom_);
  side->Add(new wxStaticText(this, wxID_ANY, "Alignment:"), 0, wxALIGN_CENTER_VERTICAL);
  side->Add(alignment_);
  side->AddSpacer(1);
  side->Add(font);
  LayOutBesideButtons(*this, grid_, side);

  Bind(EVT_GLYPH_CHOSEN, [this](wxCommandEvent&) {
    if (chooser_.TakeSelection()) code_->SetLabel(wxString::FromUTF8(chooser_.text));
  });
  font->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    dfLogFont chosen;
    chosen.logFont.lfFaceName = chooser_.fontName;
    if (!ChooseFont(chosen)) return;
    chooser_.fontName = chosen.logFont.lfFaceName;
    GlyphChartGrid& g = chooser_.grid;
    g.SetupGrid(g.Columns(), g.Rows(), chooser_.fontName, 36, g.Codes(), 0, g.Type());
    g.ClearSelection();
    grid_->Refresh();
  });
}

bool OrnamentGlyphsDialog::TransferDataToWindow() {
  code_->SetLabel(wxString::FromUTF8(chooser_.text));
  zoom_->SetValue(chooser_.zoom);
  alignment_->SetSelection(chooser_.alignment >= 0 && chooser_.alignment < COrnamentProps::kAlignmentCount
                               ? chooser_.alignment
                               : wxNOT_FOUND);
  grid_->Refresh();
  return true;
}

bool OrnamentGlyphsDialog::TransferDataFromWindow() {
  COrnamentDlg working = chooser_;
  working.zoom = zoom_->GetValue();
  working.alignment = alignment_->GetSelection();
  const std::string message = working.Validate();
  if (!message.empty()) {
    Prompts().ShowMessage(message, MessageKind::kWarning);
    return false;
  }
  chooser_.zoom = working.zoom;
  chooser_.alignment = working.alignment;
  return true;
}

bool EditGraphicOrnament(CMetaEvent& event, wxWindow* parent) {
  COrnamentDlg chooser;
  chooser.FromEvent(event);
  OrnamentGlyphsDialog dialog(parent, chooser);
  if (dialog.ShowModal() != wxID_OK || !chooser.Validate().empty()) return false;
  chooser.ToEvent(event);
  return true;
}

}  // namespace vornel
