// A section as MIDI: its Standard MIDI File byte for byte, the events of a play, and MIDI files
// imported into sections.

#include <gtest/gtest.h>

#include <filesystem>

#include "MidiTestSupport.h"
#include "midi/MidiImport.h"
#include "midi/MidiSection.h"
#include "midi/MidiStreamEvents.h"
#include "model/CInstrumentDlg.h"
#include "model/CSystemArray.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::Smf;
using testing::ToHex;

std::unique_ptr<nChord> Chord(uint16_t rhythm, std::initializer_list<uint8_t> pitches) {
  auto c = std::make_unique<nChord>(0, rhythm);
  uint8_t string = 0;
  for (uint8_t p : pitches) {
    auto n = std::make_unique<nNotes>();
    n->pitch = p;
    n->string = string++;
    c->notes.push_back(std::move(n));
  }
  return c;
}

// "Air" by "Anon" at 90 bpm: a lute plays C and E, a bar line, then G for a half note.
void FillAir(CSystemArray& section) {
  section.Title().text = "Air";
  section.Author().text = "Anon";
  section.tempo = 90;
  CInstrumentDlg& lute = *section.Definition(0);
  lute.nameText.text = "Lute";
  lute.midi.patch = 24;
  nChordArray& voice = section.System(0)->Line(0)->Voice(0);
  voice.push_back(Chord(3, {60}));
  voice.push_back(Chord(3, {64}));
  voice.push_back(std::make_unique<nChord>(1));
  voice.push_back(Chord(2, {67}));
}

TEST(MidiSectionTest, GoldenFileOfASmallSection) {
  CSystemArray section;
  FillAir(section);
  MidiExportOptions options;
  options.metronome = true;
  MidiFile file;
  const std::vector<int> channels = WriteSectionMidi(section, CMIDIExportDlg{}, options, file);
  EXPECT_EQ(channels, std::vector<int>{0});
  EXPECT_EQ(ToHex(file.Bytes()),
            // header: format 1, three tracks, 192 ticks per quarter
            "4D 54 68 64 00 00 00 06 00 01 00 03 00 C0 "
            // title track
            "4D 54 72 6B 00 00 00 24 "
            "00 FF 01 0B 54 69 74 6C 65 20 3D 20 41 69 72 "
            "00 FF 01 0D 41 75 74 68 6F 72 20 3D 20 41 6E 6F 6E "
            "00 FF 2F 00 "
            // the lute: sequence number, 4/4, C major, its name
            "4D 54 72 6B 00 00 00 85 "
            "00 FF 00 02 00 00 "
            "00 FF 58 04 04 02 18 08 "
            "00 FF 59 02 00 00 "
            "00 FF 01 04 4C 75 74 65 "
            // set-up: reset, program 24, volume, pan, expression, reverb, celeste, chorus,
            // attack, brightness, then 99, 98, 6, 96, 97
            "00 B0 79 00 00 C0 18 00 B0 07 64 00 B0 0A 40 00 B0 0B 64 "
            "00 B0 5B 3C 00 B0 5E 00 00 B0 5D 0A 00 B0 49 00 00 B0 4A 00 "
            "00 B0 63 00 00 B0 62 00 00 B0 06 7D 00 B0 60 7A 00 B0 61 78 "
            // 90 bpm: 666,666 microseconds per quarter
            "00 FF 51 03 0A 2C 2A "
            // C on the bar's first tick (71), E on a beat (70), G on the next bar's first tick
            "00 90 3C 47 81 40 80 3C 20 00 90 40 46 81 40 80 40 20 00 90 43 47 83 00 80 43 20 "
            // all notes off, reset controllers
            "00 B0 7B 00 00 B0 79 00 "
            "00 FF 2F 00 "
            // metronome: a click per quarter over the 768 ticks
            "4D 54 72 6B 00 00 00 38 "
            "00 FF 03 09 6D 65 74 72 6F 6E 6F 6D 65 "
            "00 B9 07 78 "
            "00 99 51 50 30 89 51 20 81 10 99 51 50 30 89 51 20 "
            "81 10 99 51 50 30 89 51 20 81 10 99 51 50 30 89 51 20 "
            "00 FF 2F 00");
  // The export leaves no gathered voice behind.
  EXPECT_TRUE(section.Definition(0)->gathered[0].empty());
}

