// Tabrite files made of records of nine lines: the title record, durations, ties, slides,
// side texts, directions and endings, and records cut short.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "document/SectionWizard.h"
#include "import/tabrite/TabriteImport.h"
#include "import/tabrite/TabriteImporter.h"
#include "support/Bytes.h"
#include "TextImportFixtures.h"

namespace vornel::testing {
namespace {

using Lines = std::vector<std::string>;

// One record: the kind and duration on the first line, four side texts on the third, then the
// six course texts, each line as Tabrite writes it.
std::string Record(int kind, int duration, const std::array<std::string, 4>& side = {"", "", "", ""},
                   const std::array<std::string, 6>& courses = {"", "", "", "", "", ""}) {
  std::string text = std::to_string(kind) + "," + std::to_string(duration) + ",0\r\n0,0,0,0\r\n0";
  for (const std::string& s : side) text += ",\"" + s + "\"";
  text += "\r\n";
  for (const std::string& c : courses) text += "\"" + c + "\"\r\n";
  return text;
}

class TabriteImportTest : public ::testing::Test, public TextImportTest {
 protected:
  // Reads the text into a section the wizard adds; keeps the voice as read.
  void Read(std::string_view text) {
    AddSectionWithWizard(doc);
    Unfinished<TabriteImport> tabrite(doc);
    tabrite.ReadText(text);
    raw = tabrite.voices.at(0);
  }
  std::vector<const nChord*> RawChords() const {
    std::vector<const nChord*> chords;
    for (const auto& e : raw) chords.push_back(e.get());
    return chords;
  }

