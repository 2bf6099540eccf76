#include "view/draw/GraphicUtil.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/UserPrompts.h"
#include "platform/draw/MulDiv.h"
#include "platform/io/FileIO.h"
#include "view/draw/CCurvicule.h"
#include "view/draw/DrawContext.h"

namespace vornel {

namespace {

constexpr int64_t kMaxTiles = 4096;

int32_t AtLeastOne(int32_t v) { return v < 1 ? 1 : v; }

// dots × zoom / 1000 with halves away from zero. The product is taken in 64 bits so that a
// large length from a document cannot overflow.
int32_t ScaleToDevice(int32_t value, int32_t dpi, int32_t zoom) {
  const int64_t dots = MulDiv(value, dpi, 254);
  const double scaled = static_cast<double>(dots * zoom) / 1000.0;
  return RoundHalfAway(static_cast<float>(scaled));
}

}  // namespace

GraphicUtil::GraphicUtil(DeviceContext& device, int32_t zoomPercent)
    : dc(device), zoom(zoomPercent < 1 ? 100 : zoomPercent) {}

int32_t GraphicUtil::HundredthMmToDeviceX(int32_t value) const { return ScaleToDevice(value, dc.LogPixelsX(), zoom); }

int32_t GraphicUtil::HundredthMmToDeviceY(int32_t value) const { return ScaleToDevice(value, dc.LogPixelsY(), zoom); }

// ---------------------------------------------------------------- pens and lines

Pen GraphicUtil::SelectStyledPen(int32_t& width, COLORREF colour, uint32_t style) {
  width = HundredthMmToDeviceY(width);
  if (width == 0 && style != 2) width = 1;
  switch (style) {
    case 1:
      return dc.SelectPen(Pen::Extended(PS_GEOMETRIC | PS_DASH, 1, colour));
    case 2:
      return dc.SelectPen(Pen::Extended(PS_COSMETIC | PS_ALTERNATE, 1, colour));
    default:
      return dc.SelectPen(Pen::Create(style, width, colour));
  }
}

void GraphicUtil::DrawLine(int32_t width, COLORREF colour, uint32_t style, int32_t x1, int32_t y1, int32_t x2,
                           int32_t y2) {
  if (style == 1) {
    DrawDashedGreyLine(width, x1, y1, x2, y2);
    return;
  }
  if ((x1 == x2 && y1 == y2) || x1 == 0 || x2 == 0) return;
  const Pen old = SelectStyledPen(width, colour, style);
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectPen(old);
}

void GraphicUtil::DrawDashedGreyLine(int32_t, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int32_t dash = AtLeastOne(MulDiv(15, dc.LogPixelsX(), 254));
  const int32_t gap = AtLeastOne(MulDiv(dash, 2, 3));
  const Pen old = dc.SelectPen(Pen::Extended(PS_GEOMETRIC | PS_USERSTYLE, 1, 0x373737,
                                             {static_cast<uint32_t>(dash), static_cast<uint32_t>(gap)}));
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectPen(old);
}

void GraphicUtil::DrawThinLine(int32_t width, COLORREF colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, HundredthMmToDeviceX(width), colour));
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectPen(old);
}

void GraphicUtil::DrawBlackLine(int32_t width, const LineSegment& segment) {
  const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, AtLeastOne(HundredthMmToDeviceY(width)), 0));
  dc.MoveTo(segment.start.x, segment.start.y);
  dc.LineTo(segment.end.x, segment.end.y);
  dc.SelectPen(old);
}

void GraphicUtil::DrawTwoSegmentLine(int32_t width, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                                     int32_t y3) {
  if (x1 == 0 || x2 == 0 || x3 == 0) return;
  int32_t thin = MulDiv(width, 3, 4);
  const Pen old = SelectStyledPen(thin, 0, PS_SOLID);
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  int32_t full = width;
  SelectStyledPen(full, 0, PS_SOLID);
  dc.LineTo(x3, y3);
  dc.SelectPen(old);
}

void GraphicUtil::DrawTupletBracket(int32_t height, int32_t number, bool hideNumber, int32_t x1, int32_t y1,
                                    int32_t x2, int32_t y2) {
  const int32_t p = AtLeastOne(HundredthMmToDeviceY(20));
  const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, p, 0));
  const int32_t xL = x1 - (p / 2 + p);
  const int32_t xR = x2 - p / 2;
  dc.MoveTo(xL, y1 + height);
  dc.LineTo(xL, y1);
  dc.LineTo(xR, y2);
  dc.LineTo(xR, y2 + height);
  dc.SelectPen(old);
  if (!hideNumber) {
    DrawNumberAt(xL + (xR - xL) / 2, y1 + (y2 - y1) / 2 - MulDiv(height, height < 0 ? 7 : 1, 3), number);
  }
}

