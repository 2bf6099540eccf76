#include "midi/ui/MidiTrackListDialog.h"

#include <wx/sizer.h>

#include <algorithm>

namespace vornel {

namespace {

wxString Text(const std::string& s) { return wxString::FromUTF8(s.c_str()); }

}  // namespace

MidiTrackListDialog::MidiTrackListDialog(wxWindow* parent, CMidiTrackList& data)
    : wxDialog(parent, wxID_ANY, "Imported Midi tracks", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      data_(data) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  header_ = new wxStaticText(this, wxID_ANY, wxEmptyString);
  top->Add(header_, 0, wxALL, 6);

  tracks_ = new CListCtrlExt(this, wxID_ANY, wxDefaultPosition, wxSize(720, 220), wxLC_REPORT);
  tracks_->EnableCheckBoxes();
  tracks_->AppendColumn("Instrument", wxLIST_FORMAT_LEFT, 180);
  tracks_->AppendColumn("Name", wxLIST_FORMAT_LEFT, 140);
  tracks_->AppendColumn("Num.", wxLIST_FORMAT_LEFT, 45);
  tracks_->AppendColumn("Den.", wxLIST_FORMAT_LEFT, 45);
  tracks_->AppendColumn("Key", wxLIST_FORMAT_LEFT, 80);
  tracks_->AppendColumn("MIDI patch", wxLIST_FORMAT_LEFT, 170);
  tracks_->AppendColumn("Instrument text", wxLIST_FORMAT_LEFT, 120);
  top->Add(tracks_, 1, wxEXPAND | wxALL, 6);

  auto* options = new wxBoxSizer(wxHORIZONTAL);
  auto* checks = new wxBoxSizer(wxVERTICAL);
  fields_.Check(this, checks, "Minor mode", data_.minorMode);
  fields_.Check(this, checks, "Merge selected tracks", data_.mergeTracks);
  fields_.Check(this, checks, "Create new section", data_.createNewSection);
  fields_.Check(this, checks, "Retain patches", data_.retainPatches);
  fields_.Check(this, checks, "Default instrument", data_.defaultInstrument);
  options->Add(checks, 0, wxALL, 6);
  auto* values = new wxFlexGridSizer(2, wxSize(6, 2));
  fields_.Number(this, values, "Time signature", 1, 99, data_.numerator);
  fields_.Number(this, values, "/", 1, 64, data_.denominator);
  fields_.Number(this, values, "Quantization: ", 0, kMidiMaxQuantizeLevel, data_.quantization);
  fields_.Number(this, values, "Tempo", 1, 0xFFF, data_.tempo);
  fields_.Number(this, values, "Alterations", -7, 7, data_.alterations);
  options->Add(values, 0, wxALL, 6);
  top->Add(options, 0, wxEXPAND);
  top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  SetSizerAndFit(top);
}

bool MidiTrackListDialog::TransferDataToWindow() {
  header_->SetLabel(Text(data_.header));
  tracks_->RemoveCombos();
  tracks_->DeleteAllItems();
  wxArrayString choices;
  for (const std::string& name : data_.instruments) choices.Add(Text(name));
  for (const MidiTrackRow& row : data_.rows) {
    const long item = tracks_->InsertItem(tracks_->GetItemCount(), Text(row.chosen));
    tracks_->SetItem(item, kNameColumn, Text(row.name));
    tracks_->SetItem(item, kNumeratorColumn, Text(row.numerator));
    tracks_->SetItem(item, kDenominatorColumn, Text(row.denominator));
    tracks_->SetItem(item, kKeyColumn, Text(row.key));
    tracks_->SetItem(item, kProgramColumn, Text(row.program));
    tracks_->SetItem(item, kTextColumn, Text(row.instrumentText));
    tracks_->CheckItem(item, row.import);
    tracks_->RegisterCombo(item, choices);
  }
  fields_.ToWindow();
  return true;
}

bool MidiTrackListDialog::TransferDataFromWindow() {
  const int count = std::min(tracks_->GetItemCount(), static_cast<int>(data_.rows.size()));
  for (int i = 0; i < count; ++i) {
    MidiTrackRow& row = data_.rows[static_cast<size_t>(i)];
    row.import = tracks_->IsItemChecked(i);
    // The label shows a name; "Default instrument" and "Text" stand for the default.
    const std::string chosen = tracks_->GetItemText(i).ToStdString(wxConvUTF8);
    const auto it = std::find(data_.instruments.begin(), data_.instruments.end(), chosen);
    if (it != data_.instruments.end()) row.instrument = static_cast<int>(it - data_.instruments.begin());
    row.chosen = chosen;
  }
  fields_.FromWindow();
  return true;
}

}  // namespace vornel
