// Timed MIDI events built from voices: velocities from the accents and dynamics, ornaments as
// grace notes, ties, octave doubling, echo, controllers and tempi from meta-events, repeat signs
// and the bar markers of the playback cursor.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/MIDIVoiceStream.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "model/voice/nNotes.h"

namespace vornel {
namespace {

constexpr uint16_t kQuarter = 3;
constexpr uint16_t kEighth = 4;
constexpr uint16_t kTie = 8 << 8;

struct NoteSpec {
  uint8_t pitch = 60;
  uint8_t string = 0;
  uint16_t ornament = 0;
  uint32_t slur = 0;
  uint16_t flags = 0;
};

// Builds a voice chord by chord.
class VoiceBuilder {
 public:
  VoiceBuilder& Chord(uint16_t rhythm, std::vector<NoteSpec> notes, std::vector<CMetaEvent> metas = {},
                      uint16_t status = 0) {
    auto c = std::make_unique<nChord>(status, rhythm);
    for (const NoteSpec& n : notes) {
      auto note = std::make_unique<nNotes>();
      note->pitch = n.pitch;
      note->string = n.string;
      note->interval = static_cast<uint8_t>((n.pitch / 12) * 7 + 0);  // spelled as a C: only steps matter
      note->ornament = n.ornament;
      note->slur = n.slur;
      note->flags = n.flags;
      c->notes.push_back(std::move(note));
    }
    for (const CMetaEvent& m : metas) c->metaEvents.push_back(std::make_unique<CMetaEvent>(m));
    voice.push_back(std::move(c));
    return *this;
  }
  VoiceBuilder& Bar(uint16_t status = 1, std::vector<CMetaEvent> metas = {}) {
    auto c = std::make_unique<nChord>(status, 0);
    for (const CMetaEvent& m : metas) c->metaEvents.push_back(std::make_unique<CMetaEvent>(m));
    voice.push_back(std::move(c));
    return *this;
  }
  nChordArray voice;
};

// "time kind key value duration channel" per record, note-offs left out.
std::vector<std::string> Describe(const strMidiBuffer& b) {
  std::vector<std::string> out;
  for (const auto& r : b) {
    if (r.kind == strMidiNote::kNoteOff) continue;
    out.push_back(std::to_string(r.time) + " " + std::to_string(r.kind) + " " + std::to_string(r.key) + " " +
                  std::to_string(r.velocity) + " " + std::to_string(r.duration) + " " + std::to_string(r.channel));
  }
  return out;
}

struct BuildCase {
  const char* name;
  std::function<void(VoiceBuilder&)> voice;
  std::function<void(MidiVoiceSettings&)> settings;
  std::vector<std::string> expected;
  bool reportPositions = false;
};

class VoiceStreamTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(VoiceStreamTest, Records) {
  const BuildCase& c = GetParam();
  VoiceBuilder v;
  c.voice(v);
  MidiVoiceSettings settings;
  if (c.settings) c.settings(settings);
  MIDIVoiceStream stream;
  stream.Init(settings, 0, 1, 4, 4, 0, c.reportPositions);
  const strMidiBuffer b = stream.BuildInstrument(&v.voice, nullptr, MIDIVoiceStream::kModeInstrument);
  EXPECT_EQ(Describe(b), c.expected);
}

const auto kNoSettings = [](MidiVoiceSettings&) {};

INSTANTIATE_TEST_SUITE_P(
    Cases, VoiceStreamTest,
    ::testing::Values(
        // Velocity 64 at 10 percent: 71 on a bar's first tick, 70 on a beat, 69 between.
        BuildCase{"Accents",
                  [](VoiceBuilder& v) { v.Chord(kEighth, {{}}).Chord(kEighth, {{}}).Chord(kQuarter, {{}}); },
                  kNoSettings,
                  {"0 144 60 71 96 0", "96 144 60 69 96 0", "192 144 60 70 192 0"}},
        // The equalizer softens low keys: t = ln(36/2)/ln 30 = 0.85, base = 40 * 0.72 + 24 = 52.9,
        // accented on the bar's first tick: 52.9 + 74.1 / 8.
        BuildCase{"Equalizer",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.pitch = 36}}); },
                  [](MidiVoiceSettings& s) { s.equalizer = 40; },
                  {"0 144 36 62 192 0"}},
        BuildCase{"VelocityController",
                  [](VoiceBuilder& v) {
                    v.Chord(kQuarter, {{}}, {CMetaEvent(CMetaEvent::kMidiController, "", PackMidiController(1, 100), 0, 0)})
                        .Chord(kQuarter, {{}}, {CMetaEvent(CMetaEvent::kMidiController, "", PackMidiController(1, 500), 0, 0)});
                  },
                  kNoSettings,
                  {"0 144 60 103 192 0", "192 144 60 127 192 0"}},  // clamped to 127
        // The dynamics' level is the low half of cy (the high half holds the marking).
        BuildCase{"MetaEventsInOrder",
                  [](VoiceBuilder& v) {
                    v.Chord(kQuarter, {},
                            {CMetaEvent(CMetaEvent::kMidiController, "", PackMidiController(0, 90), 0, 0),
                             CMetaEvent(CMetaEvent::kLyrics, "la", 0, 0, 0), CMetaEvent(CMetaEvent::kDynamics, "", 5, 0, (3 << 16) | 80),
                             CMetaEvent(15, "rit.", 0, 0, 0), CMetaEvent(CMetaEvent::kTempo, "", 0x1000 | 300, 0, 0),
                             CMetaEvent(CMetaEvent::kMidiController, "", PackMidiController(9, -5), 0, 0),
                             CMetaEvent(CMetaEvent::kMidiController, "", PackMidiController(11, 7), 0, 0)});
                  },
                  kNoSettings,
                  {"0 4 14 127 300 0", "0 15 0 0 0 0", "0 34 0 80 0 0", "0 0 0 0 0 0", "0 4 1 90 0 0", "0 4 10 0 0 0",
                   "0 4 11 0 0 0"}},
        BuildCase{"UpperNeighbour",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.ornament = 1}}); },
                  kNoSettings,
                  {"0 144 62 50 64 0", "64 144 60 71 128 0"}},
        BuildCase{"LowerNeighbourByBit6",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.ornament = 0x41}}); },
                  kNoSettings,
                  {"0 144 59 50 64 0", "64 144 60 71 128 0"}},
        BuildCase{"TrillFromTheMainNote",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.ornament = 4}}); },
                  kNoSettings,
                  {"0 144 60 50 32 0", "32 144 62 50 32 0", "64 144 60 50 32 0", "96 144 62 50 32 0",
                   "128 144 60 71 64 0"}},
        // The note's grace-note event (its pitch in the value) gives the step in its flags:
        // bits 28-31 = sign and 2, two steps down.
        BuildCase{"StepFromGraceNoteEvent",
                  [](VoiceBuilder& v) {
                    v.Chord(kQuarter, {{.ornament = 1}},
                            {CMetaEvent(CMetaEvent::kGraceNote, "", 60u << 16, 1, static_cast<int32_t>(0xA0000000u))});
                  },
                  kNoSettings,
                  {"0 144 57 50 64 0", "64 144 60 71 128 0"}},
        // Its key rotations spell the neighbour: one step down, two flats more gives B flat. The
        // value's low bytes (course and interval) play no part.
        BuildCase{"RotationsFromGraceNoteEvent",
                  [](VoiceBuilder& v) {
                    v.Chord(kQuarter, {{.ornament = 1}},
                            {CMetaEvent(CMetaEvent::kGraceNote, "", 60u << 16 | 0x0305, 1,
                                        static_cast<int32_t>(0x9A000000u))});
                  },
                  kNoSettings,
                  {"0 144 58 50 64 0", "64 144 60 71 128 0"}},
        // Before the beat; never before the start of the music.
        BuildCase{"GraceBeforeTheBeat",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.ornament = 5}}).Chord(kQuarter, {{.ornament = 5}}); },
                  kNoSettings,
                  {"0 144 60 71 192 0", "160 144 62 50 32 0", "192 144 60 70 192 0"}},
        BuildCase{"ChromaticRun",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.ornament = 9}}); },
                  kNoSettings,
                  {"0 144 62 50 48 0", "48 144 61 50 48 0", "96 144 60 71 96 0"}},
        BuildCase{"OrnamentsNotPlayed",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.ornament = 4}}); },
                  [](MidiVoiceSettings& s) { s.ornamentsPlayed = false; },
                  {"0 144 60 71 192 0"}},
        BuildCase{"TieLengthensTheEarlierNote",
                  [](VoiceBuilder& v) {
                    v.Chord(kQuarter, {{.pitch = 60}, {.pitch = 64}}).Chord(kQuarter, {{.pitch = 60, .slur = kTie}, {.pitch = 67}});
                  },
                  kNoSettings,
                  {"0 144 60 71 384 0", "0 144 64 71 192 0", "192 144 67 70 192 0"}},
        BuildCase{"TieWithNothingBeforePlays",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.pitch = 60, .slur = kTie}}); },
                  kNoSettings,
                  {"0 144 60 71 192 0"}},
        BuildCase{"Bend",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.flags = 1}}).Chord(kQuarter, {{.flags = 8 | 2}}); },
                  kNoSettings,
                  {"0 144 60 71 384 0", "192 144 60 70 1 0"}},  // a shortening bend keeps a tick
        BuildCase{"OctaveDoublingOfBassCourses",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.pitch = 64, .string = 0}, {.pitch = 43, .string = 6}}); },
                  [](MidiVoiceSettings& s) {
                    s.octaveOn = true;
                    s.octaveString = 6;
                    s.octaveDelay = 10;
                  },
                  {"0 144 64 71 192 0", "0 144 43 71 192 0", "10 144 55 40 96 0"}},
        BuildCase{"EchoBelowOnItsChannel",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{}}); },
                  [](MidiVoiceSettings& s) {
                    s.echoOn = true;
                    s.echoOctave = -1;  // kept signed: an octave down
                    s.echoChannel = 8;
                  },
                  {"0 144 60 71 192 0", "30 144 48 71 162 8"}},
        BuildCase{"KeysOffTheKeyboardAreDropped",
                  [](VoiceBuilder& v) { v.Chord(kQuarter, {{.pitch = 60}, {.pitch = 100}}); },
                  [](MidiVoiceSettings& s) { s.transpose = 30; },
                  {"0 144 90 71 192 0"}},
        BuildCase{"DeadNoteAndTimelessChord",
                  [](VoiceBuilder& v) {
                    v.Chord(kQuarter, {{}}, {}, 13 << 8).Chord(kQuarter, {{.pitch = 70}}, {}, 15 << 8).Chord(kQuarter, {{}});
                  },
                  kNoSettings,
                  {"0 144 44 40 30 0", "0 144 60 71 192 0", "192 144 60 70 192 0"}},
        BuildCase{"PauseBarMovesWhatFollows",
                  [](VoiceBuilder& v) {
                    v.Chord(kQuarter, {{}}).Bar(0x24D, {CMetaEvent(CMetaEvent::kBarPause, "", 1536, 2, 0)}).Chord(kQuarter, {{}});
                  },
                  kNoSettings,
                  {"0 144 60 71 192 0", "1728 144 60 71 192 0"}},
        BuildCase{"RepeatSignsAndBarMarkers",
                  [](VoiceBuilder& v) {
                    v.Chord(kQuarter, {{}}).Bar(0x80 | (1 << 4) | 1).Chord(kQuarter, {{}}).Bar(0x41).Chord(kQuarter, {{}});
                  },
                  kNoSettings,
                  {"0 144 60 71 192 0", "192 37 17 1 0 0", "192 144 60 71 192 0", "192 65 0 0 0 0",
                   "384 144 60 71 192 0", "384 65 1 0 0 0"},
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VoiceStreamTest, TwoVoicesOnTwoChannelsOrOneWhenMerged) {
  VoiceBuilder upper;
  upper.Chord(kQuarter, {{.pitch = 67}});
  VoiceBuilder lower;
  lower.Chord(kQuarter, {{.pitch = 48}});
  for (const bool merge : {false, true}) {
    MidiVoiceSettings s;
    s.mergeVoices = merge;
    MIDIVoiceStream stream;
    stream.Init(s, 2, 3, 4, 4, 0, false);
    const strMidiBuffer b = stream.BuildInstrument(&upper.voice, &lower.voice, MIDIVoiceStream::kModeInstrument);
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[0].channel, 2);
    EXPECT_EQ(b[1].channel, merge ? 2 : 3);
  }
}

