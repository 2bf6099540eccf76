// The MIDI commands through a command table with scripted prompts: the MIDI file's proposed
// name and extension, the import into a new active section, and the play commands toggling a
// player on the recording output.

#include "view/commands/MidiCommands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/CBriotabDoc.h"
#include "midi/MidiImport.h"
#include "midi/play/MidiOutStream.h"
#include "midi/play/OfflineRender.h"
#include "midi/play/RecordingMidiOut.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nNotes.h"
#include "support/Bytes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"

namespace vornel::view {
namespace {

class TestContext : public MidiCommandContext {
 public:
  TestContext() : player(nullptr, [this] { return std::make_unique<RecordingMidiOut>(recording, clock); }, &clock) {
    defaultDefinition.EnsureStave();
  }
  CBriotabDoc* ActiveDocument() override { return document; }
  MidiOutStream* Player() override { return &player; }
  MidiTrackChooser& TrackChooser() override { return chooser; }
  const CInstrumentDlg& DefaultInstrument() override { return defaultDefinition; }
  bool MetronomeOn() override { return metronome; }
  void PostFrameCommand(int id) override { frameCommands.push_back(id); }
  void AddToPlayList(const std::string& path) override { playList.push_back(path); }

  CBriotabDoc* document = nullptr;
  ManualPlayerClock clock;
  MidiRecording recording;
  MidiOutStream player;
  AllTracksChooser chooser;
  CInstrumentDlg defaultDefinition;
  bool metronome = false;
  std::vector<int> frameCommands;
  std::vector<std::string> playList;
};

// A document of three sections, the third active, each with a note to play.
std::unique_ptr<CBriotabDoc> Suite(const std::string& path) {
  auto doc = std::make_unique<CBriotabDoc>();
  for (int i = 0; i < 3; ++i) {
    CSystemArray* section = doc->AppendNewSection();
    auto chord = std::make_unique<nChord>(0, 3);
    auto note = std::make_unique<nNotes>();
    note->pitch = static_cast<uint8_t>(60 + i);
    chord->notes.push_back(std::move(note));
    section->System(0)->Line(0)->Voice(0).push_back(std::move(chord));
  }
  doc->SetPathName(path);
  return doc;
}

class MidiCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc = Suite(dir.File("Suite.btz"));
    context.document = doc.get();
    AddMidiCommands(table, context);
  }
  testing::ScriptedPrompts prompts;
  testing::RecordingLauncher launcher;
  testing::TempDir dir;
  std::unique_ptr<CBriotabDoc> doc;
  TestContext context;
  CommandTable table;
};

TEST(MidiFileNamesTest, ProposedNamesAndTheExactExtensionRule) {
  EXPECT_EQ(ProposedMidiFileName("Suite.btz", 2), "Suite_2.mid");
  EXPECT_EQ(ProposedMidiFileName("\"Bach's\" Lute?.btxml", 0), "Bachs Lute_0.mid");
  EXPECT_EQ(ProposedMidiFileName("old.btb", 11), "old_11.mid");
  EXPECT_EQ(WithMidiExtension("out.MID"), "out.MID.mid");
  EXPECT_EQ(WithMidiExtension("out.mid"), "out.mid");
  EXPECT_EQ(WithMidiExtension("mid"), "mid.mid");
  EXPECT_EQ(MidiCommandText(kPlayAllInstruments), "Play all instruments\tCtrl+F10");
  EXPECT_EQ(MidiCommandText(1), "");
}

