#include "layout/richtext/RtfPages.h"

#include <algorithm>

#include "document/CPageDlg.h"

namespace vornel {

namespace {

// Tenths of a millimetre to twips, rounded.
int32_t TenthsToTwips(int32_t tenths) { return static_cast<int32_t>((int64_t{tenths} * 1440 + 127) / 254); }

}  // namespace

RtfPage RtfPage::A4(bool landscape) {
  RtfPage page;
  if (landscape) std::swap(page.widthTwips, page.heightTwips);
  page.landscape = landscape;
  return page;
}

RtfPage RtfPage::FromPageSettings(const CPageDlg& settings) {
  const Size paper = settings.PaperSizeTenths();
  RtfPage page;
  page.widthTwips = TenthsToTwips(paper.cx);
  page.heightTwips = TenthsToTwips(paper.cy);
  page.landscape = settings.landscape != 0;
  return page;
}

Rect RtfPrintedRect(const RtfPage& page) {
  const int32_t inset = (page.landscape ? page.heightTwips : page.widthTwips) / 12;
  Rect r{0, 0, page.widthTwips, page.heightTwips};
  r.Deflate(inset, inset);
  r.Offset(inset / 4, inset / 4);
  return r;
}

std::vector<size_t> PaginateLines(const RichTextLayout& layout, int32_t pageHeight) {
  std::vector<size_t> starts;
  const auto& lines = layout.Lines();
  size_t i = 0;
  while (i < lines.size()) {
    starts.push_back(i);
    const int64_t top = lines[i].top;
    // The first line of a page always stays on it, so every page advances.
    ++i;
    while (i < lines.size() && lines[i].Bottom() - top <= pageHeight) ++i;
  }
  return starts;
}

RtfPages::RtfPages(std::string_view rtf, const RtfPage& page, TextEngine& engine, RichTextCache& cache)
    : printed_(RtfPrintedRect(page)) {
  const auto content = cache.Content(rtf);
  layout_ = cache.Layout(content, std::max(1, printed_.Width()), engine);
  starts_ = PaginateLines(*layout_, std::max(1, printed_.Height()));
}

void RtfPages::DrawPage(DeviceContext& dc, int32_t page) const {
  if (page < 1 || page > Count()) return;
  const size_t first = starts_[static_cast<size_t>(page - 1)];
  const size_t last = static_cast<size_t>(page) < starts_.size() ? starts_[static_cast<size_t>(page)]
                                                                 : layout_->Lines().size();
  const int32_t dpiX = dc.LogPixelsX();
  const int32_t dpiY = dc.LogPixelsY();
  const Rect clip{TwipsToDevice(printed_.left, dpiX), TwipsToDevice(printed_.top, dpiY),
                  TwipsToDevice(printed_.right, dpiX), TwipsToDevice(printed_.bottom, dpiY)};
  const int saved = dc.SaveDC();
  dc.IntersectClipRect(clip);
  layout_->Draw(dc, clip.TopLeft(), 100, first, last, layout_->Lines()[first].top);
  dc.RestoreDC(saved);
}

int32_t CountPages(CRTFPreface& block, const RtfPage& page, TextEngine& engine) {
  block.printInfo.printedRect = RtfPrintedRect(page);
  const int32_t pages = block.text.empty() ? 0 : RtfPages(block.text, page, engine).Count();
  block.pageCount = pages;
  block.printInfo.maxPage = pages;
  return pages;
}

int32_t Print(CRTFPreface& block, DeviceContext& dc, const RtfPage& page) {
  if (block.text.empty()) return CountPages(block, page, dc.GetTextEngine());
  const RtfPages pages(block.text, page, dc.GetTextEngine());
  block.pageCount = pages.Count();
  block.printInfo.maxPage = pages.Count();
  block.printInfo.printedRect = pages.PrintedRect();
  pages.DrawPage(dc, block.printInfo.currentPage);
  return pages.Count();
}

}  // namespace vornel
