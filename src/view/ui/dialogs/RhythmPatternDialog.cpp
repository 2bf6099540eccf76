#include "view/ui/dialogs/RhythmPatternDialog.h"

namespace vornel {

RhythmPatternDialog::RhythmPatternDialog(wxWindow* parent, CRhythmPattern& fields, const CInstrumentDlg* definition)
    : StructDialog(parent, "Rhythm Pattern", fields) {
  CRhythmPattern& w = working_;
  wxChoice* flag = controls_.Choice(kFlag, "Flag:", CRhythmPattern::kFlags, w.flag);
  wxChoice* beat = controls_.Choice(kBeat, "Beat:", CRhythmPattern::kBeats, w.beat);
  wxSpinCtrl* bars = controls_.Number(kBars, "Bars:", 1, 64, w.bars);
  wxSpinCtrl* chords = controls_.Number(kChordsPerBar, "Chords per bar:", 1, 32, w.chordsPerBar);
  wxCheckBox* signature = controls_.Check(kPrintSignature, "Print signature", w.printSignature);
  controls_.Check(kPadOtherVoice, "Pad other voice", w.padOtherVoice);
  controls_.Check(kDotted, "Dotted", w.dotted);
  controls_.Check(kInputRests, "Input rests", w.inputRests);
  controls_.Check(kTriplets, "Triplets", w.triplets);
  FinishLayout();
  // The preview below the fields, as wide as the dialog.
  staff_ = new CStaticStaff(this, kPreview, definition);
  GetSizer()->Insert(1, staff_, 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
  GetSizer()->SetSizeHints(this);
  // Each change re-reads the fields and rebuilds; the other boxes count at the next rebuild.
  const auto rebuild = [this](wxEvent&) {
    controls_.FromWindow();
    UpdateControls();
  };
  flag->Bind(wxEVT_CHOICE, rebuild);
  beat->Bind(wxEVT_CHOICE, rebuild);
  bars->Bind(wxEVT_SPINCTRL, rebuild);
  chords->Bind(wxEVT_SPINCTRL, rebuild);
  signature->Bind(wxEVT_CHECKBOX, rebuild);
}

void RhythmPatternDialog::UpdateControls() { staff_->Rebuild(working_); }

}  // namespace vornel