void GraphicUtil::DrawVerticalLine(int32_t width, COLORREF colour, int32_t x, int32_t y, int32_t height,
                                   bool alignRight) {
  const int32_t w = AtLeastOne(HundredthMmToDeviceY(width));
  const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, w, colour));
  const int32_t lineX = alignRight ? x + w / 2 : x - w / 2;
  dc.MoveTo(lineX, y + w / 2);
  dc.LineTo(lineX, y + height);
  dc.SelectPen(old);
}

// ---------------------------------------------------------------- rectangles and frames

Rect GraphicUtil::DrawFilledRect(COLORREF colour, int32_t width, int32_t alignment, int32_t x, int32_t y,
                                 int32_t height) {
  const int32_t w = AtLeastOne(width);
  Rect r{x, y, x + w, y + (height == 0 ? width : height)};
  if (alignment == 1) r.Offset(-(w / 2), 0);
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, 1, colour));
  const Brush oldBrush = dc.SelectBrush(Brush::Solid(colour));
  dc.Rectangle(r);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
  return r;
}

namespace {

// The four sides of a rectangle with a one-pixel pen, side by side.
void StrokeRectSides(DeviceContext& dc, const Rect& rect, uint32_t penStyle, COLORREF colour) {
  const Pen old = dc.SelectPen(Pen::Create(penStyle, 1, colour));
  dc.MoveTo(rect.left, rect.top);
  dc.LineTo(rect.right, rect.top);
  dc.LineTo(rect.right, rect.bottom);
  dc.LineTo(rect.left, rect.bottom);
  dc.LineTo(rect.left, rect.top);
  dc.SelectPen(old);
}

}  // namespace

void GraphicUtil::DrawRectOutline(Rect rect, COLORREF colour) {
  rect.Normalize();
  StrokeRectSides(dc, rect, PS_SOLID, colour);
}

void GraphicUtil::DrawScreenFrame(Rect rect, int32_t margin, uint32_t penStyle, COLORREF colour) {
  if (dc.IsPrinting()) return;
  rect.Inflate(margin, margin);
  StrokeRectSides(dc, rect, penStyle, colour);
}

Rect GraphicUtil::DrawBorderFrame(int32_t widthTenths, Rect rect) {
  const int32_t p = HundredthMmToDeviceX(10 * widthTenths);
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, p, 0));
  const Brush oldBrush = dc.SelectBrush(Brush::Null());
  dc.Rectangle(rect);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
  rect.Deflate(p, p);
  rect.Offset(p / 2, p / 2);
  return rect;
}

// ---------------------------------------------------------------- arrow and markers

void GraphicUtil::DrawArrow(int32_t length, int32_t x, int32_t y) {
  const int32_t p = AtLeastOne(HundredthMmToDeviceY(25));
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, p, 0));
  const Brush oldBrush = dc.SelectStockBrush(StockObject::kBlackBrush);
  const int32_t a = HundredthMmToDeviceY(70);
  const int32_t b = MulDiv(a, 3, 2);
  const int32_t yy = y + p;
  const int32_t xx = x + length - 2 * b;
  dc.MoveTo(x, yy);
  dc.LineTo(x + length - b, yy);
  // The head: notched, pointing right.
  dc.BeginPath();
  dc.MoveTo(xx + b, yy);
  dc.LineTo(xx, yy - b);
  dc.LineTo(xx + 2 * b, yy);
  dc.LineTo(xx, yy + b);
  dc.LineTo(xx + b, yy);
  dc.EndPath();
  dc.FillPath();
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

void GraphicUtil::DrawTriangle(int32_t flag, COLORREF fillColour, int32_t x, int32_t y, int32_t halfWidth,
                               int32_t height) {
  const int32_t h = flag == 0 ? height : -height;
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, 1, 0x323232));
  const Brush oldBrush = dc.SelectBrush(Brush::Solid(fillColour));
  dc.BeginPath();
  dc.MoveTo(x, y);
  dc.LineTo(x - halfWidth, y + h);
  dc.LineTo(x + halfWidth, y + h);
  dc.LineTo(x, y);
  dc.EndPath();
  dc.FillPath();
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

