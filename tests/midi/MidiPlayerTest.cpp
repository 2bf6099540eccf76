// The player on the recording output. Most cases run on a manual clock, so that every time is
// exact: the set-up before the stream, due times from the tempo and its changes, pause, stop,
// the reports to the owner, controller commands and failures. A few run the player's own
// thread on the steady clock.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

#include "MidiTestSupport.h"
#include "midi/MidiStreamEvents.h"
#include "midi/play/MidiOutStream.h"
#include "midi/play/RecordingMidiOut.h"
#include "model/events/CMetaEvent.h"
#include "support/GoldenFile.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::Chord;
using testing::FillAir;

constexpr uint32_t kPosition = 0x42000000;

// The lines of a log without their times, or the times (ms) of the lines whose bytes start
// with `prefix`.
std::vector<std::string> Messages(const MidiRecording& r) {
  std::vector<std::string> out;
  std::istringstream in(r.Log());
  for (std::string line; std::getline(in, line);) out.push_back(line.substr(line.find('.') + 6));
  return out;
}

std::vector<double> TimesOf(const MidiRecording& r, int64_t origin, uint8_t status, int key = -1) {
  std::vector<double> out;
  for (const MidiRecord& m : r.records) {
    if (m.bytes[0] == status && (key < 0 || m.bytes[1] == key) && (status != 0x90 || m.bytes[2] != 0)) {
      out.push_back(static_cast<double>(m.time - origin) / 1e6);
    }
  }
  return out;
}

// A program of note pairs on channel 0, `spacing` ticks apart, each `length` ticks long.
MidiPlayProgram Notes(size_t count, uint32_t spacing, uint32_t length, uint32_t everyReported = 0) {
  strMidiBuffer b;
  for (size_t i = 0; i < count; ++i) {
    b.AddNote(static_cast<uint32_t>(i * spacing), static_cast<uint8_t>(40 + i % 40), 80, static_cast<int32_t>(length), 0);
    if (everyReported != 0 && i % everyReported == 0) {
      b.AddRecord(strMidiNote::kBarMarker, static_cast<uint32_t>(i * spacing), 0, static_cast<uint8_t>(i & 0xFF), 0);
    }
  }
  b.AddNoteOffs();
  return MidiPlayProgram{{}, WriteStreamEvents(b)};
}

class ReportCounter : public MidiPlayerOwner {
 public:
  void ReportsPending() override { ++calls; }
  std::atomic<int> calls{0};
};

class PlayerTest : public ::testing::Test {
 public:
  std::unique_ptr<MidiOut> NewOutput() {
    auto out = std::make_unique<RecordingMidiOut>(recording, clock);
    out->openFailure = openFailure;
    out->failAfterSends = failAfterSends;
    return out;
  }
  std::vector<uint32_t> Reports() {
    std::vector<uint32_t> r;
    player.DrainReports([&](uint32_t w) { r.push_back(w); });
    return r;
  }
  // Moves the clock to each due time in turn until the play ends.
  void RunToEnd() {
    while (player.IsPlaying()) {
      const auto due = player.NextDueTime();
      if (due && *due > clock.Now()) clock.Set(*due);
      player.Pump();
    }
  }
  void RunTo(double ms) {
    const int64_t end = static_cast<int64_t>(ms * 1e6);
    while (player.IsPlaying()) {
      const auto due = player.NextDueTime();
      if (!due || *due > end) break;
      if (*due > clock.Now()) clock.Set(*due);
      player.Pump();
    }
    if (clock.Now() < end) clock.Set(end);
    player.Pump();
  }
  double Ms(int64_t ns) const { return static_cast<double>(ns) / 1e6; }

  testing::ScriptedPrompts prompts;
  ManualPlayerClock clock;
  MidiRecording recording;
  std::string openFailure;
  int failAfterSends = -1;
  ReportCounter owner;
  MidiOutStream player{&owner, [this] { return NewOutput(); }, &clock};
};

