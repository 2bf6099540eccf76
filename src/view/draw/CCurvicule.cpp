#include "view/draw/CCurvicule.h"

#include <algorithm>
#include <cmath>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/MulDiv.h"

namespace vornel {

namespace {

constexpr int32_t kMaxChainSteps = 256;

Point Add(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point Sub(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }

}  // namespace

CCurvicule::CCurvicule(DeviceContext* device) : dc(device) {
  if (device != nullptr) {
    endThickness = MulDiv(30, device->LogPixelsY(), 254);
    middleThickness = MulDiv(50, device->LogPixelsY(), 254);
  }
}

CCurvicule::CCurvicule(const CCurvicule& other)
    : chord(other.chord),
      height(other.height),
      controlPull(other.controlPull),
      shiftAlong(other.shiftAlong),
      shiftAcross(other.shiftAcross),
      endThickness(other.endThickness),
      tilt(other.tilt),
      middleThickness(other.middleThickness),
      endRotation(other.endRotation),
      dc(other.dc),
      pointedEnds(other.pointedEnds),
      outlineMode(other.outlineMode),
      red(other.red),
      blue(other.blue),
      green(other.green),
      colour(other.colour) {}

void CCurvicule::SetColour(COLORREF c) {
  colour = c;
  red = GetRValue(c);
  green = GetGValue(c);
  blue = GetBValue(c);
}

Point CCurvicule::GetBulgePoint() {
  const Point apex = chord.GetNormalPoint(height);
  const double t = tilt + chord.angle;
  thicknessVector = {static_cast<int32_t>(std::cos(t) * endThickness), static_cast<int32_t>(std::sin(t) * endThickness)};
  // A flat curve over a level chord still needs thickness: straight down.
  if (chord.delta.y == 0 && height == 0) thicknessVector = {0, thicknessVector.x};
  return apex;
}

LineSegment CCurvicule::ComputeControlSegment(const LineSegment& edgeChord, bool inner) const {
  const Point n = edgeChord.normal;
  const Point d = edgeChord.delta;
  const double length = edgeChord.GetLength();

  // The segment from the start back along the apex offset carries the two shifts.
  LineSegment back(edgeChord.start.x, edgeChord.start.y, edgeChord.start.x - n.x, edgeChord.start.y - n.y);
  Point q{};
  if (shiftAlong != 0) {
    int32_t along = static_cast<int32_t>(length);
    if (d.y < 0) along = -along;
    q = back.GetNormalPoint(MulDiv(along, shiftAlong, 100));
  }
  Point s{};
  if (shiftAcross != 0) {
    int32_t across = static_cast<int32_t>(back.GetLength());
    if (back.delta.y < 0) across = -across;
    LineSegment moved = back;
    moved.ExtendEnd(MulDiv(across, shiftAcross, 100));
    s = Sub(moved.end, back.end);
  }
  const int32_t p = MulDiv(d.y, controlPull, 100);
  const int32_t qq = MulDiv(d.x, controlPull, 100);
  const Point c1{edgeChord.start.x + n.x - qq + s.x + q.x, edgeChord.start.y + n.y - p + s.y + q.y};
  const Point c2{edgeChord.end.x + n.x + qq - s.x + q.x, edgeChord.end.y + n.y + p - s.y + q.y};
  LineSegment control(c1.x, c1.y, c2.x, c2.y);
  if (endRotation != 0) control.RotateEnd(endRotation);
  if (inner && endExtension != 0 && endThickness != 0) {
    control.end.x += MulDiv(thicknessVector.x, endExtension, endThickness);
    control.end.y += MulDiv(thicknessVector.y, endExtension, endThickness);
    control.UpdateDirection();
  }
  if (pointedEnds && inner) {
    // Pointed ends: the inner edge's control points keep the thickness on one side only.
    control.start = Add(control.start, thicknessVector);
    control.UpdateDirection();
  }
  return control;
}

void CCurvicule::ClearExtent() { extent = {chord.start.x, chord.start.y, chord.start.x, chord.start.y}; }

void CCurvicule::AddToExtent(Point p) {
  extent.left = std::min(extent.left, p.x);
  extent.top = std::min(extent.top, p.y);
  extent.right = std::max(extent.right, p.x);
  extent.bottom = std::max(extent.bottom, p.y);
}

Point CCurvicule::Draw(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  chord.Set(x1, y1, x2, y2);
  ClearExtent();
  AddToExtent(chord.end);
  if (dc == nullptr) return chord.end;
  const Brush oldBrush = dc->SelectBrush(Brush::Solid(colour));
  if (height == 0) {
    if (outlineMode) {
      DrawAngularShape();
    } else {
      FillAngularShape();
    }
  } else if (outlineMode) {
    DrawCurvedConstruction();
  } else {
    FillCurvedShape();
  }
  dc->SelectBrush(oldBrush);
  return chord.end;
}

Point CCurvicule::FillCurvedShape() {
  GetBulgePoint();
  const Point t = thicknessVector;
  const double a = tilt + chord.angle;
  const Point e{static_cast<int32_t>(std::cos(a) * endExtension), static_cast<int32_t>(std::sin(a) * endExtension)};
  if (pointedEnds) {
    chord.end = Sub(chord.end, t);
    chord.UpdateDirection();
  }
  const Point start = chord.start;
  const Point end = chord.end;

  // The outer edge.
  LineSegment outer = chord;
  outer.GetNormalPoint(height);
  const LineSegment c = ComputeControlSegment(outer, false);
  const Point outerEnd = pointedEnds ? Add(end, e) : end;
  bezier[0] = c.start;
  bezier[1] = c.end;
  bezier[2] = outerEnd;
  dc->MoveTo(start.x, start.y);
  dc->BeginPath();
  dc->PolyBezierTo(bezier);

  // The inner edge, back from the end to the start.
  const Point innerStart = Add(start, t);
  const Point innerEnd = pointedEnds ? Add(end, t) : Sub(end, t);
  LineSegment inner(innerStart.x, innerStart.y, innerEnd.x, innerEnd.y);
  const int32_t sign = height > 0 ? 1 : -1;
  inner.GetNormalPoint(height - sign * middleThickness);
  const LineSegment ci = ComputeControlSegment(inner, true);
  const Point lineEnd = pointedEnds ? innerEnd : Add(innerEnd, e);
  dc->LineTo(lineEnd.x, lineEnd.y);
  const Point back[] = {ci.end, ci.start, innerStart};
  dc->PolyBezierTo(back);
  dc->LineTo(start.x, start.y);
  dc->EndPath();
  dc->FillPath();

  for (Point p : {start, end, c.start, c.end, ci.start, ci.end, lineEnd}) AddToExtent(p);
  return chord.end;
}

void CCurvicule::DrawCurvedConstruction() {
  GetBulgePoint();
  const Point t = thicknessVector;
  LineSegment outer = chord;
  outer.GetNormalPoint(height);
  const LineSegment c = ComputeControlSegment(outer, false);
  const Point innerStart = Add(chord.start, t);
  const Point innerEnd = Sub(chord.end, t);
  LineSegment inner(innerStart.x, innerStart.y, innerEnd.x, innerEnd.y);
  const int32_t sign = height > 0 ? 1 : -1;
  inner.GetNormalPoint(height - sign * middleThickness);
  const LineSegment ci = ComputeControlSegment(inner, true);

  const Pen oldPen = dc->SelectPen(Pen::Create(PS_SOLID, 2, 0x00C800));
  dc->MoveTo(chord.start.x, chord.start.y);
  const Point outerCurve[] = {c.start, c.end, chord.end};
  dc->PolyBezierTo(outerCurve);
  dc->SelectPen(Pen::Create(PS_SOLID, 2, 0xC80000));
  dc->MoveTo(innerStart.x, innerStart.y);
  const Point innerCurve[] = {ci.start, ci.end, innerEnd};
  dc->PolyBezierTo(innerCurve);
  dc->SelectPen(oldPen);
  bezier[0] = c.start;
  bezier[1] = c.end;
  bezier[2] = chord.end;
  DrawControlPolygon(0x808080, chord.start.x, chord.start.y);
  const Point mid = chord.GetMidPoint();
  const Point apex = chord.GetNormalPoint(height);
  dc->TextOut(mid.x + apex.x, mid.y + apex.y, "X");
  for (Point p : {chord.end, c.start, c.end, ci.start, ci.end}) AddToExtent(p);
}

void CCurvicule::DrawControlPolygon(COLORREF lineColour, int32_t x, int32_t y) {
  if (!outlineMode || dc == nullptr) return;
  const Pen oldPen = dc->SelectPen(Pen::Create(PS_SOLID, 1, lineColour));
  dc->MoveTo(x, y);
  for (const Point& p : bezier) dc->LineTo(p.x, p.y);
  dc->LineTo(x, y);
  dc->SelectPen(oldPen);
}

void CCurvicule::AngularCorners(Point corners[4]) {
  const Point apex = GetBulgePoint();
  // The thickness runs across the chord on the side of a positive height, so a flat tie
  // still has body; a level chord already has its thickness vector pointing down.
  Point across = thicknessVector;
  if (chord.delta.y != 0 || height != 0) {
    LineSegment probe = chord;
    across = probe.GetNormalPoint(height < 0 ? -endThickness : endThickness);
  }
  if (across.x == 0 && across.y == 0) across = {0, 1};
  corners[0] = chord.start;
  corners[1] = Add(Add(chord.start, apex), across);
  corners[2] = Add(Add(chord.end, apex), across);
  corners[3] = chord.end;
}

Point CCurvicule::FillAngularShape() {
  if (dc == nullptr) return chord.end;
  Point corners[4];
  AngularCorners(corners);
  dc->BeginPath();
  dc->MoveTo(corners[0].x, corners[0].y);
  for (int i = 1; i < 4; ++i) dc->LineTo(corners[i].x, corners[i].y);
  dc->CloseFigure();
  dc->EndPath();
  dc->FillPath();
  for (const Point& p : corners) AddToExtent(p);
  return chord.end;
}

Point CCurvicule::DrawAngularShape() {
  if (dc == nullptr) return chord.end;
  Point corners[4];
  AngularCorners(corners);
  const Pen oldPen = dc->SelectPen(Pen::Create(PS_SOLID, 1, colour));
  dc->MoveTo(corners[0].x, corners[0].y);
  for (int i = 1; i < 4; ++i) dc->LineTo(corners[i].x, corners[i].y);
  dc->LineTo(corners[0].x, corners[0].y);
  dc->SelectPen(oldPen);
  for (const Point& p : corners) AddToExtent(p);
  return chord.end;
}

Point CCurvicule::DrawArcChain(int32_t count, bool keepShifts) {
  count = std::clamp(count, 1, kMaxChainSteps);
  const Point start = chord.start;
  const Point end = chord.end;
  CCurvicule part(*this);
  if (!keepShifts) {
    part.shiftAlong = 0;
    part.shiftAcross = 0;
  }
  Rect covered{start.x, start.y, start.x, start.y};
  Point from = start;
  for (int32_t i = 1; i <= count; ++i) {
    const Point to{start.x + MulDiv(end.x - start.x, i, count), start.y + MulDiv(end.y - start.y, i, count)};
    from = part.Draw(from.x, from.y, to.x, to.y);
    covered.left = std::min(covered.left, part.extent.left);
    covered.top = std::min(covered.top, part.extent.top);
    covered.right = std::max(covered.right, part.extent.right);
    covered.bottom = std::max(covered.bottom, part.extent.bottom);
  }
  chord.Set(start.x, start.y, end.x, end.y);
  extent = covered;
  return from;
}

CLigature::CLigature(DeviceContext* device, int32_t curveHeight, COLORREF curveColour, int32_t x1, int32_t y1,
                     int32_t x2, int32_t y2)
    : CCurvicule(device) {
  height = curveHeight;
  SetColour(curveColour);
  chord.Set(x1, y1, x2, y2);
}

}  // namespace vornel
