// The score converter: a tuning header and one sequence per voice of each part; and the
// driver's part list and texts.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ImportTestSupport.h"
#include "import/musicxml/MusicXMLImportDriver.h"
#include "import/musicxml/xml2vornelvisitor.h"

namespace vornel {
namespace {

using testing::Score;
using testing::TempFile;

std::string Note(int voice, int staff = 0) {
  std::string note = "<note><pitch><step>C</step><octave>4</octave></pitch><duration>1</duration><voice>" +
                     std::to_string(voice) + "</voice>";
  if (staff > 0) note += "<staff>" + std::to_string(staff) + "</staff>";
  return note + "</note>";
}

// "P1", "P2" ...; built in two steps, which GCC 12 does not take for overlapping copies.
std::string PartId(int n) {
  std::string id = "P";
  id += std::to_string(n);
  return id;
}

std::string Part(const std::string& id, const std::string& measure) {
  return "<part id=\"" + id + "\"><measure number=\"1\">" + measure + "</measure></part>";
}

std::string PartList(const std::vector<std::string>& ids) {
  std::string list = "<part-list>";
  for (const std::string& id : ids) list += "<score-part id=\"" + id + "\"><part-name>" + id + "</part-name></score-part>";
  return list + "</part-list>";
}

// The flat list of a score as text, without what the part converters put into the sequences.
std::string Converted(const std::string& body, std::string* warnings = nullptr) {
  const auto read = MusicXML2::testing::Read(Score(body));
  std::ostringstream sink;
  ScopedImportWarnings scope(sink);
  xml2vornelvisitor converter(false, true, true);
  const Svornelelement tree = converter.convert(read.root());
  if (warnings != nullptr) *warnings = sink.str();
  if (!tree) return "null";
  std::istringstream lines(TagListToText(*flattenTree(tree)));
  std::string list;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("note ") && line != "endstaff staff") list += line + "\n";
  }
  return list;
}