void GraphicUtil::DrawScreenMarker(COLORREF colour, int32_t x, int32_t y) {
  if (dc.IsPrinting()) return;
  const PageDrawSettings* settings = PageSettingsOf(dc);
  if (settings == nullptr || !settings->showMarkers) return;
  const int32_t s = HundredthMmToDeviceX(75);
  const InkSourceScope ink(dc, InkSource::kScreenMark);
  DrawTriangle(0, colour, x, y, s, s);
}

Rect GraphicUtil::ScaleRectCentred(int32_t percent, Rect rect) {
  const int32_t w = MulDiv(rect.Width(), percent, 100);
  const int32_t h = MulDiv(rect.Height(), percent, 100);
  const int32_t dx = (rect.Width() - w) / 2;
  const int32_t dy = (rect.Height() - h) / 2;
  return {rect.left + dx, rect.top + dy, rect.left + dx + w, rect.top + dy + h};
}

// ---------------------------------------------------------------- brace and brackets

Rect GraphicUtil::DrawSquareBracket(int32_t thickness, int32_t facing, int32_t x, int32_t y, int32_t height) {
  const int32_t t = HundredthMmToDeviceX(10 * thickness);
  const int32_t e = HundredthMmToDeviceX(150);
  const int32_t end = facing == 0 ? x + e : x - e;
  // The bar, then the two ends.
  LineSegment(x, y, x, y + height).DrawBand(dc, facing == 0 ? t / 2 : -(t / 2), false);
  LineSegment(x, y, end, y).DrawBand(dc, t, true);
  LineSegment(x, y + height - t, end, y + height - t).DrawBand(dc, t, true);
  Rect r{x, y + height, x + e, y + height - e};
  if (facing == 0) {
    r.Offset(t + 1, -1 - t);
  } else {
    r.Offset(-1 - t, -1 - t);
  }
  r.Normalize();
  return r;
}

void GraphicUtil::DrawCurlyBrace(int32_t width, int32_t facing, int32_t x, int32_t tipY, int32_t endY) {
  const int32_t q = std::abs((endY - tipY) / 5);
  int32_t d = std::abs(width);
  int32_t x0 = x;
  if (facing == 0) {
    x0 = x - d;
    d = -d;
  }
  const int32_t t = (width - MulDiv(6, dc.LogPixelsY(), 254)) / 3;
  const Brush oldBrush = dc.SelectStockBrush(StockObject::kBlackBrush);
  for (int half = 0; half < 2; ++half) {
    const int32_t s = half == 0 ? 1 : -1;  // the second half mirrors the first about the tip
    const int32_t far = half == 0 ? endY : 2 * tipY - endY;
    dc.BeginPath();
    dc.MoveTo(x0, tipY);
    const Point out[] = {{x0 - d, tipY + s * (q / 2)}, {x0 + d / 2, tipY + s * (q / 2 + 4 * q)}, {x0 - d, far}};
    dc.PolyBezierTo(out);
    const Point back[] = {{x0 + d / 2 + t, tipY + s * (q / 2 + 4 * q)}, {x0 - d + t, tipY + s * (q / 2)}, {x0, tipY}};
    dc.PolyBezierTo(back);
    dc.CloseFigure();
    dc.EndPath();
    dc.FillPath();
  }
  dc.SelectBrush(oldBrush);
}

Rect GraphicUtil::DrawSystemBrace(int32_t height, int32_t widthFactor, int32_t facing, int32_t x, int32_t y) {
  const int32_t u = HundredthMmToDeviceX(100);
  const int32_t w = MulDiv(u, widthFactor, 2);
  const int32_t half = height / 2;
  DrawCurlyBrace(w, facing, x - u, y + half, y + 2 * half);
  const int32_t margin = HundredthMmToDeviceY(200);
  Rect r{(x - u) - margin, y, (x - u) + margin / 2, y + 2 * half};
  r.Normalize();
  return r;
}

Rect GraphicUtil::DrawCurvedBracket(int32_t thickness, int32_t facing, int32_t x, int32_t y, int32_t height) {
  int32_t b = HundredthMmToDeviceX(250);
  if (facing != 0) b = -b;
  const int32_t t = HundredthMmToDeviceX(10 * thickness);
  CCurvicule curve(&dc);
  curve.height = b;
  curve.middleThickness = t;
  curve.endThickness = t / 2;
  curve.controlPull = -20;
  curve.Draw(x, y, x, y + height);
  return {x, y, x - b, y + height};
}

