// Small MusicXML files imported whole, checked on the model: the pitches, courses, rhythm codes,
// dots, tuplets, ties, slurs and meta-events their voices end up with; and the same files
// exported as MusicXML and imported again.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "PartConverterSupport.h"
#include "document/CBriotabDoc.h"
#include "layout/export/MusicXmlExport.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::PitchedNote;
using testing::Rest;

// The voice `voice` of definition `line` of the imported section over all its systems, one
// event a line (see DumpVoice); system breaks are left out.
std::string ImportedVoice(const CSystemArray& section, size_t line, size_t voice) {
  std::string text;
  for (const auto& system : section.systems.items()) {
    nChordArray events;
    for (const auto& e : system->Line(line)->Voice(voice)) {
      if (e != nullptr && !e->IsStaveBreak()) events.push_back(e);
    }
    text += testing::DumpVoice(events);
  }
  return text;
}

struct Imported {
  std::string first;   // the first definition's first voice
  std::string second;  // its second voice
  std::string warnings;
};

// A document that imported `score`, and what the import warned.
std::unique_ptr<CBriotabDoc> ImportedDocument(const std::string& score, std::string& warnings) {
  testing::ScriptedPrompts prompts;
  const testing::TempFile file(score);
  auto doc = std::make_unique<CBriotabDoc>();
  MusicXMLImport import;
  import.target = doc.get();
  std::ostringstream sink;
  ScopedImportWarnings scope(sink);
  EXPECT_TRUE(import.ImportFile(file.path()));
  warnings = sink.str();
  return doc;
}

Imported Import(const std::string& score) {
  std::string warnings;
  const auto doc = ImportedDocument(score, warnings);
  const CSystemArray& section = *doc->GetActiveSection();
  return {ImportedVoice(section, 0, 0), ImportedVoice(section, 0, 1), warnings};
}

struct MusicCase {
  const char* label;
  std::string measures;
  const char* first;
  const char* second = "";
  bool exportKeepsCourses = true;  // the export writes no tablature: courses come from the tuning
  const char* warnings = "";        // what the import reports
};

void Check(const std::vector<MusicCase>& cases) {
  for (const MusicCase& c : cases) {
    const Imported got = Import(testing::OnePartScore(c.measures));
    EXPECT_EQ(got.first, c.first) << c.label;
    EXPECT_EQ(got.second, c.second) << c.label;
    EXPECT_EQ(got.warnings, c.warnings) << c.label;
  }
}

const std::string kFourFour =
    "<attributes><divisions>2</divisions><time><beats>4</beats><beat-type>4</beat-type></time></attributes>";

