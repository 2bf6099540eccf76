#include <gtest/gtest.h>

#include <vector>

#include "model/instrument/nTuning.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "model/XmlTestText.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

std::vector<int> MidiPitches(const nTuning& tuning) {
  std::vector<int> pitches;
  for (int i = 0; i < tuning.stringCount; ++i) pitches.push_back(tuning.courses[static_cast<size_t>(i)].pitch + 23);
  return pitches;
}

TEST(TuningText, SevenCourseLuteInG) {
  nTuning tuning;
  tuning.SetTuning("GDAFCGF");
  EXPECT_EQ(tuning.stringCount, 7);
  EXPECT_EQ(tuning.lines, 6);
  const std::vector<uint8_t> bytes = {44, 39, 34, 30, 25, 20, 18};
  const std::vector<uint8_t> octaves = {5, 5, 4, 4, 4, 3, 3};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(tuning.courses[i].pitch, bytes[i]) << i;
    EXPECT_EQ(tuning.courses[i].octave, octaves[i]) << i;
    EXPECT_EQ(tuning.courses[i].accidental, 'n');
  }
  EXPECT_EQ(tuning.courses[0].letter, 'G');
  EXPECT_EQ(tuning.GetTuningText(), "GDAFCGF");
  EXPECT_EQ(tuning.FormatStringWithPitch(0), "G5(67)");
  EXPECT_EQ(tuning.FormatStringWithPitch(7), "");
  EXPECT_EQ(tuning.CountStrings(), 7);
}

struct TextCase {
  const char* text;
  std::vector<int> midi;
  int lines;  // starting from 6
  friend std::ostream& operator<<(std::ostream& os, const TextCase& c) { return os << '"' << c.text << '"'; }
};

class TuningTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(TuningTexts, GiveTheirPitches) {
  const TextCase& c = GetParam();
  nTuning tuning;
  tuning.SetTuning(c.text);
  EXPECT_EQ(MidiPitches(tuning), c.midi);
  EXPECT_EQ(tuning.lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TuningTexts,
    ::testing::Values(TextCase{"EBGDAE", {64, 59, 55, 50, 45, 40}, 6}, TextCase{"DAECGD", {62, 57, 52, 48, 43, 38}, 6},
                      TextCase{"E+1A+1DG", {76, 69, 62, 55}, 4},
                      // An octave mark moves the course by twelve; "g" alone is 67 on course 1.
                      TextCase{"g+1", {79}, 1}, TextCase{"c-1", {48}, 1},
                      // Sharp and flat; both together leave the pitch as it was.
                      TextCase{"F#Bb", {66, 58}, 2}, TextCase{"A#b", {69}, 1},
                      // Blanks, digits and other letters are skipped; reading stops at a line feed.
                      TextCase{"G D x9 A\nF", {67, 62, 57}, 3},
                      TextCase{"A-1E-1BGDAGFEDCBAGFE", {57, 52, 59, 55, 50, 45, 43, 41, 40, 38, 36, 35, 33, 31, 29, 28},
                               6},
                      // More than sixteen notes keep the first sixteen.
                      TextCase{"ABCDEFGABCDEFGABCDEF",
                               {69, 59, 60, 50, 52, 41, 43, 33, 35, 36, 38, 28, 29, 31, 33, 35},
                               6}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(TuningText, PackedNotesCarryTheMarks) {
  nTuning tuning;
  EXPECT_EQ(tuning.ParseTuningText("c#+2Bb-1h"), 3);
  EXPECT_EQ(tuning.packedNotes[0], 2 | 0x08 | 2 * 32);
  EXPECT_EQ(tuning.packedNotes[1], 1 | 0x10 | 32 | 0x80);
  EXPECT_EQ(tuning.packedNotes[2], 7);
  EXPECT_EQ(tuning.packedNotes[3], 0);
  // An octave count above three is no mark.
  EXPECT_EQ(tuning.ParseTuningText("g+5"), 1);
  EXPECT_EQ(tuning.packedNotes[0], 6);
}

TEST(TuningText, PitchOutsideTheByteIsReportedAndKept) {
  testing::ScriptedPrompts prompts;
  nTuning tuning;
  // Course 14 as A flat three octaves down falls below the lowest pitch byte.
  tuning.SetTuning("CCCCCCCCCCCCCAb-3");
  ASSERT_EQ(tuning.stringCount, 14);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Error processing tuning"});
  EXPECT_EQ(tuning.courses[13].pitch, 0);
  EXPECT_EQ(tuning.packedNotes[13] & 0x80, 0);
  EXPECT_EQ(tuning.courses[12].pitch, 13);
}

TEST(TuningCourses, SetStringAddsOnlyTheNextCourse) {
  nTuning tuning;
  tuning.SetTuning("GD");
  EXPECT_TRUE(tuning.SetString(2, "F4#", 66));
  EXPECT_EQ(tuning.stringCount, 3);
  EXPECT_EQ(tuning.FormatStringWithPitch(2), "F4#(66)");
  EXPECT_TRUE(tuning.SetString(0, "A5 ", 69));
  EXPECT_EQ(tuning.courses[0].accidental, 'n');
  EXPECT_FALSE(tuning.SetString(4, "C4", 60));
  EXPECT_FALSE(tuning.SetString(-1, "C4", 60));
  EXPECT_EQ(tuning.stringCount, 3);
}

TEST(TuningCourses, PitchNamesAndCoursesFromPitches) {
  EXPECT_EQ(GetPitchName(0), "C 0");
  EXPECT_EQ(GetPitchName(60), "C 5");
  EXPECT_EQ(GetPitchName(61), "C#5");
  EXPECT_EQ(GetPitchName(127), "G 10");

  nTuning tuning;
  const int guitar[] = {40, 45, 50, 55, 59, 64};  // lowest course first
  tuning.SetFromPitches(6, guitar);
  EXPECT_EQ(tuning.stringCount, 6);
  EXPECT_EQ(tuning.courses[0], (CourseRecord{'E', 5, 'n', 41}));
  EXPECT_EQ(tuning.courses[5], (CourseRecord{'E', 3, 'n', 17}));
  EXPECT_EQ(tuning.GetStringLabel(5), "E3");

  tuning.SetCoursePitch(1, 70);
  EXPECT_EQ(tuning.courses[1], (CourseRecord{'B', 5, 'b', 47}));
  tuning.SetCoursePitch(16, 70);  // no such course: nothing happens

  std::vector<int> many(20);
  for (int i = 0; i < 20; ++i) many[static_cast<size_t>(i)] = 40 + i;
  tuning.SetFromPitches(20, many.data());
  EXPECT_EQ(tuning.stringCount, 16);
  EXPECT_EQ(tuning.courses[0].pitch + 23, 59);  // the highest sixteen are kept
  EXPECT_EQ(tuning.courses[15].pitch + 23, 44);
}

TEST(TuningRecord, StoresTheCoursesInUse) {
  nTuning tuning;
  tuning.SetTuning("GF#");
  ArchiveWriter w;
  tuning.Store(w);
  EXPECT_EQ(ToHex(w.Bytes()), "02 00 00 00 02 00 00 00 47 05 6E 2C 46 05 23 2B");

  const auto bytes = HexBytes("02 00 00 00 05 00 00 00 47 05 20 2C 46 04 23 1F");
  ArchiveReader r(bytes);
  nTuning read;
  read.SetTuning("ABCDEFG");
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.stringCount, 2);
  EXPECT_EQ(read.lines, 5);
  EXPECT_EQ(read.courses[0].accidental, 'n');  // a blank accidental reads as natural
  EXPECT_EQ(read.courses[1], (CourseRecord{'F', 4, '#', 0x1F}));
  EXPECT_EQ(read.courses[2], CourseRecord{});
}

TEST(TuningRecord, HostileCourseCounts) {
  // Seventeen courses: all are read past, sixteen kept.
  std::string hex = "11 00 00 00 06 00 00 00";
  for (int i = 0; i < 17; ++i) hex += " 43 04 6E 14";
  hex += " AA";
  const auto seventeen = HexBytes(hex);
  ArchiveReader r(seventeen);
  nTuning tuning;
  tuning.Load(r);
  EXPECT_EQ(tuning.stringCount, 16);
  EXPECT_EQ(r.ReadU8(), 0xAA);

  const auto beyond = HexBytes("40 00 00 00 06 00 00 00 43 04 6E 14");
  ArchiveReader r2(beyond);
  EXPECT_THROW(tuning.Load(r2), ArchiveError);

  const auto negative = HexBytes("FF FF FF FF 06 00 00 00");
  ArchiveReader r3(negative);
  tuning.Load(r3);
  EXPECT_EQ(tuning.stringCount, 0);
}

TEST(TuningXml, WritesEveryCourse) {
  nTuning tuning;
  tuning.SetTuning("GF#");
  tinyxml2::XMLDocument doc;
  EXPECT_EQ(testing::CompactXml(doc, tuning.WriteXml(doc)),
               "<tuning nb-strings=\"2\" lines=\"2\"><strings count=\"2\">"
               "<string index=\"0\" name=\"G5n\" note=\"71\" octave=\"5\" alteration=\"110\" midi-pitch=\"44\"/>"
               "<string index=\"1\" name=\"F5#\" note=\"70\" octave=\"5\" alteration=\"35\" midi-pitch=\"43\"/>"
               "</strings></tuning>");
}

TEST(TuningXml, ReadsThePitchesAsStored) {
  tinyxml2::XMLDocument doc;
  doc.Parse(
      "<tuning nb-strings=\"3\" lines=\"2\"><list count=\"3\">"
      "<string note=\"71\" octave=\"5\" alteration=\"110\" midi-pitch=\"50\"/>"
      "<string note=\"68\" octave=\"5\" alteration=\"110\"/>"
      "</list></tuning><after/>");
  nTuning tuning;
  EXPECT_STREQ(tuning.ReadXml(doc.FirstChildElement())->Name(), "after");
  EXPECT_EQ(tuning.stringCount, 3);
  EXPECT_EQ(tuning.lines, 2);
  EXPECT_EQ(tuning.courses[0], (CourseRecord{'G', 5, 'n', 50}));  // not recomputed from the letter
  EXPECT_EQ(tuning.courses[1].pitch, 0);                          // missing attribute
  EXPECT_EQ(tuning.courses[2], CourseRecord{});                    // no element for it
}

TEST(TuningXml, CountsAboveSixteenAndOtherElements) {
  std::string xml = "<tuning nb-strings=\"40\" lines=\"6\"><strings count=\"40\">";
  for (int i = 0; i < 40; ++i) xml += "<string note=\"67\" midi-pitch=\"" + std::to_string(i) + "\"/>";
  xml += "</strings></tuning>";
  tinyxml2::XMLDocument doc;
  doc.Parse(xml.c_str());
  nTuning tuning;
  tuning.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(tuning.stringCount, 16);
  EXPECT_EQ(tuning.courses[15].pitch, 15);

  testing::ScriptedPrompts prompts;
  tinyxml2::XMLDocument other;
  other.Parse("<strings/>");
  EXPECT_THROW(tuning.ReadXml(other.FirstChildElement()), XmlTagMismatch);
}

}  // namespace
}  // namespace vornel
