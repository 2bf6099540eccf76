// Staff tunings of a part and chord names of harmonies.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/staffdetails.h"
#include "import/musicxml/vornelharmony.h"
#include "musicxml/MxTestSupport.h"
#include "musicxml/visitors/browser.h"

namespace vornel {
namespace {

using MusicXML2::ElementType;
using MusicXML2::Sxmlelement;

// The first element of `type` in a document read from `xml`.
Sxmlelement First(const MusicXML2::testing::ReadResult& read, int32_t type) {
  if (!read.root()) return nullptr;
  if (read.root()->getType() == type) return read.root();
  const auto it = read.root()->find(type);
  return it != read.root()->end() ? *it : Sxmlelement();
}

TEST(StaffDetails, TuningsLinesAndCapo) {
  const auto read = MusicXML2::testing::Read(MusicXML2::testing::Document(R"(<part id="P1"><measure><attributes>
    <staff-details><staff-lines>4</staff-lines><capo>2</capo>
      <staff-tuning line="6"><tuning-step>E</tuning-step><tuning-octave>2</tuning-octave></staff-tuning>
      <staff-tuning line="5"><tuning-step>A</tuning-step><tuning-octave>2</tuning-octave></staff-tuning>
      <staff-tuning line="4"><tuning-step>E</tuning-step></staff-tuning>
      <staff-tuning line="3"><tuning-step>F</tuning-step><tuning-alter>1</tuning-alter><tuning-octave>3</tuning-octave></staff-tuning>
      <staff-tuning line="2"><tuning-step>B</tuning-step><tuning-alter>-1</tuning-alter><tuning-octave>3</tuning-octave></staff-tuning>
      <staff-tuning><tuning-step>C</tuning-step><tuning-octave>4</tuning-octave></staff-tuning>
      <staff-tuning line="1"><tuning-step>H</tuning-step><tuning-octave>4</tuning-octave></staff-tuning>
    </staff-details>
    <staff-details number="2"><staff-lines>6</staff-lines>
      <staff-tuning line="5"><tuning-step>D</tuning-step><tuning-octave>3</tuning-octave></staff-tuning>
    </staff-details></attributes></measure></part>)"));
  const Sxmlelement part = First(read, ElementType("part"));
  ASSERT_TRUE(part);
  std::ostringstream warnings;
  ScopedImportWarnings scope(warnings);
  staffdetails details;
  MusicXML2::xml_tree_browser(&details).browse(*part);
  EXPECT_EQ(details.staffLines(), 6);  // the last staff details win
  EXPECT_EQ(details.capo(), 2);
  const std::map<int32_t, int32_t> expected = {
      {6, 40},  // E2
      {5, 50},  // A2, then the second staff's D3 on the same line
      {4, 16},  // no octave: octave 0
      {3, 54},  // F sharp 3
      {2, 58},  // B flat 3
      {0, 60},  // no line attribute: line 0
  };
  EXPECT_EQ(details.tuning(), expected);
  EXPECT_EQ(warnings.str(), "warning: staff-tuning of line 1 has no step from A to G\n");
}

TEST(StaffDetails, APartWithoutDetails) {
  const auto read = MusicXML2::testing::Read(MusicXML2::testing::Document("<part id=\"P1\"><measure/></part>"));
  staffdetails details;
  MusicXML2::xml_tree_browser(&details).browse(*read.root());
  EXPECT_EQ(details.staffLines(), -1);
  EXPECT_EQ(details.capo(), 0);
  EXPECT_TRUE(details.tuning().empty());
}

TEST(Harmony, ChordNames) {
  struct Case {
    const char* harmony;
    const char* name;
  };
  const std::vector<Case> cases = {
      {"<root><root-step>D</root-step><root-alter>1</root-alter></root><kind text=\"m7\">minor-seventh</kind>",
       "D#m7"},
      {"<root><root-step>B</root-step><root-alter>-1</root-alter></root><kind>major</kind>", "Bb"},
      {"<root><root-step>G</root-step></root><kind text=\"\">major</kind>"
       "<degree><degree-value text=\"add7\">7</degree-value></degree>"
       "<degree><degree-value text=\"add9\">9</degree-value></degree>",
       "Gadd9"},
      {"<root><root-step>F</root-step></root><kind>major</kind><bass><bass-step>C</bass-step></bass>", "F"},
      {"<root><root-step>E</root-step><root-alter>0</root-alter></root><kind text=\"m\">minor</kind>", "Em"},
      {"<root><root-step>C</root-step><root-alter>2</root-alter></root>", "C##"},
      {"<root><root-step>A</root-step><root-alter>-2</root-alter></root>", "Abb"},
  };
  for (const Case& c : cases) {
    const auto read =
        MusicXML2::testing::Read(MusicXML2::testing::Document(std::string("<harmony>") + c.harmony + "</harmony>"));
    ASSERT_TRUE(read.root()) << c.name << read.errors;
    vornelharmony harmony;
    MusicXML2::xml_tree_browser(&harmony).browse(*read.root());
    EXPECT_EQ(harmony.getChordName(), c.name);
  }
}

TEST(Harmony, EachHarmonyStartsAfresh) {
  const auto read = MusicXML2::testing::Read(MusicXML2::testing::Document(
      "<measure><harmony><root><root-step>D</root-step><root-alter>1</root-alter></root><kind text=\"7\"/></harmony>"
      "<harmony><root><root-step>G</root-step></root><kind/></harmony></measure>"));
  vornelharmony harmony;
  MusicXML2::xml_tree_browser(&harmony).browse(*read.root());
  EXPECT_EQ(harmony.getChordName(), "G");
}

}  // namespace
}  // namespace vornel
