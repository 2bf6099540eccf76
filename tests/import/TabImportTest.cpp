// TAB text files: chord lines, bar lines, meter lines and the meter detection, titles, pieces,
// folders, and the lines a hostile file holds.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "document/CDocumentSettings.h"
#include "document/SectionWizard.h"
#include "import/ImportWarnings.h"
#include "import/Importer.h"
#include "import/tab/TabImport.h"
#include "import/tab/TabImporter.h"
#include "import/text/TextImportCommands.h"
#include "support/Bytes.h"
#include "TextImportFixtures.h"

namespace vornel::testing {
namespace {

using Lines = std::vector<std::string>;

class TabImportTest : public ::testing::Test, public TextImportTest {
 protected:
  // Reads the text into a section the wizard adds, as the command does, with `definition` as
  // the instrument; keeps each piece's voice as read. Returns what ReadText returns.
  int Read(std::string_view text, const CInstrumentDlg& definition = Lute()) {
    FixedSectionWizard wizard(definition);
    ScopedSectionWizard scoped(wizard);
    AddSectionWithWizard(doc);
    Unfinished<TabImport> tab(doc);
    const int result = tab.ReadText(text, "test.tab");
    raw = tab.voices;
    return result;
  }
  // The first piece's events other than bar lines.
  Lines ChordsRead() const {
    Lines out;
    for (const std::string& e : Describe(raw.at(0))) {
      if (!e.starts_with("bar")) out.push_back(e);
    }
    return out;
  }