// Two lines: the lute of "Air" and a bass that holds the pedal and glides.
void AddBass(CSystemArray& section) {
  auto bass = std::make_unique<CInstrumentDlg>(*section.Definition(0));
  bass->midi.patch = 40;
  bass->midi.volume = 90;
  bass->midi.holdPedal = 1;
  bass->midi.portamentoOn = 1;
  section.AddInstrument(std::move(bass));
  nChordArray& voice = section.System(0)->Line(1)->Voice(0);
  voice.push_back(Chord(2, {48}));
  voice.push_back(std::make_unique<nChord>(1));
  voice.push_back(Chord(2, {43}));
}

TEST_F(PlayerTest, SetUpComesFirstInItsOrderOnTheBuildersChannels) {
  CSystemArray section;
  FillAir(section);
  AddBass(section);
  ASSERT_TRUE(player.Play(section, MIDIVoiceStream::kModeAll));
  const std::vector<std::string> setup = {
      "C0 18", "B0 7F 7F", "B0 07 64", "B0 0A 64", "B0 01 00", "B0 08 40", "B0 0B 64", "B0 04 00",
      "C1 28", "B1 7F 7F", "B1 07 5A", "B1 0A 64", "B1 01 00", "B1 08 40", "B1 0B 64", "B1 04 00", "B1 45 7F", "B1 41 7F"};
  std::vector<std::string> sent = Messages(recording);
  EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + static_cast<long>(std::min(sent.size(), setup.size()))),
            setup);
  ASSERT_TRUE(player.Stop());

  // One line alone: its set-up on channel 0, then its program on channel 0 again.
  recording.Clear();
  section.System(0)->activeInstrument = 1;
  ASSERT_TRUE(player.Play(section, MIDIVoiceStream::kModeInstrument));
  player.Pump();
  sent = Messages(recording);
  ASSERT_GE(sent.size(), 12u);
  EXPECT_EQ(sent[0], "C0 28");
  EXPECT_EQ(sent[8], "B0 45 7F");
  EXPECT_EQ(sent[10], "C0 28");
  EXPECT_EQ(sent[11].substr(0, 5), "90 30");
}

TEST_F(PlayerTest, GoldenLogOfATwoLineSection) {
  CSystemArray section;
  FillAir(section);
  AddBass(section);
  player.tempo = 120;
  ASSERT_TRUE(player.Play(section, MIDIVoiceStream::kModeAll));
  RunToEnd();
  testing::ExpectGoldenAt("tests/midi/golden/two_lines.log", recording.Log(player.StartTime()));
}

