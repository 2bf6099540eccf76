// The part converter's notes and notations: chords and ties, grace notes, articulations and
// stems, beams and slurs, wedges, dynamics and metronome marks, durations; and notes whose
// values no note can have.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PartConverterSupport.h"

namespace vornel {
namespace {

using Case = testing::TagCase;
using testing::CheckTagCases;
using testing::PitchedNote;
using testing::Rest;

const std::string kChord = "<chord/>";
std::string Notations(const std::string& inside) { return "<notations>" + inside + "</notations>"; }
std::string Direction(const std::string& type) {
  return "<direction><direction-type>" + type + "</direction-type></direction>";
}

TEST(PartConverterNotes, ChordsAndTies) {
  const std::string backup = "<backup><duration>1</duration></backup>";
  CheckTagCases({
      {"C-E-G, time moved by C alone",
       {PitchedNote("C4", 1) + PitchedNote("E4", 1, 1, "", kChord) + PitchedNote("G4", 1, 1, "", kChord) +
        PitchedNote("C5", 1)},
       R"(chord
note 48 c 4 "" 260 0 1 4 0
note 52 e 4 "" 260 0 1 4 0
note 55 g 4 "" 260 0 1 4 0
endchord chord
note 60 c 5 "" 260 0 1 4 0
)"},
      {"a tie inside a chord",
       {PitchedNote("C4", 1) +
            PitchedNote("E4", 1, 1, Notations("<tied type=\"start\" number=\"2\" placement=\"below\"/>"), kChord),
        PitchedNote("E4", 1, 1, Notations("<tied type=\"stop\" number=\"2\"/><tied type=\"stop\"/>"))},
       R"(chord
note 48 c 4 "" 260 0 1 4 0
\tieBegin 2 1
note 52 e 4 "" 260 0 1 4 0
endchord chord
\bar 1
note 52 e 4 "" 260 0 1 4 0
\tieEnd 2
)"},
      {"notes of other voices between the notes of a chord",
       {PitchedNote("C4", 1) + backup + PitchedNote("A3", 1, 2) + PitchedNote("G4", 1, 1, "", kChord)},
       R"(staff 1 1 2 0 0
chord
note 48 c 4 "" 260 0 1 4 0
note 55 g 4 "" 260 0 1 4 0
endchord chord
endstaff staff
staff 1 1 2 1 0
note 45 a 3 "" 260 0 1 4 0
endstaff staff
)"},
      {"a chord note that comes first in its measure",
       {PitchedNote("E4", 1, 1, "", kChord) + PitchedNote("C4", 1)},
       R"(note 48 c 4 "" 260 0 1 4 0
)"},
  });
}

TEST(PartConverterNotes, GraceNotesArticulationsAndStems) {
  const std::string grace = "<grace/>";
  const auto graceNote = [&](const std::string& pitch) {
    return "<note><grace/><pitch><step>" + pitch.substr(0, 1) + "</step><octave>" + pitch.substr(1) +
           "</octave></pitch><voice>1</voice><type>16th</type></note>";
  };
  const auto stem = [](const std::string& pitch, const std::string& direction) {
    return PitchedNote(pitch, 1, 1, direction.empty() ? "" : "<stem>" + direction + "</stem>");
  };
  CheckTagCases({
      {"two grace notes before a quarter", {graceNote("D5") + graceNote("E5") + PitchedNote("C5", 1)}, R"(\grace
note 62 d 5 "" 272 0 1 16 0
note 64 e 5 "" 272 0 1 16 0
endgroup \grace
note 60 c 5 "" 260 0 1 4 0
)"},
      {"a grace group ends with its measure",
       {PitchedNote("C5", 3) + graceNote("D5"), PitchedNote("C5", 1)},
       R"(note 60 c 5 "" 772 0 3 4 0
\grace
note 62 d 5 "" 272 0 1 16 0
endgroup \grace
\bar 1
note 60 c 5 "" 260 0 1 4 0
)"},
      {"accent around staccato, fermata and breath",
       {PitchedNote("C5", 1, 1,
                    Notations("<fermata/><articulations><staccato/><accent/><breath-mark/></articulations>")) +
        PitchedNote("D5", 1, 1, Notations("<articulations><strong-accent/><tenuto/></articulations>"))},
       R"(\fermata
\accent
\stacc
note 60 c 5 "" 260 0 1 4 0
endgroup \stacc
endgroup \accent
endgroup \fermata
\breathMark
\marcato
\ten
note 62 d 5 "" 260 0 1 4 0
endgroup \ten
endgroup \marcato
)"},
      {"stems",
       {stem("C5", "up") + stem("D5", "up") + stem("E5", "up") + stem("F5", "") + Rest(1, 1, "<stem>down</stem>") +
        stem("G5", "double") + stem("A5", "down") + stem("B5", "none")},
       R"(\stemsUp
note 60 c 5 "" 260 0 1 4 0
note 62 d 5 "" 260 0 1 4 0
note 64 e 5 "" 260 0 1 4 0
\stemsAuto
note 65 f 5 "" 260 0 1 4 0
note -1 _ 0 "" 260 0 1 4 0
note 67 g 5 "" 260 0 1 4 0
\stemsDown
note 69 a 5 "" 260 0 1 4 0
\stemsOff
note 71 b 5 "" 260 0 1 4 0
)"},
  });
}

TEST(PartConverterNotes, BeamsAndSlurs) {
  const auto beamed = [](const std::string& pitch, const std::string& beams) {
    return PitchedNote(pitch, 1, 1, "<type>eighth</type>" + beams);
  };
  CheckTagCases({
      {"a beam of three, its second level and hooks add nothing",
       {beamed("C5", "<beam number=\"1\">begin</beam><beam number=\"2\">begin</beam>") +
        beamed("D5", "<beam>continue</beam><beam number=\"2\">end</beam>") + beamed("E5", "<beam>end</beam>") +
        beamed("F5", "<beam>forward hook</beam>")},
       R"(\beam
note 60 c 5 "" 264 0 1 8 0
note 62 d 5 "" 264 0 1 8 0
note 64 e 5 "" 264 0 1 8 0
endgroup \beam
note 65 f 5 "" 264 0 1 8 0
)"},
      // The placement: 0 above, 1 below, 2 not given.
      {"slurs without numbers",
       {PitchedNote("C5", 1, 1, Notations("<slur type=\"start\" placement=\"below\"/>")) +
        PitchedNote("D5", 1, 1, Notations("<slur type=\"stop\"/><slur type=\"start\" number=\"3\"/>")) +
        PitchedNote("E5", 1, 1, Notations("<slur type=\"stop\" number=\"3\"/>")) +
        PitchedNote("F5", 1, 1, Notations("<slur type=\"start\" placement=\"above\"/>"))},
       R"(\slurBegin 0 1
note 60 c 5 "" 260 0 1 4 0
\slurBegin 3 2
note 62 d 5 "" 260 0 1 4 0
\slurEnd -1
note 64 e 5 "" 260 0 1 4 0
\slurEnd 3
\slurBegin 0 0
note 65 f 5 "" 260 0 1 4 0
)"},
  });
}

TEST(PartConverterNotes, WedgesDynamicsAndMetronomeMarks) {
  const auto wedge = [](const std::string& type) { return Direction("<wedge type=\"" + type + "\"/>"); };
  const auto metronome = [](const std::string& inside) {
    return Direction("<metronome>" + inside + "<per-minute>80</per-minute></metronome>");
  };
  const auto placed = [](const std::string& placement, const std::string& type) {
    return "<direction placement=\"" + placement + "\"><direction-type>" + type + "</direction-type></direction>";
  };
  const std::string q = PitchedNote("C4", 1);
  CheckTagCases({
      {"wedges",
       {wedge("stop") + q + wedge("crescendo") + q + wedge("stop") + wedge("diminuendo") + q + wedge("stop")},
       R"(\dimEnd
note 48 c 4 "" 260 0 1 4 0
\crescBegin
note 48 c 4 "" 260 0 1 4 0
\crescEnd
\dimBegin
note 48 c 4 "" 260 0 1 4 0
\dimEnd
)"},
      {"dynamics", {Direction("<dynamics><p/><sfz/><other-dynamics>pf</other-dynamics></dynamics>") + q}, R"(\intens p
\intens sfz
note 48 c 4 "" 260 0 1 4 0
)"},
      // A direction's placement follows the tag of what it holds; a pedal goes down, changes and
      // goes up.
      {"placements and pedals",
       {placed("below", "<dynamics><mf/></dynamics><words>dolce</words><wedge type=\"crescendo\"/>") +
        placed("above", "<pedal type=\"start\"/>") + q + Direction("<pedal type=\"change\"/>") +
        Direction("<pedal type=\"continue\"/>") + q + placed("below", "<pedal type=\"stop\"/>")},
       R"(\intens mf below
\words dolce below
\crescBegin below
\pedal start above
note 48 c 4 "" 260 0 1 4 0
\pedal change
note 48 c 4 "" 260 0 1 4 0
\pedal stop below
)"},
      {"metronome marks",
       {metronome("<beat-unit>quarter</beat-unit><beat-unit-dot/>") + q +
        metronome("<beat-unit>quarter</beat-unit><beat-unit>half</beat-unit>") + q +
        metronome("<beat-unit>breve</beat-unit>")},
       R"(\tempo "tempo=\"[3/8] = 80\""
note 48 c 4 "" 260 0 1 4 0
note 48 c 4 "" 260 0 1 4 0
\tempo "tempo=\"[0/1] = 80\""
)"},
  });
}

TEST(PartConverterNotes, Durations) {
  const auto timeModification = [](int actual, int normal) {
    return "<time-modification><actual-notes>" + std::to_string(actual) + "</actual-notes><normal-notes>" +
           std::to_string(normal) + "</normal-notes></time-modification>";
  };
  CheckTagCases({
      {"a triplet eighth, a dotted quarter, a 3:2 rest",
       {"<attributes><divisions>6</divisions></attributes>" +
        PitchedNote("C4", 2, 1, "<type>eighth</type>" + timeModification(3, 2)) +
        PitchedNote("D4", 9, 1, "<type>quarter</type><dot/>") + Rest(4, 1, timeModification(3, 2)) + Rest(9)},
       R"(note 48 c 4 "" 268 0 1 12 0
note 50 d 4 "" 4356 0 1 4 1
note -1 _ 0 "" 262 0 1 6 0
note -1 _ 0 "" 776 0 3 8 0
)"},
      {"without a type, the duration holds dots and tuplets",
       {"<attributes><divisions>6</divisions></attributes>" + PitchedNote("C4", 9, 1, "<dot/>") +
        PitchedNote("D4", 2, 1, timeModification(3, 2))},
       R"(note 48 c 4 "" 776 0 3 8 0
note 50 d 4 "" 268 0 1 12 0
)"},
      {"a breve of 8 at divisions 1", {PitchedNote("C4", 8, 1, "<type>breve</type>")}, R"(note 48 c 4 "" 513 0 2 1 0
)"},
  });
}

TEST(PartConverterNotes, ValuesNoNoteCanHave) {
  const auto altered = [](const std::string& alter) {
    return "<note><pitch><step>C</step><alter>" + alter +
           "</alter><octave>4</octave></pitch><duration>1</duration>"
           "<voice>1</voice></note>";
  };
  const std::string noStep = "<note><pitch><octave>4</octave></pitch><duration>1</duration><voice>1</voice></note>";
  const std::string farOctave =
      "<note><pitch><step>C</step><octave>2147483647</octave></pitch><duration>1</duration><voice>1</voice></note>";
  CheckTagCases({
      {"alterations held to three semitones, none for what is no number",
       {altered("1e30") + altered("-inf") + altered("nan") + altered("1.5") + altered("-0.5")},
       R"(note -1 c 4 ### 260 0 1 4 0
note -1 c 4 &&& 260 0 1 4 0
note -1 c 4 "" 260 0 1 4 0
note 49 c 4 # 260 0 1 4 0
note 47 c 4 "" 260 0 1 4 0
)"},
      {"an octave beyond any pitch, a pitch without a step",
       {farOctave + noStep},
       R"(note -1 c 100 "" 260 0 1 4 0
note -1 "" 4 "" 260 0 1 4 0
)",
       "warning: empty note name\n"},
  });
}

TEST(PartConverterNotes, AbsurdLengthsMakeOneEventEach) {
  const std::string most = "2147483647";
  CheckTagCases({
      {"a note, a forward and a backup",
       {PitchedNote("C4", 2147483647) + "<forward><duration>" + most + "</duration><voice>1</voice></forward>" +
        "<backup><duration>" + most + "</duration></backup><backup><duration>" + most + "</duration></backup>" +
        PitchedNote("D4", 1)},
       R"(note 48 c 4 "" 3844 0 2147483647 4 0
note 0 empty 3 "" 3844 0 2147483647 4 0
note 50 d 4 "" 260 0 1 4 0
)",
       "warning! checkVoiceTime: measure time behind voice time -1073741823/1\n"},
      {"a gap",
       {PitchedNote("C4", 1) + "<backup><duration>1</duration></backup>" + PitchedNote("C3", 2147483647, 2)},
       R"(staff 1 1 2 0 0
note 48 c 4 "" 260 0 1 4 0
note 0 empty 3 "" 3842 0 1073741823 2 0
endstaff staff
staff 1 1 2 1 0
note 36 c 3 "" 3844 0 2147483647 4 0
endstaff staff
)"},
  });
}

}  // namespace
}  // namespace vornel
