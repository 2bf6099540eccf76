// Documents made from MIDI files of the corpus by the import: written, read back and written
// again, they give the same bytes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/RoundTrip.h"
#include "midi/MidiImport.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

class ImportedDocument : public ::testing::TestWithParam<const char*> {};

TEST_P(ImportedDocument, SecondSaveIsByteIdentical) {
  const std::filesystem::path path = std::filesystem::path(VORNEL_CORPUS_DIR) / "midi" / GetParam();
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus file " << path;
  for (const char* extension : {".btxml", ".btb"}) {
    testing::ScriptedPrompts prompts;
    CVornelTabDoc doc;
    doc.OnNewDocument();
    AllTracksChooser chooser;
    std::unique_ptr<CSystemArray> section = ImportMidiFile(path.string(), chooser, nullptr, CInstrumentDlg());
    ASSERT_NE(section, nullptr) << ::testing::PrintToString(prompts.messages);
    doc.sections.push_back(std::move(section));
    doc.sections.activeSection = 1;
    doc.sections.Renumber();
    testing::ExpectStableResave(doc, extension);
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, ImportedDocument,
                         ::testing::Values("test-c-major-scale.mid", "test-multichannel-chords-1.mid",
                                           "test-karaoke-kar.mid", "test-2-tracks-type-1.mid"),
                         [](const auto& info) { return "file" + std::to_string(info.index); });

}  // namespace
}  // namespace vornel
