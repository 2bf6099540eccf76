// The TAB text and Braille text of chords, voices and sections.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "layout/export/BrailleExport.h"
#include "model/score/CSystemArray.h"
#include "model/instrument/CTabInstrument.h"
#include "model/ScoreText.h"

namespace vornel {
namespace {

using testing::ChordOf;
using testing::NoteOn;

// The default lute: French letters, "GDAFCGF" (MIDI 67 62 57 53 48 43 41), six lines.
CTabInstrument Lute(int32_t style = CTabInstrument::kFrench, std::string_view tuning = "GDAFCGF") {
  CTabInstrument instrument;
  instrument.tabStyle = style;
  instrument.tuning.SetTuning(tuning);
  instrument.tuningText = instrument.tuning.GetTuningText();
  return instrument;
}

std::unique_ptr<nChord> ChordWithNote(uint16_t rhythm, uint8_t pitch, uint8_t course, uint16_t ornament = 0,
                                      uint16_t fingering = 0) {
  auto chord = std::make_unique<nChord>(nChord::kChord, rhythm);
  auto note = NoteOn(pitch, course);
  note->ornament = ornament;
  note->fingering = fingering;
  chord->AddNote(std::move(note));
  return chord;
}

TEST(TabText, ChordLines) {
  const CTabInstrument french = Lute();
  const CTabInstrument tenCourses = Lute(CTabInstrument::kFrench, "GDAFCGFEDC");
  const CTabInstrument italian = Lute(CTabInstrument::kItalian, "GDAFCGFEDC");
  struct Case {
    std::unique_ptr<nChord> chord;
    const CTabInstrument* instrument;
    bool withRhythm;
    std::string line;
  };
  const auto twoBass = [] {
    auto chord = ChordOf(3, {{67, 0}, {41, 6}, {38, 8}});
    return chord;
  };
  const auto hidden = [] {
    auto chord = ChordWithNote(3, 67, 0);
    chord->status = static_cast<uint16_t>(3 << 8);  // the flag kept for its value, not printed
    return chord;
  };
  Case cases[] = {
      {ChordOf(2), &french, true, "0      \n"},                      // a half-note rest
      {ChordWithNote(3 | 8, 67, 0), &french, true, "1.a     \n"},      // dotted quarter, open first course
      {ChordWithNote(3, 67, 0), &french, false, "xa     \n"},
      {ChordWithNote(3 | 8, 67, 0), &french, false, "x.a     \n"},    // the dot is written after "x" too
      {hidden(), &french, true, "1!a     \n"},
      {ChordOf(0, {{67, 0}, {64, 1}, {48, 4}}), &french, true, "Wac  a \n"},
      // Each note's mark as the reader takes it back: the dots and the stroke after the letter,
      // a finger's number before it, an ornament after "&"; of two marks the first.
      {ChordWithNote(4, 64, 1, 0, 5), &french, true, "2 c.    \n"},
      {ChordWithNote(4, 64, 1, 0, 1), &french, true, "2 c:    \n"},
      {ChordWithNote(4, 64, 1, 0, 0x20), &french, true, "2 \\2c    \n"},
      {ChordWithNote(4, 67, 0, 0, 0x10), &french, true, "2\\1a     \n"},
      {ChordWithNote(4, 64, 1, 66), &french, true, "2 c&#    \n"},
      {ChordWithNote(4, 64, 1, 66, 5), &french, true, "2 c.    \n"},
      {ChordWithNote(5, 41, 6), &tenCourses, true, "3      a\n"},    // the seventh course: no slash
      {ChordWithNote(5, 38, 8), &tenCourses, true, "3      //a\n"},  // the ninth course: two slashes
      {ChordWithNote(5, 38, 8), &italian, true, "3      9\n"},
      // Two bass notes: a position each from the seventh course on.
      {twoBass(), &tenCourses, true, "1a     a a\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.chord->GetTabLine(*c.instrument, c.withRhythm), c.line) << c.line;
}

TEST(TabText, VoiceLinesNumberBarsAndRepeatRhythmSigns) {
  nChordArray voice;
  voice.push_back(ChordWithNote(3, 67, 0));
  voice.push_back(ChordWithNote(3, 62, 1));          // same value: "x"
  voice.push_back(std::make_shared<nChord>(1));      // a plain bar
  voice.push_back(nullptr);
  voice.push_back(std::make_shared<nChord>(nChord::kSpecialEvent));
  voice.push_back(ChordWithNote(3 | 0x1000, 62, 1)); // the tuplet bit does not count
  voice.push_back(std::make_shared<nChord>(0x31));   // a double bar: two bar lines
  voice.push_back(std::make_shared<nChord>(0x11));   // a fixed bar is numbered
  voice.push_back(ChordWithNote(4, 62, 1));
  std::string out;
  int bar = 1;
  voice.WriteTabText(Lute(), out, bar);
  EXPECT_EQ(out, "1a     \nx a    \nb\n%Bar 2\nx a    \nbb\nb\n%Bar 3\n2 a    \n");
  EXPECT_EQ(bar, 3);
}

// A section of two systems on the default lute, with a title.
std::unique_ptr<CSystemArray> TwoSystemSection() {
  auto section = std::make_unique<CSystemArray>();
  section->DeleteAllSystems();
  section->NewSystem(CSystemArray::kAppend);
  section->NewSystem(CSystemArray::kAppend);
  section->Title().text = "Pavane";
  nChordArray& first = section->System(0)->Line(0)->firstVoice;
  first.push_back(ChordWithNote(3, 67, 0));
  first.push_back(std::make_shared<nChord>(1));
  nChordArray& second = section->System(1)->Line(0)->firstVoice;
  second.push_back(ChordWithNote(2, 62, 1));
  return section;
}

TEST(TabText, SectionBodyWithAndWithoutPageBreaks) {
  auto section = TwoSystemSection();
  section->stavesPerPage = 1;
  std::string plain;
  EXPECT_EQ(section->WriteTabFormatText(false, plain), 1);
  EXPECT_EQ(plain,
            "\n{Pavane}\n"
            "\n%Line no.1 ===============\n1a     \nb\n%Bar 2\n"
            "\n%Line no.2 ===============\n0 a    \n"
            "Q\n{/}\n%End of section\n");
  std::string paged;
  section->WriteTabFormatText(true, paged);
  EXPECT_NE(paged.find("%Bar 2\n\np\n\n%Line no.2"), std::string::npos) << paged;

  CSystemArray empty;
  empty.DeleteAllSystems();
  empty.Title().text = "Empty";
  std::string none;
  empty.WriteTabFormatText(true, none);
  EXPECT_EQ(none, "\n{Empty}\nQ\n{/}\n%End of section\n");

  section->activeSystem = 5;
  std::string failed;
  EXPECT_THROW(section->WriteTabFormatText(false, failed), std::out_of_range);
}

TEST(BrailleText, Digits) {
  EXPECT_EQ(BrailleDigits(102), "ajb");
  EXPECT_EQ(BrailleDigits(0), "j");
  EXPECT_EQ(BrailleDigits(-7), "-g");
}

TEST(BrailleText, NoteTexts) {
  const CTabInstrument french = Lute();
  const CTabInstrument italian = Lute(CTabInstrument::kItalian);
  struct Case {
    std::unique_ptr<nChord> chord;
    const CTabInstrument* instrument;
    std::string text;
  };
  Case cases[] = {
      {ChordWithNote(3, 67, 0), &french, ";a.a"},
      {ChordWithNote(3, 65, 1), &italian, "#c.b"},
      {ChordWithNote(3, 72, 0), &italian, "#e.a"},
      {ChordOf(3, {{67, 0}, {62, 1}}), &french, ";a.a;a.b"},
      {ChordWithNote(3, 67, 0, 1), &french, ";a.a'"},
      {ChordWithNote(3, 67, 0, 10), &french, ";a.a.l"},
      {ChordWithNote(3, 67, 0, 0xC0), &french, "@;a.a"},
      {ChordWithNote(3, 67, 0, 0x10), &french, ">=';a.a"},
      {ChordWithNote(3, 67, 0, 0xF0), &french, ";a.a"},  // no prefix beyond the table
      {ChordWithNote(3, 67, 0, 0, 8), &french, "/;a.a"},
      {ChordWithNote(3, 67, 0, 0, 5), &french, ";a.a-"},
      {ChordWithNote(3, 40, 0), &french, "!"},            // below the open course
      {ChordOf(3), &french, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.chord->notes.GetBrailleText(*c.instrument), c.text) << c.text;
}

TEST(BrailleText, VoiceRhythmsBarsAndRepeats) {
  nChordArray voice;
  voice.push_back(ChordWithNote(3 | 8, 67, 0));      // dotted quarter
  voice.push_back(ChordWithNote(3 | 8, 62, 1));      // same word: no rhythm sign
  voice.push_back(std::make_shared<nChord>(1));
  voice.push_back(ChordWithNote(4 | 0x10, 67, 0));   // a tuplet
  voice.push_back(std::make_shared<nChord>(0x81));   // a repeat of kind 0
  voice.push_back(std::make_shared<nChord>(0xB1));   // a repeat of kind 3
  BrailleExport braille;
  voice.WriteBrailleText(braille, Lute());
  EXPECT_EQ(braille.out, ",q';a.a ;a.b l 2,e;a.a <2 l <k' l ");
}

TEST(BrailleText, LongVoicesWrapBeforeTheLineLength) {
  nChordArray voice;
  for (int i = 0; i < 40; ++i) voice.push_back(ChordOf(3));  // rests of one sign after the first
  BrailleExport braille;
  braille.charsPerLine = 32;
  voice.WriteBrailleText(braille, Lute());
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = braille.out.find('\n'); end != std::string::npos; end = braille.out.find('\n', start)) {
    lines.push_back(braille.out.substr(start, end - start));
    start = end + 1;
  }
  lines.push_back(braille.out.substr(start));
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& line : lines) EXPECT_LT(line.size(), 32u) << line;
  EXPECT_EQ(braille.line, 2);
}

TEST(BrailleText, StaveBreaksNumberLinesAndPages) {
  nChordArray voice;
  auto staveBreak = std::make_shared<nChord>(0x41);
  voice.push_back(ChordWithNote(3, 67, 0));
  voice.push_back(staveBreak);
  voice.push_back(staveBreak);
  BrailleExport braille;
  braille.linesPerPage = 4;
  voice.WriteBrailleText(braille, Lute());
  // The first break is line 2 of page 1; the second runs past the page and starts page 2.
  EXPECT_EQ(braille.out, ",q;a.a \n\t,l#b ,b#a ,p#a\nl \x0C\t,l#c ,b#b ,p#a\nl ");
  EXPECT_EQ(braille.page, 2);
  EXPECT_EQ(braille.line, 1);
}

TEST(BrailleText, SectionBody) {
  auto section = TwoSystemSection();
  section->Definition(0)->nameText.text = "Lute";
  BrailleExport braille;
  section->WriteBrailleTabText(braille);
  EXPECT_EQ(braille.out,
            "[begin section]\nTitle: Pavane\nSignature: 4/4 - Tempo: 100\n"
            "Section: Lute\nInstrument: Lute\nTuning: GDAFCGF\n[begin tab]\n"
            ",q;a.a l \n\t,l#b ,b#b ,p#a\nl ,h;a.b \n[end tab]\n"
            "[end section: Pavane]\n\x0C");
  EXPECT_EQ(braille.line, 0);
  EXPECT_TRUE(section->Definition(0)->gathered[0].empty());

  section->Comments().text = "Notes";
  section->EndText().text = "Fine";
  section->Definition(0)->nameText.text.clear();
  for (size_t s = 0; s < 2; ++s) section->System(s)->Line(0)->firstVoice.DeleteChords();
  BrailleExport second;
  section->WriteBrailleTabText(second);
  EXPECT_EQ(second.out,
            "[begin section]\nTitle: Pavane\nComments: Notes\nSignature: 4/4 - Tempo: 100\n"
            "Instrument: \nTuning: GDAFCGF\n[begin tab]\n"
            "No tablature data available\n[endtext]:\nFine\n[end section: Pavane]\n\x0C");
}

}  // namespace
}  // namespace vornel
