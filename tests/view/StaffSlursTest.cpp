// Slurs on a staff: the shape that keeps a slur clear of the ink between its ends, on plain
// boxes, and staves whose slurs meet beams, accidentals, low heads and each other, drawn into
// the recording device (tests/view/golden/staff_slurs.log, checked by hand once) and checked
// for ink drawn over other ink.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "GoldenLog.h"
#include "StaffFixtures.h"
#include "model/events/CMetaEvent.h"
#include "platform/draw/InkCollisions.h"
#include "view/render/marks/SlurShape.h"

namespace vornel {
namespace {

using testing::Chord;
using testing::StaffLine;

// ---------------------------------------------------------------------------------------------
// The shape

constexpr SlurClearance kClearance{.thickness = 4, .gap = 3, .step = 3, .mostEndMove = 80, .mostHeight = 40};

// Where the curve's inner edge stands at x, off its chord toward the bulge.
double InnerEdgeY(const SlurCurve& c, double x) {
  const double f = (x - c.from.x) / double(c.to.x - c.from.x);
  const double chordY = c.from.y + (c.to.y - c.from.y) * f;
  const int sign = c.height >= 0 ? 1 : -1;
  return chordY + sign * (std::abs(c.height) - kClearance.thickness) * SlurBulgeAt(f);
}

// Every box between the ends lies on the notes' side of the inner edge, with the air.
void ExpectClear(const SlurCurve& c, const std::vector<Rect>& ink, const char* label) {
  const int sign = c.height >= 0 ? 1 : -1;
  for (const Rect& box : ink) {
    for (int32_t x = std::max(box.left, c.from.x); x <= std::min(box.right, c.to.x); ++x) {
      const double far = sign > 0 ? box.bottom : box.top;
      EXPECT_LE(sign * (far - InnerEdgeY(c, x)) + kClearance.gap, 1.0)
          << label << ": the box " << box.left << "," << box.top << " at x " << x;
    }
  }
}

TEST(SlurShape, TheRuleHoldsWhereNothingIsInTheWay) {
  // An upward curve (negative height) from (100, 100) to (200, 100), 20 high.
  const SlurCurve rule{{100, 100}, {200, 100}, -20};
  struct Case {
    const char* label;
    std::vector<Rect> ink;
  };
  const Case cases[] = {
      {"no ink", {}},
      {"ink under the chord, on the notes' side", {{120, 104, 180, 140}}},
      {"ink wholly beyond the curve, which passes inside it", {{105, 60, 195, 70}}},
      {"ink over the curve's middle but clear of it", {{140, 60, 160, 70}}},
      {"ink beyond the ends", {{20, 40, 99, 120}, {201, 40, 260, 120}}},
  };
  for (const Case& c : cases) {
    const SlurCurve shaped = ClearSlur(rule, c.ink, kClearance);
    EXPECT_EQ(shaped.from, rule.from) << c.label;
    EXPECT_EQ(shaped.to, rule.to) << c.label;
    EXPECT_EQ(shaped.height, rule.height) << c.label;
  }
}

TEST(SlurShape, InkInTheWayRaisesTheCurveOrMovesAnEnd) {
  const SlurCurve up{{100, 100}, {200, 100}, -20};
  const SlurCurve down{{100, 100}, {200, 100}, 20};
  struct Case {
    const char* label;
    SlurCurve rule;
    std::vector<Rect> ink;
    bool endsMove;    // false: only the height grows
    bool startMoves;  // the start moves further than the end
  };
  const Case cases[] = {
      {"a head over the middle", up, {{145, 80, 155, 90}}, false, false},
      {"a beam on stems over the whole span", up, {{105, 70, 195, 74}, {105, 70, 107, 100}, {193, 70, 195, 100}}, true, false},
      {"a stem by the start", up, {{104, 60, 106, 100}}, true, true},
      {"an accidental before the end", down, {{185, 95, 192, 125}}, true, false},
      {"a low head in the middle of a downward curve", down, {{140, 110, 160, 120}}, false, false},
  };
  for (const Case& c : cases) {
    const SlurCurve shaped = ClearSlur(c.rule, c.ink, kClearance);
    ExpectClear(shaped, c.ink, c.label);
    EXPECT_GE(std::abs(shaped.height), std::abs(c.rule.height)) << c.label;
    EXPECT_EQ((shaped.height > 0), (c.rule.height > 0)) << c.label;
    const int32_t moved1 = std::abs(shaped.from.y - c.rule.from.y);
    const int32_t moved2 = std::abs(shaped.to.y - c.rule.to.y);
    EXPECT_EQ(moved1 + moved2 > 0, c.endsMove) << c.label;
    if (c.startMoves) {
      EXPECT_GT(moved1, moved2) << c.label;
    } else if (c.endsMove) {
      EXPECT_GE(moved2, moved1) << c.label;
    }
    // Ends move only away from the notes.
    EXPECT_GE((shaped.from.y - c.rule.from.y) * (c.rule.height > 0 ? 1 : -1), 0) << c.label;
    EXPECT_GE((shaped.to.y - c.rule.to.y) * (c.rule.height > 0 ? 1 : -1), 0) << c.label;
  }
}

TEST(SlurShape, EachEndStandsOutsideItsOwnHead) {
  // An upward curve whose ends start inside their heads (as the rule puts them over the
  // notes): the ends rise over the heads by half the air, and the heads are not in the way.
  const SlurCurve rule{{100, 100}, {200, 100}, -20};
  const Rect startHead{95, 92, 107, 104};
  const Rect endHead{198, 90, 210, 102};
  const SlurCurve shaped = ClearSlur(rule, {}, kClearance, startHead, endHead);
  EXPECT_LE(shaped.from.y, startHead.top - kClearance.gap / 2);
  EXPECT_LE(shaped.to.y, endHead.top - kClearance.gap / 2);
  EXPECT_GT(shaped.from.y, startHead.top - kClearance.gap - kClearance.step);
  EXPECT_EQ(shaped.height, rule.height);
}

// ---------------------------------------------------------------------------------------------
// Staves

// Slur word: span (chords - 1) in bits 0-2, the end's steps off in bits 3-5 (bit 6: lower),
// bit 7 over the notes.
uint32_t SlurWord(int chords, int steps, bool over) {
  uint32_t word = static_cast<uint32_t>(chords - 1) | (static_cast<uint32_t>(std::abs(steps)) << 3);
  if (steps < 0) word |= 0x40;
  if (over) word |= 0x80;
  return word;
}

void SetSlur(nChordArray& voice, size_t chord, int chords, int steps, bool over) {
  voice.at(chord)->notes.at(0)->slur = SlurWord(chords, steps, over);
}

const std::vector<testing::NamedStave>& SlurStaves() {
  static const std::vector<testing::NamedStave> staves = {
      // A4 C#5 Bb4 D5 beamed, stems up: the slur over them clears the beam and the stems.
      {"over a beamed group with accidentals",
       [](nChordArray& v) {
         v.push_back(Chord(4, {69}, 0));
         v.push_back(Chord(4, {73}, 1));
         v.push_back(Chord(4, {70}, 2));
         v.push_back(Chord(4, {74}, 3));
         SetSlur(v, 0, 3, 3, true);
       }},
      // C5 Eb4 B4: the slur under them dips under the low head and its flat.
      {"under a low head with a flat",
       [](nChordArray& v) {
         v.push_back(Chord(3, {72}));
         v.push_back(Chord(3, {63}));
         v.push_back(Chord(3, {71}));
         SetSlur(v, 0, 2, -1, false);
       }},
      // G4 C5 A4 G4 with a slur over all and one from C5 to A4: the outer keeps clear of the
      // inner.
      {"nested under the notes",
       [](nChordArray& v) {
         v.push_back(Chord(3, {67}));
         v.push_back(Chord(3, {72}));
         v.push_back(Chord(3, {69}));
         v.push_back(Chord(3, {67}));
         SetSlur(v, 0, 3, 0, false);
         SetSlur(v, 1, 1, -2, false);
       }},
      // A legato mark (a long slur) over forty columns, from over the first note: it ends
      // where the staff ends, over the beamed notes.
      {"a long slur's mark past the line's end",
       [](nChordArray& v) {
         v.push_back(Chord(4, {69}, 0));
         v.push_back(Chord(4, {79}, 1));
         v.push_back(Chord(4, {72}, 2));
         v.push_back(Chord(4, {74}, 3));
         v.at(0)->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLegato, "", 40u | (0x55u << 8), 0, -2));
       }},
      // G4 A4 G4 quarters, stems up, a slur under them: nothing in the way, the rule's curve.
      {"nothing in the way",
       [](nChordArray& v) {
         v.push_back(Chord(3, {67}));
         v.push_back(Chord(3, {69}));
         v.push_back(Chord(3, {67}));
         SetSlur(v, 0, 2, 0, false);
       }},
  };
  return staves;
}

TEST(StaffSlurs, SlursKeepClearOfTheNotesBetweenTheirEnds) {
  const std::string log = testing::DrawNamedStaves(SlurStaves(), [](const std::string& name, const auto& c) {
    EXPECT_TRUE(c.first.source != InkSource::kSlur && c.second.source != InkSource::kSlur)
        << name << ": " << InkCollisions::Describe(c);
  });
  testing::ExpectGoldenLog("staff_slurs", log);
}

}  // namespace
}  // namespace vornel
