// Tablature as lute books print it, on small lines of the kinds that met other ink on pages of
// lute editions: bass letters under a letter of the sixth course, dotted letters in quick runs
// (a dot inside a "c" reads as an "e"), a trill, a change of time signature in a full line, a
// slur over fingered letters. Each is drawn with the real faces and must meet no other ink,
// nor leave a mark further from its chord than the collision listing allows; the recordings
// (tests/view/golden/tab_lute_book.log) were checked by hand once.
//
// At zoom 100 and 96 dpi the lute's lines lie 11 pixels apart, the top line at 101, the sixth
// at 156.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "GoldenLog.h"
#include "TabFixtures.h"
#include "model/ornament/COrnamentProps.h"
#include "platform/draw/InkCollisions.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"

namespace vornel {
namespace {

using testing::TabLine;

constexpr uint16_t kTrill = 4;  // the ascending trill's ornament code: "tr" over its letter

// What meets other ink when the line is drawn with the real faces, as the listing says it.
std::vector<std::string> Collisions(TabLine& tab, int32_t columnWidth) {
  RecordingDevice dc(96, true, PangoTextEngine::Shared());
  InkCollisions ink;
  dc.SetInkObserver(&ink);
  tab.DrawOn(dc, columnWidth, {100, 100, 700, 300}, 60);
  std::vector<std::string> found;
  for (const auto& c : ink.Find(0.3 * 96 / 25.4)) found.push_back(InkCollisions::Describe(c));
  return found;
}

nNotes& On(nChord& chord, int course) { return *chord.notes.NoteOnCourse(static_cast<uint8_t>(course)); }

struct LineCase {
  const char* name;
  int32_t columnWidth;
  std::function<void(TabLine&)> fill;
};

// The bourdons at the distance a document keeps by default: half a line under the line below
// the staff, the letters centred on their lines.
void AtDefaultDistances(TabLine& tab) {
  tab.Tab().flagsHeight = 0;
  tab.Rebuild();
}

const std::vector<LineCase>& Cases() {
  static const std::vector<LineCase> cases = {
      {"bass letters under the sixth course", 40,
       [](TabLine& tab) {
         AtDefaultDistances(tab);
         tab.Add(2, {{5, 4}, {6, 3}});                  // "e" over a "d" in the row below
         tab.Add(2, {{3, 2}, {5, 7}, {6, 0}, {7, 1}});  // "h" over "a" and "/b"
         tab.Add(2, {{5, 5}, {6, 1}, {8, 3}, {9, 0}});  // "f" over three bass letters
         tab.Add(2, {{6, 0}});                          // a bass letter alone keeps the row
       }},
      {"dotted letters in a quick run", 16,
       [](TabLine& tab) {
         AtDefaultDistances(tab);
         // One dot left of each "c" (low code 5), right of it (10), under it (1), three dots
         // (11), a finger letter (13) and a figure (high code 2) in columns 16 pixels apart.
         const uint16_t fingerings[] = {5, 5, 10, 1, 11, 5, 13, 0x20, 10, 5};
         for (size_t k = 0; k < std::size(fingerings); ++k) {
           nChord* chord = tab.Add(5, {{static_cast<int>(k % 3), 2}, {static_cast<int>(k % 3) + 1, 2}});
           chord->notes.at(0)->fingering = fingerings[k];
           chord->notes.at(1)->fingering = fingerings[(k + 3) % std::size(fingerings)];
         }
       }},
      {"trills on inner courses and under the flag", 40,
       [](TabLine& tab) {
         AtDefaultDistances(tab);
         On(*tab.Add(3, {{0, 2}, {1, 0}, {3, 2}}), 3).ornament = kTrill;
         On(*tab.Add(3, {{0, 0}}), 0).ornament = kTrill;  // the flag above it: under its letter
         On(*tab.Add(4, {{2, 3}, {4, 0}}), 4).ornament = kTrill;
       }},
      {"a change of time signature in a full line", 10,
       [](TabLine& tab) {
         AtDefaultDistances(tab);
         for (int k = 0; k < 4; ++k) tab.Add(4, {{k % 2 == 0 ? 1 : 4, 2}});
         tab.Voice().AppendTimeSignature(3, 4);
         for (int k = 0; k < 4; ++k) tab.Add(4, {{k % 2 == 0 ? 2 : 5, 0}});
       }},
      {"a slur over fingered letters", 30,
       [](TabLine& tab) {
         AtDefaultDistances(tab);
         nChord* first = tab.Add(3, {{1, 2}, {2, 0}});
         On(*first, 1).slur = 0x102;  // a slur over two chords, above
         On(*first, 1).fingering = 0x10;
         On(*tab.Add(3, {{1, 3}}), 1).fingering = 12;
         On(*tab.Add(3, {{1, 5}, {2, 2}}), 1).fingering = 1;
       }},
  };
  return cases;
}

TEST(LuteMarks, NothingMeetsOtherInkAndMarksStandByTheirLetters) {
  std::string log;
  for (const char* face : {"VN_Quintelle", "Arial"}) {
    for (const LineCase& c : Cases()) {
      SCOPED_TRACE(std::string(c.name) + ", " + face);
      TabLine tab;
      tab.Tab().tabFont.logFont.lfFaceName = face;
      c.fill(tab);
      EXPECT_EQ(Collisions(tab, c.columnWidth), std::vector<std::string>{});
      if (std::string(face) == "VN_Quintelle") log += "# " + std::string(c.name) + "\n" + tab.Draw(c.name, c.columnWidth);
    }
  }
  testing::ExpectGoldenLog("tab_lute_book", log);
}

// The bass letters of a stave keep one row, as far under the stored one as the letters on the
// lines need; a stave whose letters leave the stored row clear keeps it.
TEST(LuteMarks, BassLettersKeepOneRowClearOfTheSixthCourse) {
  const auto rows = [](std::initializer_list<std::initializer_list<testing::CourseFret>> chords) {
    TabLine tab;
    AtDefaultDistances(tab);
    for (const auto& notes : chords) tab.Add(2, notes);
    std::vector<int> baselines;
    std::istringstream lines(tab.Draw("bass_row"));
    for (std::string line; std::getline(lines, line);) {
      int x = 0;
      int y = 0;
      std::string text;
      if (line.rfind("TextOut ", 0) != 0) continue;
      std::istringstream fields(line.substr(8));
      fields >> x >> y >> text;
      if (y > 162 && text != "\"Z\"" && text != "\"Y\"") baselines.push_back(y);
    }
    return baselines;
  };
  // Without a letter on the sixth course the row stays where it is stored: the line below the
  // staff (167), the letters' offset of a third of a spacing down (4), half a spacing up (5).
  EXPECT_EQ(rows({{{6, 0}}, {{0, 0}, {6, 3}}}), (std::vector<int>{166, 166}));
  // Under a letter of the sixth course every bass letter of the stave takes the lower row,
  // and the second of a chord stands a line under the first.
  const std::vector<int> lower = rows({{{6, 0}}, {{5, 4}, {6, 3}}, {{5, 4}, {6, 0}, {7, 1}}});
  ASSERT_EQ(lower.size(), 4u);
  EXPECT_GT(lower[0], 166);
  EXPECT_EQ(lower[1], lower[0]);
  EXPECT_EQ(lower[2], lower[0]);
  EXPECT_EQ(lower[3], lower[0] + 11);
}

}  // namespace
}  // namespace vornel
