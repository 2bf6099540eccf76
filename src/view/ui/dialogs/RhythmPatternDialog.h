#pragma once
// "Rhythm Pattern" with its live staff (CStaticStaff): every change of flag, beat, bars, chords
// per bar or "Print signature" rebuilds and repaints the preview.

#include "layout/ui/dialogs/StructDialog.h"
#include "view/ui/dialogs/CStaticStaff.h"

namespace vornel {

class RhythmPatternDialog : public StructDialog<CRhythmPattern> {
 public:
  enum : int {
    kFlag = 1764, kBeat = 1750, kBars = 1739, kChordsPerBar = 1098, kPrintSignature = 1763, kPadOtherVoice = 1765,
    kDotted = 1766, kInputRests = 1658, kTriplets = 1769, kPreview = 1192,
  };
  RhythmPatternDialog(wxWindow* parent, CRhythmPattern& fields, const CInstrumentDlg* definition);
  CStaticStaff& Staff() { return *staff_; }

 protected:
  void UpdateControls() override;

 private:
  CStaticStaff* staff_;
};

}  // namespace vornel