TEST_F(MidiCommandsTest, CreateMidiFileProposesTheNameAndOpensTheFile) {
  ASSERT_EQ(doc->sections.activeSection, 2);
  prompts.QueueFile(std::nullopt);  // cancelled: nothing written
  EXPECT_TRUE(table.Execute({kCreateMidiFile, {}, {}}));
  EXPECT_EQ(prompts.filePrompts.back(), "Select a MIDI file name|*.mid|Suite_2.mid|" + dir.path());
  EXPECT_TRUE(launcher.opened.empty());

  prompts.QueueFile(dir.File("out.MID"));
  EXPECT_TRUE(table.Execute({kCreateMidiFile, {}, {}}));
  EXPECT_EQ(launcher.opened, std::vector<std::string>{dir.File("out.MID.mid")});
  ASSERT_TRUE(std::filesystem::exists(dir.File("out.MID.mid")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.MID")));
  EXPECT_EQ(testing::ReadText(dir.File("out.MID.mid")).substr(0, 4), "MThd");
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(MidiCommandsTest, ImportAddsOneActiveSection) {
  const std::string file = std::string(VORNEL_CORPUS_DIR) + "/midi/test-c-major-scale.mid";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no MIDI corpus";
  prompts.QueueFile(std::nullopt);
  EXPECT_TRUE(table.Execute({kImportMidiFile, {}, {}}));
  EXPECT_EQ(doc->sections.size(), 3u);

  prompts.QueueFile(file);
  EXPECT_TRUE(table.Execute({kImportMidiFile, {}, {}}));
  ASSERT_EQ(doc->sections.size(), 4u);
  EXPECT_EQ(doc->sections.activeSection, 3);
  EXPECT_TRUE(doc->IsModified());
  CSystemArray& section = *doc->GetActiveSection();
  EXPECT_EQ(section.Title().text, "test-c-major-scale.mid");
  // The initial signature opens the line, then the eight notes of the scale.
  const nChordArray& voice = section.System(0)->Line(0)->Voice(0);
  ASSERT_FALSE(voice.empty());
  EXPECT_NE(voice.at(0)->metaEvents.Find(CMetaEvent::kTimeSignature), nullptr);
  size_t notes = 0;
  for (size_t s = 0; s < section.systems.size(); ++s) {
    for (const auto& e : section.System(s)->Line(0)->Voice(0)) notes += e != nullptr && e->IsChord() ? e->notes.size() : 0;
  }
  EXPECT_EQ(notes, 8u);
  EXPECT_EQ(context.frameCommands, std::vector<int>{kAfterMidiImport});
  EXPECT_TRUE(prompts.messages.empty());

  // A file with nothing to import adds no section.
  testing::WriteText(dir.File("empty.mid"), "not a MIDI file");
  prompts.QueueFile(dir.File("empty.mid"));
  EXPECT_TRUE(table.Execute({kImportMidiFile, {}, {}}));
  EXPECT_EQ(doc->sections.size(), 4u);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Sorry: I cannot read this file\n" + dir.File("empty.mid") +
                                                       ", at byte 0: it does not begin with a MIDI header (\"MThd\")"});
}

TEST_F(MidiCommandsTest, ExportAllSectionsWritesOneFilePerSectionBesideTheDocument) {
  doc->SetModifiedFlag(false);
  EXPECT_TRUE(table.Execute({kExportAllSectionsMidi, {}, {}}));
  ASSERT_EQ(context.playList.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const std::string path = dir.File("Suite_" + std::to_string(i) + ".mid");
    EXPECT_EQ(context.playList[i], path);
    EXPECT_EQ(doc->sections.at(i)->midiFilePath, path);
    EXPECT_EQ(testing::ReadText(path).substr(0, 4), "MThd");
  }
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(prompts.messages.empty());

  // A document never saved has no folder to write in.
  doc->SetPathName("");
  context.playList.clear();
  EXPECT_TRUE(table.Execute({kExportAllSectionsMidi, {}, {}}));
  EXPECT_TRUE(context.playList.empty());
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Set Current Directory failed (2)\n"});
}

TEST_F(MidiCommandsTest, FolderImportKeepsTheCapShowsProgressAndStopsOnCancel) {
  const std::string file = std::string(VORNEL_CORPUS_DIR) + "/midi/test-c-major-scale.mid";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no MIDI corpus";
  std::filesystem::create_directories(dir.File("none"));
  testing::WriteText(dir.File("none/notes.txt"), "not music");
  prompts.QueueFolder(dir.File("none"));
  EXPECT_TRUE(table.Execute({kImportMidiFolder, {}, {}}));
  EXPECT_EQ(doc->sections.size(), 3u);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"No files found to import"});

  // Eighteen files, one of them with an upper-case ending: the first sixteen in name order.
  std::filesystem::create_directories(dir.File("tunes"));
  for (int i = 0; i < 17; ++i) {
    const std::string name = std::string(i < 10 ? "f0" : "f") + std::to_string(i) + ".mid";
    std::filesystem::copy_file(file, dir.File("tunes/" + name));
  }
  std::filesystem::copy_file(file, dir.File("tunes/g.MID"));
  prompts.messages.clear();
  prompts.QueueFolder(dir.File("tunes"));
  EXPECT_TRUE(table.Execute({kImportMidiFolder, {}, {}}));
  ASSERT_EQ(doc->sections.size(), 3u + kMaxMidiFolderFiles);
  EXPECT_EQ(doc->sections.at(3)->Title().text, "f00.mid");
  EXPECT_EQ(doc->sections.at(18)->Title().text, "f15.mid");
  EXPECT_EQ(doc->sections.activeSection, 18);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0],
            "2 of the 18 MIDI files of the folder were not imported: a folder import takes the first 16 files.");
  // The run shows its progress file by file.
  ASSERT_EQ(prompts.progressSteps.size(), 1u + kMaxMidiFolderFiles);
  EXPECT_EQ(prompts.progressSteps.front(), "Import MIDI Folder");
  EXPECT_EQ(prompts.progressSteps[1], "1|Processing file 1 - f00.mid");
  EXPECT_EQ(prompts.progressSteps.back(), "16|Processing file 16 - f15.mid");

  // Cancel before the third file: the two imported stay, nothing more is said.
  prompts.messages.clear();
  prompts.progressSteps.clear();
  prompts.cancelProgressAtStep = 3;
  prompts.QueueFolder(dir.File("tunes"));
  EXPECT_TRUE(table.Execute({kImportMidiFolder, {}, {}}));
  EXPECT_EQ(doc->sections.size(), 3u + kMaxMidiFolderFiles + 2u);
  EXPECT_EQ(doc->sections.at(19)->Title().text, "f00.mid");
  EXPECT_EQ(prompts.progressSteps.size(), 4u);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{});
}

