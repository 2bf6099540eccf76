// Every MIDI file of the corpus is read or refused with the system's message, never a crash,
// and the notes read survive the import's preparation.

#include <gtest/gtest.h>

#include <filesystem>

#include "midi/CIMidiDoc.h"
#include "midi/MidiImportNotes.h"
#include "midi/MidiTime.h"
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
      EXPECT_EQ(prompts.messages, std::vector<std::string>{"Sorry: I cannot read this file"}) << name;
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

}  // namespace
}  // namespace vornel