std::vector<MusicCase> NotesRestsChordsAndTupletsCases() {
  const std::string triplet =
      "<type>eighth</type><time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes>"
      "</time-modification>";
  return {
      {"notes and rests",
       testing::Measures({kFourFour + PitchedNote("C4", 2) + Rest(2) +
                          PitchedNote("F#4", 3, 1, "<type>quarter</type><dot/>") + Rest(1)}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [60 c2 i35]
q 3
q 11 [66 c1 i38 status 256]
q 4
)"},
      {"a chord",
       testing::Measures({kFourFour + PitchedNote("C4", 8) + PitchedNote("E4", 8, 1, "", "<chord/>") +
                          PitchedNote("G4", 8, 1, "", "<chord/>")}),
       R"(s 18 {1 'true' 1 4 4}
q 1 [67 c0 i39] [64 c1 i37] [60 c2 i35]
)"},
      {"triplet eighths",
       testing::Measures({kFourFour + PitchedNote("C4", 1, 1, triplet) + PitchedNote("D4", 1, 1, triplet) +
                          PitchedNote("E4", 1, 1, triplet) + Rest(2) + Rest(4)}),
       R"(s 18 {1 'true' 1 4 4}
q 20 [60 c2 i35]
q 20 [62 c1 i36]
q 20 [64 c1 i37]
q 3
q 2
)"},
  };
}

std::vector<MusicCase> LengthsKeptInTimeCases() {
  const std::string sixteenths =
      "<attributes><divisions>4</divisions><time><beats>4</beats><beat-type>4</beat-type></time></attributes>";
  return {
      {"a double-dotted quarter, held over two values",
       testing::Measures({sixteenths + PitchedNote("C4", 7, 1, "<type>quarter</type><dot/><dot/>") +
                          PitchedNote("D4", 1, 1, "<type>16th</type>") + PitchedNote("E4", 8, 1, "<type>half</type>")}),
       R"(s 18 {1 'true' 1 4 4}
q 11 [60 c2 i35]
q 5 [60 c2 i35 slur 2048 status 32]
q 5 [62 c1 i36]
q 2 [64 c1 i37]
)",
       "", true, "warning: part 1, measure 1: a note of 7/16 is held as 3/8 + 1/16\n"},
      {"a measure rest of five quarters",
       testing::Measures({"<attributes><divisions>1</divisions><time><beats>5</beats><beat-type>4</beat-type></time>"
                          "</attributes>" +
                              Rest(5),
                          PitchedNote("C4", 1) + Rest(4)}),
       R"(s 18 {1 'true' 1 5 4}
q 1
q 3
| 1
q 3 [60 c2 i35]
q 1
)",
       "", true, "warning: part 1, measure 1: a rest of 5/4 is written as 1/1 + 1/4\n"},
      {"rests shorter than any value, joined",
       testing::Measures({"<attributes><divisions>32</divisions><time><beats>1</beats><beat-type>4</beat-type></time>"
                          "</attributes>" +
                          Rest(1) + Rest(1) + Rest(2) + Rest(4) + Rest(8) + Rest(16)}),
       R"(s 18 {1 'true' 1 1 4}
q 7
q 7
q 6
q 5
q 4
)",
       "", true, "warning: part 1, measure 1: 2 rests adding up to 1/64 are written as 1/64\n"},
      {"a second voice starting inside a chord of the first",
       testing::Measures({kFourFour + PitchedNote("C5", 4) + Rest(4) + "<backup><duration>8</duration></backup>" +
                          Rest(2, 2) + PitchedNote("E4", 2, 2) + Rest(4, 2)}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [72 c0 i42]
q 3 [64 c1 i37] [72 c0 i42 slur 2048 status 32]
q 2
)"},
  };
}

