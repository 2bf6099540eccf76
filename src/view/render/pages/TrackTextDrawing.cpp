#include "view/render/pages/TrackTextDrawing.h"

#include <algorithm>

#include "model/text/CTextStack.h"
#include "model/text/CTrackText.h"
#include "model/Scaling.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/FontDrawing.h"

namespace vornel {

namespace {

Size& ScreenDpi() {
  static Size dpi{96, 96};
  return dpi;
}

int32_t Sum(int64_t a, int64_t b) { return ScaleTruncated(a + b, 1, 1); }

int32_t SaneZoom(int32_t zoom) { return zoom > 0 ? std::min(zoom, 100000) : 100; }

}  // namespace

Size RecordedScreenDpi() { return ScreenDpi(); }

void RecordScreenDpi(int32_t dpiX, int32_t dpiY) {
  if (dpiX > 0 && dpiY > 0) ScreenDpi() = {dpiX, dpiY};
}

Point TrackTextPosition(const CTrackText& text, const DeviceContext& dc, int32_t zoom) {
  if (dc.IsPrinting()) {
    const Size screen = RecordedScreenDpi();
    return {Sum(text.origin.x, MulDiv(text.x, dc.LogPixelsX(), screen.cx)),
            Sum(text.origin.y, MulDiv(text.y, dc.LogPixelsY(), screen.cy))};
  }
  const int32_t z = SaneZoom(zoom);
  return {Sum(text.origin.x, MulDiv(text.x, z, 100)), Sum(text.origin.y, MulDiv(text.y, z, 100))};
}

Rect DrawScaled(CTrackText& text, DeviceContext& dc, int32_t zoom) {
  if (text.text.empty() || text.flags == 0) return {};
  text.ConvertPendingOffsets(dc.LogPixelsX(), dc.LogPixelsY());
  const int32_t z = SaneZoom(zoom);
  text.lastZoom = z;
  const Point at = TrackTextPosition(text, dc, z);
  text.alignment = (text.flags & CTrackText::kCentered) != 0 ? CTrackText::kAlignCenter : CTrackText::kAlignLeft;
  const Rect drawn = DrawFontText(text.text, text.font, dc, text.alignment, static_cast<float>(dc.IsPrinting() ? 100 : z),
                                  0, text.flags, at.x, at.y);
  if (!dc.IsPrinting()) {
    text.drawnRect = drawn;
    text.size = {drawn.Width(), drawn.Height()};
  }
  return drawn;
}

Rect DrawAt(CTrackText& text, DeviceContext& dc, int32_t zoom, int32_t x, int32_t y) {
  text.origin = {x, y};
  return DrawScaled(text, dc, zoom);
}

Rect CalcTextRect(const CTrackText& text, DeviceContext& dc) {
  if (text.text.empty()) return {};
  dfLogFont font = text.font;
  const FontSpec previous = CreateScaledFont(font, static_cast<float>(SaneZoom(text.lastZoom)), dc);
  Rect rect;
  dc.DrawText(text.text, rect, DT_CALCRECT | DT_NOPREFIX);
  dc.SelectFont(previous);
  return rect;
}

void DrawAt(CTextStack& texts, DeviceContext& dc, int32_t zoom, Point origin) {
  for (const auto& text : texts.items()) {
    if (text == nullptr || text->IsPicture() || text->flags == 0 || text->text.empty()) continue;
    DrawAt(*text, dc, zoom, origin.x, origin.y);
  }
}

}  // namespace vornel
