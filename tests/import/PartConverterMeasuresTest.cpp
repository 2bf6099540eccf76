// The part converter's measures and attributes: meters, clefs, the owed bars, backup and
// forward, the voice-time check, and divisions that make no time.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PartConverterSupport.h"

namespace vornel {
namespace {

using Case = testing::TagCase;
using testing::CheckTagCases;
using testing::ConvertMeasures;
using testing::ConvertScore;
using testing::PitchedNote;
using testing::Rest;

std::string Time(const std::string& inside, const std::string& symbol = "") {
  return "<attributes><time" + (symbol.empty() ? "" : " symbol=\"" + symbol + "\"") + ">" + inside +
         "</time></attributes>";
}

const std::string kC4 = PitchedNote("C4", 4);

TEST(PartConverterMeasures, Meters) {
  CheckTagCases({
      {"4/4 common",
       {Time("<beats>4</beats><beat-type>4</beat-type>", "common") + kC4},
       "\\meter C 4 4\nnote 48 c 4 \"\" 257 0 1 1 0\n"},
      {"3/4 with the common symbol",
       {Time("<beats>3</beats><beat-type>4</beat-type>", "common") + kC4},
       "\\meter 3/4 3 4\nnote 48 c 4 \"\" 257 0 1 1 0\n"},
      {"2/2 common; cut keeps the beats it shows, and stands for 2/2 without them",
       {Time("<beats>2</beats><beat-type>2</beat-type>", "common") + kC4,
        Time("<beats>3</beats><beat-type>8</beat-type>", "cut") + kC4, Time("", "cut") + kC4},
       R"(\meter C/ 2 2
note 48 c 4 "" 257 0 1 1 0
\bar 1
\meter 3/8 3 8
note 48 c 4 "" 257 0 1 1 0
\bar 2
\meter C/ 2 2
note 48 c 4 "" 257 0 1 1 0
)"},
      {"2/4+3/8",
       {Time("<beats>2</beats><beat-type>4</beat-type><beats>3</beats><beat-type>8</beat-type>") + kC4},
       "\\meter 2/4+3/8 7 8\nnote 48 c 4 \"\" 257 0 1 1 0\n"},
      {"beats of several terms, and an interchangeable time left out",
       {Time("<beats>3+2</beats><beat-type>8</beat-type>") + kC4,
        Time("<beats>3</beats><beat-type>4</beat-type><interchangeable><beats>6</beats><beat-type>8</beat-type>"
             "</interchangeable>") +
            kC4},
       R"(\meter 3+2/8 5 8
note 48 c 4 "" 257 0 1 1 0
\bar 1
\meter 3/4 3 4
note 48 c 4 "" 257 0 1 1 0
)"},
      {"senza misura keeps the time before it",
       {Time("<beats>6</beats><beat-type>8</beat-type>") + kC4, Time("<senza-misura/>") + kC4},
       R"(\meter 6/8 6 8
note 48 c 4 "" 257 0 1 1 0
\bar 1
\meter "" 6 8
note 48 c 4 "" 257 0 1 1 0
)"},
  });
}

TEST(PartConverterMeasures, ASecondVoiceOfAStaffTakesNoAttributes) {
  // Meter, clef and key stay with the staff's first voice; repeats and bars come in both.
  const std::string attributes =
      "<attributes><key><fifths>-2</fifths></key><time><beats>2</beats><beat-type>4</beat-type></time>"
      "<clef><sign>G</sign><line>2</line></clef></attributes>";
  const testing::ConvertedTags got = ConvertMeasures(
      {attributes + PitchedNote("C5", 2) + "<backup><duration>2</duration></backup>" + PitchedNote("C4", 2, 2) +
           "<barline location=\"right\"><repeat direction=\"backward\"/></barline>",
       PitchedNote("D5", 2) + "<backup><duration>2</duration></backup>" + PitchedNote("D4", 2, 2)});
  EXPECT_EQ(got.list, R"(staff 1 1 2 0 0
\key -2
\meter 2/4 2 4
\clef 0 2 0 g2
note 60 c 5 "" 258 0 1 2 0
\repeatEnd
note 62 d 5 "" 258 0 1 2 0
endstaff staff
staff 1 1 2 1 0
note 48 c 4 "" 258 0 1 2 0
\repeatEnd
note 50 d 4 "" 258 0 1 2 0
endstaff staff
)");
}

TEST(PartConverterMeasures, Clefs) {
  const auto clef = [](const std::string& sign, int line, const std::string& more = "") {
    return "<attributes><clef" + more + "><sign>" + sign + "</sign><line>" + std::to_string(line) + "</line></clef>" +
           "</attributes>";
  };
  CheckTagCases({
      {"g2 an octave down",
       {"<attributes><clef><sign>G</sign><line>2</line><clef-octave-change>-1</clef-octave-change></clef></"
        "attributes>" +
        kC4},
       "\\clef 0 2 -1 g2-8\nnote 48 c 4 \"\" 257 0 1 1 0\n"},
      {"f4, c3 and tablature; a line of 0 adds no number",
       {clef("F", 4) + kC4 + clef("C", 3) + clef("TAB", 0) + clef("percussion", 0) + clef("none", 0)},
       R"(\clef 1 4 0 f4
note 48 c 4 "" 257 0 1 1 0
\clef 2 3 0 c3
\clef 4 0 0 TAB
\clef 3 0 0 perc
\clef 5 0 0 none
)"},
      {"a sign outside the table",
       {clef("X", 2) + kC4},
       "note 48 c 4 \"\" 257 0 1 1 0\n",
       "warning: unknown clef sign \"X\"\n"},
  });
}

TEST(PartConverterMeasures, ClefsOfAPartOfTwoStaves) {
  // Voice 1 on staff 1, voice 2 on staff 2: the clef of staff 2 is not the first converter's,
  // and a clef without a number is both converters'.
  const std::string part =
      "<attributes><staves>2</staves><clef number=\"2\"><sign>F</sign><line>4</line></clef>"
      "</attributes>" +
      PitchedNote("C5", 4, 1, "<staff>1</staff>") +
      "<backup><duration>4</duration>"
      "</backup>" +
      PitchedNote("C3", 4, 2, "<staff>2</staff>") +
      "<attributes><clef><sign>G</sign><line>2</line></clef></attributes>";
  const testing::ConvertedTags got = ConvertScore(testing::OnePartScore(testing::Measures({part})));
  EXPECT_EQ(got.list, R"(staff 1 2 2 0 0
note 60 c 5 "" 257 0 1 1 0
\clef 0 2 0 g2
endstaff staff
staff 2 2 2 1 0
\clef 1 4 0 f4
note 36 c 3 "" 257 0 1 1 0
\clef 0 2 0 g2
endstaff staff
)");
}

TEST(PartConverterMeasures, OwedBars) {
  const std::string q = PitchedNote("C4", 1);
  const auto barline = [](const std::string& location, const std::string& direction) {
    return "<barline location=\"" + location + "\"><repeat direction=\"" + direction + "\"/></barline>";
  };
  CheckTagCases({
      {"numbered by the measures before them", {q, q, q}, R"(note 48 c 4 "" 260 0 1 4 0
\bar 1
note 48 c 4 "" 260 0 1 4 0
\bar 2
note 48 c 4 "" 260 0 1 4 0
)"},
      {"none after a backward repeat", {q + barline("right", "backward"), q}, R"(note 48 c 4 "" 260 0 1 4 0
\repeatEnd
note 48 c 4 "" 260 0 1 4 0
)"},
      {"a forward repeat instead", {q, barline("left", "forward") + q}, R"(note 48 c 4 "" 260 0 1 4 0
\repeatBegin
note 48 c 4 "" 260 0 1 4 0
)"},
      {"an implicit measure after a bar line that shows: its bar is not numbered",
       {q, "<measure number=\"X1\" implicit=\"yes\">" + q + "</measure>", q},
       R"(note 48 c 4 "" 260 0 1 4 0
\bar 1
note 48 c 4 "" 260 0 1 4 0
\skipNumber
\bar 2
note 48 c 4 "" 260 0 1 4 0
)"},
      {"none before an implicit measure after an invisible bar line, nor after an implicit first",
       {"<measure number=\"0\" implicit=\"yes\">" + q + "</measure>",
        q + "<barline location=\"right\"><bar-style>none</bar-style></barline>",
        "<measure number=\"X1\" implicit=\"yes\">" + q + "</measure>"},
       R"(\firstBar 0
note 48 c 4 "" 260 0 1 4 0
\bar 1
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
)"},
      {"a middle barline",
       {q + "<barline location=\"middle\"><bar-style>dashed</bar-style></barline>" + q},
       R"(note 48 c 4 "" 260 0 1 4 0
\bar
note 48 c 4 "" 260 0 1 4 0
)"},
  });
}

TEST(PartConverterMeasures, AMeasureCommentOpensEachMeasure) {
  const testing::ConvertedTags got = testing::ConvertMeasures({PitchedNote("C4", 1)}, true);
  EXPECT_EQ(got.list, "\"\\n   (* meas. 1 *) \"\nnote 48 c 4 \"\" 260 0 1 4 0\n");
}

TEST(PartConverterMeasures, VoiceTime) {
  const std::string q = PitchedNote("C4", 1);
  const std::string backup = "<backup><duration>1</duration></backup>";
  CheckTagCases({
      {"a backup: the other voice's notes move no time of this one",
       {q + q + "<backup><duration>2</duration></backup>" + PitchedNote("E4", 2, 2)},
       R"(staff 1 1 2 0 0
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
endstaff staff
staff 1 1 2 1 0
note 52 e 4 "" 258 0 1 2 0
endstaff staff
)"},
      {"a forward of this voice, and one of 0",
       {"<forward><duration>1</duration><voice>1</voice></forward>" + q +
        "<forward><duration>0</duration><voice>1</voice></forward>"},
       "note 0 empty 3 \"\" 260 0 1 4 0\nnote 48 c 4 \"\" 260 0 1 4 0\n"},
      {"a voice that stops at 3/4 of the measure",
       {q + q + q + "<backup><duration>3</duration></backup>" + PitchedNote("E4", 4, 2)},
       R"(staff 1 1 2 0 0
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
note 0 empty 3 "" 260 0 1 4 0
endstaff staff
staff 1 1 2 1 0
note 52 e 4 "" 257 0 1 1 0
endstaff staff
)"},
      {"a voice ahead of its measure",
       {q + q + q + q + backup + q},
       R"(note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
)",
       // Before the fifth note, and at the measure's end.
       "warning! checkVoiceTime: measure time behind voice time -1/4\n"
       "warning! checkVoiceTime: measure time behind voice time -1/4\n"},
  });
}

TEST(PartConverterMeasures, DivisionsThatMakeNoTime) {
  const auto divisions = [](int n) {
    return "<attributes><divisions>" + std::to_string(n) + "</divisions></attributes>";
  };
  CheckTagCases({
      {"0 at the start keeps 1",
       {divisions(0) + PitchedNote("C4", 2)},
       "note 48 c 4 \"\" 258 0 1 2 0\n",
       "warning: divisions of 0 left out, keeping 1\n"},
      {"-4 after 2 keeps 2",
       {divisions(2) + PitchedNote("C4", 2) + divisions(-4) + PitchedNote("D4", 1)},
       "note 48 c 4 \"\" 260 0 1 4 0\nnote 50 d 4 \"\" 264 0 1 8 0\n",
       "warning: divisions of -4 left out, keeping 2\n"},
  });
}

}  // namespace
}  // namespace vornel
