// Line segments and curves: the geometry the slurs, ties and brackets stand on, and the
// drawing calls of each curve form as golden logs.

#include <gtest/gtest.h>

#include <cmath>

#include "GoldenLog.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/CCurvicule.h"

namespace vornel {
namespace {

TEST(LineSegment, NormalPointsDownForAPositiveDistanceOfALeftToRightChord) {
  LineSegment s(0, 0, 100, 0);
  EXPECT_EQ(s.GetNormalPoint(10), (Point{0, 10}));
  EXPECT_EQ(s.normal, (Point{0, 10}));
  LineSegment back(100, 0, 0, 0);
  EXPECT_EQ(back.GetNormalPoint(10), (Point{0, -10}));
  LineSegment down(0, 0, 0, 50);
  EXPECT_EQ(down.GetNormalPoint(10), (Point{-10, 0}));
}

TEST(LineSegment, TurnsExtendsAndHalves) {
  LineSegment s(10, 10, 110, 10);
  EXPECT_DOUBLE_EQ(s.GetLength(), 100.0);
  EXPECT_EQ(s.GetMidPoint(), (Point{60, 10}));
  s.ExtendEnd(20);
  EXPECT_EQ(s.end, (Point{130, 10}));
  EXPECT_NEAR(s.RotateEnd(std::acos(-1.0) / 2), 120.0, 1e-9);
  EXPECT_EQ(s.end, (Point{10, 130}));
  EXPECT_EQ(s.delta, (Point{0, 120}));
  s.Offset(10);
  EXPECT_EQ(s.start, (Point{10, 20}));
  s.GetNormalPoint(5);
  EXPECT_EQ(s.FromStartBack().end, (Point{15, 20}));
}

TEST(CCurvicule, FlatChordWithoutHeightHasItsThicknessPointingDown) {
  CCurvicule curve;
  curve.endThickness = 6;
  curve.chord.Set(0, 0, 100, 0);
  EXPECT_EQ(curve.GetBulgePoint(), (Point{0, 0}));
  EXPECT_EQ(curve.thicknessVector, (Point{0, 6}));
  // With a height the thickness runs along the chord: the ends taper.
  curve.height = 10;
  EXPECT_EQ(curve.GetBulgePoint(), (Point{0, 10}));
  EXPECT_EQ(curve.thicknessVector, (Point{6, 0}));
}

TEST(CCurvicule, NegativeHeightDrawsOnTheOtherSide) {
  RecordingDevice dc;
  CCurvicule below(&dc);
  below.height = 20;
  below.Draw(0, 100, 200, 100);
  CCurvicule above(&dc);
  above.height = -20;
  above.Draw(0, 100, 200, 100);
  EXPECT_GT(below.extent.bottom, 100);
  EXPECT_EQ(below.extent.top, 100);
  EXPECT_LT(above.extent.top, 100);
  EXPECT_EQ(above.extent.bottom, 100);
}

TEST(CCurvicule, ControlPolygonOnlyInOutlineMode) {
  RecordingDevice dc;
  CCurvicule curve(&dc);
  curve.DrawControlPolygon(0xFF, 0, 0);
  EXPECT_EQ(dc.Log(), "");
  curve.outlineMode = true;
  curve.DrawControlPolygon(0xFF, 0, 0);
  EXPECT_NE(dc.Log(), "");
}

TEST(CCurvicule, ArcChainDrawsOneCurvePerStepEndToEnd) {
  RecordingDevice dc;
  CCurvicule curve(&dc);
  curve.height = 8;
  curve.chord.Set(0, 0, 90, 0);
  EXPECT_EQ(curve.DrawArcChain(3, false), (Point{90, 0}));
  const std::string& log = dc.Log();
  size_t fills = 0;
  for (size_t at = log.find("FillPath"); at != std::string::npos; at = log.find("FillPath", at + 1)) ++fills;
  EXPECT_EQ(fills, 3u);
  EXPECT_NE(log.find("MoveTo 30 0"), std::string::npos);
  EXPECT_NE(log.find("MoveTo 60 0"), std::string::npos);
  // A zero count is one curve, not a division by zero.
  EXPECT_EQ(curve.DrawArcChain(0, true), (Point{90, 0}));
}

TEST(CCurvicule, GoldenLogOfEachForm) {
  RecordingDevice dc;
  // A slur as the renderers make it: pull, shifts and thicknesses.
  CLigature slur(&dc, -24, 0x0000C8, 20, 100, 220, 80);
  slur.middleThickness = 4;
  slur.endThickness = 2;
  slur.controlPull = -15;
  slur.shiftAlong = -10;
  slur.shiftAcross = 30;
  slur.Draw(20, 100, 220, 80);
  // A flat tie (no height): the straight-sided shape, filled and outlined.
  CCurvicule tie(&dc);
  tie.endThickness = 3;
  tie.Draw(20, 150, 120, 150);
  tie.outlineMode = true;
  tie.Draw(20, 170, 120, 170);
  // Pointed ends, a tilt and an end extension.
  CCurvicule pointed(&dc);
  pointed.height = 30;
  pointed.middleThickness = 5;
  pointed.endThickness = 4;
  pointed.endExtension = 2;
  pointed.tilt = 0.3;
  pointed.pointedEnds = true;
  pointed.endRotation = 0.1;
  pointed.Draw(20, 250, 220, 250);
  // The construction view.
  CCurvicule construction(&dc);
  construction.height = 25;
  construction.outlineMode = true;
  construction.Draw(20, 320, 220, 320);
  testing::ExpectGoldenLog("curves", dc.Log());
}

}  // namespace
}  // namespace vornel