void GraphicUtil::DrawBracketHook(int32_t style, Rect hook) {
  const int32_t left = hook.left;
  const int32_t top = hook.top;
  int32_t right = hook.right;
  const int32_t bottom = hook.bottom;
  dc.BeginPath();
  dc.MoveTo(left, bottom);
  const Point out[] = {{left, bottom}, {right, bottom}, {right, top}};
  dc.PolyBezierTo(out);
  const int32_t width = right - left;
  const int32_t height = bottom - top;
  right -= width / 7;
  const int32_t raised = bottom - (style == 4 ? height / 2 : height / 3);
  dc.LineTo(right, top);
  const Point back[] = {{right, raised}, {left, raised}, {left, bottom}};
  dc.PolyBezierTo(back);
  dc.CloseFigure();
  dc.EndPath();
  dc.FillPath();
  if (style == 4) {
    // A bar across the middle of the hook.
    Rect bar{std::min(left, hook.right), top + height / 3, std::max(left, hook.right), top + height / 3 + height / 6 + 1};
    bar.Normalize();
    dc.FillRect(bar, Brush::Solid(0));
  }
}

Rect GraphicUtil::DrawThickBracket(int32_t style, int32_t thickness, int32_t facing, int32_t x, int32_t y,
                                   int32_t height) {
  const Pen oldPen = dc.SelectStockPen(StockObject::kBlackPen);
  const Brush oldBrush = dc.SelectStockBrush(StockObject::kBlackBrush);
  const int32_t u = HundredthMmToDeviceY(8 * thickness);
  int32_t w = 2 * (style == 4 ? 4 : 5) * u;
  if (facing != 0) w = -w;
  const int32_t hookHeight = style == 4 ? MulDiv(20, u, 3) : MulDiv(25, u, 3);
  const int32_t barWidth = MulDiv(u, 3, 2);
  const int32_t from = x - u;  // the hooks span from here by w, centred on x - u + w/2
  // Top hook curls up from the bar's top; the bottom one is its mirror image.
  DrawBracketHook(style, {from, y - hookHeight, from + w, y});
  DrawBracketHook(style, {from, y + height + hookHeight, from + w, y + height});
  Rect bar{from, y, from + (facing != 0 ? -barWidth : barWidth), y + height};
  bar.Normalize();
  dc.FillRect(bar, Brush::Solid(0));
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
  Rect r{from, y - hookHeight, from + w, y + height + hookHeight};
  r.Normalize();
  return r;
}

Rect GraphicUtil::DrawTurnedCurve(int32_t x, int32_t y, int32_t length, double radians, int32_t bulge,
                                  int32_t thickness) {
  LineSegment chord(x, y, x + length, y);
  chord.RotateEnd(radians);
  CCurvicule curve(&dc);
  curve.height = bulge;
  curve.middleThickness = thickness;
  curve.endThickness = thickness / 2;
  curve.chord = chord;
  curve.DrawArcChain(curve.stepCount, true);
  Rect r = curve.extent;
  r.Normalize();
  return r;
}

Rect GraphicUtil::DrawArcBracket(int32_t thickness, int32_t facing, int32_t x, int32_t y, int32_t height,
                                 int32_t width) {
  int32_t bulge = MulDiv(width, 6, 4);
  if (facing != 0) bulge = -bulge;
  return DrawTurnedCurve(x, y, height, 1.57, bulge, HundredthMmToDeviceX(10 * thickness));
}

Rect GraphicUtil::DrawBlockBracket(int32_t style, int32_t thickness, int32_t facing, int32_t x, int32_t y,
                                   int32_t height, int32_t length) {
  dc.SaveDC();
  const int32_t bar = HundredthMmToDeviceY(5 * thickness);
  const int32_t hook = HundredthMmToDeviceY(10 * thickness);
  const int32_t dir = facing != 0 ? -1 : 1;
  Rect barRect{x, y, x + dir * bar, y + height};
  barRect.Normalize();
  dc.FillRect(barRect, Brush::Solid(0));
  const int32_t hookTop = style == 7 ? y : y + height - hook;
  Rect hookRect{x, hookTop, x + dir * length, hookTop + hook};
  hookRect.Normalize();
  dc.FillRect(hookRect, Brush::Solid(0));
  dc.RestoreDC(-1);
  Rect r{x, y, x + dir * std::max(bar, length), y + height};
  r.Normalize();
  return r;
}

// ---------------------------------------------------------------- curves