TEST_F(MidiCommandsTest, ImportedLinesCanJoinTheActiveSectionAndBeUndone) {
  const std::string file = std::string(VORNEL_CORPUS_DIR) + "/midi/test-c-major-scale.mid";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no MIDI corpus";
  struct JoiningChooser : AllTracksChooser {
    bool Choose(CIMidiDoc& doc, MidiImportOptions& options) override {
      options.newSection = false;
      return AllTracksChooser::Choose(doc, options);
    }
  } joining;
  struct JoiningContext : TestContext {
    MidiTrackChooser* chooserInUse = nullptr;
    MidiTrackChooser& TrackChooser() override { return *chooserInUse; }
  } joinContext;
  joinContext.chooserInUse = &joining;
  joinContext.document = doc.get();
  CommandTable joinTable;
  AddMidiCommands(joinTable, joinContext);

  prompts.QueueFile(file);
  EXPECT_TRUE(joinTable.Execute({kImportMidiFile, {}, {}}));
  EXPECT_EQ(doc->sections.size(), 3u);
  ASSERT_EQ(doc->GetActiveSection()->definitions.size(), 2u);
  const nChordArray& added = doc->GetActiveSection()->System(0)->Line(1)->Voice(0);
  ASSERT_FALSE(added.empty());
  EXPECT_NE(added.at(0)->metaEvents.Find(CMetaEvent::kTimeSignature), nullptr);
  // The line that was there keeps its music without a second signature.
  EXPECT_EQ(doc->GetActiveSection()->System(0)->Line(0)->Voice(0).at(0)->metaEvents.Find(CMetaEvent::kTimeSignature),
            nullptr);
  ASSERT_TRUE(doc->CanUndo());
  doc->OnEditUndo();
  EXPECT_EQ(doc->GetActiveSection()->definitions.size(), 1u);
}

TEST_F(MidiCommandsTest, PlayCommandsToggleThePlayer) {
  EXPECT_FALSE(table.State(kPlayTuttiMenu).checked.value_or(true));
  EXPECT_TRUE(table.Execute({kPlayAllInstruments, {}, {}}));
  EXPECT_TRUE(context.player.IsPlaying());
  EXPECT_TRUE(table.State(kPlayTuttiMenu).checked.value_or(false));
  EXPECT_FALSE(table.State(kPlayInstrumentMenu).checked.value_or(true));
  context.player.Pump();
  // The active section's note: the third section holds 62.
  bool heard = false;
  for (const MidiRecord& r : context.recording.records) heard = heard || (r.bytes[0] == 0x90 && r.bytes[1] == 62);
  EXPECT_TRUE(heard);

  // A controller command while playing, with its value, on the line's channel.
  EXPECT_TRUE(table.Execute({33965, 90, {}}));
  EXPECT_EQ(context.recording.records.back().bytes, (std::array<uint8_t, 3>{0xB0, 7, 90}));

  EXPECT_TRUE(table.Execute({kPlaySingleInstrument, {}, {}}));  // a second play command stops
  EXPECT_FALSE(context.player.IsPlaying());
  EXPECT_FALSE(table.State(33965).enabled);
  EXPECT_TRUE(table.Execute({kPlaySingleInstrument, {}, {}}));
  EXPECT_TRUE(table.State(kPlayInstrumentMenu).checked.value_or(false));
  context.player.Stop();

  context.document = nullptr;
  EXPECT_FALSE(table.State(kPlaySingleVoice).enabled);
  EXPECT_FALSE(table.State(kCreateMidiFile).enabled);
}

