// The walk of the flat tag list on hand-built lists: what each tag makes of the voices, the
// tunings and the section, checked against dumps of the walked voices.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ImportTestSupport.h"

namespace vornel {
namespace {

using testing::DumpVoice;
using testing::SectionOfParts;
using testing::WalkText;

// A flat "note" line: pitch (C4 = 48), accidental, string word and the exact value.
std::string N(int pitch, const char* accidental = "", int stringWord = 0, int n = 1, int d = 4, int dots = 0) {
  return "note " + std::to_string(pitch) + " x 4 \"" + accidental + "\" 260 " + std::to_string(stringWord) + " " +
         std::to_string(n) + " " + std::to_string(d) + " " + std::to_string(dots) + "\n";
}

std::string Notes(std::initializer_list<int> pitches) {
  std::string lines;
  for (const int p : pitches) lines += N(p);
  return lines;
}

const std::string kStaff = "staff 1 1 1 0 0\n";

struct WalkCase {
  const char* label;
  std::string tags;
  // The first voice of the first definition after the walk and an "endstaff". Measures that
  // bar lines close before any time signature start with a hidden one of their own length.
  const char* voice;
  const char* warnings = "";
};

void RunCases(const std::vector<WalkCase>& cases) {
  for (const WalkCase& c : cases) {
    auto section = SectionOfParts({"Lute"});
    EXPECT_EQ(WalkText(*section, c.tags + "endstaff staff\n"), c.warnings) << c.label;
    EXPECT_EQ(DumpVoice(section->Definition(0)->gathered[0]), c.voice) << c.label;
  }
}

TEST(TagWalk, ChordsGraceNotesRestsAndValues) {
  RunCases({
      {"a chord sorts its notes", kStaff + "chord\n" + N(48) + N(55) + N(52) + "endchord chord\n" + N(48) + N(55),
       "q 3 [67 c0 i39] [64 c1 i37] [60 c2 i35]\nq 3 [60 c2 i35]\nq 3 [67 c0 i39]\n"},
      {"grace notes are dropped up to their own end",
       kStaff + N(48) + "\\grace\n" + N(50) + "\\volta 1 1.\n" + N(51) + "endgroup \\volta\n" + N(52) +
           "endgroup \\grace\n" + N(53),
       "q 3 [60 c2 i35]\nq 3 [65 c1 i38]\n"},
      {"rests", kStaff + N(-1) + N(0) + N(65535) + "note -1 _ 3 \"\" 260 0\n",
       "q 3\nq 3\nq 3\nq 3\n"},
      {"values", kStaff + N(48, "", 0, 1, 8, 1) + N(48, "", 0, 3, 8) + N(48, "", 0, 1, 12) + N(48, "", 0, 1, 0) +
           "note 48 c 4 \"\" 4360 0\n",  // the packed word alone: 1/8, dotted
       // A dotted eighth, a dotted quarter, a triplet eighth, nothing (the shortest value) and the
       // word's value.
       "q 12 [60 c2 i35]\nq 11 [60 c2 i35]\nq 20 [60 c2 i35]\nq 7 [60 c2 i35]\nq 12 [60 c2 i35]\n",
       "warning: part 1, measure 1: a note of no length is played as 1/64\n"},
      {"values of a breve and longer", kStaff + N(48, "", 0, 2, 1) + N(48, "", 0, 3, 1) + N(48, "", 0, 8, 1),
       // A breve, a dotted breve, and eight whole notes held over three values.
       "q 0 [60 c2 i35]\n| 1\nq 8 [60 c2 i35]\n| 1\nq 8 [60 c2 i35]\n| 1\nq 8 [60 c2 i35 slur 2048]\n| 1\n"
       "q 0 [60 c2 i35 slur 2048]\n",
       "warning: part 1, measure 1: a note of 8/1 is held as 3/1 + 3/1 + 2/1\n"},
      {"before the first staff nothing is made", N(48) + "bar\nmeter 3/4 3 4\nstemsUp\n" + kStaff + N(50), "q 3 [62 c1 i36]\n"},
  });
}

TEST(TagWalk, CoursesFromTheStringWordOrTheTuning) {
  // The default lute's first course is G4 (67), its seventh D2 (38) below F2 (41).
  RunCases({
      // C3 on course 3; found on the tuning; course 20 is not there; F2 on the seventh; C2 has no
      // course until the fret tag puts it on the fifth.
      {"string words", kStaff + N(48, "", 3 << 8) + N(48, "", 0) + N(48, "", 20 << 8) + N(29) + N(24) + "fret 1281\n",
       "q 3 [60 c2 i35]\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\nq 3 [41 c6 i24]\n| 1\nq 3 [36 c4 i21]\n"},
      {"a fret tag moves the last note", kStaff + N(50) + "fret 1280\n" + N(50) + "fret 0\n" + N(50) + "fret 9999\n",
       "q 3 [62 c4 i36]\nq 3 [62 c1 i36]\nq 3 [62 c1 i36]\n"},
  });
}

TEST(TagWalk, SlursTiesAndLegato) {
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += N(48 + 2 * i);
  RunCases({
      {"slur words rising and falling",
       kStaff + "slurBegin 1 0\n" + Notes({48, 50, 52}) + "slurEnd 1\nslurBegin 2 1\n" + Notes({52, 50, 48}) +
           "slurEnd 2\n",
       // Bit 7 (0x80) turns the first over the notes, as its placement asks.
       "q 3 [60 c2 i35 slur 145]\nq 3 [62 c1 i36]\nq 3 [64 c1 i37]\nq 3 [64 c1 i37 slur 81]\n| 1\n"
       "q 3 [62 c1 i36]\nq 3 [60 c2 i35]\n"},
      // Over ten chords and two bar lines (11 columns); in notation from a line over C4 (the
      // line under the base line: 8) to a line over F#5 (3); 0x77 in tablature; bent 2 lines.
      {"a long slur without a number is a legato", kStaff + "slurBegin 0 0\n" + ten + "slurEnd -1\n",
       "q 3 [60 c2 i35] {6 '' 7813131 -2 -2}\nq 3 [62 c1 i36]\nq 3 [64 c1 i37]\nq 3 [66 c1 i38]\n| 1\n"
       "q 3 [68 c0 i39]\nq 3 [70 c0 i41]\nq 3 [72 c0 i42]\nq 3 [74 c0 i43]\n| 1\nq 3 [76 c0 i44]\nq 3 [78 c0 i45]\n"},
      // A note that ends a slur and starts one of the same number: the end is the older one's.
      // Without a placement the notes decide: over notes at or above the staff's middle (B4).
      {"slurs of one number one after another",
       kStaff + "slurBegin 1 2\n" + N(48) + "slurBegin 1 2\n" + N(52) + "slurEnd 1\nslurBegin 1 2\n" + N(71) +
           "slurEnd 1\n" + N(72) + "slurEnd 1\n",
       "q 3 [60 c2 i35 slur 16]\nq 3 [64 c1 i37 slur 184]\nq 3 [83 c0 i48 slur 136]\nq 3 [84 c0 i49]\n"},
      // A leap of more than seven steps keeps seven; eight chords over a bar line fit a word.
      {"a wide leap and eight chords over a bar",
       kStaff + "slurBegin 1 1\n" + Notes({36, 38, 40, 41, 43, 45, 47, 48}) + N(50) + "slurEnd 1\n",
       "q 3 [48 c4 i28 slur 63]\nq 3 [50 c4 i29]\nq 3 [52 c4 i30]\nq 3 [53 c3 i31]\n| 1\nq 3 [55 c3 i32]\n"
       "q 3 [57 c2 i33]\nq 3 [59 c2 i34]\nq 3 [60 c2 i35]\n| 1\nq 3 [62 c1 i36]\n"},
      {"a slur mark waits past a rest; numbers out of range do nothing",
       kStaff + "slurBegin 3 1\n" + N(-1) + Notes({48, 50}) + "slurEnd 3\nslurBegin 9 0\nslurEnd 9\n",
       "q 3\nq 3 [60 c2 i35 slur 8]\nq 3 [62 c1 i36]\n"},
      {"ties",
       kStaff + "tieBegin\n" + N(28) + "tieBegin\n" + N(33) + N(33) + "tieEnd\n" + N(28) + "tieEnd\n" + N(28) +
           "tieEnd\n",
       "q 3 [40 c255 i23]\nq 3 [45 c5 i26]\nq 3 [45 c5 i26 slur 2048]\nq 3 [40 c255 i23 slur 2048]\n| 1\n"
       "q 3 [40 c255 i23]\n"},
      {"a tie from a dropped grace note ties nothing",
       kStaff + N(48) + "\\grace\ntieBegin\n" + N(43) + "tieEnd\nendgroup \\grace\n" + N(43) + "tieEnd\n",
       "q 3 [60 c2 i35]\nq 3 [55 c3 i32]\n"},
      // The first staff has no end: its notes go. A slur end without its start (a chord note's)
      // makes nothing.
      {"a new staff lets go of the notes of the last one",
       kStaff + "slurBegin 1 0\ntieBegin\n" + N(48) + "staff 1 1 1 0 0\nslurEnd 1\ntieEnd\n" + N(50) +
           "slurEnd 1\ntieEnd\n",
       "q 3 [62 c1 i36]\n"},
  });
}

TEST(TagWalk, MarksWaitForTheNextChord) {
  RunCases({
      {"dynamics, words, lyrics, fermata, coda and chord names",
       kStaff + "intens mf\nintens xyz\nwords \"Allegro ma non troppo\"\n" + N(48) + "lyric la\nfermata\n" + N(-1) +
           "coda\nchord_name Am\n" + N(-1) + N(50) + "intens pp\n",
       "q 3 [60 c2 i35] {34 'mf' 0 0 262244} {34 'xyz' 0 0 100} {5 'Allegro ma non troppo' 0 0 0}\n"
       "q 3 {0 'la' 0 0 0} {18 '' 0 0 0}\nq 3 {50 '' 0 0 0}\nq 3 [62 c1 i36] {16 'Am' 0 0 0}\n"},
      // A marking outside the table keeps code 0 and plays at a level near its own (100 when
      // none is known), not silence. Under the staff: a caption's line byte 7, a dynamic's -7
      // (0x87), a hairpin's 12. A hairpin or pedal spans the chords to the one after the last
      // made at its stop; a pedal keeps the last dynamic's level.
      {"directions under the staff, hairpins and pedals",
       kStaff + "intens sfz below\nwords \"sempre dolce\" below\ncrescBegin below\n" + N(48) + N(50) +
           "crescEnd\n" + N(52) + "pedal start\n" + N(53) + "intens p\n" + N(55) + "pedal change\n" + N(57) +
           "dimBegin\n" + N(59) + "pedal stop\n" + N(60) + "dimEnd\n",
       "q 3 [60 c2 i35] {34 'sfz' 34560 0 120} {5 'sempre dolce' 1792 0 0} {15 '' 3074 0 1}\nq 3 [62 c1 i36]\n"
       "q 3 [64 c1 i37]\nq 3 [65 c1 i38] {34 'pedal' 34562 0 655480}\n| 1\nq 3 [67 c0 i39] {34 'p' 0 0 131156}\n"
       "q 3 [69 c0 i40] {34 'pedal' 34562 0 655444}\nq 3 [71 c0 i41] {15 '' 2 0 0}\nq 3 [72 c0 i42]\n"},
      {"stems", kStaff + N(48) + "stemsUp\n" + N(50) + "stemsUp\nstemsDown\n" + N(52) + "stemsDown\nbar\nstemsUp\n",
       "s 18 {1 'true' 0 3 4}\nq 3 stem [60 c2 i35]\nq 3 [62 c1 i36]\nq 3 stem [64 c1 i37]\n| 17\n"},
  });
}

TEST(TagWalk, BarsMetersKeysAndTempi) {
  RunCases({
      {"bars and repeats", kStaff + N(48) + "repeatBegin\n" + N(48) + "bar 2\n" + N(48) + "repeatEnd\n",
       "s 18 {1 'true' 0 1 4}\nq 3 [60 c2 i35]\n| 145\nq 3 [60 c2 i35]\n| 17\nq 3 [60 c2 i35]\n| 129\n"},
      // Value bit 3 (8) draws the symbol; a symbol text of another time keeps its figures.
      {"common and cut time keep their symbol",
       kStaff + "meter C 4 4\n" + N(48, "", 0, 1, 1) + "meter C/ 2 2\n" + N(48, "", 0, 1, 1) + "meter 3/8 3 8\n",
       "s 18 {1 'true' 9 4 4}\nq 1 [60 c2 i35]\n| 49\ns 18 {1 'true' 9 2 2}\nq 1 [60 c2 i35]\n| 49\n"
       "s 18 {1 'true' 1 3 8}\n"},
      {"measures without a time signature are as long as their notes, up to the first one",
       kStaff + Notes({48, 48, 48}) + "bar 1\n" + Notes({48, 48, 48}) + "bar 2\n" + Notes({48, 48}) + "bar 3\n" +
           "meter 4/4 4 4\n" + Notes({48, 48, 48, 48}),
       "s 18 {1 'true' 0 3 4}\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\n| 17\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\n| 17\n"
       "s 18 {1 'true' 0 2 4}\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\n| 17\n"
       "s 18 {1 'true' 1 4 4}\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\n"},
      {"a second meter of a staff is set off by a double bar",
       kStaff + "meter 2/4 2 4\n" + Notes({48, 48}) + "meter 3/4 3 4\nmeter 5/6 5 6\nmeter 0/4 0 4\nmeter 65/4 65 4\n" +
           Notes({48, 48, 48}),
       "s 18 {1 'true' 1 2 4}\nq 3 [60 c2 i35]\nq 3 [60 c2 i35]\n| 49\ns 18 {1 'true' 1 3 4}\nq 3 [60 c2 i35]\n"
       "q 3 [60 c2 i35]\nq 3 [60 c2 i35]\n",
       "warning: a time signature of 5/6 is left out\nwarning: a time signature of 0/4 is left out\n"
       "warning: a time signature of 65/4 is left out\n"},
  });
  // The first meter sets the section's; each staff's first meter stands without a double bar.
  auto section = SectionOfParts({"Lute", "Viol"});
  WalkText(*section, kStaff + "meter 3/4 3 4\n" + N(48) + "key -2\nendstaff\nstaff 2 1 1 0 1\nmeter 6/8 6 8\nkey 9\n" +
                         N(48) + "tempo \"tempo=\\\"[3/8] = 80\\\"\"\nendstaff\n");
  EXPECT_EQ(section->numerator, 3);
  EXPECT_EQ(section->denominator, 4);
  EXPECT_EQ(section->tempo & 0xFFF, 120);
  EXPECT_EQ(section->key.GetKeyLabel(), "BbM[2b]");
  EXPECT_EQ(section->Definition(0)->key.GetKeyLabel(), "BbM[2b]");
  EXPECT_EQ(section->Definition(1)->key.GetKeyLabel(), "CM[0b]");  // its key of 9 fifths was left out
  EXPECT_EQ(DumpVoice(section->Definition(1)->gathered[0]), "s 18 {1 'true' 1 6 8}\nq 3 [60 c2 i35]\n");
  WalkText(*section, "tempo 72.4\n");
  EXPECT_EQ(section->tempo & 0xFFF, 72);
  WalkText(*section, "tempo 0\ntempo \"tempo=\\\"[1/0] = 80\\\"\"\n");
  EXPECT_EQ(section->tempo & 0xFFF, 72);
}

TEST(TagWalk, Tunings) {
  auto section = SectionOfParts({"Guitar", "Lute"});
  const std::string warnings = WalkText(*section,
                                        "\\tuning 1\n\\staff_lines 6\ncapo 0\nstrings_tuning 40 45 50 55 59 64\n"
                                        "endgroup \\tuning\n"
                                        "\\tuning 0\n\\staff_lines 4\ncapo 2\nstrings_tuning 40 45 50 54 59 64\n"
                                        "\\tuning 2\n\\staff_lines 6\ncapo 0\nstrings_tuning 40\n"
                                        "\\tuning 0\n\\staff_lines 6\ncapo 0\nstrings_tuning 20 40\n"
                                        "\\tuning 0\nstrings_tuning 40\n"
                                        "\\tuning 0\n\\staff_lines 0\ncapo 0\nstrings_tuning 40\n");
  EXPECT_EQ(warnings,
            "warning: a tuning of part 2, which is not there, is left out\n"
            "warning: a tuning with the pitch 20 is left out\n"
            "warning: a tuning without its staff lines, capo and string pitches is left out\n"
            "warning: a tuning without courses is left out\n");
  const nTuning& lute = section->Definition(1)->tabInstrument.tuning;
  ASSERT_EQ(lute.CoursesInUse(), 6u);
  EXPECT_EQ(lute.courses[0].letter, 'E');
  EXPECT_EQ(lute.courses[0].pitch, 41);
  EXPECT_EQ(lute.courses[5].letter, 'E');
  EXPECT_EQ(lute.courses[5].pitch, 17);
  EXPECT_EQ(lute.lines, 6);
  EXPECT_EQ(section->Definition(1)->tabInstrument.tabStyle, CTabInstrument::kItalian);  // the import defaults
  // Four lines of a capo 2: the four lowest pitches, two semitones up.
  const nTuning& guitar = section->Definition(0)->tabInstrument.tuning;
  ASSERT_EQ(guitar.CoursesInUse(), 4u);
  EXPECT_EQ(guitar.courses[0].pitch + kCoursePitchOffset, 56);
  EXPECT_EQ(guitar.courses[0].letter, 'A');
  EXPECT_EQ(guitar.courses[0].accidental, 'b');
  EXPECT_EQ(guitar.courses[3].pitch + kCoursePitchOffset, 42);
  EXPECT_EQ(guitar.courses[3].accidental, '#');
}

TEST(TagWalk, StavesClefsAndParts) {
  auto section = SectionOfParts({"Piano", "Lute"});
  const std::string warnings = WalkText(
      *section,
      // A part of two staves: voice 1 on the upper, voice 2 on the lower.
      "staff 1 2 2 0 0\nclef 0 2 0 g2\n" + N(60) + "clef 1 4 0 f4\n" + N(62) + "bar\nclef 2 3 0 c3\n" + N(64) +
          "clef 3 0 0 perc\nendstaff\n"
          "staff 2 2 2 1 0\nclef 1 4 0 f4\n" + N(36) + "endstaff\n"
          // The second part: a C clef on line 3 as its first, then a part that is not there.
          "staff 3 1 1 0 1\nclef 2 3 0 c3\n" + N(48) + "endstaff\nstaff 4 1 1 0 5\n" + N(48) + "clef 0 2 0 g2\nendstaff\n");
  EXPECT_EQ(warnings, "");
  const CInstrumentDlg& piano = *section->Definition(0);
  ASSERT_EQ(piano.staves.size(), 2u);
  EXPECT_EQ(piano.staves.at(0)->clefId, CClef::kGClef);
  EXPECT_EQ(piano.staves.at(1)->clefId, CClef::kFClef);
  EXPECT_EQ(piano.staves.at(1)->enabledVoices, CClef::kLowerVoice);
  // The lower staff shows the events of its own voice (its dynamics, pedals, words).
  EXPECT_EQ(piano.staves.at(1)->hideMetaEvents, 0);
  EXPECT_EQ(piano.voiceSelector, 1);
  EXPECT_EQ(DumpVoice(piano.gathered[0]),
            "s 18 {1 'true' 0 2 4}\nq 3 [72 c0 i42]\ns 146 {9 '' 65538 0 0}\nq 3 [74 c0 i43]\n| 25 {9 '' 65539 0 0}\nq 3 [76 c0 i44]\n");
  EXPECT_EQ(DumpVoice(piano.gathered[1]), "q 3 [48 c4 i28]\n");
  const CInstrumentDlg& lute = *section->Definition(1);
  EXPECT_EQ(lute.staves.at(0)->clefId, CClef::kCClef);
  EXPECT_EQ(lute.staves.at(0)->clefRaise, 3);
  EXPECT_EQ(DumpVoice(lute.gathered[0]), "q 3 [60 c2 i35]\n");
}

TEST(TagWalk, HostileListsDoNoHarm) {
  auto section = SectionOfParts({"Lute"});
  WalkText(*section,
           "endstaff\nendchord\nslurEnd 1\ntieEnd\nfret 256\nstaff\nstaff -5 99999999999 2 -1 -1\n" + N(48) +
               "staff 1 2 1 0 0\nchord\nchord\n" + N(2147483647) + "note\nnote a b c d e f g h i\nendchord\n"
               "slurBegin 1 0\nslurEnd 1\nclef 99 0 0\nclef -1\nmeter\nkey\ntempo\nintens\n\\tuning\n"
               // the farthest part number, on a staff whose odd value is approximated with a warning
               "staff 1 1 1 0 2147483647\n" + N(48, "", 0, 1, 7) + "endstaff\nstaff 1 1 1 0 -2147483648\n" +
               N(48, "", 0, 1, 7) + "endstaff\n");
  EXPECT_EQ(DumpVoice(section->Definition(0)->gathered[0]), "");
}

}  // namespace
}  // namespace vornel
