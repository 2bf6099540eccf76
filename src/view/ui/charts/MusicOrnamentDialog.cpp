#include "view/ui/charts/MusicOrnamentDialog.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/colordlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "view/charts/OrnamentGlyphChooser.h"
#include "view/ui/charts/ChartControls.h"
#include "view/ui/charts/OrnamentGlyphsDialog.h"

namespace vornel {

namespace {

wxChoice* List(wxWindow* parent, int id, int count, const std::function<std::string_view(int)>& entry) {
  auto* choice = new wxChoice(parent, id);
  for (int i = 0; i < count; ++i) {
    const std::string_view text = entry(i);
    choice->Append(wxString::FromUTF8(text.data(), text.size()));
  }
  return choice;
}

int Selection(const wxChoice* choice, int fallback) {
  return choice->GetSelection() == wxNOT_FOUND ? fallback : choice->GetSelection();
}

}  // namespace

MusicOrnamentDialog::MusicOrnamentDialog(wxWindow* parent, COrnamentProps& ornament)
    : wxDialog(parent, wxID_ANY, "Music ornament"), ornament_(ornament), working_(ornament) {
  glyphText_ = new wxStaticText(this, kGlyphText, " ", wxDefaultPosition, wxSize(80, -1));
  alignment_ = List(this, kAlignment, COrnamentProps::kAlignmentCount, COrnamentProps::AlignmentName);
  flag_ = List(this, kFlag, 4, [](int i) { return kFlagValues[static_cast<size_t>(i)]; });
  kind_ = List(this, kKind, COrnamentProps::kKindCount, COrnamentProps::KindName);
  type_ = List(this, kType, 2, [](int i) { return i == 0 ? std::string_view("Tablature") : "Notation"; });
  preview_ = new CStaticGlyphChart(this, kPreview, wxSize(90, 90));
  auto* modify = new wxButton(this, kModify, "Modify...");
  auto* color = new wxButton(this, kColor, "Color");

  auto* grid = new wxFlexGridSizer(2, 4, 6);
  const auto row = [this, grid](const char* label, wxWindow* control) {
    grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(control, 0, wxEXPAND);
  };
  row("Glyph:", glyphText_);
  row("Alignment:", alignment_);
  row("Flag:", flag_);
  row("Ornament:", kind_);
  row("Type:", type_);
  auto* buttons = new wxBoxSizer(wxVERTICAL);
  buttons->Add(preview_, 0, wxBOTTOM, 6);
  buttons->Add(modify, 0, wxEXPAND | wxBOTTOM, 4);
  buttons->Add(color, 0, wxEXPAND);
  LayOutBesideButtons(*this, grid, buttons);

  modify->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    working_.alignment = Selection(alignment_, working_.alignment);
    working_.type = Selection(type_, 0);
    COrnamentDlg chooser = COrnamentDlg::ForCatalogue(working_.type, working_.glyph, working_.alignment);
    OrnamentGlyphsDialog dialog(this, chooser);
    if (dialog.ShowModal() == wxID_OK) TakeChoice(chooser);
    ShowGlyph();
  });
  color->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    wxColourData data;
    data.SetColour(wxColour(working_.color & 0xFF, (working_.color >> 8) & 0xFF, (working_.color >> 16) & 0xFF));
    wxColourDialog dialog(this, &data);
    if (dialog.ShowModal() != wxID_OK) return;
    const wxColour c = dialog.GetColourData().GetColour();
    working_.color = static_cast<uint32_t>(c.Red()) | (static_cast<uint32_t>(c.Green()) << 8) |
                     (static_cast<uint32_t>(c.Blue()) << 16);
  });
}

bool MusicOrnamentDialog::TransferDataToWindow() {
  working_ = ornament_;
  alignment_->SetSelection(working_.alignment >= 0 && working_.alignment < COrnamentProps::kAlignmentCount
                               ? working_.alignment : wxNOT_FOUND);
  flag_->SetSelection(working_.flagValue >= 0 && working_.flagValue < 4 ? working_.flagValue : wxNOT_FOUND);
  kind_->SetSelection(working_.kind >= 0 && working_.kind < COrnamentProps::kKindCount ? working_.kind : wxNOT_FOUND);
  // A record read from the binary form (type -1) counts as notation.
  type_->SetSelection(working_.type == 0 ? 0 : 1);
  ShowGlyph();
  return true;
}

bool MusicOrnamentDialog::TransferDataFromWindow() {
  working_.alignment = Selection(alignment_, working_.alignment);
  working_.flagValue = Selection(flag_, working_.flagValue);
  working_.kind = Selection(kind_, working_.kind);
  working_.type = Selection(type_, working_.type == 0 ? 0 : 1);
  working_.ornamentValue = COrnamentProps::KindCode(working_.kind);
  ornament_ = working_;
  return true;
}

void MusicOrnamentDialog::TakeChoice(const COrnamentDlg& chooser) {
  working_.glyph = chooser.glyph;
  working_.alignment = chooser.alignment;
  ShowGlyph();
}

void MusicOrnamentDialog::ShowGlyph() {
  glyphText_->SetLabel(wxString::Format("%u", working_.glyph));
  alignment_->SetSelection(working_.alignment >= 0 && working_.alignment < COrnamentProps::kAlignmentCount
                               ? working_.alignment : wxNOT_FOUND);
  preview_->Grid().SetupGrid(1, 1, working_.type == 0 ? "VornelTabFlags" : "VornelNotation", 60, {working_.glyph}, 40,
                             working_.type == 0 ? 0 : 1);
  preview_->Refresh();
}

bool EditOrnamentProperties(COrnamentProps& ornament, wxWindow* parent) {
  MusicOrnamentDialog dialog(parent, ornament);
  return dialog.ShowModal() == wxID_OK;
}

}  // namespace vornel