TEST(MidiSectionTest, MutedLinesHaveNoTrackAndChannelsPassTheDrums) {
  CSystemArray section;
  FillAir(section);
  for (int i = 0; i < 10; ++i) {
    auto copy = std::make_unique<CInstrumentDlg>(*section.Definition(0));
    copy->midi.mute = i == 1 ? 1 : 0;
    section.AddInstrument(std::move(copy));
  }
  MidiFile file;
  const std::vector<int> channels = WriteSectionMidi(section, CMIDIExportDlg{}, MidiExportOptions{}, file);
  EXPECT_EQ(channels, (std::vector<int>{0, 1, -1, 2, 3, 4, 5, 6, 7, 8, 10}));
  const std::vector<uint8_t>& b = file.Bytes();
  EXPECT_EQ(b[11], 11);  // ten tracks and the title track
  size_t chunks = 0;
  for (size_t i = 0; i + 4 <= b.size(); ++i) chunks += b[i] == 'M' && b[i + 1] == 'T' && b[i + 2] == 'r' && b[i + 3] == 'k';
  EXPECT_EQ(chunks, 11u);
}

TEST(MidiSectionTest, EchoAndSecondVoiceChannels) {
  CSystemArray section;
  FillAir(section);
  CInstrumentDlg& lute = *section.Definition(0);
  lute.midi.echoOn = 1;
  lute.midi.echoChannel = 12;
  lute.midi.echoPatch = 40;
  lute.midi.echoVolume = 50;
  section.System(0)->Line(0)->Voice(1).push_back(Chord(1, {48}));
  MidiFile file;
  WriteSectionMidi(section, CMIDIExportDlg{}, MidiExportOptions{}, file);
  const std::string hex = ToHex(file.Bytes());
  // Programs on both main channels and on the echo channel; the echo channel's own set-up.
  EXPECT_NE(hex.find("00 C0 18 00 CC 28 00 BC 07 32 00 B0 07 64"), std::string::npos);
  EXPECT_NE(hex.find("00 C1 18 00 CC 28 00 BC 07 32 00 B1 07 64"), std::string::npos);
  EXPECT_NE(hex.find("00 BC 79 00 00 BC 07 32 00 CC 28 00 BC 40 7F 00 BC 5B 64 00 BC 5D 64"), std::string::npos);
  EXPECT_NE(hex.find("00 91 30"), std::string::npos);  // the second voice on channel 1
  EXPECT_NE(hex.find("1E 9C 3C"), std::string::npos);  // the echo of C, 30 ticks after it
}

TEST(MidiSectionTest, FileThatCannotBeWrittenIsReported) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  CSystemArray section;
  FillAir(section);
  EXPECT_FALSE(WriteSectionMidiFile(section, CMIDIExportDlg{}, MidiExportOptions{}, dir.File("no/such/air.mid")));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Cannot open file for writing"});
  EXPECT_TRUE(WriteSectionMidiFile(section, CMIDIExportDlg{}, MidiExportOptions{}, dir.File("air.mid")));
}

TEST(MidiSectionTest, PlayFromTheCursorKeepsTheSettingsBefore) {
  CSystemArray section;
  FillAir(section);
  nChordArray& voice = section.System(0)->Line(0)->Voice(0);
  voice.at(0)->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kTempo, "", 60, 0, 0));
  MidiPlayOptions options;
  options.startTick = 192;
  options.metronome = true;
  const strMidiBuffer records = BuildPlayRecords(section, options);
  ASSERT_GE(records.size(), 3u);
  EXPECT_EQ(records[0].kind, strMidiNote::kController);  // the tempo set at the start
  EXPECT_EQ(records[0].key, strMidiNote::kSubTempo);
  EXPECT_EQ(records[0].time, 0u);
  const auto firstNote = std::find_if(records.begin(), records.end(),
                                      [](const strMidiNote& r) { return r.kind == strMidiNote::kNoteOn && r.channel == 0; });
  ASSERT_NE(firstNote, records.end());
  EXPECT_EQ(firstNote->key, 64);
  EXPECT_EQ(firstNote->time, 0u);
  EXPECT_EQ(firstNote->flag, 1);  // the active line reports its notes
  const std::vector<uint8_t> stream = BuildPlayStream(section, options);
  EXPECT_EQ(stream.size() % kMidiStreamEventBytes, 0u);
  EXPECT_EQ(ToHex({stream.begin(), stream.begin() + 12}), "00 00 00 00 00 00 00 00 40 42 0F 01");  // 1,000,000 us
}

}  // namespace
}  // namespace vornel
