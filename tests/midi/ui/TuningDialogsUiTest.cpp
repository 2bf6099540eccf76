// The tuning windows under a virtual display: filled from their structs, changed through their
// controls and buttons, read back (never run modally); "Play" of "String pitch" sends the note
// and its timer the note-off; the instrument tuning dialog keeps Enter to itself.

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <chrono>
#include <thread>

#include "midi/play/MidiOutStream.h"
#include "midi/play/RecordingMidiOut.h"
#include "midi/ui/TuningDialogWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/DialogCapture.h"
#include "support/ui/WindowTest.h"

namespace vornel {
namespace {

using TuningWindowsTest = testing::WindowTest;

TEST_F(TuningWindowsTest, StringPitchShowsTheNoteAndPlaysItForAMoment) {
  MidiRecording recording;
  ManualPlayerClock clock;
  CStringTuningDlg data;
  data.Load("D4#", 2);
  StringPitchDialog dialog(frame, data, [&] { return std::make_unique<RecordingMidiOut>(recording, clock); });
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "String tuning editor: string 2");
  EXPECT_EQ(dialog.Note()->GetStringSelection(), "D");
  EXPECT_EQ(dialog.Octave()->GetValue(), 4);
  EXPECT_TRUE(dialog.Accidental(1)->GetValue());
  EXPECT_EQ(dialog.MidiValue()->GetValue(), "51");
  CaptureDialog(dialog, "string-pitch");

  dialog.Play();
  EXPECT_TRUE(dialog.Sounding());
  EXPECT_TRUE(dialog.Timer().IsRunning());
  dialog.Timer().Notify();  // the half second is over
  EXPECT_FALSE(dialog.Sounding());
  EXPECT_EQ(recording.Log(), "     0.000  90 33 40\n     0.000  80 33 40\n");

  dialog.Note()->SetSelection(6);  // G
  dialog.Accidental(2)->SetValue(true);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(data.noteText, "G4b");
  EXPECT_EQ(data.midiValue, 54);
}

TEST_F(TuningWindowsTest, StringPitchWithoutAnOutputIsSilent) {
  CStringTuningDlg data;
  data.Load("", 1);
  StringPitchDialog dialog(frame, data, [] { return std::unique_ptr<MidiOut>(); });
  dialog.TransferDataToWindow();
  EXPECT_EQ(dialog.MidiValue()->GetValue(), "24");
  dialog.Play();
  EXPECT_FALSE(dialog.Sounding());
  EXPECT_FALSE(dialog.Timer().IsRunning());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TuningWindowsTest, CourseTuningFollowsTheListAndThePitch) {
  nTuning tuning;
  tuning.SetTuning("GDAFCGF");
  CBourdonTuningDlg data;
  data.Load(tuning);
  CourseTuningDialog dialog(frame, tuning, data);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.Courses()->GetCount(), 7u);
  EXPECT_EQ(dialog.Courses()->GetString(0), "1: G5(67)");
  EXPECT_EQ(dialog.NoteText()->GetLabel(), "G5");
  CaptureDialog(dialog, "course-tuning");
  dialog.Courses()->SetSelection(6);
  dialog.Pitch()->SetValue(40);
  dialog.ApplyToAll()->SetValue(true);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(data.courseIndex, 6);
  EXPECT_EQ(data.newPitch, 40);
  EXPECT_EQ(data.noteText, "E3");
  EXPECT_TRUE(data.applyToAll);
}

TEST_F(TuningWindowsTest, InstrumentTuningPresetsTypedTextAndEnter) {
  nTuning tuning;
  tuning.SetTuning("GDAFCGF");
  InstrumentTuningDlg data;
  data.Load(tuning);
  InstrumentTuningDialog dialog(frame, data);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.StringText(0)->GetValue(), "G5(67)");
  EXPECT_EQ(dialog.TuningText()->GetValue(), "GDAFCGF");
  EXPECT_EQ(dialog.PresetButton(2)->GetLabel(), "Baroque lute");
  CaptureDialog(dialog, "instrument-tuning");

  dialog.ApplyPreset(4);  // "Mandolin"
  EXPECT_EQ(dialog.Lines()->GetValue(), 4);
  EXPECT_EQ(dialog.StringText(0)->GetValue(), "E6(76)");
  EXPECT_EQ(dialog.StringText(4)->GetValue(), "");

  dialog.TuningText()->ChangeValue("EBGDAE");
  dialog.Lines()->SetValue(6);
  dialog.ApplyTypedText();
  EXPECT_EQ(dialog.StringText(5)->GetValue(), "E3(40)");

  // Enter is eaten by the dialog instead of pressing OK.
  wxKeyEvent enter(wxEVT_CHAR_HOOK);
  enter.m_keyCode = WXK_RETURN;
  enter.SetEventObject(&dialog);
  EXPECT_TRUE(dialog.ProcessWindowEvent(enter));
  EXPECT_FALSE(enter.GetSkipped());

  // Nothing reaches the caller's struct before OK.
  EXPECT_EQ(data.tuningText, "GDAFCGF");
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  nTuning result;
  data.Store(result);
  EXPECT_EQ(result.GetTuningText(), "EBGDAE");
  EXPECT_EQ(result.lines, 6);
}

// "Baroque lute" then "PLAY", pressed as buttons: the open strings sound on the preview player,
// course 1 first, with the dialog's program.
TEST_F(TuningWindowsTest, PlayOnTheBaroqueLutePresetSoundsTheOpenStringsInOrder) {
  MidiRecording recording;
  SteadyPlayerClock steady;
  ScopedMidiOutFactory factory([&] { return std::make_unique<RecordingMidiOut>(recording, steady); });
  InstrumentTuningDlg data;
  data.tempo = 300;
  InstrumentTuningDialog dialog(frame, data);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  const auto press = [&](const char* label) {
    auto* button = dynamic_cast<wxButton*>(wxWindow::FindWindowByLabel(label, &dialog));
    ASSERT_NE(button, nullptr) << label;
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
  };
  press("Baroque lute");
  press("PLAY");
  EXPECT_TRUE(SharedPreviewPlayer().IsPlaying());
  SharedPreviewPlayer().SetTempo(6000);  // no need to listen at the dialog's pace
  for (int i = 0; i < 300 && SharedPreviewPlayer().IsPlaying(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(SharedPreviewPlayer().IsPlaying());
  SharedPreviewPlayer().DrainReports([](uint32_t) {});
  std::vector<int> keys;
  for (const MidiRecord& r : recording.records) {
    if (r.bytes[0] == 0x90 && r.bytes[2] != 0) keys.push_back(r.bytes[1]);
  }
  ASSERT_FALSE(recording.records.empty());
  EXPECT_EQ(recording.records.front().bytes[0], 0xC0);
  EXPECT_EQ(recording.records.front().bytes[1], InstrumentTuningDlg::kPlayProgram);
  EXPECT_EQ(keys, (std::vector<int>{65, 62, 57, 53, 50, 45, 43, 41, 40, 38, 36, 35, 33}));

  // "Stop" ends a playing run at once.
  press("PLAY");
  press("Stop");
  EXPECT_FALSE(SharedPreviewPlayer().IsPlaying());
}

}  // namespace
}  // namespace vornel