void GraphicUtil::DrawTupletCurve(int32_t height, int32_t number, uint32_t leftFlags, uint32_t rightFlags,
                                  int32_t x1, int32_t y, int32_t x2) {
  x1 += std::abs(height / 3);
  x2 -= std::abs(height / 3);
  if (x2 - x1 > 4 * std::abs(height)) {
    x1 += std::abs(height / 2);
    x2 -= std::abs(height / 2);
  } else {
    height = MulDiv(height, 3, 4);
  }
  const int32_t m = HundredthMmToDeviceY(40);
  CLigature curve(&dc, MulDiv(height, 3, 2), 0, x1, y, x2, y);
  curve.middleThickness = m;
  curve.endThickness = m / 2;
  curve.controlPull = -15;
  char figure[24];
  if (leftFlags & 0x100) {
    std::snprintf(figure, sizeof figure, ".%d", number);
    curve.shiftAlong = -10;
    curve.shiftAcross = 30;
  } else if (rightFlags & 0x100) {
    std::snprintf(figure, sizeof figure, "%d.", number);
    curve.shiftAlong = 10;
    curve.shiftAcross = -30;
  } else {
    std::snprintf(figure, sizeof figure, "%d", number);
  }
  curve.Draw(x1, y, x2, y);
  DrawTextAt(x1 + (x2 - x1) / 2, y + height / 2 - 3 * m, figure, 8, 0, 0, TA_CENTER | TA_BASELINE);
}

Point GraphicUtil::DrawSlur(int32_t height, int32_t flag, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                            COLORREF colour) {
  if (height == 0) {
    LineSegment(x1, y1, x2, y2).DrawStraight(dc, Pen::Create(PS_SOLID, HundredthMmToDeviceY(15), colour));
    return {x2, y2};
  }
  return DrawCurveBetween(height, flag, x1, y1, x2, y2, colour);
}

Point GraphicUtil::DrawCurveBetween(int32_t height, int32_t flag, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                    COLORREF colour) {
  const int32_t m = HundredthMmToDeviceY(height == 0 ? 25 : 40);
  const int32_t sign = height > 0 ? 1 : (height < 0 ? -1 : 0);
  // A sloping span gets a little more bulge, so the curve clears the higher end.
  const int32_t slope = std::abs(y2 - y1) / 8;
  CLigature curve(&dc, height + sign * (m + slope), colour, x1, y1, x2, y2);
  curve.middleThickness = m;
  curve.endThickness = m / 3;
  curve.controlPull = flag == 0 ? -10 : 0;
  return curve.Draw(x1, y1, x2, y2);
}

// ---------------------------------------------------------------- bitmaps

Rect GraphicUtil::DrawBitmapResource(const DeviceBitmap* bitmap, int32_t x, int32_t y) {
  if (bitmap == nullptr || bitmap->IsEmpty()) return {};
  const int32_t k = dc.IsPrinting() ? 50 : 150;
  const int32_t w = MulDiv(bitmap->Width(), zoom, k);
  const int32_t h = MulDiv(bitmap->Height(), zoom, k);
  const Rect dst{x - w, y - h, x, y};
  dc.StretchBlt(dst, *bitmap, {0, 0, bitmap->Width(), bitmap->Height()});
  return dst;
}

void TileBitmapBackground(DeviceContext& dc, const DeviceBitmap& bitmap, const Rect& rect, Point origin) {
  if (dc.IsPrinting() || bitmap.IsEmpty() || rect.IsEmpty()) return;
  const int32_t w = bitmap.Width();
  const int32_t h = bitmap.Height();
  int32_t startX = rect.left;
  int32_t startY = rect.top;
  if (origin.x != 0) {
    startX = rect.left + (origin.x % w) - w;
    startY = rect.top + (origin.y % h) - h;
  }
  dc.SaveDC();
  dc.IntersectClipRect(rect);
  const int64_t tiles = (int64_t(rect.Width()) / w + 2) * (int64_t(rect.Height()) / h + 2);
  if (tiles > kMaxTiles) {
    // A tiny bitmap over a large area: one pattern fill instead of countless copies.
    dc.FillRect(rect, Brush::Pattern(std::make_shared<DeviceBitmap>(bitmap)));
    dc.RestoreDC(-1);
    return;
  }
  for (int32_t ty = startY; ty < rect.bottom; ty += h) {
    for (int32_t tx = startX; tx < rect.right; tx += w) {
      // The last tile of each row and column is cut to the rectangle.
      const int32_t cw = std::min(w, rect.right - tx);
      const int32_t ch = std::min(h, rect.bottom - ty);
      dc.BitBlt(tx, ty, cw, ch, bitmap, 0, 0);
    }
  }
  dc.RestoreDC(-1);
}

std::string BrowseImageFileName() {
  auto chosen = Prompts().PromptOpenFile("Image files (jpg,png,bmp,gif,tiff;)", "*.jpg;*.png;*.bmp;*.gif;*.tiff");
  return chosen ? *chosen : std::string();
}

}  // namespace vornel
