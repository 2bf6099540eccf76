#include "layout/richtext/RtfTrackTextDrawing.h"

#include "layout/richtext/CRichDrawText.h"
#include "platform/draw/MulDiv.h"

namespace vornel {

namespace {

constexpr int32_t kResizeOutside = 16;
constexpr int32_t kDottedLine = 2;

bool Drawable(const CRTFTrackText& text) { return !text.text.empty() && (text.flags & CTrackText::kVisible) != 0; }

int32_t Scale(int32_t value, int32_t to, int32_t from) { return MulDiv(value, to, from > 0 ? from : 96); }

// A screen rectangle on the printing device.
Rect ToPrinter(const Rect& r, const DeviceContext& dc, const RichTextPlacement& p) {
  return {Scale(r.left, dc.LogPixelsX(), p.screenDpiX), Scale(r.top, dc.LogPixelsY(), p.screenDpiY),
          Scale(r.right, dc.LogPixelsX(), p.screenDpiX), Scale(r.bottom, dc.LogPixelsY(), p.screenDpiY)};
}

Rect ToDevice(const DeviceContext& dc, Rect r) {
  const Point o = dc.GetViewportOrg();
  r.Offset(o.x, o.y);
  return r;
}

}  // namespace

void DrawTracker(DeviceContext& dc, const Rect& rect, int32_t style, int32_t handleSize) {
  const int saved = dc.SaveDC();
  dc.SelectPen(Pen::Create((style & kDottedLine) != 0 ? PS_DOT : PS_SOLID, 1, 0));
  dc.SelectStockBrush(StockObject::kNullBrush);
  dc.Rectangle(rect);
  if ((style & kResizeOutside) != 0 && handleSize > 0) {
    const int32_t cx = (rect.left + rect.right - handleSize) / 2;
    const int32_t cy = (rect.top + rect.bottom - handleSize) / 2;
    const int32_t xs[3] = {rect.left - handleSize, cx, rect.right};
    const int32_t ys[3] = {rect.top - handleSize, cy, rect.bottom};
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        if (row == 1 && col == 1) continue;
        dc.FillSolidRect(Rect{xs[col], ys[row], xs[col] + handleSize, ys[row] + handleSize}, 0);
      }
    }
  }
  dc.RestoreDC(saved);
}

void DrawScaled(CRTFTrackText& text, DeviceContext& dc, const RichTextPlacement& placement) {
  if (!Drawable(text)) return;
  const bool printing = dc.IsPrinting();
  text.lastZoom = placement.zoom;
  const Point origin = printing ? Point{} : placement.origin;
  if (text.drawnRect.top == text.drawnRect.bottom) {
    text.SetDefaultRect(text.x, text.y, placement.defaultWidth, placement.defaultHeight);
  }
  Rect rect = text.drawnRect;
  rect.Normalize();
  if (text.dx != 0) {
    const int32_t dx = placement.zoom != 100 ? MulDiv(text.dx, placement.zoom, 100) : text.dx;
    const int32_t dy = placement.zoom != 100 ? MulDiv(text.dy, placement.zoom, 100) : text.dy;
    rect.Offset(origin.x + dx - rect.left, origin.y + dy - rect.top);
  }
  Rect stored = text.storedRect;
  stored.Normalize();
  rect.bottom = rect.top + stored.Height();
  if (printing) rect = ToPrinter(rect, dc, placement);
  rect.Normalize();
  if (!printing) {
    text.drawnRect = rect;
    text.storedRect = rect;
  }
  CRichDrawText(text.text).Draw(dc, rect, printing ? 100 : placement.zoom);
  if (printing) return;
  if (placement.selected) DrawTracker(dc, rect, text.trackerStyle, text.handleSize);
  text.drawnRect = ToDevice(dc, rect);
}

void DrawOnTitlePage(CRTFTrackText& text, DeviceContext& dc, const RichTextPlacement& placement) {
  if (!Drawable(text)) return;
  const bool printing = dc.IsPrinting();
  Rect stored = text.storedRect;
  stored.Normalize();
  Rect rect;
  if (printing) {
    Rect fromAnchor = stored;
    fromAnchor.Offset(-text.origin.x, -text.origin.y);
    rect = ToPrinter(fromAnchor, dc, placement);
    rect.Offset(placement.origin.x, placement.origin.y);
  } else {
    rect.left = MulDiv(text.x, placement.zoom, 100) + placement.origin.x;
    rect.top = MulDiv(text.y, placement.zoom, 100) + placement.origin.y;
    rect.right = rect.left + stored.Width();
    rect.bottom = rect.top + stored.Height();
  }
  const CRichDrawText rich(text.text);
  if (rect.Height() == 0) rich.MeasureHeight(dc, rect);
  rich.Draw(dc, rect, printing ? 100 : placement.zoom);
  text.size = {rect.Width(), rect.Height()};
  if (printing) return;
  text.lastZoom = placement.zoom;
  text.storedRect = rect;
  DrawTracker(dc, rect, text.trackerStyle, text.handleSize);
  text.drawnRect = ToDevice(dc, rect);
}

}  // namespace vornel
