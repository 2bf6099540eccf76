// A section as MIDI: its Standard MIDI File byte for byte, the events of a play, and MIDI files
// imported into sections.

#include <gtest/gtest.h>

#include <filesystem>

#include "MidiTestSupport.h"
#include "midi/MidiImport.h"
#include "midi/MidiSection.h"
#include "midi/MidiStreamEvents.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::Chord;
using testing::FillAir;
using testing::Smf;
using testing::ToHex;

// A golden file of tests/midi/golden: hex text with comment lines starting with '#'. The tool
// test reads the same file with an independent MIDI reader.
std::string GoldenHex(const std::string& name) {
  const std::string text = testing::ReadText(std::string(VORNEL_SOURCE_DIR) + "/tests/midi/golden/" + name);
  std::string hex;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line[0] != '#') hex += (hex.empty() ? "" : " ") + line;
    pos = end + 1;
  }
  return ToHex(testing::HexBytes(hex));
}

TEST(MidiSectionTest, GoldenFileOfASmallSection) {
  CSystemArray section;
  FillAir(section);
  MidiExportOptions options;
  options.metronome = true;
  MidiFile file;
  const std::vector<int> channels = WriteSectionMidi(section, CMIDIExportDlg{}, options, file);
  EXPECT_EQ(channels, std::vector<int>{0});
  EXPECT_EQ(ToHex(file.Bytes()), GoldenHex("air.mid.hex"));
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
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Cannot open file for writing\n" + dir.File("no/such/air.mid") +
                                                       ":\ncannot create a temporary file: No such file or directory"});
  EXPECT_TRUE(WriteSectionMidiFile(section, CMIDIExportDlg{}, MidiExportOptions{}, dir.File("air.mid")));
}

// A file may hold a section without systems: playing it plays nothing, and exporting it gives
// a file of its title track.
TEST(MidiSectionTest, ASectionWithoutSystemsPlaysNothing) {
  CSystemArray section;
  section.DeleteAllSystems();
  MidiPlayOptions play;
  play.mode = MIDIVoiceStream::kModeAll;
  play.metronome = true;
  EXPECT_TRUE(BuildPlayRecords(section, play).empty());
  MidiFile file;
  WriteSectionMidi(section, CMIDIExportDlg(), MidiExportOptions{}, file);
  EXPECT_FALSE(file.Bytes().empty());
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


// The notes of a section's first line, system by system, as "pitch/ticks" per chord.
std::vector<std::string> LineChords(const CSystemArray& section, size_t line = 0) {
  std::vector<std::string> out;
  for (const auto& system : section.systems) {
    for (const auto& e : system->Line(line)->Voice(0)) {
      if (e == nullptr || !e->IsChord()) continue;
      std::string text;
      for (const auto& n : e->notes) text += std::to_string(n->pitch) + ",";
      out.push_back(text + "/" + std::to_string(e->GetDurationTicks()));
    }
  }
  return out;
}

size_t CountNotes(const CSystemArray& section) {
  size_t n = 0;
  for (const auto& system : section.systems) {
    for (const auto& line : system->lines) {
      for (size_t v = 0; v < 2; ++v) {
        for (const auto& e : line->Voice(v)) {
          if (e != nullptr && e->IsChord()) n += e->notes.size();
        }
      }
    }
  }
  return n;
}

std::string WriteFile(const testing::TempDir& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = dir.File(name);
  testing::WriteText(path, std::string(bytes.begin(), bytes.end()));
  return path;
}

TEST(MidiImportTest, TracksBecomeInstrumentLines) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  const std::string path = WriteFile(
      dir, "Minuet.mid",
      Smf(1, 2, 96,
          {"00 FF 51 03 07 A1 20 00 FF 58 04 03 02 18 08 00 FF 59 02 01 01 "
           "82 20 FF 58 04 02 02 18 08 00 FF 2F 00",  // 2/4 from the second bar
           "00 FF 03 04 4C 75 74 65 00 C0 18 "
           "00 90 3C 40 60 80 3C 00 00 90 40 40 60 80 40 00 "  // C, E
           "00 90 43 40 00 90 37 40 81 40 80 43 00 00 80 37 00 "  // G and G below together, a half
           "00 90 48 40 60 80 48 00 "                            // C in the 2/4 bar
           "00 FF 2F 00"}));
  AllTracksChooser chooser;
  CInstrumentDlg defaultDefinition;
  defaultDefinition.EnsureStave();
  const auto section = ImportMidiFile(path, chooser, nullptr, defaultDefinition);
  ASSERT_NE(section, nullptr);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(section->Title().text, "Minuet.mid");
  EXPECT_EQ(section->Comments().text, "MIDI FILE: Minuet.mid");
  EXPECT_EQ(section->numerator, 3);
  EXPECT_EQ(section->denominator, 4);
  EXPECT_EQ(section->tempo & 0xFFF, 120);
  EXPECT_EQ(section->key.alterations, 1u);
  EXPECT_EQ(section->key.bemol, 0);
  EXPECT_EQ(section->key.mode & CKey::kMinorBit, 1);
  EXPECT_EQ(section->key.keyName, 2);  // E minor
  ASSERT_EQ(section->definitions.size(), 1u);
  const CInstrumentDlg& lute = *section->Definition(0);
  EXPECT_EQ(lute.nameText.text, "Lute");
  EXPECT_EQ(lute.midi.patch, 24);
  EXPECT_EQ(lute.midi.name, "25. Acoustic Guitar (nylon)");
  EXPECT_EQ(CountNotes(*section), 5u);
  const std::vector<std::string> chords = LineChords(*section);
  ASSERT_GE(chords.size(), 4u);
  EXPECT_EQ(chords[0], "60,/192");
  EXPECT_EQ(chords[1], "64,/192");
  EXPECT_EQ(chords[2].substr(0, 6), "67,55,");
  // The 2/4 of the file's second bar stands before the chord where it falls.
  bool signature = false;
  for (const auto& system : section->systems) {
    for (const auto& e : system->Line(0)->Voice(0)) {
      for (const auto& m : e->metaEvents) {
        if (m->kind == CMetaEvent::kTimeSignature && m->cx == 2 && m->cy == 4) signature = true;
      }
    }
  }
  EXPECT_TRUE(signature);
}