TEST_F(PlayerTest, DueTimesFollowTheTempo) {
  struct Case {
    const char* name;
    int tempo;
    int division;
    std::function<void(CSystemArray&)> change;  // of the section before playing
    std::function<void(PlayerTest&)> during;    // after the start
    std::vector<double> noteOns;                // ms
  };
  const auto tempoEvent = [](CSystemArray& s) {
    s.System(0)->Line(0)->Voice(0).at(1)->metaEvents.push_back(
        std::make_unique<CMetaEvent>(CMetaEvent::kTempo, "", 60, 0, 0));
  };
  const Case cases[] = {
      {"120 bpm: 500 ms a quarter", 120, 192, {}, {}, {0, 500, 1000}},
      {"90 bpm", 90, 192, {}, {}, {0, 666.667, 1333.333}},
      // The beat as the view gives it: a dotted quarter of 288 ticks at 60 a minute.
      {"dotted-quarter beat", 60, 288, {}, {}, {0, 666.667, 1333.333}},
      {"tempo 0 counts as 4", 0, 192, {}, {}, {0, 15000, 30000}},
      {"inline tempo event", 120, 192, tempoEvent, {}, {0, 500, 1500}},
      {"live tempo change halfway through the first quarter", 120, 192, {},
       [](PlayerTest& t) {
         t.RunTo(250);
         t.player.SetTempo(60);
       },
       {0, 750, 1750}},
      {"pause shifts what follows", 120, 192, {},
       [](PlayerTest& t) {
         t.RunTo(250);
         EXPECT_TRUE(t.player.Pause());
         EXPECT_FALSE(t.player.Pause());
         t.RunTo(1250);
         EXPECT_TRUE(t.player.Resume());
         EXPECT_FALSE(t.player.Resume());
       },
       {0, 1500, 2000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSystemArray section;
    FillAir(section);
    if (c.change) c.change(section);
    recording.Clear();
    clock.Set(0);
    player.tempo = c.tempo;
    player.timeDivision = c.division;
    ASSERT_TRUE(player.Play(section, MIDIVoiceStream::kModeInstrument));
    if (c.during) c.during(*this);
    RunToEnd();
    const std::vector<double> times = TimesOf(recording, player.StartTime(), 0x90);
    ASSERT_EQ(times.size(), c.noteOns.size());
    for (size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], c.noteOns[i], 0.002) << i;
    Reports();
  }
}

TEST_F(PlayerTest, PauseSilencesTheChannelsAtOnce) {
  CSystemArray section;
  FillAir(section);
  player.tempo = 120;
  ASSERT_TRUE(player.Play(section, MIDIVoiceStream::kModeInstrument));
  RunTo(250);
  ASSERT_TRUE(player.Pause());
  EXPECT_EQ(Messages(recording).back(), "B0 7B 00");
  EXPECT_DOUBLE_EQ(Ms(recording.records.back().time - player.StartTime()), 250.0);
}

TEST_F(PlayerTest, EventsOfOneTickKeepTheirOrder) {
  // Two notes struck together, the first ending where the second is struck again.
  strMidiBuffer b;
  b.AddNote(0, 60, 80, 192, 0);
  b.AddNote(0, 64, 80, 384, 0);
  b.AddNote(192, 60, 81, 192, 0);
  b.AddRecord(strMidiNote::kBarMarker, 192, 0, 1, 0);
  b.AddNoteOffs();
  ASSERT_TRUE(player.PlayProgram({{}, WriteStreamEvents(b)}));
  RunToEnd();
  EXPECT_EQ(Messages(recording), (std::vector<std::string>{"90 3C 50", "90 40 50", "80 3C 00", "90 3C 51", "80 40 00",
                                                            "80 3C 00", "B0 7B 00"}));
}

TEST_F(PlayerTest, ReportsStartOnceThenFlaggedWordsThenTheEnd) {
  CSystemArray section;
  FillAir(section);
  ASSERT_TRUE(player.Play(section, MIDIVoiceStream::kModeInstrument));
  EXPECT_EQ(owner.calls, 1);
  RunToEnd();
  // One call for the burst: the owner has not drained yet.
  EXPECT_EQ(owner.calls, 1);
  const std::vector<uint32_t> reports = Reports();
  ASSERT_GE(reports.size(), 3u);
  EXPECT_EQ(reports.front(), MidiOutStream::kReportStarted);
  EXPECT_EQ(reports.back(), MidiOutStream::kReportClosed);
  EXPECT_EQ(std::count(reports.begin(), reports.end(), MidiOutStream::kReportStarted), 1);
  // The position of the bar line (system 0, bar 0) and the notes after the first (the first
  // has delta 0).
  EXPECT_NE(std::find(reports.begin(), reports.end(), kPosition), reports.end());
  for (size_t i = 1; i + 1 < reports.size(); ++i) EXPECT_NE(reports[i] & 0x40000000, 0u) << i;
  EXPECT_TRUE(Reports().empty());

  // After draining, the next report asks again.
  ASSERT_TRUE(player.Play(section, MIDIVoiceStream::kModeInstrument));
  EXPECT_EQ(owner.calls, 2);
  player.Stop();
}

TEST_F(PlayerTest, StopSilencesEveryChannelUsedThenReportsTheEnd) {
  CSystemArray section;
  FillAir(section);
  AddBass(section);
  EXPECT_FALSE(player.Stop());  // nothing plays
  ASSERT_TRUE(player.Play(section, MIDIVoiceStream::kModeAll));
  RunTo(100);
  Reports();
  ASSERT_TRUE(player.Stop());
  std::vector<std::string> sent = Messages(recording);
  EXPECT_EQ(std::vector<std::string>(sent.end() - 2, sent.end()), (std::vector<std::string>{"B0 7B 00", "B1 7B 00"}));
  EXPECT_EQ(Reports(), std::vector<uint32_t>{MidiOutStream::kReportClosed});
  EXPECT_FALSE(player.Stop());
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(recording.opens, 1);
  EXPECT_EQ(recording.closes, 1);
  // Nothing goes out any more.
  const size_t count = recording.records.size();
  clock.AdvanceMs(5000);
  EXPECT_FALSE(player.Pump());
  EXPECT_EQ(recording.records.size(), count);
}

TEST_F(PlayerTest, TheWholeStreamPlays) {
  // Past the room of the old eight-buffer table (21,840 events).
  ASSERT_TRUE(player.PlayProgram(Notes(12500, 2, 1)));
  RunToEnd();
  size_t notes = 0;
  for (const MidiRecord& r : recording.records) notes += r.bytes[0] == 0x90 || r.bytes[0] == 0x80;
  EXPECT_EQ(notes, 25000u);
  EXPECT_EQ(recording.dropped, 0u);
}

TEST_F(PlayerTest, ControllerCommandsOnlyWhilePlaying) {
  player.OnControllerCommand(3, 100, 33965);
  EXPECT_EQ(recording.opens, 0);
  ASSERT_TRUE(player.PlayProgram(Notes(4, 192, 96)));
  recording.Clear();
  player.OnControllerCommand(3, 100, 33965);  // "Volume"
  player.OnControllerCommand(3, 30, 33975);   // "Celeste", always on channel 0
  player.OnControllerCommand(3, 200, 33978);  // "Vibrato", the value kept to 127
  player.OnControllerCommand(3, 50, 33967);   // "Velocity" sends nothing
  player.OnControllerCommand(3, 50, 33977);   // "Balance" neither
  EXPECT_TRUE(player.SendProgramChange(2, 24));
  EXPECT_EQ(Messages(recording), (std::vector<std::string>{"B3 07 64", "B0 5E 1E", "B3 01 7F", "C2 18"}));
  player.Stop();
  recording.Clear();
  player.OnControllerCommand(3, 100, 33965);
  EXPECT_FALSE(player.SendProgramChange(2, 24));
  EXPECT_TRUE(recording.records.empty());
}

TEST_F(PlayerTest, NothingToPlaySendsNothing) {
  CSystemArray empty;
  EXPECT_FALSE(player.Play(empty, MIDIVoiceStream::kModeAll));
  CSystemArray noSystems;
  FillAir(noSystems);
  noSystems.DeleteAllSystems();
  EXPECT_THROW(player.Play(noSystems, MIDIVoiceStream::kModeAll), std::out_of_range);
  EXPECT_EQ(recording.opens, 0);
  EXPECT_TRUE(recording.records.empty());
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(Reports().empty());
}

TEST_F(PlayerTest, FailuresShowTheOutputsTextInTheErrorBox) {
  openFailure = "No such port";
  EXPECT_FALSE(player.PlayProgram(Notes(4, 192, 96)));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"No such port"});
  EXPECT_EQ(prompts.captions, std::vector<std::string>{"MIDI ERROR"});
  EXPECT_FALSE(player.IsPlaying());

  // The output fails during the play: the end is reported after the message.
  openFailure.clear();
  failAfterSends = 3;
  ASSERT_TRUE(player.PlayProgram(Notes(4, 192, 96)));
  RunToEnd();
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(prompts.messages.size(), 1u);
  std::vector<uint32_t> reports = Reports();
  EXPECT_EQ(reports.back(), MidiOutStream::kReportClosed);
  EXPECT_EQ(prompts.messages.back(), "The recording output failed on purpose.");
  EXPECT_EQ(recording.closes, 1);
}