  nChordArray raw;
};

TEST_F(TabriteImportTest, TheTitleRecordNamesTheSection) {
  // Fields are found by skipping separators, quotation marks and blanks, so the side texts
  // before the title are written out.
  Read(Record(0, 0, {"1", "2", "3", "Greensleeves"}, {"Anon.", "From a lute book"}) + Record(1, 7, {}, {"0"}));
  EXPECT_EQ(Last().Title().text, "Greensleeves");
  EXPECT_EQ(Last().Author().text, "Anon.");
  EXPECT_NE(Last().couplets.text.find("From a lute book"), std::string::npos);
  EXPECT_EQ(Last().stavesPerPage, 6);
  EXPECT_EQ(Last().leftOffset, -7);
}

TEST_F(TabriteImportTest, DurationCodes) {
  const std::array<std::pair<int, uint16_t>, 16> cases = {{{1, 0x15},
                                                           {2, 5},
                                                           {3, 0x14},
                                                           {4, 4},
                                                           {5, 12},
                                                           {6, 0x13},
                                                           {7, 3},
                                                           {8, 11},
                                                           {9, 2},
                                                           {10, 10},
                                                           {11, 1},
                                                           {103, 1},
                                                           {95, 0x14},
                                                           {93, 0},
                                                           {12, 0},
                                                           {92, 0}}};
  std::string text;
  for (const auto& [code, flags] : cases) text += Record(1, code, {}, {"0"});
  Read(text);
  const std::vector<const nChord*> chords = RawChords();
  ASSERT_EQ(chords.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(chords[i]->rhythm, cases[i].second) << cases[i].first;
}

TEST_F(TabriteImportTest, TiesSlidesAndHammers) {
  Read(Record(1, 7, {}, {"", "", "5-7"}) + Record(1, 7, {}, {"3-"}) + Record(1, 7, {}, {"2^", "4>"}) +
       Record(1, 9, {}, {"1=2", "3=4"}));
  EXPECT_EQ(Describe(raw), (Lines{"4:2@62", "4:2@64", "3:0@70", "3:0@69,1@66", "3:0@68,1@65", "3:0@69,1@66"}));
  const std::vector<const nChord*> chords = RawChords();
  EXPECT_EQ(chords[0]->notes.front()->slur, 0x40u);
  EXPECT_EQ(chords[1]->notes.front()->slur, 0u);
  EXPECT_EQ(chords[2]->notes.front()->slur, 0x40u);
  EXPECT_EQ(chords[3]->notes.NoteOnCourse(0)->slur, 0x80u);
  EXPECT_EQ(chords[3]->notes.NoteOnCourse(1)->slur, 0x500u);
  // Two courses that change within one record share the halved value once.
  EXPECT_EQ(chords[4]->rhythm, 3);
}

TEST_F(TabriteImportTest, SideTexts) {
  Read(Record(1, 7, {"Am", "la", "piano", "s"}, {"0", "1"}) + Record(1, 7, {"p", "", "", ""}, {"0"}) +
       Record(1, 7, {"H", "", "", ""}, {"", "", "2"}) + Record(1, 7, {"h", "", "", ""}));
  const std::vector<const nChord*> chords = RawChords();
  ASSERT_EQ(chords.size(), 4u);
  // The last note made is the one of the highest course number.
  EXPECT_EQ(chords[0]->notes.NoteOnCourse(1)->slur, 0x340u);
  EXPECT_EQ(chords[0]->notes.NoteOnCourse(0)->slur, 0u);
  const CMetaEvent* name = MetaOfKind(*chords[0], CMetaEvent::kChordName);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text, "Am");
  EXPECT_EQ(name->location.tablatureCx, 160);
  EXPECT_EQ(name->location.tablatureCy, -160);
  ASSERT_NE(MetaOfKind(*chords[0], CMetaEvent::kLyrics), nullptr);
  EXPECT_EQ(MetaOfKind(*chords[0], CMetaEvent::kLyrics)->text, "la");
  const CMetaEvent* caption = MetaOfKind(*chords[0], CMetaEvent::kCaption);
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text, "piano");
  EXPECT_EQ(caption->value, 0x10020000u);
  EXPECT_EQ(chords[1]->notes.front()->slur, 0x140u);
  EXPECT_EQ(chords[2]->notes.front()->slur, 0x240u);
  // A record without notes has no note for a side text to mark.
  EXPECT_TRUE(chords[3]->notes.empty());
}

TEST_F(TabriteImportTest, DirectionsAndEndingsGoToTheNextChord) {
  Read(Record(1, 999, {}, {"", "83"}) + Record(1, 7, {}, {"0"}) + Record(1, 999, {}, {"", "1."}) +
       Record(1, 7, {}, {"0"}) + Record(1, 7, {}, {"0"}));
  const std::vector<const nChord*> chords = RawChords();
  ASSERT_EQ(chords.size(), 3u);
  const CMetaEvent* direction = MetaOfKind(*chords[0], CMetaEvent::kCaption);
  ASSERT_NE(direction, nullptr);
  EXPECT_EQ(direction->text, "Fine");
  EXPECT_EQ(direction->value, 0x10030000u);
  const CMetaEvent* ending = MetaOfKind(*chords[1], CMetaEvent::kEnding);
  ASSERT_NE(ending, nullptr);
  EXPECT_EQ(ending->text, "1.");
  EXPECT_EQ(ending->value, 0x40004u);
  EXPECT_TRUE(chords[2]->metaEvents.empty());
}

TEST_F(TabriteImportTest, FretsBeyondMidiAddNoNote) {
  Read(Record(1, 7, {}, {"99999", "12", "127"}));
  EXPECT_EQ(Describe(raw), (Lines{"3:1@74"}));
}

TEST_F(TabriteImportTest, AShortLastRecordEndsTheReading) {
  const std::string whole = Record(1, 7, {}, {"0"}) + Record(1, 9, {}, {"1"});
  Read(whole.substr(0, whole.size() - 10));
  EXPECT_EQ(Describe(raw), (Lines{"3:0@67"}));
}

TEST_F(TabriteImportTest, EveryTruncationReadsWhatCameBefore) {
  const std::string whole = Record(0, 0, {"a", "b", "c", "Title"}, {"x", "y"}) +
                            Record(1, 7, {"Am", "la", "cap", "s"}, {"5-7", "3^", "2>", "1", "0", "12"}) +
                            Record(1, 999, {}, {"", "83"}) + Record(1, 5, {}, {"0=1"});
  for (size_t size = 0; size <= whole.size(); ++size) {
    Read(whole.substr(0, size));
    EXPECT_LE(raw.size(), 4u);
  }
}

TEST_F(TabriteImportTest, AFileThatCannotBeOpenedAddsNoSection) {
  TempDir dir;
  const size_t before = doc.sections.size();
  EXPECT_EQ(ImportTabriteFile(dir.File("missing.bjo"), doc), 0u);
  EXPECT_EQ(doc.sections.size(), before);
  EXPECT_EQ(prompts.messages, (Lines{"Unable to open tabrite file: " + dir.File("missing.bjo") + ":\nNo such file or directory"}));
  WriteText(dir.File("tune.bjo"), Record(1, 7, {}, {"0"}));
  EXPECT_EQ(ImportTabriteFile(dir.File("tune.bjo"), doc), 1u);
  EXPECT_EQ(doc.sections.size(), before + 1);
  EXPECT_EQ(Chords(Last()).size(), 1u);
  // A cancelled wizard ends the import: no section, nothing added to the open one.
  CancelledSectionWizard cancelled;
  ScopedSectionWizard scoped(cancelled);
  EXPECT_EQ(ImportTabriteFile(dir.File("tune.bjo"), doc), 0u);
  EXPECT_EQ(doc.sections.size(), before + 1);
  EXPECT_EQ(Chords(Last()).size(), 1u);
}

TEST_F(TabriteImportTest, BinaryGarbage) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  Read(garbage);
  Read(std::string(5000, '\n'));
  Read(std::string(5000, '"'));
}

}  // namespace
}  // namespace vornel::testing
