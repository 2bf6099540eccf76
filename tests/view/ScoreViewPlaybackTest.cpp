// Following a play in the score view: the player's reports (scripted, or from a play on the
// recording output with a manual clock) turn pages and move the cursor; pause, tempo, the
// play commands' toggle and the echo of a typed chord.

#include <gtest/gtest.h>

#include <future>

#include "ViewFixtures.h"
#include "midi/MidiImport.h"
#include "midi/play/EchoOutput.h"
#include "midi/play/MidiOutStream.h"
#include "midi/play/RecordingMidiOut.h"
#include "model/instrument/CInstrumentDlg.h"
#include "platform/text/FormatText.h"
#include "view/commands/MidiCommands.h"

namespace vornel {
namespace {

using testing::ViewDocument;
using testing::ViewRig;
using view::PlayerReport;

// The play's surroundings: a manual clock, the recording outputs of the player and the echo.
struct PlayBench : MidiPlayerOwner {
  void ReportsPending() override { ++pending; }
  view::ViewServices Services() {
    view::ViewServices services;
    services.playerOwner = this;
    services.playerClock = &clock;
    services.playerOutput = [this] { return std::make_unique<RecordingMidiOut>(played, clock); };
    services.echo = echo;
    services.playTick = [this] { ++ticks; };
    return services;
  }
  ManualPlayerClock clock;
  MidiRecording played;
  MidiRecording echoed;
  std::string echoFailure;
  std::string settings = "synthesizer";
  // Opened outputs, one for every view of the bench.
  std::shared_ptr<EchoOutput> echo = std::make_shared<EchoOutput>(
      [this] {
        auto out = std::make_unique<RecordingMidiOut>(echoed, clock);
        out->openFailure = echoFailure;
        return out;
      },
      [this] { return settings; });
  int pending = 0;
  int ticks = 0;
};

// The play commands of a document's tab, on the view's player.
class ViewPlayContext : public view::MidiCommandContext {
 public:
  explicit ViewPlayContext(ViewRig& rig) : rig_(rig) { definition_.EnsureStave(); }
  CBriotabDoc* ActiveDocument() override { return rig_.doc.get(); }
  MidiOutStream* Player() override { return rig_.view.Player(); }
  MidiTrackChooser& TrackChooser() override { return chooser_; }
  const CInstrumentDlg& DefaultInstrument() override { return definition_; }

