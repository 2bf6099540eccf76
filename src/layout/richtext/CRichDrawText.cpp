#include "layout/richtext/CRichDrawText.h"

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
  // Rounded up, so that the measured rectangle holds the whole text.
  rect.bottom = rect.top + static_cast<int32_t>((height * dc.LogPixelsY() + RichTextLayout::kTwipsPerInch - 1) /
                                                RichTextLayout::kTwipsPerInch);
}

void CRichDrawText::Draw(DeviceContext& dc, const Rect& rect, int32_t zoomPercent) const {
  if (!content_->Document().HasContent() || rect.Width() <= 0) return;
  const int32_t zoom = zoomPercent > 0 ? zoomPercent : 100;
  const auto layout = LayoutFor(dc, DeviceToTwips(rect.Width(), dc.LogPixelsX(), zoom));
  const int saved = dc.SaveDC();
  if (!rect.IsEmpty()) dc.IntersectClipRect(rect);
  layout->Draw(dc, rect.TopLeft(), zoom);
  dc.RestoreDC(saved);
}

}  // namespace vornel
