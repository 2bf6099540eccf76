// Every MIDI file of the corpus is read or refused with the system's message, the file and the
// reason, never a crash; the notes read survive the import's preparation, and every file
// imports or says why not.

#include <gtest/gtest.h>

#include <filesystem>

#include "midi/CIMidiDoc.h"
#include "midi/MidiImport.h"
#include "midi/MidiImportNotes.h"
#include "midi/MidiTime.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(MidiCorpusTest, EveryFileReadsOrIsRefused) {
  const std::filesystem::path dir = std::filesystem::path(VORNEL_CORPUS_DIR) / "midi";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
  int read = 0;
  int refused = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    testing::ScriptedPrompts prompts;
    CIMidiDoc doc;
    const std::string name = entry.path().filename().string();
    if (!doc.OnOpenDocument(entry.path().string())) {
      ASSERT_EQ(prompts.messages.size(), 1u) << name;
      EXPECT_TRUE(prompts.messages[0].starts_with("Sorry: I cannot read this file\n" + entry.path().string() + ", at byte "))
          << prompts.messages[0];
      ++refused;
      continue;
    }
    ++read;
    int32_t notes = 0;
    for (const auto& t : doc.tracks) notes += t->noteCount;
    doc.tracks.MergeTrackBuffers();
    const MidiMeter meter = MidiMeter::From(doc.tracks.numerator, doc.tracks.denominator);
    PrepareImportedMidiNotes(doc.tracks.merged, doc.division, kMidiDefaultQuantizeLevel, meter.barTicks);
    int32_t prepared = 0;
    for (const auto& r : doc.tracks.merged) prepared += r.kind == strMidiNote::kImportNoteOn ? 1 : 0;
    EXPECT_EQ(prepared, notes) << name;
  }
  EXPECT_GT(read, 60);
  EXPECT_GE(refused, 3);  // an empty file, a text file and a SysEx dump at least
}

TEST(MidiCorpusTest, EveryFileImportsOrSaysWhyNot) {
  const std::filesystem::path dir = std::filesystem::path(VORNEL_CORPUS_DIR) / "midi";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
  AllTracksChooser chooser;
  CInstrumentDlg defaultDefinition;
  defaultDefinition.EnsureStave();
  int imported = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    testing::ScriptedPrompts prompts;
    const std::string path = entry.path().string();
    const auto section = ImportMidiFile(path, chooser, nullptr, defaultDefinition);
    if (section != nullptr) ++imported;
    // A refusal, or a damaged file's warning, names the file and the cause after the
    // system's message.
    for (const std::string& message : prompts.messages) {
      EXPECT_NE(message.find(path), std::string::npos) << message;
    }
    if (section == nullptr) {
      EXPECT_EQ(prompts.messages.size(), 1u) << path;
    }
  }
  EXPECT_GE(imported, 57);

  // A file missing its last byte imports its notes, with a warning.
  testing::ScriptedPrompts prompts;
  const std::string missing = (dir / "test-corrupt-file-missing-byte.mid").string();
  if (!std::filesystem::exists(missing)) return;
  const auto section = ImportMidiFile(missing, chooser, nullptr, defaultDefinition);
  ASSERT_NE(section, nullptr);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].starts_with(missing + ": the file is damaged")) << prompts.messages[0];
}

}  // namespace
}  // namespace vornel