TEST_F(PlayerTest, ATimeSignatureEventMovesTheBarAccents) {
  // Five quarters without bar lines: accented on the bar's first tick (71), on a beat (70).
  const auto velocities = [&](bool threeFour) {
    CSystemArray section;
    nChordArray& voice = section.System(0)->Line(0)->Voice(0);
    for (int i = 0; i < 5; ++i) voice.push_back(Chord(3, {60}));
    if (threeFour) {
      voice.at(0)->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kTimeSignature, "true", 1, 3, 4));
    }
    recording.Clear();
    EXPECT_TRUE(player.Play(section, MIDIVoiceStream::kModeInstrument));
    RunToEnd();
    std::vector<int> v;
    for (const MidiRecord& r : recording.records) {
      if (r.bytes[0] == 0x90 && r.bytes[2] != 0) v.push_back(r.bytes[2]);
    }
    return v;
  };
  EXPECT_EQ(velocities(false), (std::vector<int>{71, 70, 70, 70, 71}));
  EXPECT_EQ(velocities(true), (std::vector<int>{71, 70, 70, 71, 70}));
}

TEST(PlayerThreadTest, PlaysOnTheSteadyClockAndStopJoinsTheThread) {
  MidiRecording recording;
  SteadyPlayerClock steady;
  ReportCounter owner;
  std::vector<uint32_t> reports;
  {
    MidiOutStream player(&owner, [&] { return std::make_unique<RecordingMidiOut>(recording, steady); });
    player.tempo = 600;  // 100 ms a quarter
    ASSERT_TRUE(player.PlayProgram(Notes(200, 192, 96, 1)));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_TRUE(player.IsPlaying());
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(player.Stop());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(200));
    EXPECT_FALSE(player.IsPlaying());
    player.DrainReports([&](uint32_t w) { reports.push_back(w); });
    // A player destroyed while it plays stops first.
    ASSERT_TRUE(player.PlayProgram(Notes(200, 192, 96)));
  }
  ASSERT_GE(reports.size(), 4u);
  EXPECT_EQ(reports.front(), MidiOutStream::kReportStarted);
  EXPECT_EQ(reports.back(), MidiOutStream::kReportClosed);
  EXPECT_GE(owner.calls, 1);
  EXPECT_EQ(recording.opens, 2);
  EXPECT_EQ(recording.closes, 2);
  // The notes of the first 250 ms, 100 ms apart.
  const std::vector<double> times = TimesOf(recording, recording.records.front().time, 0x90);
  ASSERT_GE(times.size(), 3u);
  EXPECT_NEAR(times[2] - times[1], 100.0, 20.0);
}

TEST(PlayerThreadTest, ThePreviewPlaysItsCallersNotes) {
  MidiRecording recording;
  SteadyPlayerClock steady;
  ScopedMidiOutFactory factory([&] { return std::make_unique<RecordingMidiOut>(recording, steady); });
  strMidiBuffer strings;
  for (uint8_t i = 0; i < 3; ++i) strings.AddNote(i * 24u, static_cast<uint8_t>(55 + 5 * i), 64, 24, 0, i);
  ASSERT_TRUE(PlayMidiPreview(480, 24, strings));
  for (int i = 0; i < 300 && SharedPreviewPlayer().IsPlaying(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(SharedPreviewPlayer().IsPlaying());
  const std::vector<std::string> sent = Messages(recording);
  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(sent[0], "C0 18");
  EXPECT_EQ(sent[1], "90 37 40");
  EXPECT_EQ(TimesOf(recording, 0, 0x90).size(), 3u);
  SharedPreviewPlayer().DrainReports([](uint32_t) {});
}

}  // namespace
}  // namespace vornel
