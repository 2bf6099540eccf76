#pragma once
// A chord between two device points that keeps its direction, length and angle: the base of
// slurs, ties, tuplet arcs, brackets and beams. Angles are radians in device orientation
// (y grows downward), so a positive distance along the normal of a left-to-right chord
// points down the page.

#include <cstdint>

#include "platform/draw/DrawObjects.h"

namespace vornel {

class DeviceContext;

class LineSegment {
 public:
  Point start;
  Point end;
  Point delta;   // end - start
  Point normal;  // the last result of GetNormalPoint
  double angle = 0;

  LineSegment() = default;
  LineSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { Set(x1, y1, x2, y2); }

  void Set(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void UpdateDirection();
  double GetLength() const;
  // Moves the end by d along the chord.
  void ExtendEnd(int32_t d);
  // Turns the end about the start by `radians`, keeping the length; returns the new length.
  double RotateEnd(double radians);
  // The offset d along the normal (angle + π/2); stored in `normal` and returned.
  Point GetNormalPoint(int32_t d);
  Point GetMidPoint() const;
  // Moves both ends by d along the chord.
  void Offset(int32_t d);
  // A copy whose end is the start minus the normal point.
  LineSegment FromStartBack() const;
  // Fills start, start + w, end + w, end; w is added to x, or to y when `vertical`.
  void DrawBand(DeviceContext& dc, int32_t width, bool vertical, COLORREF colour = 0) const;
  // A line from start to end with the pen.
  void DrawStraight(DeviceContext& dc, const Pen& pen) const;
};

}  // namespace vornel
