// Texts holding control characters that XML cannot hold, as a text import gives them (an ABC
// "T:" line, a lyric), reach our XML document and the MusicXML export as well-formed XML, and
// come back from both as they were.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "ImportTestSupport.h"
#include "document/CBriotabDoc.h"
#include "import/Importer.h"
#include "layout/export/MusicXmlExport.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

size_t RefusedCharacters(const std::string& xml) {
  return static_cast<size_t>(std::count_if(xml.begin(), xml.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
  }));
}

// The lyrics of the section's first line, in order.
std::vector<std::string> Lyrics(const CSystemArray& section) {
  std::vector<std::string> lyrics;
  for (const auto& system : section.systems) {
    for (const auto& e : system->Line(0)->Voice(0)) {
      if (e == nullptr) continue;
      if (const CMetaEvent* lyric = e->metaEvents.Find(CMetaEvent::kLyrics)) lyrics.push_back(lyric->text);
    }
  }
  return lyrics;
}

TEST(ControlTexts, ReachOurDocumentAndTheMusicXmlExportAndComeBack) {
  testing::ScriptedPrompts prompts;
  const testing::TempFile abc("X:1\nT:Tune\x01 one\x1B\nM:4/4\nL:1/4\nK:C\nCDEF|\nw: la\x01 li\x1F lo lu\n", "tune.abc");
  CBriotabDoc doc;
  const Importer* importer = FindImporter(abc.path());
  ASSERT_NE(importer, nullptr);
  ASSERT_EQ(importer->Import(abc.path(), doc), 1u);
  const CSystemArray& imported = *doc.sections.at(0);
  ASSERT_EQ(imported.Title().text, "Tune\x01 one\x1B");
  const std::vector<std::string> lyrics = {"la\x01", "li\x1F", "lo", "lu"};
  ASSERT_EQ(Lyrics(imported), lyrics);

  const std::string xml = doc.XmlText();
  EXPECT_EQ(RefusedCharacters(xml), 0u);
  CBriotabDoc read;
  ASSERT_TRUE(read.ReadXmlText(xml));
  EXPECT_EQ(read.sections.at(0)->Title().text, imported.Title().text);
  EXPECT_EQ(Lyrics(*read.sections.at(0)), lyrics);

  const std::optional<std::string> exported = SectionMusicXmlText(doc, 0, ExportDate{});
  ASSERT_TRUE(exported.has_value());
  EXPECT_EQ(RefusedCharacters(*exported), 0u);
  EXPECT_NE(exported->find("Tune\xE2\x90\x81 one\xE2\x90\x9B"), std::string::npos);
  const testing::TempFile score(*exported);
  CBriotabDoc back;
  ASSERT_EQ(FindImporter(score.path())->Import(score.path(), back), 1u);
  EXPECT_EQ(Lyrics(*back.sections.at(0)), lyrics);
  EXPECT_TRUE(prompts.messages.empty()) << ::testing::PrintToString(prompts.messages);
}

}  // namespace
}  // namespace vornel
