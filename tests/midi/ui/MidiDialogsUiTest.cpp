// The MIDI windows under a virtual display: each is built, filled from its struct, changed in
// a control or two and read back (never run modally); the patch chooser sounds a selection on
// a playing player; the play list hides when closed; a player's reports reach the window's
// thread; with no sound output a play says so and the window goes on.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>

#include <chrono>
#include <thread>

#include "midi/CIMidiDoc.h"
#include "midi/MidiStreamEvents.h"
#include "midi/play/RecordingMidiOut.h"
#include "midi/ui/MidiPlaylistWindow.h"
#include "midi/ui/MidiSettingsDialogs.h"
#include "midi/ui/MidiTrackListDialog.h"
#include "midi/ui/WxMidiDialogs.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "support/Bytes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/WindowTest.h"

namespace vornel {
namespace {

template <typename T>
T* Named(const wxWindow* parent, const char* name) {
  return dynamic_cast<T*>(wxWindow::FindWindowByName(name, parent));
}

using MidiWindowsTest = testing::WindowTest;

TEST_F(MidiWindowsTest, PatchChooserListsTheChannelsNamesAndSoundsASelection) {
  ManualPlayerClock clock;
  MidiRecording recording;
  MidiOutStream player(nullptr, [&] { return std::make_unique<RecordingMidiOut>(recording, clock); }, &clock);
  strMidiBuffer notes;
  notes.AddNote(0, 60, 64, 192, 0);
  notes.AddNoteOffs();
  ASSERT_TRUE(player.PlayProgram({{}, WriteStreamEvents(notes)}));

  CGM_PatchDlg data;
  data.selected = 24;
  GMPatchDialog dialog(frame, data, &player);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.List()->GetCount(), 128u);
  EXPECT_EQ(dialog.List()->GetStringSelection().ToStdString(), "25. Acoustic Guitar (nylon)");
  dialog.List()->SetSelection(40);
  wxCommandEvent select(wxEVT_LISTBOX, dialog.List()->GetId());
  select.SetInt(40);
  select.SetEventObject(dialog.List());
  dialog.List()->ProcessWindowEvent(select);
  EXPECT_EQ(recording.records.back().bytes[0], 0xC0);
  EXPECT_EQ(recording.records.back().bytes[1], 40);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(data.selected, 40);
  player.Stop();