  std::vector<nChordArray> raw;
};

TEST_F(TabImportTest, ChordLines) {
  struct Case {
    std::string lines;
    Lines chords;
  };
  for (const Case& c : {
           Case{"1a", {"3:0@67"}},
           Case{"1 -b", {"3:2@58"}},
           Case{"1a\nx", {"3:0@67", "3:"}},
           Case{"2.c\nxc", {"12:0@69", "4:0@69"}},
           Case{"1a\nYb", {"3:0@67", "3:0@68 F"}},
           Case{"W0\nw0\n00\n10\n20\n30\n40\n50", {"0:0@67", "1:0@67", "2:0@67", "3:0@67", "4:0@67", "5:0@67",
                                                   "6:0@67", "7:0@67"}},
           Case{"#2a\nR1b\n#R0c", {"4:0@67", "3:0@68", "2:0@69"}},
           Case{"t3a\nxb\n1c", {"18:0@67", "18:0@68", "3:0@69"}},
           Case{"1EFGHI", {"3:0@71,1@67,2@63,3@60,4@56"}},
           Case{"1a!x", {"3:0@67,1@72"}},
           Case{"1N48\n1N99\n1N7", {"3:0@67", "3:0@69", "3:"}},
           Case{"1!", {"-"}},
           // Courses the six-course lute lacks are added to it, each a natural step below the
           // one above: 41, 40, 38, 36, 35, 33, 31, 29.
           Case{"1aaaaaa4", {"3:0@67,1@62,2@57,3@53,4@48,5@43,10@35"}},
           Case{"1aN10\n1N14b", {"3:0@67,9@36", "3:1@63,13@29"}},
           // Ten positions are read; unknown characters past nine end the line.
           Case{"1aaaaaaaaaa", {"3:0@67,1@62,2@57,3@53,4@48,5@43,6@41,7@40,8@38,9@36"}},
           Case{"1azzzzzzzzzzb", {"3:0@67"}},
           // A named ornament is no fret, whichever operator stands before it.
           Case{"1 a<!tilde>b &<!2mordent>\"<!3mordent>", {"3:1@62,2@58"}},
           // "!" after the flag keeps the flag's value and hides it.
           Case{"1!a", {"3:0@67 M3"}},
           Case{"1a/b", {"3:0@67,2@58"}},
           Case{"1a/wb", {"3:0@67"}},
           // A fret character no course takes drops the line.
           Case{"1aN33", {}},
           Case{"1aTla-la", {"3:0@67"}},
       }) {
    SCOPED_TRACE(c.lines);
    ASSERT_EQ(Read("b\n" + c.lines + "\nb\n"), 1);
    EXPECT_EQ(ChordsRead(), c.chords);
  }
}

TEST_F(TabImportTest, BassCoursesAreAddedWhereTheInstrumentLacksThem) {
  // After the flag one "-" is passed over; "4" on the seventh position is the eleventh course,
  // which the theorbo has; "5" and "8" name the twelfth and the fifteenth, which it is given;
  // "9" is a fret.
  ASSERT_EQ(Read("b\n1aaaaaa4b\n1-------5\n1-------8\n1-------9\nb\n", Theorbo()), 1);
  EXPECT_EQ(ChordsRead(), (Lines{"3:0@67,1@62,2@57,3@53,4@48,5@43,10@31", "3:11@29", "3:14@24", "3:6@47"}));
}

TEST_F(TabImportTest, WhatALineCannotGiveIsCountedAndSaid) {
  std::ostringstream warnings;
  ScopedImportWarnings scope(warnings);
  {
    ImportReport report("folder/test.tab");
    // A line with a fret character no course takes; frets after an open bass course; a course
    // "N12" names.
    ASSERT_EQ(Read("b\n1aN33\n1aaaaaa4bc\n1N12\nb\n"), 1);
  }
  EXPECT_EQ(warnings.str(),
            "warning: test.tab: courses 7 to 12 added to the instrument for the notes on them\n"
            "warning: test.tab: not imported: 1 chord line with a fret no course takes, 2 frets after an open "
            "bass course on their lines\n");
}

TEST_F(TabImportTest, DecorationsAndSlurs) {
  ASSERT_EQ(Read("b\n1a.\n1\\#a\n1a{\n1b}\n1aU\n1a\"X\n1a_\n1a&-\nb\n"), 1);
  const nChordArray& voice = raw.at(0);
  std::vector<const nChord*> chords;
  for (const auto& e : voice) {
    if (e != nullptr && e->IsChord()) chords.push_back(e.get());
  }
  ASSERT_EQ(chords.size(), 8u);
  const auto note = [&](size_t i) -> const nNotes& { return *chords[i]->notes.front(); };
  nNotes dot;
  dot.ToggleDecoration(7);
  EXPECT_EQ(note(0).fingering, dot.fingering);
  nNotes sharp;
  sharp.ToggleDecoration(33);
  EXPECT_EQ(note(1).ornament, sharp.ornament);
  // "{" opens a slur on its note, "}" on the same course closes it.
  EXPECT_EQ(note(2).slur, 0x700u + 7);
  // "U" opens one, the "X" decoration closes it with the end value.
  EXPECT_EQ(note(4).slur, 0x747u);
  EXPECT_EQ(note(6).slur, 0x40u);
  EXPECT_EQ((note(7).slur >> 12) & 7, 7u);
}

TEST_F(TabImportTest, ARejectedLineLeavesNoSlurOpen) {
  // The line with "U" is dropped for its second position, so no slur begins; the "X" after it
  // closes nothing.
  ASSERT_EQ(Read("b\n1aUN33\n1b\"X\n1c}\nb\n"), 1);
  EXPECT_EQ(ChordsRead(), (Lines{"3:0@68", "3:0@69"}));
  for (const auto& e : raw.at(0)) {
    if (e != nullptr && e->IsChord()) {
      EXPECT_EQ(e->notes.front()->slur, 0u);
    }
  }
}

TEST_F(TabImportTest, BarLines) {
  // Each bar line of the file gives one bar of its kind ("b.b" two); "{/}" is no bar line, and
  // a piece whose music ends with a bar line is given none.
  struct Case {
    std::string lines;
    Lines bars;
  };
  for (const Case& c : {
           Case{"b\n1a\nb\n1a\n.bb.\n1a\nb.b\n1a\n.\n1a\nA\n1a\n{/}\n1a\nbb",
                {"bar 11", "bar 11", "bar E1", "bar 11", "bar E1", "bar 31", "bar E1", "bar 31"}},
           Case{"b\n1a\nbb\n1a\nB\n", {"bar 11", "bar 31", "bar B1"}},
           // "bX" and "bL" are not counted; music without a closing bar line gets a final one.
           Case{"b\n1a\nbX\n1a\nbL\n1a\nb\n1a\n", {"bar 11", "bar 11 skip", "bar 11 skip", "bar 11", "bar B1"}},
       }) {
    SCOPED_TRACE(c.lines);
    ASSERT_EQ(Read(c.lines), 1);
    Lines bars;
    for (const std::string& e : Describe(raw.at(0))) {
      if (e.starts_with("bar")) bars.push_back(e);
    }
    EXPECT_EQ(bars, c.bars);
  }
}

TEST_F(TabImportTest, MeterLines) {
  struct Case {
    std::string line;
    Lines meters;
  };
  for (const Case& c : {Case{"S34", {"3/4"}}, Case{"S3/4", {"3/4"}}, Case{"S3/2", {"3/2"}}, Case{"S32", {}},
                        Case{"C", {"4/4"}}, Case{"c", {"4/4"}}, Case{"S6/8", {"6/8"}}, Case{"S12/8", {"12/8"}},
                        Case{"S2", {"2/4"}}, Case{"S99/4", {}}, Case{"S3/5", {}}, Case{"S3/0", {}}}) {
    SCOPED_TRACE(c.line);
    ASSERT_EQ(Read("b\n1a\nb\n" + c.line + "\n1a\nb\n"), 1);
    Lines meters;
    for (const std::string& e : Describe(raw.at(0))) {
      if (e.find('/') != std::string::npos) meters.push_back(e);
    }
    EXPECT_EQ(meters, c.meters);
  }
}

TEST_F(TabImportTest, AMeterLineTheDetectionAppliedCountsOnce) {
  ASSERT_EQ(Read("S3/4\nb\n1a\n1a\n1a\nb\n"), 1);
  EXPECT_EQ(ChordsRead(), (Lines{"3/4", "3:0@67", "3:0@67", "3:0@67"}));
}

TEST_F(TabImportTest, MeterDetection) {
  struct Case {
    std::string lines;
    int32_t numerator;
    int32_t denominator;
  };
  for (const Case& c : {Case{"1a\n1a\n1a", 3, 4}, Case{"0a\n0a\n0a", 3, 2}, Case{"0.a\n1a\n1a", 3, 2},
                        Case{"2a\nx\nx", 3, 8}, Case{"#0a\nwa\n0a", 4, 2}, Case{"1a\n1a", 4, 4},
                        Case{"1a\n% a comment counts as the line before\n1a", 3, 4}}) {
    SCOPED_TRACE(c.lines);
    ASSERT_EQ(Read("b\n" + c.lines + "\nb\n"), 1);
    EXPECT_EQ(Last().numerator, c.numerator);
    EXPECT_EQ(Last().denominator, c.denominator);
  }
}

TEST_F(TabImportTest, WithoutBarLinesTheFileIsRefused) {
  const size_t before = doc.sections.size();
  TempDir dir;
  WriteText(dir.File("nobar.tab"), "1a\n1b\n");
  EXPECT_EQ(ImportTabFile(dir.File("nobar.tab"), doc), 0u);
  EXPECT_EQ(prompts.messages, (Lines{"Error encountered while processing file\n\nnobar.tab, line 1: no bar line (a "
                                     "line beginning with \"b\") from there to the end of the file"}));
  EXPECT_EQ(doc.sections.size(), before);
  WriteText(dir.File("onebar.tab"), "{Title}\n\nb\n1a\n");
  EXPECT_EQ(ImportTabFile(dir.File("onebar.tab"), doc), 0u);
  EXPECT_EQ(prompts.messages.back(), "Error encountered while processing file\n\nonebar.tab, line 3: the file ends "
                                     "before a second bar line closes the first bar");
  EXPECT_EQ(doc.sections.size(), before);
  EXPECT_EQ(ImportTabFile(dir.File("missing.tab"), doc), 0u);
  EXPECT_EQ(prompts.messages.back(), "Unable to open tab file: " + dir.File("missing.tab") + ":\nNo such file or directory");
  EXPECT_EQ(doc.sections.size(), before);
}

TEST_F(TabImportTest, APieceWhoseFirstBarCannotBeMeasuredIsCounted) {
  const ImportReport report("test.tab");
  ASSERT_EQ(Read("b\n1a\nb\ne\n<pre>\n1b\n1c\n"), 1);
  EXPECT_EQ(report.Count(TabImport::kUnmeasuredPiece), 1u);
}

TEST_F(TabImportTest, ACancelledWizardEndsTheImport) {
  TempDir dir;
  WriteText(dir.File("tune.tab"), "b\n1a\nb\n");
  CancelledSectionWizard cancelled;
  ScopedSectionWizard scoped(cancelled);
  const size_t before = doc.sections.size();
  const size_t chordsBefore = Chords(Last()).size();
  EXPECT_EQ(ImportTabFile(dir.File("tune.tab"), doc), 0u);
  EXPECT_EQ(ImportTabFiles({dir.File("tune.tab"), dir.File("tune.tab")}, doc), 0u);
  EXPECT_EQ(doc.sections.size(), before);
  EXPECT_EQ(Chords(Last()).size(), chordsBefore);  // nothing landed in the open section
}

TEST_F(TabImportTest, TitlesAndPieces) {
  const size_t before = doc.sections.size();
  ASSERT_EQ(Read("{First piece}\nb\n1a\nb\n{/}\ne\n</pre>\n<pre>\n{Second. piece/ by nobody}\nb\n1b\nb\ne\n"), 1);
  ASSERT_EQ(doc.sections.size(), before + 2);
  // Each piece takes its name from its heading, all of the text before the "/"; the source
  // after it is the section's author text.
  EXPECT_EQ(Section(before).Title().text, "First piece");
  EXPECT_EQ(Section(before + 1).Title().text, "Second. piece");
  EXPECT_EQ(Section(before + 1).Author().text, "by nobody");
  ASSERT_EQ(raw.size(), 2u);
  EXPECT_EQ(Describe(raw[0]), (Lines{"bar 11", "3:0@67", "bar 11"}));
  EXPECT_EQ(Describe(raw[1]), (Lines{"bar 11", "3:0@68", "bar 11"}));
  // The file's path went into the first section's preface.
  EXPECT_NE(Section(before).couplets.text.find("test.tab"), std::string::npos);
  EXPECT_EQ(doc.sections.activeSection, static_cast<int32_t>(before + 1));
}

// A collection as lute editions write it: each piece under its heading ("{Title / Source}"),
// one straight after the music of the one before.
std::string Collection() {
  std::string text = "{Pavan / Board MS f. 3}\n{ }\n\n";
  for (int bar = 0; bar < 12; ++bar) {
    text += "b\n1a\nxc\nxd\nxa\n";
    if (bar == 5) text += "xc\nxd\n";  // a bar of six quarters in 4/4: it stays one bar
    if (bar == 7) text += "\n";        // the file's own line break
  }
  text += ".bb.\n{Galliard / Board MS f. 4v}\nS3\n";
  for (int bar = 0; bar < 8; ++bar) text += "b\n1c\nxa\nxd\n";
  text += "bb\n{Almain}\n{by J. Dowland}\n";
  for (int bar = 0; bar < 3; ++bar) text += "b\n0a\nxc\n";
  text += "b\n{Finis}\n";
  return text;
}

TEST_F(TabImportTest, ACollectionGivesASectionPerPiece) {
  TempDir dir;
  WriteText(dir.File("book.tab"), Collection());
  const size_t before = doc.sections.size();
  ASSERT_EQ(ImportTabFile(dir.File("book.tab"), doc), 3u);
  ASSERT_EQ(doc.sections.size(), before + 3);
  struct Expected {
    std::string title;
    std::string author;
    std::string start;  // the piece's first event
    size_t bars;        // bar lines of the file
  };
  const Expected expected[] = {{"Pavan", "Board MS f. 3", "bar 11", 13},
                               // The piece starts in a section of its own, its first bar line
                               // carrying its time signature.
                               {"Galliard", "Board MS f. 4v", "bar 15", 9},
                               // Consecutive headings make one piece; words after the last music
                               // stay with it.
                               {"Almain", "by J. Dowland; Finis", "bar 11", 4}};
  for (size_t p = 0; p < 3; ++p) {
    SCOPED_TRACE(p);
    const CSystemArray& section = Section(before + p);
    EXPECT_EQ(section.Title().text, expected[p].title);
    EXPECT_EQ(section.Author().text, expected[p].author);
    EXPECT_EQ(Describe(section.System(0)->Line(0)->firstVoice).front(), expected[p].start);
    // The file's bar lines and no others, numbered from 2 in every piece (the first opens it).
    std::vector<uint32_t> numbers;
    for (const nChord* e : Events(section)) {
      if (e->IsBarLine()) numbers.push_back(e->number);
    }
    ASSERT_EQ(numbers.size(), expected[p].bars);
    for (size_t b = 1; b < numbers.size(); ++b) EXPECT_EQ(numbers[b], b + 1) << b;
    // Every system but the last ends with its bar line; no piece starts with another's music.
    for (size_t s = 0; s + 1 < section.systems.size(); ++s) {
      const nChordArray& voice = section.System(s)->Line(0)->firstVoice;
      const nChord* last = nullptr;
      for (const auto& e : voice) {
        if (e != nullptr && !e->IsStaveBreak()) last = e.get();
      }
      ASSERT_NE(last, nullptr);
      EXPECT_TRUE(last->IsBarLine()) << "system " << s;
    }
  }
  EXPECT_GT(Section(before).systems.size(), 1u);
  EXPECT_EQ(Chords(Section(before)).size(), 50u);
  EXPECT_EQ(Chords(Section(before + 1)).size(), 24u);
}

TEST_F(TabImportTest, HeadingTexts) {
  struct Case {
    std::string line;
    std::string title;
    std::string author;
  };
  for (const Case& c : {Case{"{Fantasia No. 3}", "Fantasia No. 3", ""},
                        Case{"{\\CL/De los \\'alamos/Juan V\\'asquez}", "De los \xC3\xA1lamos", "Juan V\xC3\xA1squez"},
                        Case{"{^03Courante/^05Gaultier}", "Courante", "Gaultier"},
                        Case{"{/Anon.}", "", "Anon."}}) {
    SCOPED_TRACE(c.line);
    ASSERT_EQ(Read(c.line + "\nb\n1a\nb\n"), 1);
    EXPECT_EQ(Last().Title().text, c.title);
    EXPECT_EQ(Last().Author().text, c.author);
  }
}

TEST_F(TabImportTest, ALineOfSeveralChordsRefusesTheFile) {
  TempDir dir;
  WriteText(dir.File("row.tab"), "{Row}\nb\n1a\n1a  b  c  d 2e  f  xa\nb\n");
  const size_t before = doc.sections.size();
  EXPECT_EQ(ImportTabFile(dir.File("row.tab"), doc), 0u);
  EXPECT_EQ(prompts.messages,
            (Lines{"Error encountered while processing file\n\nrow.tab, line 4: \"1a  b  c  d 2e  f  xa\" is not one chord "
                   "(a chord line holds one chord, its courses from the top, at most 10 positions)"}));
  EXPECT_EQ(doc.sections.size(), before);
}

TEST_F(TabImportTest, AnImportTitlesAnUntitledDocument) {
  TempDir dir;
  WriteText(dir.File("book.tab"), Collection());
  WriteText(dir.File("untitled.tab"), "b\n1a\nb\n");
  std::string& title = doc.settings.Text(CDocumentSettings::kTitle).text;
  struct Case {
    std::string file;
    std::string before;
    std::string after;
  };
  for (const Case& c : {Case{"book.tab", "", "Pavan"}, Case{"untitled.tab", "", "untitled"},
                        Case{"book.tab", "My lute book", "My lute book"}}) {
    SCOPED_TRACE(c.file);
    title = c.before;
    const Importer* importer = FindImporter(dir.File(c.file));
    ASSERT_NE(importer, nullptr);
    ASSERT_GT(ImportFile(*importer, dir.File(c.file), doc), 0u);
    EXPECT_EQ(title, c.after);
  }
}

TEST_F(TabImportTest, LinesLongerThanTheBufferComeInPieces) {
  ASSERT_EQ(Read("b\n1" + std::string(788, '-') + "1b\nb\n"), 1);
  EXPECT_EQ(ChordsRead(), (Lines{"3:", "3:0@68"}));
}

TEST_F(TabImportTest, AFolderInNameOrder) {
  TempDir dir;
  WriteText(dir.File("b.tab"), "{Second}\nb\n1b\nb\n");
  WriteText(dir.File("a.TAB"), "{First}\nb\n1a\nb\n");
  WriteText(dir.File("c.tab"), "no bar lines here\n");
  WriteText(dir.File("notes.txt"), "b\n1a\nb\n");
  const size_t before = doc.sections.size();
  prompts.QueueFolder(dir.path());
  EXPECT_EQ(OnImportTabFolder(doc), 2u);
  ASSERT_EQ(doc.sections.size(), before + 2);
  EXPECT_EQ(Section(before).Title().text, "First");
  EXPECT_EQ(Section(before + 1).Title().text, "Second");
  EXPECT_EQ(Section(before + 1).Definition(0)->nameText.text, "Lute in G");
  EXPECT_EQ(prompts.messages, (Lines{"Error encountered while processing file\n\nc.tab, line 1: no bar line (a line "
                                     "beginning with \"b\") from there to the end of the file"}));

  TempDir empty;
  prompts.QueueFolder(empty.path());
  EXPECT_EQ(OnImportTabFolder(doc), 0u);
  EXPECT_EQ(prompts.messages.back(), "No files found to import");
  EXPECT_EQ(doc.sections.size(), before + 2);
}

TEST_F(TabImportTest, HostileLines) {
  for (const std::string& text :
       {std::string("b\n") + std::string(1 << 20, 'a') + "\nb\n", std::string("b\n1}{UUU\"&\\\nb\n"),
        std::string("b\n1!^!^!^!^!^!^!^!^!^!^!^!^\nb\n"), std::string("b\n1aaaaaaaaaaaaU{\n1X}}}}\ne\n<pre>\n"),
        std::string("b\ne\n</pre>\n<pre>\nno bars\n"), std::string("\0\0\0b\n\xFF\xFE\nb", 10),
        std::string("b\nS\nS9\nS99999999999\nC/\nb\n"), std::string(200, 'b') + "\n"}) {
    Read(text);
  }
}

}  // namespace
}  // namespace vornel::testing