 private:
  ViewRig& rig_;
  AllTracksChooser chooser_;
  CInstrumentDlg definition_;
};

// Hands the waiting reports of the view's player to the view, as the window's thread does.
void Deliver(ViewRig& rig) {
  MidiOutStream* player = rig.view.Player();
  player->DrainReports([&](uint32_t word) { rig.view.OnPlayerNotify(player, view::PlayerReportOf(word, *player)); });
}

PlayerReport Position(int32_t system, int32_t bar) { return {PlayerReport::Kind::kPosition, system, bar}; }
PlayerReport NoteStep() { return {PlayerReport::Kind::kNoteStep, 0, 0}; }

TEST(ScoreViewPlayback, BarPositionsTurnThePageOnce) {
  ViewRig rig(ViewDocument(1, 8, 4));
  const MidiOutStream* player = rig.view.Player();
  rig.window.scroll = {0, 200};
  ASSERT_TRUE(rig.view.OnPlayerNotify(player, Position(5, 1)));
  EXPECT_EQ(rig.view.State().pageIndex, 1);
  EXPECT_EQ(rig.Section().activeSystem, 5);
  EXPECT_EQ(rig.window.scroll, (Point{0, 0}));
  const auto tops = std::count(rig.window.scrolledTo.begin(), rig.window.scrolledTo.end(), Point{0, 0});
  EXPECT_GE(tops, 1);
  // The cursor stands on the bar line of the bar.
  EXPECT_EQ(rig.Stave().cursorColumn, 8);

  // Further positions on that page move the cursor only.
  rig.window.Forget();
  ASSERT_TRUE(rig.view.OnPlayerNotify(player, Position(6, 2)));
  ASSERT_TRUE(rig.view.OnPlayerNotify(player, Position(7, 0)));
  EXPECT_EQ(rig.view.State().pageIndex, 1);
  EXPECT_TRUE(rig.window.scrolledTo.empty());

  // A report of another player is not the view's.
  MidiOutStream other;
  EXPECT_FALSE(rig.view.OnPlayerNotify(&other, Position(0, 0)));
  EXPECT_EQ(rig.Section().activeSystem, 7);
}

TEST(ScoreViewPlayback, ANoteStepRightAfterABarPositionStays) {
  ViewRig rig(ViewDocument(1, 8, 4));
  const MidiOutStream* player = rig.view.Player();
  rig.view.OnPlayerNotify(player, Position(1, 1));
  const int32_t atBar = rig.Stave().cursorColumn;
  rig.view.OnPlayerNotify(player, NoteStep());
  EXPECT_EQ(rig.Stave().cursorColumn, atBar);
  EXPECT_FALSE(rig.view.State().following);
  rig.view.OnPlayerNotify(player, NoteStep());
  EXPECT_GT(rig.Stave().cursorColumn, atBar);
  const int32_t next = rig.Stave().cursorColumn;
  rig.view.OnPlayerNotify(player, NoteStep());
  EXPECT_GT(rig.Stave().cursorColumn, next);
}

TEST(ScoreViewPlayback, APlayIsFollowedAndASecondF10StopsIt) {
  PlayBench bench;
  ViewRig rig(ViewDocument(1, 8, 4), bench.Services());
  ViewPlayContext context(rig);
  view::CommandTable table;
  view::AddMidiCommands(table, context);

  ASSERT_TRUE(table.Execute({view::kPlaySingleInstrument, {}, {}}));
  ASSERT_TRUE(rig.view.Player()->IsPlaying());
  Deliver(rig);
  EXPECT_TRUE(rig.view.State().playing);
  EXPECT_EQ(rig.view.Caret(), view::CaretKind::kPlayback);
  EXPECT_FALSE(rig.view.State().playbackRect.IsEmpty());
  // While it plays, the pages stay where the music is.
  EXPECT_FALSE(rig.view.Commands().State(view::kPageDown).enabled);
  EXPECT_TRUE(table.State(view::kPlayInstrumentMenu).checked.value_or(false));

  // Half a minute of music: the cursor has moved on, into later systems.
  for (int ms = 0; ms < 30000; ms += 50) {
    bench.clock.AdvanceMs(50);
    rig.view.Player()->Pump();
    Deliver(rig);
  }
  EXPECT_GT(rig.Section().activeSystem, 0);

  ASSERT_TRUE(table.Execute({view::kPlaySingleInstrument, {}, {}}));
  EXPECT_FALSE(rig.view.Player()->IsPlaying());
  Deliver(rig);
  EXPECT_FALSE(rig.view.State().playing);
  EXPECT_NE(rig.view.Caret(), view::CaretKind::kPlayback);
  EXPECT_EQ(rig.view.Commands().State(view::kPageDown).enabled,
            rig.view.State().pageIndex < rig.view.LastPageIndex());
}

TEST(ScoreViewPlayback, PauseAndTempo) {
  PlayBench bench;
  ViewRig rig(ViewDocument(1, 8, 4), bench.Services());
  view::CommandTable& commands = rig.view.Commands();
  EXPECT_FALSE(commands.State(view::kPause).enabled);
  ASSERT_TRUE(rig.view.Player()->Play(rig.Section(), 2));
  Deliver(rig);
  ASSERT_TRUE(commands.Execute({view::kPause, {}, {}}));
  EXPECT_TRUE(rig.view.State().paused);
  EXPECT_TRUE(rig.view.Player()->IsPaused());
  ASSERT_TRUE(commands.Execute({view::kPause, {}, {}}));
  EXPECT_FALSE(rig.view.State().paused);

  struct Case {
    std::optional<long> answer;
    int32_t tempo;
  };
  rig.Section().tempo = 0x3000 | 90;
  // 500 is the fastest; 501 and a cancel leave the tempo; the top bits always stay.
  for (const Case& c : {Case{500, 500}, Case{501, 500}, Case{std::nullopt, 500}, Case{72, 72}}) {
    rig.prompts.QueueNumber(c.answer);
    commands.Execute({view::kTempo, {}, {}});
    EXPECT_EQ(rig.Section().tempo, 0x3000 | c.tempo) << c.answer.value_or(-1);
  }
  EXPECT_EQ(rig.prompts.numberPrompts.front(), "Tempo|Tempo|1|500|90");
  // The frame (its metronome) hears of each new tempo.
  EXPECT_EQ(std::count(rig.panes.log.begin(), rig.panes.log.end(), "tempo 500"), 1);
  EXPECT_EQ(std::count(rig.panes.log.begin(), rig.panes.log.end(), "tempo 72"), 1);
}

// Everything after `from` in the log of the echo, for one chord.
std::string EchoSince(const MidiRecording& echoed, size_t from) {
  MidiRecording tail;
  tail.records.assign(echoed.records.begin() + static_cast<std::ptrdiff_t>(from), echoed.records.end());
  return tail.Log();
}

std::string AllNotesOff() {
  std::string log;
  for (int channel = 0; channel < 16; ++channel) log += FormatText("     0.000  B%X 7B 00\n", channel);
  return log;
}

TEST(ScoreViewPlayback, TheEchoSoundsATypedChordForASecondThroughOneOutputOpenedOnce) {
  struct Case {
    uint8_t family;
    uint8_t channel;
  };
  PlayBench bench;
  // A guitar (family 4) sounds on channel 0 like the others; percussion (10) on the drum channel.
  for (const Case c : {Case{0, 0}, Case{4, 0}, Case{10, 9}}) {
    ViewRig rig(ViewDocument(1, 4, 4), bench.Services());
    CInstrumentDlg& definition = *rig.Section().Definition(0);
    definition.family = c.family;
    definition.midi.patch = 24;
    // The note without a pitch stays silent.
    const auto chord = testing::PageChord(3, {60, 64, 0});
    const size_t from = bench.echoed.records.size();
    rig.view.EchoChord(*chord);
    bench.echo->WaitForOpening();
    EXPECT_EQ(rig.window.timers.at(view::kEchoTimer), 1000);
    const std::string on = c.channel == 0 ? "90" : "99";
    const std::string sounded = "     0.000  C" + std::string(on == "90" ? "0" : "9") + " 18\n     0.000  " + on +
                                " 40 40\n     0.000  " + on + " 3C 40\n";
    EXPECT_EQ(EchoSince(bench.echoed, from), sounded);
    // The timer fires: everything stops; the output stays open for the next chord.
    rig.view.OnTimer(view::kEchoTimer);
    EXPECT_EQ(EchoSince(bench.echoed, from), sounded + AllNotesOff());
    EXPECT_EQ(rig.window.timers.count(view::kEchoTimer), 0u);
    rig.view.OnTimer(view::kEchoTimer);
    EXPECT_EQ(EchoSince(bench.echoed, from), sounded + AllNotesOff());
  }
  // Both views sounded through the one output.
  EXPECT_EQ(bench.echoed.opens, 1);
  EXPECT_EQ(bench.echoed.closes, 0);

  // Echo off: no sound, no timer.
  PlayBench off;
  ViewRig rig(ViewDocument(1, 4, 4), off.Services());
  rig.view.State().echoOnUpdate = false;
  rig.view.EchoChord(*testing::PageChord(3, {60}));
  EXPECT_TRUE(off.echoed.records.empty());
  EXPECT_EQ(rig.window.timers.count(view::kEchoTimer), 0u);
}

TEST(ScoreViewPlayback, AnEchoOutputThatCannotOpenIsToldOnceAndTriedAgainWithOtherSettings) {
  PlayBench bench;
  bench.echoFailure = "The built-in synthesizer found no sound output (tried alsa).\nChoose an ALSA port.";
  ViewRig rig(ViewDocument(1, 4, 4), bench.Services());
  const auto chord = testing::PageChord(3, {60});
  const auto messages = [&] {
    return std::count_if(rig.panes.log.begin(), rig.panes.log.end(),
                         [](const std::string& line) { return line.rfind("status 0 ", 0) == 0; });
  };
  for (int i = 0; i < 5; ++i) {
    rig.view.EchoChord(*chord);
    bench.echo->WaitForOpening();
    rig.view.OnTimer(view::kEchoTimer);
  }
  EXPECT_EQ(bench.echoed.opens, 0);
  EXPECT_TRUE(bench.echoed.records.empty());
  ASSERT_EQ(messages(), 1);
  EXPECT_NE(std::find(rig.panes.log.begin(), rig.panes.log.end(),
                      "status 0 The built-in synthesizer found no sound output (tried alsa). Choose an ALSA port."),
            rig.panes.log.end());
  EXPECT_TRUE(rig.prompts.messages.empty());
  // Other MIDI settings: the output is opened again, and sounds.
  bench.echoFailure.clear();
  bench.settings = "port 1";
  rig.view.EchoChord(*chord);
  bench.echo->WaitForOpening();
  EXPECT_EQ(bench.echoed.opens, 1);
  EXPECT_EQ(bench.echoed.Log(), "     0.000  C0 00\n     0.000  90 3C 40\n");
  EXPECT_EQ(messages(), 1);
}

TEST(ScoreViewPlayback, TypingNeverWaitsForTheEchoOutputToOpen) {
  // An output whose opening waits until the test lets it go: the chord typed meanwhile is
  // entered at once, and sounds once the output is open.
  MidiRecording echoed;
  ManualPlayerClock clock;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  auto echo = std::make_shared<EchoOutput>([&] {
    released.wait();
    return std::make_unique<RecordingMidiOut>(echoed, clock);
  });
  view::ViewServices services;
  services.echo = echo;
  ViewRig rig(ViewDocument(1, 4, 4), std::move(services));
  rig.view.EchoChord(*testing::PageChord(3, {62}));
  EXPECT_TRUE(echoed.records.empty());
  release.set_value();
  echo->WaitForOpening();
  EXPECT_EQ(echoed.Log(), "     0.000  C0 00\n     0.000  90 3E 40\n");
}

TEST(ScoreViewPlayback, MetronomeTicksSoundAndASectionChangeStopsThePlay) {
  PlayBench bench;
  ViewRig rig(ViewDocument(2, 8, 4), bench.Services());
  rig.view.OnPlayerNotify(rig.view.Player(), {PlayerReport::Kind::kTick, 0, 0});
  EXPECT_EQ(bench.ticks, 1);
  ASSERT_TRUE(rig.view.Player()->Play(rig.Section(), 2));
  Deliver(rig);
  ASSERT_EQ(rig.doc->SetActiveSection(1), 1);
  EXPECT_FALSE(rig.view.Player()->IsPlaying());
  EXPECT_FALSE(rig.view.State().playing);
}

}  // namespace
}  // namespace vornel