std::vector<MusicCase> TiesAndSlursCases() {
  const auto notations = [](const std::string& inside) { return "<notations>" + inside + "</notations>"; };
  return {
      {"a tie across a bar",
       testing::Measures(
           {kFourFour + PitchedNote("C4", 4) + PitchedNote("E4", 4, 1, notations("<tied type=\"start\"/>")),
            PitchedNote("E4", 4, 1, notations("<tied type=\"stop\"/>")) + Rest(4)}),
       R"(s 18 {1 'true' 1 4 4}
q 2 [60 c2 i35]
q 2 [64 c1 i37]
| 1
q 2 [64 c1 i37 slur 2048]
q 2
)"},
      {"a slur over three chords, rising and falling",
       testing::Measures(
           {kFourFour + PitchedNote("C4", 2, 1, notations("<slur type=\"start\"/>")) + PitchedNote("D4", 2) +
            PitchedNote("E4", 2, 1,
                        notations("<slur type=\"stop\"/><slur type=\"start\" number=\"2\" placement=\"below\"/>")) +
            PitchedNote("C4", 2, 1, notations("<slur type=\"stop\" number=\"2\"/>"))}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [60 c2 i35 slur 17]
q 3 [62 c1 i36]
q 3 [64 c1 i37 slur 80]
q 3 [60 c2 i35 status 32]
)"},
      {"a tie into the other voice: the note is held on, not struck again",
       testing::Measures({kFourFour + PitchedNote("G4", 2, 1, notations("<tied type=\"start\"/>")) +
                          PitchedNote("A4", 2) + PitchedNote("B4", 4) + "<backup><duration>6</duration></backup>" +
                          PitchedNote("G4", 1, 2, notations("<tied type=\"stop\"/>")) + PitchedNote("F#4", 1, 2) +
                          Rest(4, 2)}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [67 c0 i39]
q 4 [67 c0 i39 slur 2048 status 32] [69 c0 i40]
q 4 [66 c1 i38 status 256] [69 c0 i40 slur 2048 status 32]
q 2 [71 c0 i41]
)"},
      {"a tie whose end starts a slur: the note stays held, the slur is a legato mark",
       testing::Measures({kFourFour + PitchedNote("C4", 2, 1, notations("<tied type=\"start\"/>")) +
                          PitchedNote("C4", 2, 1, notations("<tied type=\"stop\"/><slur type=\"start\"/>")) +
                          PitchedNote("D4", 2) + PitchedNote("E4", 2, 1, notations("<slur type=\"stop\"/>"))}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [60 c2 i35]
q 3 [60 c2 i35 slur 2048 status 32] {6 '' 7838210 2 2}
q 3 [62 c1 i36]
q 3 [64 c1 i37]
)"},
  };
}

std::vector<MusicCase> TablatureGivesTheCourseCases() {
  // A guitar tuning: the string and fret of each note name its course, and its pitch is that
  // course's pitch and the fret.
  std::string tuning = "<attributes><divisions>1</divisions><staff-details><staff-lines>6</staff-lines>";
  const char* steps[] = {"E2", "A2", "D3", "G3", "B3", "E4"};
  for (int line = 1; line <= 6; ++line) {
    tuning += "<staff-tuning line=\"" + std::to_string(line) + "\"><tuning-step>" + std::string(1, steps[line - 1][0]) +
              "</tuning-step><tuning-octave>" + std::string(steps[line - 1] + 1) + "</tuning-octave></staff-tuning>";
  }
  tuning += "</staff-details><clef><sign>TAB</sign><line>5</line></clef></attributes>";
  const auto fretted = [](const std::string& pitch, int string, int fret) {
    return PitchedNote(pitch, 1, 1,
                       "<notations><technical><string>" + std::to_string(string) + "</string><fret>" +
                           std::to_string(fret) + "</fret></technical></notations>");
  };
  return {
      {"string and fret",
       testing::Measures(
           {tuning + fretted("C4", 2, 1) + fretted("A3", 3, 2) + fretted("E2", 6, 0) + PitchedNote("B3", 1)}),
       R"(q 3 [60 c1 i35]
q 3 [57 c2 i33]
q 3 [40 c5 i23]
q 3 [59 c1 i34]
)",
       "", false},
  };
}

std::vector<MusicCase> LyricsChordNamesDynamicsAndWordsCases() {
  const auto sung = [](const std::string& pitch, int voice, const std::string& syllable) {
    return PitchedNote(pitch, 2, voice, "<lyric><text>" + syllable + "</text></lyric>");
  };
  return {
      {"lyrics of one voice", testing::Measures({kFourFour + sung("C5", 1, "Ky") + sung("D5", 1, "ri") + Rest(4)}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [72 c0 i42] {0 'Ky' 0 0 0}
q 3 [74 c0 i43] {0 'ri' 0 0 0}
q 2
)"},
      {"lyrics of two voices, the second written first",
       testing::Measures({kFourFour + Rest(2, 2) + sung("C4", 2, "e") + Rest(4, 2) +
                          "<backup><duration>8</duration></backup>" + sung("C5", 1, "Ky") + sung("D5", 1, "ri") +
                          Rest(4)}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [72 c0 i42] {0 'Ky' 0 0 0}
q 3 [60 c2 i35] [74 c0 i43] {0 'ri' 0 0 0} {0 'e' 0 0 0}
q 2
)"},
      {"a chord name, dynamics and words",
       testing::Measures(
           {kFourFour +
            "<harmony><root><root-step>B</root-step><root-alter>-1</root-alter></root><kind>major</kind></harmony>"
            "<direction><direction-type><dynamics><mf/></dynamics></direction-type><direction-type><words>dolce</words>"
            "</direction-type></direction>" +
            PitchedNote("D4", 8)}),
       R"(s 18 {1 'true' 1 4 4}
q 1 [62 c1 i36] {34 'mf' 0 0 262244} {5 'dolce' 0 0 0} {16 'Bb' 0 0 0}
)"},
  };
}

std::vector<MusicCase> SpellingFollowsTheScoreCases() {
  const auto altered = [](char step, int alter, int octave) {
    return "<note><pitch><step>" + std::string(1, step) + "</step><alter>" + std::to_string(alter) +
           "</alter><octave>" + std::to_string(octave) + "</octave></pitch><duration>2</duration><voice>1</voice></note>";
  };
  // The interval is the written step (octave x 7 + step from C, the octave the step's); status
  // 256 keeps it, and 32 marks a pitch heard before in the bar.
  return {
      {"steps the key spells otherwise",
       testing::Measures({kFourFour + altered('B', 1, 3) + altered('E', 1, 4) + altered('C', -1, 4) +
                          altered('F', -1, 4),
                          altered('F', 2, 4) + altered('E', -2, 4) + PitchedNote("C#4", 2) + PitchedNote("Db4", 2)}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [60 c2 i34 status 256]
q 3 [65 c1 i37 status 256]
q 3 [59 c2 i35 status 256]
q 3 [64 c1 i38 status 256]
| 1
q 3 [67 c0 i38 status 256]
q 3 [62 c1 i37 status 256]
q 3 [61 c2 i35 status 256]
q 3 [61 c2 i36 status 256]
)"},
      {"a sharp after the natural of its step stays a sharp; a repeated pitch keeps its step",
       testing::Measures({kFourFour + PitchedNote("C4", 2) + PitchedNote("C#4", 2) + PitchedNote("C#4", 2) +
                          PitchedNote("D4", 2)}),
       R"(s 18 {1 'true' 1 4 4}
q 3 [60 c2 i35]
q 3 [61 c2 i35 status 256]
q 3 [61 c2 i35 status 288]
q 3 [62 c1 i36]
)"},
  };
}

TEST(ImportedMusic, NotesRestsChordsAndTuplets) { Check(NotesRestsChordsAndTupletsCases()); }

TEST(ImportedMusic, SpellingFollowsTheScore) { Check(SpellingFollowsTheScoreCases()); }

TEST(ImportedMusic, LengthsKeptInTime) { Check(LengthsKeptInTimeCases()); }

TEST(ImportedMusic, TiesAndSlurs) { Check(TiesAndSlursCases()); }

TEST(ImportedMusic, TablatureGivesTheCourse) { Check(TablatureGivesTheCourseCases()); }

TEST(ImportedMusic, LyricsChordNamesDynamicsAndWords) { Check(LyricsChordNamesDynamicsAndWordsCases()); }

TEST(ImportedMusic, ATransposingPartSoundsItsPitchesAndKeepsItsTransposition) {
  struct Case {
    const char* label;
    const char* element;
    int writtenFifths;
    const char* notes;     // written
    const char* expected;  // the first voice: sounding pitches, their steps
    int transpose;         // the definition's: written less sounding pitch
    int soundingFifths;
  };
  const Case cases[] = {
      {"a clarinet in A written in E flat sounds in C",
       "<transpose><diatonic>-2</diatonic><chromatic>-3</chromatic></transpose>", -3, "Eb5 E5",
       "q 2 [72 c0 i42]\nq 2 [73 c0 i42 status 256]\n", 3, 0},
      {"a trumpet in B flat without its diatonic steps: a major second",
       "<transpose><chromatic>-2</chromatic></transpose>", 2, "E4 F#4",
       "q 2 [62 c1 i36]\nq 2 [64 c1 i37]\n", 2, 0},
      {"an octave lower", "<transpose><chromatic>0</chromatic><octave-change>-1</octave-change></transpose>", 1,
       "G4 C#5", "q 2 [55 c3 i32]\nq 2 [61 c2 i35 status 256]\n", 12, 1},
  };
  for (const Case& c : cases) {
    std::string notes;
    std::istringstream words(c.notes);
    for (std::string word; words >> word;) notes += PitchedNote(word, 4);
    const std::string attributes = "<attributes><divisions>2</divisions><key><fifths>" +
                                   std::to_string(c.writtenFifths) + "</fifths></key>" + c.element + "</attributes>";
    std::string warnings;
    const auto doc = ImportedDocument(testing::OnePartScore(testing::Measures({attributes + notes})), warnings);
    const CSystemArray& section = *doc->GetActiveSection();
    std::string voice = ImportedVoice(section, 0, 0);
    voice.erase(0, voice.find("q "));  // after the time signature
    EXPECT_EQ(voice, c.expected) << c.label;
    EXPECT_EQ(section.Definition(0)->key.transpose, c.transpose) << c.label;
    const int fifths = section.key.bemol != 0 ? -static_cast<int>(section.key.alterations)
                                              : static_cast<int>(section.key.alterations);
    EXPECT_EQ(fifths, c.soundingFifths) << c.label;
    EXPECT_EQ(warnings, "") << c.label;
  }
}

TEST(ImportedMusic, VoltaEndingsStandOnTheBarLinesThatOpenThem) {
  const auto ending = [](const char* number, const char* type) {
    return std::string("<barline location=\"") + (std::string(type) == "start" ? "left" : "right") +
           "\"><ending number=\"" + number + "\" type=\"" + type + "\"/>" +
           (std::string(type) == "stop" ? "<repeat direction=\"backward\"/>" : "") + "</barline>";
  };
  std::string warnings;
  const auto doc = ImportedDocument(
      testing::OnePartScore(testing::Measures(
          {kFourFour + PitchedNote("C4", 8), ending("1", "start") + PitchedNote("D4", 8) + ending("1", "stop"),
           ending("2", "start") + PitchedNote("E4", 8) + ending("2", "discontinue"), PitchedNote("F4", 8)})),
      warnings);
  // The text, the events reached over up to the bar line after the ending, and 1 for an
  // ending left open.
  EXPECT_EQ(ImportedVoice(*doc->GetActiveSection(), 0, 0), R"(s 18 {1 'true' 1 4 4}
q 1 [60 c2 i35]
| 17 {12 '1.' 2 0 0}
q 1 [62 c1 i36]
| 129 {12 '2.' 2 1 0}
q 1 [64 c1 i37]
| 1
q 1 [65 c1 i38]
)");
  EXPECT_EQ(warnings, "");
}

TEST(ImportedMusic, WhatIsNotImportedIsCounted) {
  const std::string grace = "<note><grace/><pitch><step>D</step><octave>4</octave></pitch><voice>1</voice></note>";
  std::ostringstream lines;
  ScopedImportWarnings scope(lines);
  std::string summary;
  {
    const ImportReport report("score.xml");
    std::string warnings;
    ImportedDocument(testing::OnePartScore(testing::Measures(
                         {kFourFour + "<barline location=\"left\"><ending number=\"1\" type=\"start\"/></barline>" +
                          grace + grace + PitchedNote("C4", 8)})),
                     warnings);
    summary = report.Summary();
  }
  EXPECT_EQ(summary, "warning: score.xml: not imported: 1 volta ending before the first bar line, 2 grace notes");
}

// The measures of a part of an exported file (the first by default): "number@start" (in
// quarters, from the durations), and " hidden" after a time signature that does not show.
std::string ExportedMeasures(const std::string& text, const std::string& part = "") {
  std::string measures;
  int quarters = 0;
  size_t at = text.find("<part id=\"" + part);
  const size_t end = text.find("</part>", at);
  while ((at = text.find("<measure number=\"", at)) < end) {
    at += 17;
    measures += text.substr(at, text.find('"', at) - at) + "@" + std::to_string(quarters / 96);
    const size_t next = std::min(text.find("<measure", at), end);
    const std::string measure = text.substr(at, next - at);
    if (measure.find("<time print-object=\"no\">") != std::string::npos) measures += " hidden";
    for (size_t d = measure.find("<duration>"); d != std::string::npos; d = measure.find("<duration>", d + 1)) {
      if (measure.rfind("<chord/>", d) == std::string::npos || measure.rfind("<note>", d) > measure.rfind("<chord/>", d)) {
        quarters += std::stoi(measure.substr(d + 10));
      }
    }
    measures += " ";
  }
  return measures;
}

TEST(ImportedMusic, MeasuresKeepTheirNumbersAndLengthsThroughTheExport) {
  const std::string q = PitchedNote("C4", 2);
  struct Case {
    const char* label;
    std::string measures;
    const char* exported;
  };
  const Case cases[] = {
      {"a pickup, and a measure the count leaves out behind a bar line that shows",
       "<measure number=\"0\" implicit=\"yes\">" + kFourFour + q + "</measure><measure number=\"1\">" + q + q + q + q +
           "</measure><measure number=\"X1\" implicit=\"yes\">" + q + q + "</measure><measure number=\"2\">" + q +
           q + "</measure>",
       "0@0 1@1 1X1@5 2@7 "},
      {"no time signature: each measure as long as its notes",
       testing::Measures({"<attributes><divisions>2</divisions></attributes>" + q + q + q, q + q + q, q + q, q + q}),
       "1@0 hidden 2@3 3@6 hidden 4@8 "},
      {"the first measure without a time signature, then one",
       testing::Measures({"<attributes><divisions>2</divisions></attributes>" + q + q + q,
                          "<attributes><time><beats>2</beats><beat-type>4</beat-type></time></attributes>" + q + q,
                          q + q}),
       "1@0 hidden 2@3 3@5 "},
  };
  for (const Case& c : cases) {
    std::string warnings;
    const auto doc = ImportedDocument(testing::OnePartScore(c.measures), warnings);
    const std::optional<std::string> text = SectionMusicXmlText(*doc, doc->sections.size() - 1, ExportDate{});
    ASSERT_TRUE(text) << c.label;
    EXPECT_EQ(ExportedMeasures(*text), c.exported) << c.label;
  }
}

TEST(ImportedMusic, PartsWhoseFirstMeasureHasNoTimeKeepTheSameBars) {
  const std::string q = PitchedNote("C4", 2);
  const std::string measures =
      testing::Measures({"<attributes><divisions>2</divisions></attributes>" + q + q + q,
                         "<attributes><time><beats>4</beats><beat-type>4</beat-type></time></attributes>" + q + q + q + q,
                         q + q + q + q});
  const std::string score = testing::Score(
      "<part-list><score-part id=\"P1\"><part-name>A</part-name></score-part><score-part id=\"P2\"><part-name>B"
      "</part-name></score-part></part-list><part id=\"P1\">" + measures + "</part><part id=\"P2\">" + measures +
      "</part>");
  std::string warnings;
  const auto doc = ImportedDocument(score, warnings);
  const std::string text = *SectionMusicXmlText(*doc, doc->sections.size() - 1, ExportDate{});
  EXPECT_EQ(ExportedMeasures(text, "P1-0"), "1@0 hidden 2@3 3@7 ");
  EXPECT_EQ(ExportedMeasures(text, "P2-0"), "1@0 hidden 2@3 3@7 ");
}

TEST(ImportedMusic, APartOfThreeStavesShowsAndKeepsItsLowerStaves) {
  // The second and third staves go into the second voice, which a lower staff shows.
  const auto on = [](const char* pitch, int voice, int staff) {
    return PitchedNote(pitch, 8, voice, "<staff>" + std::to_string(staff) + "</staff>");
  };
  const std::string measure = "<attributes><divisions>2</divisions><staves>3</staves></attributes>" + on("C5", 1, 1) +
                              "<backup><duration>8</duration></backup>" + on("E3", 2, 2) +
                              "<backup><duration>8</duration></backup>" + on("C3", 3, 3);
  std::string warnings;
  const auto doc = ImportedDocument(testing::OnePartScore(testing::Measures({measure})), warnings);
  const CSystemArray& section = *doc->GetActiveSection();
  const CInstrumentDlg& definition = *section.Definition(0);
  ASSERT_EQ(definition.staves.size(), 2u);
  EXPECT_EQ(definition.staves.at(1)->enabledVoices, CClef::kLowerVoice);
  EXPECT_EQ(ImportedVoice(section, 0, 0), "q 1 [72 c0 i42]\n");
  EXPECT_EQ(ImportedVoice(section, 0, 1), "q 1 [48 c4 i28] [52 c4 i30]\n");
  EXPECT_EQ(warnings, "");
}

// Per definition, its first voice's chords: the rhythm word's low byte, then each note's pitch
// and (when asked) course, lowest first.
std::vector<std::string> ChordsOfFirstVoices(const CSystemArray& section, bool courses) {
  std::vector<std::string> voices;
  for (size_t d = 0; d < section.definitions.size(); ++d) {
    std::string text;
    for (const auto& system : section.systems.items()) {
      for (const auto& e : system->Line(d)->firstVoice) {
        if (e == nullptr || !e->IsChord()) continue;
        std::vector<std::pair<int, int>> notes;
        for (const auto& n : e->notes) notes.emplace_back(n->pitch, courses ? n->string : 0);
        std::sort(notes.begin(), notes.end());
        text += std::to_string(e->rhythm & 0xFF);
        for (const auto& [pitch, course] : notes) {
          text.append(1, ' ').append(std::to_string(pitch)).append(1, '/').append(std::to_string(course));
        }
        text += "\n";
      }
    }
    voices.push_back(text);
  }
  return voices;
}

TEST(ImportedMusic, ExportedAndImportedAgainTheVoicesStay) {
  std::vector<MusicCase> cases = NotesRestsChordsAndTupletsCases();
  for (const auto& more : {LengthsKeptInTimeCases(), TiesAndSlursCases(), TablatureGivesTheCourseCases(),
                           LyricsChordNamesDynamicsAndWordsCases()}) {
    cases.insert(cases.end(), more.begin(), more.end());
  }
  for (const MusicCase& c : cases) {
    testing::ScriptedPrompts prompts;
    std::ostringstream warnings;
    ScopedImportWarnings scope(warnings);
    const testing::TempFile file(testing::OnePartScore(c.measures));
    CBriotabDoc first;
    MusicXMLImport import;
    import.target = &first;
    ASSERT_TRUE(import.ImportFile(file.path())) << c.label;
    const std::optional<std::string> exported = SectionMusicXmlText(first, first.sections.size() - 1, ExportDate{});
    ASSERT_TRUE(exported) << c.label;
    const testing::TempFile again(*exported);
    CBriotabDoc second;
    import.target = &second;
    ASSERT_TRUE(import.ImportFile(again.path())) << c.label;
    EXPECT_EQ(ChordsOfFirstVoices(*second.GetActiveSection(), c.exportKeepsCourses),
              ChordsOfFirstVoices(*first.GetActiveSection(), c.exportKeepsCourses))
        << c.label;
  }
}

}  // namespace
}  // namespace vornel
