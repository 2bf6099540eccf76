#include "view/draw/LineSegment.h"

#include <cmath>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/MulDiv.h"

namespace vornel {

namespace {
constexpr double kHalfPi = 1.57079632679489661923;
}

void LineSegment::Set(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  start = {x1, y1};
  end = {x2, y2};
  normal = {};
  UpdateDirection();
}

void LineSegment::UpdateDirection() {
  delta = {end.x - start.x, end.y - start.y};
  angle = std::atan2(static_cast<double>(delta.y), static_cast<double>(delta.x));
}

double LineSegment::GetLength() const {
  return std::sqrt(static_cast<double>(delta.x) * delta.x + static_cast<double>(delta.y) * delta.y);
}

void LineSegment::ExtendEnd(int32_t d) {
  end.x += RoundHalfAway(std::cos(angle) * d);
  end.y += RoundHalfAway(std::sin(angle) * d);
  UpdateDirection();
}

double LineSegment::RotateEnd(double radians) {
  const double length = GetLength();
  const double turned = angle + radians;
  end.x = start.x + RoundHalfAway(std::cos(turned) * length);
  end.y = start.y + RoundHalfAway(std::sin(turned) * length);
  UpdateDirection();
  return GetLength();
}

Point LineSegment::GetNormalPoint(int32_t d) {
  normal = {RoundHalfAway(std::cos(angle + kHalfPi) * d), RoundHalfAway(std::sin(angle + kHalfPi) * d)};
  return normal;
}

Point LineSegment::GetMidPoint() const {
  const int32_t h = static_cast<int32_t>(GetLength()) / 2;
  return {start.x + RoundHalfAway(std::cos(angle) * h), RoundHalfAway(start.y + std::sin(angle) * h)};
}

void LineSegment::Offset(int32_t d) {
  const int32_t dx = RoundHalfAway(std::cos(angle) * d);
  const int32_t dy = RoundHalfAway(std::sin(angle) * d);
  start.x += dx;
  start.y += dy;
  end.x += dx;
  end.y += dy;
  UpdateDirection();
}

LineSegment LineSegment::FromStartBack() const {
  LineSegment copy = *this;
  copy.end = {start.x - normal.x, start.y - normal.y};
  copy.UpdateDirection();
  return copy;
}

void LineSegment::DrawBand(DeviceContext& dc, int32_t width, bool vertical, COLORREF colour) const {
  const int32_t wx = vertical ? 0 : width;
  const int32_t wy = vertical ? width : 0;
  const Point corners[] = {start, {start.x + wx, start.y + wy}, {end.x + wx, end.y + wy}, end};
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, 1, colour));
  const Brush oldBrush = dc.SelectBrush(Brush::Solid(colour));
  dc.Polygon(corners);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

void LineSegment::DrawStraight(DeviceContext& dc, const Pen& pen) const {
  const Pen old = dc.SelectPen(pen);
  dc.MoveTo(start.x, start.y);
  dc.LineTo(end.x, end.y);
  dc.SelectPen(old);
}

}  // namespace vornel
