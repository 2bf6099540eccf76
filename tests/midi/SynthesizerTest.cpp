// The embedded synthesizer without a sound card: a driver list that finds no output and a
// SoundFont that is missing give their messages and leave the section as it was; the offline
// renderer writes a WAVE file whose note onsets lie where the events are due.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "MidiTestSupport.h"
#include "midi/MidiStreamEvents.h"
#include "midi/play/AlsaPortOut.h"
#include "midi/play/FluidSynthOut.h"
#include "midi/play/OfflineRender.h"
#include "midi/play/RecordingMidiOut.h"
#include "midi/wave/WaveFile.h"
#include "platform/io/FileIO.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::FillAir;

std::string SectionXml(const CSystemArray& section) {
  tinyxml2::XMLDocument doc;
  doc.InsertEndChild(section.WriteXml(doc));
  tinyxml2::XMLPrinter printer;
  doc.Print(&printer);
  return printer.CStr();
}

class SynthesizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindSoundFont(MidiOutputSettings{}).empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  }
  testing::ScriptedPrompts prompts;
};

TEST_F(SynthesizerTest, NoSoundOutputSaysSoAndTheNextPlayWorks) {
  MidiOutputSettings settings;
  settings.audioDrivers = {"no-such-driver", "none-either"};
  CSystemArray section;
  FillAir(section);
  BuildPlayRecords(section, {});  // the tick positions a loaded section has
  const std::string before = SectionXml(section);
  {
    MidiOutStream player(nullptr, [&] { return CreateMidiOut(settings); });
    EXPECT_FALSE(player.Play(section, MIDIVoiceStream::kModeAll));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.Stop());
  }
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.captions[0], "MIDI ERROR");
  EXPECT_NE(prompts.messages[0].find("found no sound output (tried no-such-driver, none-either)"), std::string::npos);
  EXPECT_NE(prompts.messages[0].find("\"MIDI output\" in Preferences"), std::string::npos);
  EXPECT_EQ(SectionXml(section), before);

  // The next command works: the same section plays on another output.
  MidiRecording recording;
  ManualPlayerClock clock;
  MidiOutStream player(nullptr, [&] { return std::make_unique<RecordingMidiOut>(recording, clock); }, &clock);
  EXPECT_TRUE(player.Play(section, MIDIVoiceStream::kModeAll));
  RunManualPlay(player, clock);
  EXPECT_FALSE(recording.records.empty());
}

TEST_F(SynthesizerTest, AMissingSoundFontNamesTheSetting) {
  MidiOutputSettings settings;
  settings.soundFont = "/nonexistent/piano.sf2";
  FluidSynthOut out(settings);
  EXPECT_FALSE(out.Open());
  EXPECT_NE(out.Error().find("\"/nonexistent/piano.sf2\""), std::string::npos);
  EXPECT_NE(out.Error().find("\"SoundFont\" in Preferences"), std::string::npos);

  // No SoundFont in any data folder.
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  const std::string saved = dirs != nullptr ? dirs : "";
  setenv("XDG_DATA_DIRS", "/nonexistent", 1);
  setenv("XDG_DATA_HOME", "/nonexistent", 1);
  FluidSynthOut none{MidiOutputSettings{}};
  EXPECT_FALSE(none.Open());
  EXPECT_NE(none.Error().find("timgm6mb-soundfont"), std::string::npos);
  if (dirs != nullptr) setenv("XDG_DATA_DIRS", saved.c_str(), 1); else unsetenv("XDG_DATA_DIRS");
  unsetenv("XDG_DATA_HOME");
}

// Mono envelope of a 16-bit stereo file: the larger channel of each frame.
std::vector<int> Envelope(const WaveData& wave) {
  std::vector<int> env(wave.samples.size() / 4);
  for (size_t i = 0; i < env.size(); ++i) {
    const auto at = [&](size_t k) { return std::abs(static_cast<int16_t>(wave.samples[k] | wave.samples[k + 1] << 8)); };
    env[i] = std::max(at(4 * i), at(4 * i + 2));
  }
  return env;
}

TEST_F(SynthesizerTest, RenderedWaveHasItsOnsetsWhereTheEventsAreDue) {
  // Wood blocks on the drum channel, 250 to 520 ms apart at 120 bpm (192 ticks = 500 ms).
  const std::vector<uint32_t> ticks = {0, 96, 216, 366, 566, 662, 862};
  strMidiBuffer b;
  for (uint32_t t : ticks) b.AddNote(t, 76, 110, 24, 9);
  b.AddNoteOffs();
  const MidiPlayProgram program{{}, WriteStreamEvents(b)};
  testing::TempDir dir;
  WaveRenderOptions options;
  options.timing = {120, 192};
  options.tailSeconds = 0.5;
  ASSERT_TRUE(RenderProgramToWave(program, dir.File("blocks.wav"), options));
  EXPECT_TRUE(prompts.messages.empty());

  const auto bytes = ReadFileBytes(dir.File("blocks.wav"));
  ASSERT_TRUE(bytes);
  const auto wave = ReadWave(*bytes);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->format, (WaveFormat{WaveFormat::kPcm, 2, 44100, 16}));
  const std::vector<int> env = Envelope(*wave);
  const int peak = *std::max_element(env.begin(), env.end());
  EXPECT_GT(peak, 3000);  // not silent
  EXPECT_GE(env.size(), static_cast<size_t>(44100 * 2.6));  // the music and the tail

  // Each onset: the first sample above a tenth of the loudest one near its event.
  for (uint32_t t : ticks) {
    const double due = t * 500.0 / 192.0;
    const size_t from = static_cast<size_t>(std::max(0.0, due - 30) * 44.1);
    const size_t to = std::min(env.size(), static_cast<size_t>((due + 100) * 44.1));
    const int local = *std::max_element(env.begin() + static_cast<long>(from), env.begin() + static_cast<long>(to));
    ASSERT_GT(local, peak / 4) << "no note near " << due << " ms";
    size_t onset = from;
    while (onset < to && env[onset] <= local / 10) ++onset;
    EXPECT_NEAR(onset / 44.1, due, 5.0) << "tick " << t;
  }
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

TEST(AlsaPortTest, APortThatIsGoneIsOutOfRange) {
  AlsaPortOut out("No such port 199:0");
  EXPECT_FALSE(out.Open());
  EXPECT_TRUE(out.Error().starts_with(AlsaPortOut::kPortGone)) << out.Error();
  EXPECT_FALSE(out.IsOpen());
  const uint8_t note[3] = {0x90, 60, 64};
  EXPECT_FALSE(out.Send(note, 3));
  // The outputs list the synthesizer first, whether or not the sequencer is there.
  EXPECT_EQ(ListMidiOutputs().front(), kSynthesizerName);
}

}  // namespace
}  // namespace vornel
