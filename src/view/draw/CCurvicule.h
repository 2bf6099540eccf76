#pragma once
// A filled curve over a chord: slurs, ties, tuplet arcs and curved brackets. Its two edges
// are cubic Béziers over the same chord; the outer one bulges by `height` along the chord's
// normal (the sign picks the side), the inner one by `middleThickness` less, and the ends
// are narrowed by the thickness vector. All lengths are device pixels.

#include <cstdint>

#include "platform/draw/DrawObjects.h"
#include "view/draw/LineSegment.h"

namespace vornel {

class DeviceContext;

class CCurvicule {
 public:
  LineSegment chord;
  int32_t height = 0;          // bulge along the normal; its sign selects the side
  int32_t controlPull = 0;     // percent of the chord: where the control points lie along it
  int32_t stepCount = 3;       // small curves of the chained form
  Rect extent;                 // what the last draw covered
  int32_t shiftAlong = 0;      // percent of the chord length: both control points along it
  int32_t shiftAcross = 0;     // percent of the height: the control points across it, opposite ways
  int32_t endThickness = 0;    // length of the thickness vector at the ends
  int32_t endExtension = 0;    // extension of the ends along the tilt
  double tilt = 0;             // added to the chord angle for the end thickness
  int32_t middleThickness = 0; // outer height minus inner height
  Point thicknessVector;       // set by GetBulgePoint
  double endRotation = 0;      // turn of the control segment
  DeviceContext* dc = nullptr; // not owned
  Point bezier[3];             // the control points and end of the last edge
  int32_t defaultPercents[2] = {20, 50};
  bool pointedEnds = false;    // thickness applied at one side only
  bool outlineMode = false;    // draws the construction instead of filling
  float red = 0;
  float blue = 0;
  float green = 0;
  COLORREF colour = 0;

  CCurvicule() = default;
  // For a device: end thickness 3 mm and middle thickness 5 mm at its resolution.
  explicit CCurvicule(DeviceContext* device);
  CCurvicule(const CCurvicule& other);
  CCurvicule& operator=(const CCurvicule&) = default;
  virtual ~CCurvicule() = default;

  void SetColour(COLORREF c);

  // The apex offset of the chord at the height; sets the thickness vector.
  Point GetBulgePoint();
  // Draws the curve over (x1, y1)-(x2, y2) and returns the end point.
  Point Draw(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

  // Only in outline mode: a one-pixel line of the colour from (x, y) through the control
  // points and back.
  void DrawControlPolygon(COLORREF lineColour, int32_t x, int32_t y);
  // The straight-sided shape of a curve without height, filled with the selected brush or
  // outlined with lines.
  Point FillAngularShape();
  Point DrawAngularShape();
  // The chord cut into `count` equal parts, one curve of the same kind on each, each
  // starting where the previous one ended; without `keepShifts` the parts have no control
  // shifts.
  Point DrawArcChain(int32_t count, bool keepShifts);

 protected:
  // The inner control points (C1, C2) of an edge whose apex offset is already the chord's
  // normal point.
  LineSegment ComputeControlSegment(const LineSegment& edgeChord, bool inner) const;

 private:
  Point FillCurvedShape();
  void DrawCurvedConstruction();
  void AngularCorners(Point corners[4]);
  void ClearExtent();
  void AddToExtent(Point p);
};

// A curve built in one call from the two end points, a height and a colour.
class CLigature : public CCurvicule {
 public:
  int32_t first = 0;
  int32_t second = 0;

  CLigature(DeviceContext* device, int32_t curveHeight, COLORREF curveColour, int32_t x1, int32_t y1, int32_t x2,
            int32_t y2);
};

}  // namespace vornel