TEST_F(MidiCommandsTest, NoSoundDeviceLeavesTheDocumentAndTheNextCommandWorks) {
  MidiOutputSettings settings;
  settings.audioDrivers = {"no-such-driver"};
  MidiOutStream synth(nullptr, [&] { return CreateMidiOut(settings); });
  struct SynthContext : TestContext {
    MidiOutStream* live = nullptr;
    MidiOutStream* Player() override { return live; }
  } failing;
  failing.live = &synth;
  failing.document = doc.get();
  CommandTable other;
  AddMidiCommands(other, failing);
  doc->SetModifiedFlag(false);
  EXPECT_TRUE(other.Execute({kPlayAllInstruments, {}, {}}));
  EXPECT_FALSE(synth.IsPlaying());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.captions[0], "MIDI ERROR");
  EXPECT_FALSE(doc->IsModified());

  prompts.QueueFile(dir.File("next.mid"));
  EXPECT_TRUE(other.Execute({kCreateMidiFile, {}, {}}));
  EXPECT_TRUE(std::filesystem::exists(dir.File("next.mid")));
}

}  // namespace
}  // namespace vornel::view

namespace vornel::view {
namespace {

TEST(SectionMidiFilesTest, NamesCutAtAWordAndLoseUnsafeCharacters) {
  const std::string fortyEight = "Fantasia on a theme of the old masters in G min";  // 47 characters
  ASSERT_EQ(fortyEight.size(), 47u);
  struct Row {
    std::string label;
    std::string name;
  };
  const std::vector<Row> rows = {
      {"Pavan", "Pavan_3"},
      {fortyEight + "o", fortyEight + "o_3"},                 // 48: kept whole
      {fortyEight + "or extra", "Fantasia on a theme of the old masters in G_3"},  // cut to 48, then at its last space
      {std::string(60, 'x'), std::string(48, 'x') + "_3"},  // no space: the 48 stay
      {"A/B?\r\nC \"D's\" v.2", "A B   C Ds v2_3"},
  };
  for (const Row& r : rows) EXPECT_EQ(SectionMidiFileName(r.label, 3), r.name) << r.label;
}

// Every section is written into the folder given; the active section and the process's
// folder stay as they were; a folder that cannot be written is said once per section.
TEST_F(MidiCommandsTest, SectionMidiFilesWriteEverySectionWithoutSideEffects) {
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::vector<std::string> names;
  EXPECT_EQ(WriteSectionMidiFiles(*doc, dir.path(), "pre_", names), 3);
  ASSERT_EQ(names.size(), 3u);
  for (const std::string& name : names) {
    EXPECT_EQ(name.rfind("pre_", 0), 0u) << name;
    EXPECT_EQ(testing::ReadText(dir.File(name)).substr(0, 4), "MThd") << name;
  }
  EXPECT_EQ(doc->sections.at(1)->midiFilePath, names[1]);
  EXPECT_EQ(doc->sections.activeSection, 2);
  EXPECT_EQ(std::filesystem::current_path(), cwd);
  EXPECT_TRUE(prompts.messages.empty());

  names.clear();
  EXPECT_EQ(WriteSectionMidiFiles(*doc, dir.File("missing/folder"), "", names), 3);
  EXPECT_EQ(prompts.messages.size(), 3u);
}

// "MIDI to WAV": without a player the message names the setting; with one the section goes
// to a file of a temporary folder and the player starts there on it.
TEST_F(MidiCommandsTest, MidiToWaveWritesIntoATemporaryFolder) {
  EXPECT_TRUE(table.Execute({kMidiToWave, {}, {}}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].find("Preferences"), std::string::npos);
  EXPECT_TRUE(launcher.started.empty());

  struct WithPlayer : TestContext {
    std::string MidiToWaveCommandLine() override { return "/bin/true -Ow -o {out} {in}"; }
  } withPlayer;
  withPlayer.document = doc.get();
  CommandTable playing;
  AddMidiCommands(playing, withPlayer);
  EXPECT_TRUE(playing.Execute({kMidiToWave, {}, {}}));
  ASSERT_EQ(launcher.started.size(), 1u);
  const std::vector<std::string>& words = launcher.started[0];
  ASSERT_EQ(words.size(), 5u);
  const std::filesystem::path midi = words[4];
  EXPECT_EQ(midi.filename(), "output.mid");
  EXPECT_EQ(midi.parent_path().string(), launcher.folders[0]);
  EXPECT_NE(midi.parent_path(), std::filesystem::path(dir.path()));
  EXPECT_EQ(words[3], (midi.parent_path() / "output.wav").string());
  EXPECT_EQ(testing::ReadText(midi.string()).substr(0, 4), "MThd");
  std::filesystem::remove_all(midi.parent_path());
}

}  // namespace
}  // namespace vornel::view