TEST(ScoreConverter, SequencesPerVoiceAndStaff) {
  struct Case {
    const char* label;
    std::string body;
    const char* list;
  };
  const std::vector<Case> cases = {
      {"one voice", PartList({"P1"}) + Part("P1", Note(1)), "staff 1 1 1 0 0\nendgroup Score\n"},
      {"two voices on one staff", PartList({"P1"}) + Part("P1", Note(1) + Note(2)),
       "staff 1 1 2 0 0\nstaff 1 1 2 1 0\nendgroup Score\n"},
      {"two staves, then a part", PartList({"P1", "P2"}) +
           Part("P1", "<attributes><staves>2</staves></attributes>" + Note(1, 1) + Note(5, 2) + Note(5, 2)) +
           Part("P2", Note(1)),
       "staff 1 2 2 0 0\nstaff 2 2 2 1 0\nstaff 3 1 1 0 1\nendgroup Score\n"},
      {"no notes, but a tuning", PartList({"P1"}) + Part("P1", R"(<attributes><staff-details>
         <staff-tuning line="6"><tuning-step>E</tuning-step><tuning-octave>4</tuning-octave></staff-tuning>
         <staff-tuning line="1"><tuning-step>E</tuning-step><tuning-octave>2</tuning-octave></staff-tuning>
         <staff-tuning line="3"><tuning-step>D</tuning-step><tuning-octave>3</tuning-octave></staff-tuning>
         </staff-details></attributes>)"),
       "\\tuning 0\n\\staff_lines 3\ncapo 0\nstrings_tuning 40 50 64\nendgroup \\tuning\nendgroup Score\n"},
      {"staff lines and capo without tunings", PartList({"P1"}) +
           Part("P1", "<attributes><staff-details><staff-lines>6</staff-lines><capo>3</capo></staff-details>"
                      "</attributes>" + Note(1)),
       "staff 1 1 1 0 0\nendgroup Score\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Converted(c.body), c.list) << c.label;
}

TEST(ScoreConverter, RootsThatAreNotScores) {
  xml2vornelvisitor converter(false, true, true);
  EXPECT_FALSE(converter.convert(nullptr));
  const auto read = MusicXML2::testing::Read(MusicXML2::testing::Document("<score-timewise version=\"2.0\"/>"));
  EXPECT_FALSE(converter.convert(read.root()));
}

TEST(ScoreConverter, PartsAndVoicesBeyondTheLimits) {
  std::string measure;
  for (int v = 1; v <= 33; ++v) measure += Note(v);
  std::string parts = Part("P0", measure);
  for (int p = 1; p <= 129; ++p) parts += Part(PartId(p), Note(1));
  std::string warnings;
  const std::string list = Converted(PartList({"P0"}) + parts, &warnings);
  size_t sequences = 0;
  std::istringstream lines(list);
  for (std::string line; std::getline(lines, line);) sequences += line.starts_with("staff ") ? 1 : 0;
  EXPECT_EQ(sequences, 32u + 127u);
  EXPECT_EQ(warnings,
            "warning: part 1 has 33 voices; only the first 32 are converted\n"
            "warning: only the first 128 parts are converted\n");
}

// ---------------------------------------------------------------------------------------------
// The driver

TEST(ImportDriver, PartsInTheirOrderWithTheirNamesAndPrograms) {
  std::string list = "<part-list>";
  std::string parts;
  for (int p = 1; p <= 12; ++p) {
    const std::string id = PartId(p);
    list += "<score-part id=\"" + id + "\"><part-name>Part " + id + "</part-name>";
    if (p % 2 == 0) {
      list += "<score-instrument id=\"" + id + "-I1\"><instrument-name>First</instrument-name></score-instrument>"
              "<score-instrument id=\"" + id + "-I2\"><instrument-name>Lute " + id + "</instrument-name>"
              "</score-instrument><midi-instrument id=\"" + id + "-I2\"><midi-program>" + std::to_string(20 + p) +
              "</midi-program></midi-instrument>";
    }
    list += "</score-part>";
    parts += Part(id, Note(1));
  }
  list += "</part-list>";
  const TempFile file(Score("<work><work-number>Op. 5</work-number><work-title>Suite</work-title></work>"
                            "<movement-title>Prelude</movement-title><identification>"
                            "<creator type=\"composer\">Weiss</creator><creator type=\"lyricist\">Anon</creator>"
                            "</identification>" + list + parts));
  MusicXMLImportDriver driver;
  ASSERT_TRUE(driver.read(file.path()));
  const std::vector<PartRecord> records = driver.parts();
  ASSERT_EQ(records.size(), 12u);
  for (size_t i = 0; i < records.size(); ++i) {
    const std::string id = PartId(static_cast<int>(i) + 1);
    EXPECT_EQ(records[i].id, id);  // the parts' order, not the ids' (P1, P10, P11 ...)
    // A part without a score instrument has no name; with several, the last one counts.
    EXPECT_EQ(records[i].name, (i + 1) % 2 == 0 ? "Lute " + id : "") << id;
    EXPECT_EQ(records[i].program, (i + 1) % 2 == 0 ? 21 + static_cast<int>(i) : 0) << id;
    ASSERT_TRUE(records[i].partName);
    EXPECT_EQ(records[i].partName->getValue(), "Part " + id);
  }
  EXPECT_EQ(driver.movementTitle(), "Prelude");
  EXPECT_EQ(driver.composer(), "Weiss");
  EXPECT_EQ(driver.workText(), "Suite -- Op. 5");  // the number came first in the file
  ASSERT_TRUE(driver.convert());
}

TEST(ImportDriver, WorkTextsAndPartListsThatAreIncomplete) {
  struct Case {
    const char* label;
    std::string body;
    const char* work;
    size_t parts;
  };
  const std::vector<Case> cases = {
      {"a number alone", "<work><work-number>5</work-number></work>" + PartList({"P1"}) + Part("P1", ""), " -- 5", 1},
      {"no part list", Part("P1", Note(1)), "", 0},
      {"an empty part list", "<part-list/>" + Part("P1", Note(1)), "", 0},
      {"a part the list lacks", PartList({"P1"}) + Part("P1", "") + Part("P9", ""), "", 2},
  };
  for (const Case& c : cases) {
    const TempFile file(Score(c.body));
    MusicXMLImportDriver driver;
    ASSERT_TRUE(driver.read(file.path())) << c.label;
    EXPECT_EQ(driver.workText(), c.work) << c.label;
    EXPECT_EQ(driver.parts().size(), c.parts) << c.label;
  }
}

TEST(ImportDriver, FilesThatAreNotPartwiseScores) {
  const TempFile timewise(MusicXML2::testing::Document("<score-timewise version=\"2.0\"><part-list/></score-timewise>"));
  const TempFile broken("<?xml version=\"1.0\"?><score-partwise><part-list>");
  const TempFile empty("");
  MusicXMLImportDriver driver;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(driver.read(timewise.path()));
  EXPECT_FALSE(driver.read(broken.path()));
  EXPECT_FALSE(driver.read(empty.path()));
  EXPECT_FALSE(driver.read(timewise.path() + ".missing"));
  ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(driver.parts().empty());
  EXPECT_FALSE(driver.convert());
}

}  // namespace
}  // namespace vornel