TEST(VoiceStreamTest, ModesAndMuting) {
  VoiceBuilder upper;
  upper.Chord(kQuarter, {{.pitch = 67}});
  VoiceBuilder lower;
  lower.Chord(kQuarter, {{.pitch = 48}});
  MidiVoiceSettings s;
  s.currentVoice = 1;
  s.mute = true;
  MIDIVoiceStream stream;
  stream.Init(s, 0, 1, 4, 4, 0, true);
  // The current voice alone, reported; a muted line still plays when asked for alone.
  strMidiBuffer b = stream.BuildInstrument(&upper.voice, &lower.voice, MIDIVoiceStream::kModeVoice);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].key, 48);
  EXPECT_EQ(b[0].flag, 1);
  EXPECT_TRUE(stream.BuildInstrument(&upper.voice, &lower.voice, MIDIVoiceStream::kModeAll).empty());
  // Percussion plays on channel 9.
  s.mute = false;
  s.percussion = true;
  stream.Init(s, 0, 1, 4, 4, 0, false);
  b = stream.BuildInstrument(&upper.voice, &lower.voice, MIDIVoiceStream::kModeAll);
  for (const auto& r : b) EXPECT_EQ(r.channel, 9);
}

TEST(VoiceStreamTest, EmptyVoiceAddsNothing) {
  nChordArray empty;
  MIDIVoiceStream stream;
  stream.Init(MidiVoiceSettings{}, 0, 1, 0, 0, 0, false);  // a 0/0 signature is timed as 4/4
  EXPECT_TRUE(stream.BuildInstrument(&empty, &empty, MIDIVoiceStream::kModeAll).empty());
}

}  // namespace
}  // namespace vornel
