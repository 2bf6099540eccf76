// "Rhythm Pattern" under a virtual display: bars open at 12 and the preview shows three of them;
// a change of chords per bar rebuilds the preview at once; the dialog is saved as a PNG.

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/spinctrl.h>

#include "model/instrument/CInstrumentDlg.h"
#include "model/score/StaveRenderer.h"
#include "support/ui/DialogCapture.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/ui/dialogs/RhythmPatternDialog.h"

namespace vornel {
namespace {

int CountChords(CInstrument& line) {
  int chords = 0;
  for (size_t i = 0; i < line.firstVoice.size(); ++i)
    if (line.firstVoice.at(i) != nullptr && line.firstVoice.at(i)->IsChord()) ++chords;
  return chords;
}

TEST(RhythmPatternDialog, PreviewFollowsTheFields) {
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer scoped(renderer);
  CInstrumentDlg guitar;
  guitar.ApplyNotationPreset(1);
  CInstrument::RhythmPattern stored;
  stored.chordsPerBar = 3;
  stored.denominatorCode = 2;
  stored.flags = 2;
  CRhythmPattern fields;
  fields.From(stored);
  RhythmPatternDialog dialog(nullptr, fields, &guitar);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "Rhythm Pattern");
  EXPECT_EQ(Control<wxSpinCtrl>(dialog, RhythmPatternDialog::kBars)->GetValue(), 12);
  EXPECT_EQ(CountChords(dialog.Staff().Preview().Line()), 9);
  CaptureDialog(dialog, "rhythm-pattern");
  EXPECT_GT(dialog.Staff().Preview().ColumnWidth(), 0);

  auto* chords = Control<wxSpinCtrl>(dialog, RhythmPatternDialog::kChordsPerBar);
  chords->SetValue(4);
  wxSpinEvent event(wxEVT_SPINCTRL, chords->GetId());
  event.SetEventObject(chords);
  chords->ProcessWindowEvent(event);
  EXPECT_EQ(CountChords(dialog.Staff().Preview().Line()), 12);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.chordsPerBar, 4);
  EXPECT_EQ(fields.Pattern(fields.bars).bars, 12);
}

}  // namespace
}  // namespace vornel
