// The ink a device reports and the collision check on it: small drawings that collide and
// drawings whose items only touch as they are meant to.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/draw/InkCollisions.h"
#include "platform/draw/RecordingDevice.h"

namespace vornel {
namespace {

// Draws through a recording device (fixed text metrics) and lists what collides.
class Drawing {
 public:
  Drawing() {
    dc_.SetRecording(false);
    dc_.SetInkObserver(&ink_);
    FontSpec text;
    text.lfHeight = -16;
    text.lfFaceName = "Arial";
    dc_.SelectFont(text);
    dc_.SetTextAlign(TA_LEFT | TA_BASELINE);
    dc_.SetBkMode(TRANSPARENT);
  }

  DeviceContext& dc() { return dc_; }
  void Line(InkSource source, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t group = 1) {
    const InkSourceScope scope(dc_, source);
    dc_.SetInkGroup(group);
    dc_.MoveTo(x1, y1);
    dc_.LineTo(x2, y2);
  }
  void Text(InkSource source, int32_t x, int32_t y, const std::string& text, int32_t group = 1) {
    const InkSourceScope scope(dc_, source);
    dc_.SetInkGroup(group);
    dc_.TextOut(x, y, text);
  }
  std::vector<std::string> Collisions(double paperWidth = 0, double paperHeight = 0) const {
    std::vector<std::string> lines;
    for (const auto& c : ink_.Find(1.0, paperWidth, paperHeight)) lines.push_back(InkCollisions::Describe(c));
    return lines;
  }

 private:
  RecordingDevice dc_;
  InkCollisions ink_;
};

TEST(InkCollisions, ItemsMeantToTouchAreNotCollisions) {
  Drawing d;
  // Five course lines with letters on them, a rhythm flag over the top line on its stem.
  for (int k = 0; k < 5; ++k) d.Line(InkSource::kStaffLine, 10, 100 + 20 * k, 400, 100 + 20 * k);
  d.Text(InkSource::kTabLetter, 50, 105, "a");
  d.Text(InkSource::kTabLetter, 50, 145, "d");
  d.Line(InkSource::kBarLine, 200, 100, 200, 180);
  d.Line(InkSource::kRhythmFlag, 50, 60, 50, 90);
  d.Line(InkSource::kRhythmFlag, 50, 60, 60, 66);
  // A note head on a ledger line and on its stem; a slur that ends at a letter.
  d.Line(InkSource::kLedgerLine, 290, 200, 310, 200);
  d.Text(InkSource::kNoteHead, 294, 204, "o");
  d.Line(InkSource::kStem, 302, 170, 302, 200);
  d.Line(InkSource::kSlur, 40, 112, 60, 108);
  EXPECT_TRUE(d.Collisions(800, 1000).empty());
}

TEST(InkCollisions, InkOverOtherInkIsListedOncePerPairOfDrawings) {
  Drawing d;
  d.Line(InkSource::kStaffLine, 10, 100, 400, 100);
  // A heading over a flag just above the lines; a bar number on the lines of the system above.
  d.Text(InkSource::kRhythmFlag, 60, 95, "q");
  d.Text(InkSource::kHeading, 40, 97, "Fantasia");
  d.Text(InkSource::kBarNumber, 200, 104, "12", 2);
  // Two lyrics that overprint each other.
  d.Text(InkSource::kLyric, 100, 300, "Flow");
  d.Text(InkSource::kLyric, 120, 300, "tears");
  const std::vector<std::string> expected = {
      "rhythm flag \"q\" [60,83,68,98] / heading \"Fantasia\" [40,85,102,97]",
      "staff line [10,100,400,101] / bar number \"12\" [200,92,216,104]",
      "lyric \"Flow\" [100,288,135,300] / lyric \"tears\" [120,288,160,300]",
  };
  EXPECT_EQ(d.Collisions(), expected);
}

TEST(InkCollisions, InkPastThePaperAndScreenMarks) {
  Drawing d;
  d.Text(InkSource::kHeading, 700, 50, "printed by Attaignant");
  {
    // What only the screen shows is never ink on paper.
    const InkSourceScope mark(d.dc(), InkSource::kScreenMark);
    d.dc().TextOut(710, 50, "!");
  }
  // White erases: the box behind a letter is no ink.
  d.dc().FillSolidRect({700, 30, 760, 60}, 0xFFFFFF);
  const std::vector<std::string> expected = {
      "heading \"printed by Attaignant\" [700,38,854,53] runs off the paper"};
  EXPECT_EQ(d.Collisions(800, 1000), expected);
}

// Ink the listing missed: a letter struck through by a bar line or a system's line, a page
// number on a staff line, and marks of a chord further from its letters than the nearest
// letter is tall (a letter of another chord does not count as theirs).
TEST(InkCollisions, LettersThroughLinesAndMarksFarFromTheirChord) {
  Drawing d;
  d.Line(InkSource::kStaffLine, 10, 100, 400, 100);
  d.Text(InkSource::kTabLetter, 50, 105, "a");
  d.Line(InkSource::kBarLine, 55, 90, 55, 130);
  d.Line(InkSource::kSystemLine, 10, 90, 10, 130);
  d.Text(InkSource::kTabLetter, 8, 125, "c");
  d.Text(InkSource::kPageText, 300, 106, "p. 3", 0);
  const auto chord = [&](int32_t x, int32_t markY, InkSource mark) {
    const InkAnchorScope anchor(d.dc());
    d.Text(InkSource::kTabLetter, x, 165, "e");
    d.Text(mark, x + 2, markY, ".");
  };
  chord(100, 175, InkSource::kFingering);  // just under its letter
  chord(150, 130, InkSource::kOrnament);   // 30 pixels over it
  {
    // A mark over a letter of another chord is still far from its own.
    const InkAnchorScope anchor(d.dc());
    d.Text(InkSource::kTabLetter, 200, 210, "a");
    d.Text(InkSource::kFingering, 200, 165, ".");
  }
  d.Text(InkSource::kTabLetter, 208, 165, "a");
  const std::vector<std::string> expected = {
      "system line [10,90,11,130] / tablature letter \"c\" [8,117,16,125]",
      "tablature letter \"a\" [50,97,58,105] / bar line [55,90,56,130]",
      "staff line [10,100,400,101] / page text \"p. 3\" [300,94,324,109]",
      "ornament \".\" [152,128,156,130] stands 7.1 mm from its chord",
      "fingering \".\" [200,163,204,165] stands 9.8 mm from its chord",
  };
  EXPECT_EQ(d.Collisions(), expected);
}

TEST(InkExtent, UnionOfWhatWasDrawnWithoutScreenMarks) {
  RecordingDevice dc;
  InkCollisions all;
  InkExtent extent(&all);
  dc.SetInkObserver(&extent);
  dc.MoveTo(10, 20);
  dc.LineTo(10, 80);
  {
    const InkSourceScope mark(dc, InkSource::kScreenMark);
    dc.MoveTo(0, 0);
    dc.LineTo(500, 500);
  }
  ASSERT_FALSE(extent.Empty());
  EXPECT_DOUBLE_EQ(extent.Top(), 19.5);
  EXPECT_DOUBLE_EQ(extent.Bottom(), 80.5);
  // Every item still reaches the observer behind it.
  EXPECT_EQ(all.Boxes().size(), 1u);
}

}  // namespace
}  // namespace vornel
