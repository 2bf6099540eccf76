// Documents made from MusicXML files of the corpus by the import: written, read back and
// written again, they give the same bytes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/RoundTrip.h"
#include "import/Importer.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

class ImportedMusicXml : public ::testing::TestWithParam<const char*> {};

TEST_P(ImportedMusicXml, SecondSaveIsByteIdentical) {
  const std::filesystem::path path = std::filesystem::path(VORNEL_CORPUS_DIR) / "musicxml" / GetParam();
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus file " << path;
  for (const char* extension : {".btxml", ".btb"}) {
    testing::ScriptedPrompts prompts;
    CVornelTabDoc doc;
    doc.OnNewDocument();
    const Importer* importer = FindImporter(path.string());
    ASSERT_NE(importer, nullptr);
    ASSERT_GT(importer->Import(path.string(), doc), 0u) << ::testing::PrintToString(prompts.messages);
    testing::ExpectStableResave(doc, extension);
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, ImportedMusicXml,
                         ::testing::Values("01a-Pitches-Pitches.xml", "11a-TimeSignatures.xml",
                                           "43a-PianoStaff.xml", "71f-AllChordTypes.xml"),
                         [](const auto& info) { return "file" + std::to_string(info.index); });

}  // namespace
}  // namespace vornel
