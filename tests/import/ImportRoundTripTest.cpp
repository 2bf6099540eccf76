// Documents made from MusicXML and Guitar Pro files of the corpus by the imports: written, read
// back and written again, they give the same bytes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/RoundTrip.h"
#include "import/Importer.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

class ImportedFile : public ::testing::TestWithParam<const char*> {};

TEST_P(ImportedFile, SecondSaveIsByteIdentical) {
  const std::filesystem::path path = std::filesystem::path(VORNEL_CORPUS_DIR) / GetParam();
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

// The Guitar Pro import leaves chords in ascending pitch order; a reader gives descending.
INSTANTIATE_TEST_SUITE_P(Corpus, ImportedFile,
                         ::testing::Values("musicxml/01a-Pitches-Pitches.xml", "musicxml/11a-TimeSignatures.xml",
                                           "musicxml/43a-PianoStaff.xml", "musicxml/71f-AllChordTypes.xml",
                                           "guitarpro/Chords.gp4", "guitarpro/Effects.gp5",
                                           // parts whose bars fall apart, a fixed bar line in a lower line
                                           "musicxml/02e-Rests-NoType.xml", "musicxml/43e-Multistaff-ClefDynamics.xml",
                                           // a meter change late in a system; tracks of unequal bars
                                           "guitarpro/Effects.gp3", "guitarpro/Demo v5.gp5",
                                           // a first bar line numbered by the aligned layout only
                                           "guitarpro/001_Funky_Guy.gp5",
                                           // F# after F in one bar: the other spelling at once
                                           "guitarpro/Unknown.gp5",
                                           // a bar line closing a system
                                           "abc/ortiz.abc", "abc/bataille.abc"),
                         [](const auto& info) { return "file" + std::to_string(info.index); });

}  // namespace
}  // namespace vornel
