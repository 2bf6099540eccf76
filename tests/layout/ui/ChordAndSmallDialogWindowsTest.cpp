// The chord dialogs and the small editing dialogs under a virtual display: each is filled from
// its struct and read back (a field out of range keeps the struct), the coupled controls follow
// each other, and each dialog is saved as a PNG for review (showing a dialog fills it from its
// struct again, so the picture is taken first).

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "layout/ui/dialogs/ChordDialogWindows.h"
#include "layout/ui/dialogs/SmallDialogWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/DialogCapture.h"

namespace vornel {
namespace {

void SpinTo(wxSpinCtrl* spin, int value) {
  spin->SetValue(value);
  wxSpinEvent event(wxEVT_SPINCTRL, spin->GetId());
  event.SetEventObject(spin);
  event.SetPosition(value);
  spin->ProcessWindowEvent(event);
}

TEST(ChordDialogWindows, ChordEffectRoundTripsAnUntouchedWord) {
  // Strum, down, half flags, 5 steps, left, visible: OK without a change gives the same word.
  CChordEffectDlg fields;
  fields.From(0x0155);
  ChordEffectDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "chord-effect");
  EXPECT_EQ(dialog.GetTitle(), "Chord effect");
  EXPECT_EQ(Control<wxChoice>(dialog, ChordEffectDialog::kAlignment)->GetStringSelection(), "Left");
  EXPECT_EQ(Control<wxSpinCtrl>(dialog, ChordEffectDialog::kSteps)->GetMax(), 7);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.Word(), 0x0155);
}

TEST(ChordDialogWindows, ChordPropertiesRowsAndSpinStepBelowZero) {
  nTuning tuning;
  static constexpr int kPitches[] = {64, 59, 55, 50, 45};
  for (int i = 0; i < 5; ++i) tuning.SetCoursePitch(i, kPitches[i]);
  tuning.stringCount = 5;
  tuning.lines = 5;
  nChord chord;
  chord.name = "G";
  chord.notes.SetNote(62, 1, 0, true);
  chord.notes.SetNote(55, 2, 0, true);
  CChordProperties fields;
  fields.Open(chord, tuning);
  ChordPropertiesDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "chord-properties");
  const auto& row2 = ChordPropertiesDialog::kRowIds[1];
  EXPECT_EQ(Control<wxSpinCtrl>(dialog, row2.fret)->GetValue(), 3);
  EXPECT_EQ(Control<wxStaticText>(dialog, row2.note)->GetLabel(), "62 [D5]");
  EXPECT_EQ(Control<wxSpinCtrl>(dialog, ChordPropertiesDialog::kRowIds[0].fret)->GetValue(), -1);
  EXPECT_FALSE(Control<wxSpinCtrl>(dialog, ChordPropertiesDialog::kRowIds[5].fret)->IsShown());
  EXPECT_EQ(Control<wxTextCtrl>(dialog, ChordPropertiesDialog::kDescription)->GetValue(), "G");

  SpinTo(Control<wxSpinCtrl>(dialog, ChordPropertiesDialog::kRowIds[2].fret), -1);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.rows[2].fret, -1);
  fields.Apply(chord, tuning, CKey());
  EXPECT_EQ(chord.notes.NoteOnCourse(2), nullptr);
  EXPECT_NE(chord.notes.NoteOnCourse(1), nullptr);
}

TEST(ChordDialogWindows, GraceNotesRotationTextAndCode) {
  CGraceNotesDlg fields;
  fields.code = 70;
  fields.Open();
  GraceNotesDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "grace-notes");
  EXPECT_EQ(Control<wxChoice>(dialog, GraceNotesDialog::kType)->GetStringSelection(), "Double appogiatura");
  EXPECT_TRUE(Control<wxCheckBox>(dialog, GraceNotesDialog::kDescending)->GetValue());
  EXPECT_TRUE(Control<wxCheckBox>(dialog, GraceNotesDialog::kDrawLigature)->GetValue());
  EXPECT_EQ(Control<wxTextCtrl>(dialog, GraceNotesDialog::kRotationText)->GetValue(), "0 flats");
  SpinTo(Control<wxSpinCtrl>(dialog, GraceNotesDialog::kRotations), 3);
  EXPECT_EQ(Control<wxTextCtrl>(dialog, GraceNotesDialog::kRotationText)->GetValue(), "3 sharps");
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.Code(), 70);
  EXPECT_EQ(fields.rotations, 3);
}

TEST(ChordDialogWindows, SwapOrnamentLists) {
  CSwapOrnamentDlg fields;
  fields.replaceWith = 31;
  SwapOrnamentDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "swap-ornament");
  EXPECT_EQ(Control<wxChoice>(dialog, SwapOrnamentDialog::kReplaceWith)->GetStringSelection(), "Ghost note");
  EXPECT_EQ(Control<wxChoice>(dialog, SwapOrnamentDialog::kSelect)->GetCount(), 32u);
}

TEST(SmallDialogWindows, NumberPromptCaptionSliderAndRange) {
  testing::ScriptedPrompts prompts;
  CTempoDlg fields;
  fields.caption = "Number of bars:";
  fields.minimum = 1;
  fields.maximum = 64;
  fields.value = 12;
  NumberPromptDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "number-prompt");
  EXPECT_EQ(dialog.GetTitle(), "Number of bars:");
  auto* slider = Control<wxSlider>(dialog, NumberPromptDialog::kSlider);
  EXPECT_EQ(slider->GetMax(), 64);
  EXPECT_EQ(slider->GetValue(), 12);
  Control<wxTextCtrl>(dialog, NumberPromptDialog::kValue)->ChangeValue("65");
  EXPECT_FALSE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.value, 12);
  ASSERT_EQ(prompts.messages.size(), 1u);
  Control<wxTextCtrl>(dialog, NumberPromptDialog::kValue)->ChangeValue("abc");
  EXPECT_FALSE(dialog.TransferDataFromWindow());
  Control<wxTextCtrl>(dialog, NumberPromptDialog::kValue)->ChangeValue(" 40 ");
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.value, 40);
}

