#include "view/render/pages/TrackTextDrawing.h"

#include <algorithm>

#include "document/CPageDlg.h"
#include "model/text/CTextStack.h"
#include "model/text/CTrackText.h"
#include "model/Scaling.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/DrawContext.h"
#include "view/draw/FontDrawing.h"

namespace vornel {

namespace {

int32_t Sum(int64_t a, int64_t b) { return ScaleTruncated(a + b, 1, 1); }

int32_t SaneZoom(int32_t zoom) { return zoom > 0 ? std::min(zoom, 100000) : 100; }

}  // namespace

Size RecordedScreenDpi(const DeviceContext& dc) {
  const PageDrawSettings* settings = PageSettingsOf(dc);
  if (settings == nullptr || settings->screenDpiX <= 0 || settings->screenDpiY <= 0) return {96, 96};
  return {settings->screenDpiX, settings->screenDpiY};
}

void RecordScreenDpi(CPageDlg& page, Size dpi) {
  if (dpi.cx > 0 && dpi.cy > 0) page.screenDpi = dpi;
}

Point TrackTextPosition(const CTrackText& text, const DeviceContext& dc, int32_t zoom) {
  if (dc.IsPrinting()) {
    const Size screen = RecordedScreenDpi(dc);
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
