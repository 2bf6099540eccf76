// The open strings of a tuning on the shared preview player, and the single note of "String
// pitch", on the recording output.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "midi/play/MidiOutStream.h"
#include "midi/play/RecordingMidiOut.h"
#include "midi/play/TuningSounds.h"
#include "model/dialogs/TuningDialogs.h"

namespace vornel {
namespace {

std::vector<int> NoteOnKeys(const MidiRecording& recording) {
  std::vector<int> keys;
  for (const MidiRecord& r : recording.records) {
    if (r.bytes[0] == 0x90 && r.bytes[2] != 0) keys.push_back(r.bytes[1]);
  }
  return keys;
}

TEST(PlayStrings, BaroqueLutePresetSoundsItsOpenStringsInOrder) {
  MidiRecording recording;
  SteadyPlayerClock steady;
  ScopedMidiOutFactory factory([&] { return std::make_unique<RecordingMidiOut>(recording, steady); });
  InstrumentTuningDlg dialog;
  dialog.ApplyPreset(2);
  ASSERT_EQ(kTuningPresets[2].label, "Baroque lute");
  PlayStringsOptions options;
  options.tempo = 6000;  // 10 ms a string
  ASSERT_TRUE(PlayStrings(dialog.tuning, options));
  for (int i = 0; i < 300 && SharedPreviewPlayer().IsPlaying(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(SharedPreviewPlayer().IsPlaying());
  SharedPreviewPlayer().DrainReports([](uint32_t) {});
  ASSERT_FALSE(recording.records.empty());
  EXPECT_EQ(recording.records.front().bytes[0], 0xC0);
  EXPECT_EQ(recording.records.front().bytes[1], InstrumentTuningDlg::kPlayProgram);
  // "FDAFDAGFEDCBA", course 1 first.
  EXPECT_EQ(NoteOnKeys(recording), (std::vector<int>{65, 62, 57, 53, 50, 45, 43, 41, 40, 38, 36, 35, 33}));
}

TEST(PlayStrings, ReverseChordAndLowPitchShapeTheNotes) {
  nTuning tuning;
  tuning.SetTuning("EBG");
  PlayStringsOptions options;
  options.reverse = true;
  options.lowPitch = true;
  strMidiBuffer notes = OpenStringNotes(tuning, options);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].key, 54);  // G4 a half step down, first
  EXPECT_EQ(notes[2].key, 63);
  EXPECT_EQ(notes[2].time, 2u * MidiOutStream::kDefaultTimeDivision);
  options.asChord = true;
  notes = OpenStringNotes(tuning, options);
  for (const strMidiNote& n : notes) EXPECT_EQ(n.time, 0u);
  EXPECT_FALSE(PlayStrings(nTuning{}, options));  // no strings, nothing played
}

TEST(SingleNoteSounder, NoteOnThenOffClosesTheOutput) {
  MidiRecording recording;
  ManualPlayerClock clock;
  SingleNoteSounder sounder([&] { return std::make_unique<RecordingMidiOut>(recording, clock); });
  ASSERT_TRUE(sounder.NoteOn(51));
  EXPECT_TRUE(sounder.Sounding());
  sounder.NoteOff();
  EXPECT_FALSE(sounder.Sounding());
  EXPECT_EQ(recording.Log(), "     0.000  90 33 40\n     0.000  80 33 40\n");
  EXPECT_EQ(recording.opens, 1);
  EXPECT_EQ(recording.closes, 1);
  sounder.NoteOff();  // nothing sounds: nothing sent
  EXPECT_EQ(recording.records.size(), 2u);
}

TEST(SingleNoteSounder, NoOutputNoSoundNoError) {
  MidiRecording recording;
  ManualPlayerClock clock;
  SingleNoteSounder sounder([&] {
    auto out = std::make_unique<RecordingMidiOut>(recording, clock);
    out->openFailure = "no device";
    return out;
  });
  EXPECT_FALSE(sounder.NoteOn(60));
  EXPECT_FALSE(sounder.Sounding());
  EXPECT_TRUE(recording.records.empty());
}

}  // namespace
}  // namespace vornel