TEST(SmallDialogWindows, OctaveNameFromTheStartAndOnSpin) {
  COctaveDlg fields;
  OctaveDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "octave");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, OctaveDialog::kName)->GetValue(), "C5");
  EXPECT_TRUE(Control<wxRadioButton>(dialog, OctaveDialog::kAbove)->GetValue());
  SpinTo(Control<wxSpinCtrl>(dialog, OctaveDialog::kLimit), 61);
  EXPECT_EQ(Control<wxTextCtrl>(dialog, OctaveDialog::kName)->GetValue(), "C#5");
  Control<wxRadioButton>(dialog, OctaveDialog::kBelow)->SetValue(true);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.direction, 1);
  EXPECT_EQ(fields.limitPitch, 61);
}

TEST(SmallDialogWindows, BarRangeSlidersAndRelease) {
  CBarRangeDlg fields;
  fields.barCount = 25;
  fields.Open();
  BarRangeDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "bar-range");
  EXPECT_EQ(dialog.GetTitle(), "Copy bar range");
  auto* begin = Control<wxSlider>(dialog, BarRangeDialog::kBeginSlider);
  auto* end = Control<wxSlider>(dialog, BarRangeDialog::kEndSlider);
  EXPECT_EQ(end->GetMax(), 25);
  EXPECT_EQ(end->GetValue(), 25);
  EXPECT_EQ(begin->GetMin(), 1);
  begin->SetValue(25);
  dialog.ReleaseBegin();
  EXPECT_EQ(begin->GetValue(), 24);
  EXPECT_EQ(Control<wxTextCtrl>(dialog, BarRangeDialog::kBegin)->GetValue(), "24");
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(fields.begin, 24);
  EXPECT_EQ(fields.end, 25);
}

TEST(SmallDialogWindows, TransformationsStackAndClearAll) {
  COperationDlg fields;
  fields.count = 4;
  TransformationsDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "chord-transformations");
  const auto& row1 = TransformationsDialog::kRowIds[0];
  auto* operation = Control<wxChoice>(dialog, row1.operation);
  operation->SetSelection(ChordOperation::kShift);
  wxCommandEvent chosen(wxEVT_CHOICE, row1.operation);
  chosen.SetEventObject(operation);
  operation->ProcessWindowEvent(chosen);
  auto* operand = Control<wxSpinCtrl>(dialog, row1.operand);
  EXPECT_EQ(operand->GetMin(), -4);
  EXPECT_EQ(operand->GetMax(), 4);
  operand->SetValue(2);
  Control<wxCheckBox>(dialog, row1.preserve)->SetValue(true);
  dialog.StackAndResolve();
  EXPECT_EQ(operation->GetSelection(), 0);
  EXPECT_EQ(operand->GetMax(), 0);
  // A second chain, then "Clear all" empties the five rows but keeps what was stacked.
  Control<wxChoice>(dialog, TransformationsDialog::kRowIds[1].operation)->SetSelection(ChordOperation::kClone);
  dialog.ClearAll();
  EXPECT_EQ(Control<wxChoice>(dialog, TransformationsDialog::kRowIds[1].operation)->GetSelection(), 0);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  const std::vector<ChordOperation> list = fields.Finish();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].code, COperationDlg::kPreserve);
  EXPECT_EQ(list[0].operand, 1);
  EXPECT_EQ(list[1].code, ChordOperation::kShift);
  EXPECT_EQ(list[1].operand, 2);
}

TEST(SmallDialogWindows, SlurControlEchoesAndTranspose) {
  CSlurControlDlg fields;
  fields.steps = 3;
  fields.position = 4;
  SlurControlDialog dialog(nullptr, fields);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  SavePng(dialog, "slur-control");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, SlurControlDialog::kStepsEcho)->GetValue(), "3");
  EXPECT_EQ(Control<wxTextCtrl>(dialog, SlurControlDialog::kPositionEcho)->GetValue(), "-3");
  auto* position = Control<wxSlider>(dialog, SlurControlDialog::kPosition);
  position->SetValue(10);
  wxCommandEvent moved(wxEVT_SLIDER, SlurControlDialog::kPosition);
  moved.SetEventObject(position);
  position->ProcessWindowEvent(moved);
  EXPECT_EQ(Control<wxTextCtrl>(dialog, SlurControlDialog::kPositionEcho)->GetValue(), "3");

  CTransposeDlg transpose;
  TransposeDialog transposeDialog(nullptr, transpose);
  ASSERT_TRUE(transposeDialog.TransferDataToWindow());
  SavePng(transposeDialog, "transpose");
  EXPECT_EQ(Control<wxSpinCtrl>(transposeDialog, TransposeDialog::kHalfSteps)->GetValue(), 0);
  Control<wxSpinCtrl>(transposeDialog, TransposeDialog::kHalfSteps)->SetValue(-5);
  ASSERT_TRUE(transposeDialog.TransferDataFromWindow());
  EXPECT_EQ(transpose.halfSteps, -5);
}

}  // namespace
}  // namespace vornel
