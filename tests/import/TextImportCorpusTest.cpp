// Every ABC and TAB file of the corpus imports without a message: an ABC file as a section per
// tune, a TAB file as a section per piece, alone and as a folder; the sections read back from
// a saved document as they were.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include "document/DocumentFiles.h"
#include "import/Importer.h"
#include "import/ImportWarnings.h"
#include "import/tab/TabImport.h"
#include "import/tab/TabImporter.h"
#include "import/text/TextImportSupport.h"
#include "support/Bytes.h"
#include "TextImportFixtures.h"

namespace vornel::testing {
namespace {

size_t CountTunes(const std::string& path) {
  const std::optional<std::string> text = ReadImportFile(path);
  size_t tunes = 0;
  for (size_t pos = 0; text && pos < text->size(); pos = text->find('\n', pos) + 1) {
    if (text->compare(pos, 2, "X:") == 0) ++tunes;
    if (text->find('\n', pos) == std::string::npos) break;
  }
  return tunes;
}

// The chord lines of a TAB text, counted from the text alone: lines that begin with a rhythm
// flag ("0"-"5", "W", "w", "x", "Y", "y", "t", a blank, each perhaps after "#" and "R"), less
// those that hold the flag and "!" alone (an empty slot, not a chord).
size_t CountChordLines(std::string_view text) {
  size_t lines = 0;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const bool prefixed = line[0] == '#' || line[0] == 'R';
    if (!prefixed && std::string_view("012345WwxYyt ").find(line[0]) == std::string_view::npos) continue;
    std::string_view rest = line;
    if (!rest.empty() && rest[0] == '#') rest.remove_prefix(1);
    if (!rest.empty() && rest[0] == 'R') rest.remove_prefix(1);
    if (rest.size() == 2 && rest[1] == '!') continue;
    ++lines;
  }
  return lines;
}

class TextImportCorpusTest : public ::testing::Test, public TextImportTest {};

TEST_F(TextImportCorpusTest, AbcFilesGiveASectionPerTune) {
  const std::vector<std::string> files = CorpusFiles("abc", ".abc");
  ASSERT_FALSE(files.empty());
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    const Importer* importer = FindImporter(path);
    ASSERT_NE(importer, nullptr);
    EXPECT_EQ(importer->Name(), "ABC");
    const size_t before = doc.sections.size();
    EXPECT_EQ(importer->Import(path, doc), std::max<size_t>(CountTunes(path), 1));
    EXPECT_EQ(doc.sections.size() - before, std::max<size_t>(CountTunes(path), 1));
    EXPECT_TRUE(prompts.messages.empty());
  }
}

TEST_F(TextImportCorpusTest, TabFilesAloneAndAsAFolder) {
  const std::vector<std::string> files = CorpusFiles("tab", ".tab");
  ASSERT_FALSE(files.empty());
  size_t chords = 0;
  size_t sections = 0;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    // Every chord line gives a chord (a rest when it names no fret), or is counted as dropped,
    // in the sections of the file's pieces.
    const ImportReport report(path);
    const size_t before = doc.sections.size();
    const size_t added = FindImporter(path)->Import(path, doc);
    EXPECT_GE(added, 1u);
    EXPECT_EQ(doc.sections.size(), before + added);
    EXPECT_TRUE(prompts.messages.empty());
    size_t imported = 0;
    for (size_t s = before; s < doc.sections.size(); ++s) imported += Chords(Section(s)).size();
    EXPECT_EQ(imported + report.Count(TabImport::kUnreadableLine), CountChordLines(*ReadImportFile(path)));
    EXPECT_EQ(report.Count(TabImport::kUnreadableLine), 0u);
    chords += imported;
    sections += added;
  }
  const size_t before = doc.sections.size();
  EXPECT_EQ(ImportTabFiles(files, doc), sections);
  EXPECT_EQ(doc.sections.size(), before + sections);
  EXPECT_TRUE(prompts.messages.empty());
  size_t again = 0;
  for (size_t s = before; s < doc.sections.size(); ++s) again += Chords(Section(s)).size();
  EXPECT_EQ(again, chords);
}

TEST_F(TextImportCorpusTest, ImportedSectionsSurviveASave) {
  for (const std::string& path : {CorpusFiles("abc", ".abc").front(), CorpusFiles("tab", ".tab").front()}) {
    ASSERT_GE(FindImporter(path)->Import(path, doc), 1u);
  }
  TempDir dir;
  ASSERT_TRUE(SaveDocumentFile(doc, dir.File("imported.btxml")).has_value());
  OpenedDocument opened = OpenDocumentFile(dir.File("imported.btxml"));
  ASSERT_NE(opened.document, nullptr);
  ASSERT_EQ(opened.document->sections.size(), doc.sections.size());
  for (size_t s = 0; s < doc.sections.size(); ++s) {
    EXPECT_EQ(Describe(Section(s).System(0)->Line(0)->firstVoice),
              Describe(opened.document->sections.at(s)->System(0)->Line(0)->firstVoice));
    EXPECT_EQ(Chords(Section(s)).size(), Chords(*opened.document->sections.at(s)).size());
  }
}

}  // namespace
}  // namespace vornel::testing
