// The part converter's directions, texts and endings: jumps and tempo of sounds, voltas, the
// directions of another staff, keys, chord names, words and lyrics.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PartConverterSupport.h"

namespace vornel {
namespace {

using Case = testing::TagCase;
using testing::CheckTagCases;
using testing::ConvertScore;
using testing::PitchedNote;

const std::string kQ = PitchedNote("C4", 1);

std::string Sound(const std::string& attributes) { return "<sound " + attributes + "/>"; }

std::string Ending(const std::string& type, const std::string& number = "2") {
  return "<barline><ending type=\"" + type + "\" number=\"" + number + "\"/></barline>";
}

TEST(PartConverterDirections, SoundsAndKeys) {
  CheckTagCases({
      {"da capo wins over fine; fine alone; a tempo",
       {kQ + Sound("dacapo=\"yes\" fine=\"yes\"") + kQ + Sound("fine=\"yes\"") + Sound("tempo=\"84.5\"") +
        Sound("dynamics=\"80\"")},
       R"(note 48 c 4 "" 260 0 1 4 0
\daCapo
note 48 c 4 "" 260 0 1 4 0
\fine
\tempo 84.5
)"},
      {"dal segno and to coda", {Sound("tocoda=\"a\" tempo=\"60\"") + kQ + Sound("dalsegno=\"a\"")}, R"(\daCoda
note 48 c 4 "" 260 0 1 4 0
\dalSegno
)"},
      {"a key of two flats, its mode unused",
       {"<attributes><key><fifths>-2</fifths><mode>minor</mode></key></attributes>" + kQ},
       R"(\key -2
note 48 c 4 "" 260 0 1 4 0
)"},
  });
}

TEST(PartConverterDirections, Endings) {
  CheckTagCases({
      {"volta 2 with a discontinue",
       {Ending("start") + kQ + kQ, kQ + Ending("discontinue")},
       R"(\volta 2 2. "format=\"|-\""
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
\bar 1
note 48 c 4 "" 260 0 1 4 0
endgroup \volta
)"},
      {"a stop with no volta open ends nothing",
       {kQ + Ending("stop") + Ending("discontinue"), kQ},
       R"(note 48 c 4 "" 260 0 1 4 0
\bar 1
note 48 c 4 "" 260 0 1 4 0
)"},
      {"a start while a volta is open ends it first",
       {Ending("start", "1") + kQ + Ending("start", "") + kQ + Ending("stop")},
       R"(\volta 1 1.
note 48 c 4 "" 260 0 1 4 0
endgroup \volta
\volta "" .
note 48 c 4 "" 260 0 1 4 0
endgroup \volta
)"},
  });
}

TEST(PartConverterDirections, DirectionsOfAnotherStaff) {
  // Voice 1 on staff 1, voice 2 on staff 2: a direction for staff 2 gives its coda, segno and
  // words to staff 2 only.
  const std::string direction =
      "<direction><direction-type><coda/></direction-type><direction-type><segno/></direction-type>"
      "<direction-type><words>Fine</words></direction-type><staff>2</staff></direction>";
  const std::string measure = "<attributes><staves>2</staves></attributes>" + direction +
                              PitchedNote("C5", 4, 1, "<staff>1</staff>") + "<backup><duration>4</duration></backup>" +
                              PitchedNote("C3", 4, 2, "<staff>2</staff>");
  const testing::ConvertedTags got = ConvertScore(testing::OnePartScore(testing::Measures({measure})));
  EXPECT_EQ(got.list, R"(staff 1 2 2 0 0
note 60 c 5 "" 257 0 1 1 0
endstaff staff
staff 2 2 2 1 0
\coda
\segno
\words Fine
note 36 c 3 "" 257 0 1 1 0
endstaff staff
)");
}

TEST(PartConverterDirections, ChordNamesWordsAndLyrics) {
  const std::string harmony =
      "<harmony><root><root-step>D</root-step><root-alter>1</root-alter></root><kind text=\"m7\">minor-seventh</kind>"
      "</harmony>";
  const std::string words = "<direction><direction-type><words>dolce e piano</words></direction-type></direction>";
  const std::string loud = "<notations><dynamics><ff/></dynamics></notations>";
  const auto syllable = [](const std::string& syllabic, const std::string& text) {
    return "<lyric><syllabic>" + syllabic + "</syllabic><text>" + text + "</text></lyric>";
  };
  const std::string kChordTag = "<chord/>";
  const auto sung = [](const std::string& pitch, int voice, const std::string& syllable,
                       const std::string& before = "") {
    return PitchedNote(pitch, 1, voice, "<lyric><syllable>single</syllable><text>" + syllable + "</text></lyric>",
                       before);
  };
  CheckTagCases({
      {"a chord name and words", {harmony + words + kQ}, R"(\chord_name D#m7
\words "dolce e piano"
note 48 c 4 "" 260 0 1 4 0
)"},
      {"lyrics of two voices go each to its own",
       {sung("C5", 1, "la") + sung("E5", 1, "le", "<chord/>") + "<backup><duration>1</duration></backup>" +
        sung("C4", 2, "lo")},
       R"(staff 1 1 2 0 0
\lyric la
\lyric le
chord
note 60 c 5 "" 260 0 1 4 0
note 64 e 5 "" 260 0 1 4 0
endchord chord
endstaff staff
staff 1 1 2 1 0
\lyric lo
note 48 c 4 "" 260 0 1 4 0
endstaff staff
)"},
      // A syllable that begins or goes on with a word ends in a hyphen, in a chord too; one that
      // has its hyphen already keeps one.
      {"syllables of words",
       {PitchedNote("C4", 1, 1, syllable("begin", "Tra") + syllable("single", "Oh")) +
        PitchedNote("D4", 1, 1, syllable("middle", "la")) + PitchedNote("F4", 1, 1, "", kChordTag) +
        PitchedNote("E4", 1, 1, syllable("middle", "la-")) + PitchedNote("F4", 1, 1, syllable("end", "li"))},
       R"(\lyric Tra-
\lyric Oh
note 48 c 4 "" 260 0 1 4 0
\lyric la-
chord
note 50 d 4 "" 260 0 1 4 0
note 53 f 4 "" 260 0 1 4 0
endchord chord
\lyric la-
note 52 e 4 "" 260 0 1 4 0
\lyric li
note 53 f 4 "" 260 0 1 4 0
)"},
      {"the dynamics of a note's notations go to its voice",
       {PitchedNote("C5", 1, 1, loud) + "<backup><duration>1</duration></backup>" + PitchedNote("C4", 1, 2)},
       R"(staff 1 1 2 0 0
\intens ff
note 60 c 5 "" 260 0 1 4 0
endstaff staff
staff 1 1 2 1 0
note 48 c 4 "" 260 0 1 4 0
endstaff staff
)"},
  });
}

}  // namespace
}  // namespace vornel
