#pragma once
// "Manage alfabeto charts" over its headless core: the alfabeto chart of the edited
// instrument, the source chart of generated chords shown on "+/-", and the chart actions.

#include "layout/ui/dialogs/TexturedDialog.h"
#include "view/charts/ChordChartDlg.h"

class wxChoice;
class wxCheckBox;
class wxRadioButton;

namespace vornel {

class CStaticChordChart;

class ChordChartDialog : public TexturedDialog {
 public:
  enum : int {
    kAlfabetoChart = 1500, kSourceChart = 1501, kAutoFill = 1502, kShowSource = 1504, kFont = 1505,
    kRename = 1506, kDelete = 1507, kClearAll = 1508, kCommonChords = 1509, kAsterisk = 1510,
    kChordType = 1511, kSkipThird = 1512, kEditChord = 1513, kInsertChord = 1521, kInsertChart = 1522, kInsertSymbol = 1523
  };

  ChordChartDialog(wxWindow* parent, CChordChartDlg& core);

  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  bool SourceShown() const;
  // "+/-": shows or hides the source chart, growing or shrinking the dialog.
  void ToggleSource();
  // Repaints both charts from the core.
  void RefreshCharts();

 private:
  void Run(bool (CChordChartDlg::*action)());
  void OnChartDoubleClick(wxCommandEvent& event);

  CChordChartDlg& core_;
  CStaticChordChart* alfabeto_;
  CStaticChordChart* source_;
  wxChoice* type_;
  wxCheckBox* skipThird_;
  wxRadioButton* modes_[3];
};

// Opens "Manage alfabeto charts" modally on the instrument's chart, with the score view's
// double-click insert mode; true when the chart changed.
bool ShowChordChartDlg(wxWindow* parent, CTabInstrument& instrument);

}  // namespace vornel
