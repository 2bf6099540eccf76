#include "view/ui/charts/ChordChartDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "model/voice/TabChordHelpers.h"
#include "view/FramePanes.h"
#include "view/draw/FontChooser.h"
#include "view/ui/charts/ChartControls.h"

namespace vornel {

namespace {

constexpr int kInsertCommand = 33322;  // "Insert alfabeto or chord chart"
const wxSize kChartSize(450, 225);

}  // namespace

ChordChartDialog::ChordChartDialog(wxWindow* parent, CChordChartDlg& core)
    : TexturedDialog(parent, wxID_ANY, "Manage alfabeto charts"), core_(core) {
  alfabeto_ = new CStaticChordChart(this, kAlfabetoChart, kChartSize, &core_.alfabeto);
  source_ = new CStaticChordChart(this, kSourceChart, kChartSize, &core_.source);

  auto* buttons = new wxGridSizer(2, 3, 3);
  const auto button = [this, buttons](int id, const char* label, auto handler) {
    auto* b = new wxButton(this, id, label);
    buttons->Add(b, 0, wxEXPAND);
    b->Bind(wxEVT_BUTTON, handler);
  };
  button(kAutoFill, "Auto fill", [this](wxCommandEvent&) {
    TransferDataFromWindow();
    core_.AutoFill();
    if (!SourceShown()) ToggleSource();
    RefreshCharts();
  });
  button(kShowSource, "+/-", [this](wxCommandEvent&) { ToggleSource(); });
  button(kFont, "Font", [this](wxCommandEvent&) {
    if (core_.instrument != nullptr && ChooseFont(core_.instrument->alfabeto.letterFont)) {
      core_.alfabeto.LoadInstrument(core_.instrument);
      RefreshCharts();
    }
  });
  button(kRename, "Rename chord", [this](wxCommandEvent&) { Run(&CChordChartDlg::RenameChord); });
  button(kDelete, "Delete chord", [this](wxCommandEvent&) { Run(&CChordChartDlg::DeleteChord); });
  button(kClearAll, "Clear all", [this](wxCommandEvent&) { Run(&CChordChartDlg::ClearAll); });
  button(kCommonChords, "Load common chords", [this](wxCommandEvent&) { Run(&CChordChartDlg::LoadCommonChords); });
  button(kAsterisk, "Asterisk alfabeto", [this](wxCommandEvent&) { Run(&CChordChartDlg::ToggleAsterisk); });
  button(kEditChord, "Edit chord", [this](wxCommandEvent&) { Run(&CChordChartDlg::EditChord); });

  type_ = new wxChoice(this, kChordType);
  for (std::string_view name : kChordTypeNames) type_->Append(wxString::FromUTF8(name.data(), name.size()));
  skipThird_ = new wxCheckBox(this, kSkipThird, "skip a third");
  const auto refill = [this](wxCommandEvent&) {
    TransferDataFromWindow();
    core_.AutoFill();
    RefreshCharts();
  };
  type_->Bind(wxEVT_CHOICE, refill);
  skipThird_->Bind(wxEVT_CHECKBOX, refill);

  auto* modes = new wxBoxSizer(wxVERTICAL);
  modes->Add(new wxStaticText(this, wxID_ANY, "Doucle click to insert:"), 0, wxBOTTOM, 3);
  const char* labels[3] = {"a chord", "a chart", "an alfabeto symbol"};
  for (int i = 0; i < 3; ++i) {
    modes_[i] = new wxRadioButton(this, kInsertChord + i, labels[i], wxDefaultPosition, wxDefaultSize,
                                  i == 0 ? wxRB_GROUP : 0);
    modes->Add(modes_[i], 0, wxBOTTOM, 2);
  }

  auto* side = new wxBoxSizer(wxVERTICAL);
  side->Add(buttons, 0, wxEXPAND | wxBOTTOM, 6);
  auto* typeRow = new wxBoxSizer(wxHORIZONTAL);
  typeRow->Add(new wxStaticText(this, wxID_ANY, "Chord type:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  typeRow->Add(type_, 1);
  side->Add(typeRow, 0, wxEXPAND | wxBOTTOM, 3);
  side->Add(skipThird_, 0, wxBOTTOM, 6);
  side->Add(modes, 0, wxBOTTOM, 6);

  auto* top = new wxBoxSizer(wxHORIZONTAL);
  top->Add(alfabeto_, 0, wxALL, 10);
  top->Add(side, 0, wxALL, 6);
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(top);
  all->Add(source_, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
  all->Add(CreateStdDialogButtonSizer(wxOK), 0, wxEXPAND | wxALL, 6);
  source_->Hide();
  SetSizerAndFit(all);

  Bind(EVT_CHART_DOUBLE_CLICK, &ChordChartDialog::OnChartDoubleClick, this);
}

bool ChordChartDialog::TransferDataToWindow() {
  type_->SetSelection(core_.chordType);
  skipThird_->SetValue(core_.skipThird);
  for (int i = 0; i < 3; ++i) modes_[i]->SetValue(core_.insertMode == kInsertChord + i);
  RefreshCharts();
  return true;
}

bool ChordChartDialog::TransferDataFromWindow() {
  core_.chordType = std::max(type_->GetSelection(), 0);
  core_.skipThird = skipThird_->GetValue();
  for (int i = 0; i < 3; ++i)
    if (modes_[i]->GetValue()) core_.insertMode = kInsertChord + i;
  return true;
}

bool ChordChartDialog::SourceShown() const { return source_->IsShown(); }

void ChordChartDialog::ToggleSource() {
  source_->Show(!source_->IsShown());
  GetSizer()->Fit(this);
  Layout();
}

void ChordChartDialog::RefreshCharts() {
  alfabeto_->Refresh();
  source_->Refresh();
}

void ChordChartDialog::Run(bool (CChordChartDlg::*action)()) {
  (core_.*action)();
  RefreshCharts();
}

void ChordChartDialog::OnChartDoubleClick(wxCommandEvent& event) {
  if (event.GetInt() == kChartEmptyCellDoubleClick) {
    view::Panes().DispatchCommand(kInsertCommand);
    return;
  }
  core_.AssignFromSource();
  RefreshCharts();
}

bool ShowChordChartDlg(wxWindow* parent, CTabInstrument& instrument) {
  return ConfigureChordChart(instrument, [parent](CChordChartDlg& core) {
    ChordChartDialog dialog(parent, core);
    dialog.ShowModal();
  });
}

}  // namespace vornel
