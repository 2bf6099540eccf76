#include "layout/richtext/CRichDrawText.h"

#include <algorithm>
#include <cstdint>

namespace vornel {

CRichDrawText::CRichDrawText(std::string_view rtf, RichTextCache& cache) : cache_(cache), content_(cache.Content(rtf)) {}

std::shared_ptr<const RichTextLayout> CRichDrawText::LayoutFor(DeviceContext& dc, int32_t widthTwips) const {
  return cache_.Layout(content_, widthTwips, dc.GetTextEngine());
}

void CRichDrawText::MeasureHeight(DeviceContext& dc, Rect& rect) const {
  rect.bottom = rect.top;
  if (!content_->Document().HasContent() || rect.Width() <= 0) return;
  const auto layout = LayoutFor(dc, DeviceToTwips(rect.Width(), dc.LogPixelsX()));
  const int64_t height = layout->Height();
  // Rounded up, so that the measured rectangle holds the whole text; never past what a
  // rectangle can hold.
  const int64_t pixels = (height * dc.LogPixelsY() + RichTextLayout::kTwipsPerInch - 1) / RichTextLayout::kTwipsPerInch;
  rect.bottom = static_cast<int32_t>(std::min<int64_t>(int64_t(rect.top) + pixels, INT32_MAX));
}

void CRichDrawText::Draw(DeviceContext& dc, const Rect& rect, int32_t zoomPercent) const {
  if (!content_->Document().HasContent() || rect.Width() <= 0) return;
  const int32_t zoom = zoomPercent > 0 ? zoomPercent : 100;
  const auto layout = LayoutFor(dc, DeviceToTwips(rect.Width(), dc.LogPixelsX(), zoom));
  const int saved = dc.SaveDC();
  if (rect.IsEmpty()) {
    layout->Draw(dc, rect.TopLeft(), zoom);
  } else {
    // Only the lines that reach into the rectangle.
    dc.IntersectClipRect(rect);
    const auto [first, last] = layout->LinesBetween(0, DeviceToTwips(rect.Height(), dc.LogPixelsY(), zoom) + 1);
    layout->Draw(dc, rect.TopLeft(), zoom, first, last);
  }
  dc.RestoreDC(saved);
}

}  // namespace vornel