TEST(MidiImportTest, MergedTracksMakeOneLine) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  const std::string path = WriteFile(dir, "two.mid",
                                     Smf(1, 2, 96,
                                         {"00 90 3C 40 60 80 3C 00 00 FF 2F 00",
                                          "00 C1 05 00 91 43 40 60 81 43 00 00 FF 2F 00"}));
  struct Merging : AllTracksChooser {
    bool Choose(CIMidiDoc& doc, MidiImportOptions& options) override {
      options.mergeTracks = true;
      return AllTracksChooser::Choose(doc, options);
    }
  } merging;
  CInstrumentDlg defaultDefinition;
  const auto section = ImportMidiFile(path, merging, nullptr, defaultDefinition);
  ASSERT_NE(section, nullptr);
  ASSERT_EQ(section->definitions.size(), 1u);
  EXPECT_EQ(LineChords(*section).front(), "67,60,/192");
}

TEST(MidiImportTest, CoursePitchesOfTheFileTuneTheInstrument) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  AllTracksChooser chooser;
  CInstrumentDlg defaultDefinition;
  // Two values ahead of the courses, then G D A F C G: the notes go on these courses.
  auto section = ImportMidiFile(
      WriteFile(dir, "tuned.mid", Smf(0, 1, 96, {"00 FF 10 08 06 06 43 3E 39 35 30 2B 00 90 2B 40 60 80 2B 00 00 FF 2F 00"})),
      chooser, nullptr, defaultDefinition);
  ASSERT_NE(section, nullptr);
  const nTuning& tuning = section->Definition(0)->tabInstrument.tuning;
  EXPECT_EQ(tuning.courses[0].pitch + kCoursePitchOffset, 67);
  EXPECT_EQ(tuning.courses[5].pitch + kCoursePitchOffset, 43);
  EXPECT_EQ(LineChords(*section).front(), "43,/192");
  // A list with a value beyond the keyboard leaves the instrument's own tuning.
  const nTuning before = defaultDefinition.tabInstrument.tuning;
  section = ImportMidiFile(
      WriteFile(dir, "bad.mid", Smf(0, 1, 96, {"00 FF 10 04 06 06 43 FF 00 90 3C 40 60 80 3C 00 00 FF 2F 00"})),
      chooser, nullptr, defaultDefinition);
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(section->Definition(0)->tabInstrument.tuning, before);
}

TEST(MidiImportTest, NothingToImport) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  AllTracksChooser chooser;
  CInstrumentDlg defaultDefinition;
  // No notes at all: said before any question, with the file.
  const std::string empty = WriteFile(dir, "empty.mid", Smf(0, 1, 96, {"00 FF 2F 00"}));
  EXPECT_EQ(ImportMidiFile(empty, chooser, nullptr, defaultDefinition), nullptr);
  // A note too far away to be imported.
  EXPECT_EQ(ImportMidiFile(WriteFile(dir, "far.mid", Smf(0, 1, 1, {"FF FF FF 7F 90 3C 40 00 80 3C 00 00 FF 2F 00"})),
                           chooser, nullptr, defaultDefinition),
            nullptr);
  // The user cancels.
  struct Cancelling : MidiTrackChooser {
    bool Choose(CIMidiDoc&, MidiImportOptions&) override { return false; }
  } cancelling;
  EXPECT_EQ(ImportMidiFile(WriteFile(dir, "one.mid", Smf(0, 1, 96, {"00 90 3C 40 60 80 3C 00 00 FF 2F 00"})),
                           cancelling, nullptr, defaultDefinition),
            nullptr);
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"No data available for import in selected tracks\n" + empty +
                                          ": no track of the file holds a note (1 track read)",
                                      "No data was imported"}));
  EXPECT_EQ(prompts.captions.front(), "Operation unsuccessful");
}

}  // namespace
}  // namespace vornel