  CGM_PatchDlg drums;
  drums.channel = 9;
  GMPatchDialog percussion(frame, drums, nullptr);
  percussion.TransferDataToWindow();
  EXPECT_EQ(percussion.List()->GetCount(), 47u);
  EXPECT_EQ(percussion.List()->GetString(0).ToStdString().substr(0, 11), "Bass Drum 2");
}

TEST_F(MidiWindowsTest, MidiPageAndControllersDialogExchangeTheirFields) {
  MIDIControlsDlg page;
  page.values.SetDefaults();
  page.values.mute = 1;
  const MIDIControllers filled = page.values;
  MidiControlsPage panel(frame, page);
  ASSERT_TRUE(panel.TransferDataToWindow());
  ASSERT_TRUE(panel.TransferDataFromWindow());
  EXPECT_EQ(page.values, filled);  // untouched controls give back what they were given
  Named<wxSlider>(&panel, "Volume")->SetValue(77);
  Named<wxCheckBox>(&panel, "Mute ")->SetValue(false);
  Named<wxSpinCtrl>(&panel, "Reverb")->SetValue(12);
  Named<wxSlider>(&panel, "Transpose by:")->SetValue(-5);
  panel.TransferDataFromWindow();
  EXPECT_EQ(page.values.volume, 77);
  EXPECT_EQ(page.values.mute, 0);
  EXPECT_EQ(page.values.reverb, 12);
  EXPECT_EQ(page.values.transpose, -5);

  CMoreMidiControlsDlg more;
  more.From(filled);
  more.echoOctave = -1;
  MoreMidiControlsDialog dialog(frame, more);
  dialog.TransferDataToWindow();
  EXPECT_EQ(Named<wxSpinCtrl>(&dialog, "Octave")->GetValue(), -1);
  Named<wxSpinCtrl>(&dialog, "Channel")->SetValue(12);
  Named<wxCheckBox>(&dialog, "Enable octave")->SetValue(true);
  Named<wxSlider>(&dialog, "Velocity:")->SetValue(90);
  dialog.TransferDataFromWindow();
  EXPECT_EQ(more.echoChannel, 12);
  EXPECT_TRUE(more.octaveOn);
  EXPECT_EQ(more.octaveVelocity, 90);
  EXPECT_EQ(more.echoOctave, -1);
}

TEST_F(MidiWindowsTest, ControllerEventDialogExchangesKindValueAndCaption) {
  CMetaEvent event(CMetaEvent::kMidiController, "dolce", PackMidiController(10, 33), 0, 0);
  CMidiMetaControl data;
  data.From(event);
  MidiMetaControlDialog dialog(frame, data);
  dialog.TransferDataToWindow();
  EXPECT_EQ(Named<wxChoice>(&dialog, "Type")->GetStringSelection().ToStdString(), "Soft pedal");
  EXPECT_EQ(Named<wxSlider>(&dialog, "MIDI value:")->GetValue(), 33);
  EXPECT_EQ(Named<wxTextCtrl>(&dialog, "Caption")->GetValue().ToStdString(), "dolce");
  Named<wxChoice>(&dialog, "Type")->SetSelection(0);
  Named<wxSlider>(&dialog, "MIDI value:")->SetValue(100);
  Named<wxTextCtrl>(&dialog, "Caption")->SetValue("forte");
  dialog.TransferDataFromWindow();
  data.To(event);
  EXPECT_EQ(MidiControllerCode(event), 0);
  EXPECT_EQ(MidiControllerValue(event), 100);
  EXPECT_EQ(event.text, "forte");
}

TEST_F(MidiWindowsTest, TrackChooserShowsTheRowsAndReadsMarksAndInstruments) {
  CMidiTrackList data;
  data.header = "MIDI Format: 1. Time division: 96. Tracks: 2";
  data.instruments = {"Default", "Theorbo"};
  data.rows.resize(2);
  data.rows[0].chosen = "Default instrument";
  data.rows[0].name = "Lute";
  data.rows[0].key = "2 minor";
  data.rows[1].chosen = "Text";
  data.rows[1].import = false;
  data.tempo = 96;
  MidiTrackListDialog dialog(frame, data);
  dialog.TransferDataToWindow();
  CListCtrlExt& tracks = *dialog.Tracks();
  ASSERT_EQ(tracks.GetItemCount(), 2);
  EXPECT_EQ(tracks.GetItemText(0, MidiTrackListDialog::kNameColumn).ToStdString(), "Lute");
  EXPECT_EQ(tracks.GetItemText(0, MidiTrackListDialog::kKeyColumn).ToStdString(), "2 minor");
  EXPECT_FALSE(tracks.IsItemChecked(1));
  tracks.CheckItem(0, false);
  tracks.CheckItem(1, true);
  // The instrument is chosen in the cell combo over the row's label.
  ASSERT_TRUE(tracks.OnLabelDoubleClick(1, false));
  ASSERT_NE(tracks.ShownCombo(), nullptr);
  tracks.ShownCombo()->SetSelection(1);
  tracks.CloseCombo();
  EXPECT_EQ(tracks.GetItemText(1).ToStdString(), "Theorbo");
  Named<wxCheckBox>(&dialog, "Merge selected tracks")->SetValue(true);
  Named<wxSpinCtrl>(&dialog, "Tempo")->SetValue(72);
  dialog.TransferDataFromWindow();
  EXPECT_FALSE(data.rows[0].import);
  EXPECT_TRUE(data.rows[1].import);
  EXPECT_EQ(data.rows[1].instrument, 1);
  EXPECT_TRUE(data.mergeTracks);
  EXPECT_EQ(data.tempo, 72);
}

TEST_F(MidiWindowsTest, PlayListShowsItsFilesActsOnTheSelectionAndHidesWhenClosed) {
  testing::RecordingLauncher launcher;
  CMidiPlaylist list;
  MidiPlaylistWindow window(frame, list, {});
  window.AddFile("/music/a.mid");
  window.AddFile("/music/Pr\xC3\xA9lude.mid");
  ASSERT_EQ(window.List()->GetCount(), 2u);
  EXPECT_EQ(window.List()->GetString(1).ToStdString(wxConvUTF8), "/music/Pr\xC3\xA9lude.mid");
  window.PlayFile();  // no selection: nothing
  EXPECT_TRUE(launcher.opened.empty());
  window.List()->SetSelection(1);
  wxCommandEvent select(wxEVT_LISTBOX, window.List()->GetId());
  select.SetInt(1);
  window.List()->ProcessWindowEvent(select);
  window.PlayFile();
  EXPECT_EQ(launcher.opened, std::vector<std::string>{"/music/Pr\xC3\xA9lude.mid"});
  window.CreateHtmlPage();
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Cannot access document"});

  window.Show();
  EXPECT_TRUE(window.IsShown());
  window.Close();
  EXPECT_FALSE(window.IsShown());  // hidden, kept for the next time
  window.Show();
  for (const char* label : {"PLAY FILE", "PLAY ALL", "Zip Bundle", "Create HTML Page", "Delete all"}) {
    EXPECT_NE(Named<wxButton>(&window, label), nullptr) << label;
  }
  window.Hide();
}

TEST_F(MidiWindowsTest, ReportsReachTheWindowsThreadAndNoSoundOutputIsSaid) {
  std::vector<uint32_t> delivered;
  WindowPlayerOwner owner(*frame, [&](uint32_t report) { delivered.push_back(report); });
  MidiRecording recording;
  SteadyPlayerClock steady;
  MidiOutStream player(&owner, [&] { return std::make_unique<RecordingMidiOut>(recording, steady); });
  owner.Attach(player);
  player.tempo = 2000;
  strMidiBuffer notes;
  for (uint32_t i = 0; i < 4; ++i) {
    notes.AddNote(i * 12, 60, 64, 6, 0, 0, 1);
    notes.AddRecord(strMidiNote::kBarMarker, i * 12, 0, static_cast<uint8_t>(i), 0);
  }
  notes.AddNoteOffs();
  ASSERT_TRUE(player.PlayProgram({{}, WriteStreamEvents(notes)}));
  for (int i = 0; i < 300 && (delivered.empty() || delivered.back() != MidiOutStream::kReportClosed); ++i) {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_FALSE(delivered.empty());
  EXPECT_EQ(delivered.front(), MidiOutStream::kReportStarted);
  EXPECT_EQ(delivered.back(), MidiOutStream::kReportClosed);
  EXPECT_GE(delivered.size(), 6u);

  // The synthesizer with a driver list that finds nothing.
  MidiOutputSettings settings;
  settings.audioDrivers = {"no-such-driver"};
  MidiOutStream synth(&owner, [&] { return CreateMidiOut(settings); });
  EXPECT_FALSE(synth.PlayProgram({{}, WriteStreamEvents(notes)}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.captions[0], "MIDI ERROR");
  // The window goes on: the recording player plays again.
  delivered.clear();
  EXPECT_TRUE(player.PlayProgram({{}, WriteStreamEvents(notes)}));
  player.Stop();
  wxTheApp->Yield(true);
  player.DetachOwner();
  synth.DetachOwner();
}

}  // namespace
}  // namespace vornel
