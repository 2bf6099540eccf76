#include "view/render/pages/PageFrame.h"

#include <algorithm>
#include <utility>

#include "document/CPageDlg.h"
#include "platform/ServiceSlots.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/FormatText.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

namespace {

HookSlot<std::function<const DeviceBitmap*()>> g_texture("paper texture");

// A screen page wider than this is taken for a page that was never set.
constexpr int32_t kWidestScreenPage = 100000;
constexpr Rect kFallbackScreenPage{0, 0, 2100, 2800};

int32_t ScreenZoom(const CPageDlg& page, const DeviceContext& dc) {
  if (dc.IsPrinting()) return 100;
  return page.zoom > 0 ? std::min(page.zoom, 100000) : 100;
}

// Where the page stands in the view: centred across, a third of the room above it.
Point ScreenOffset(const CPageDlg& page, int32_t yFallback, bool centreVertically) {
  const int32_t x = (page.viewClientRect.right - page.pageRect.right) / 2;
  const int32_t y = centreVertically ? (page.viewClientRect.bottom - page.pageRect.bottom) / 3 : yFallback;
  return {x >= 1 ? x : 0, centreVertically ? (y >= 1 ? y : yFallback) : yFallback};
}

void PaintTexture(DeviceContext& dc, const Rect& rect) {
  const DeviceBitmap* texture = g_texture.Get() ? g_texture.Get()() : nullptr;
  if (texture != nullptr && !texture->IsEmpty()) {
    TileBitmapBackground(dc, *texture, rect, {});
  } else {
    dc.FillSolidRect(rect, RGB(255, 255, 255));
  }
}

Rect FrameRectangles(CPageDlg& page, const DeviceContext& dc, int32_t pageNumber) {
  const int32_t top = PageLength(page, dc, static_cast<int32_t>(page.topMargin));
  const int32_t left = PageLength(page, dc, static_cast<int32_t>(page.leftMargin));
  const int32_t right = PageLength(page, dc, static_cast<int32_t>(page.rightMargin));
  const int32_t bottom = PageLength(page, dc, static_cast<int32_t>(page.bottomMargin));
  if (!dc.IsPrinting() && page.pageRect.Width() > kWidestScreenPage) page.pageRect = kFallbackScreenPage;
  const Rect& paper = page.pageRect;
  Rect printable;
  const bool swapped = page.alternateMargins != 0 && pageNumber % 2 != 0;
  printable.left = paper.left + (swapped ? right : left);
  printable.right = paper.right - (swapped ? left : right);
  printable.top = top;
  printable.bottom = paper.bottom - bottom;
  page.pageFrameRect = paper;
  if (dc.IsPrinting()) {
    const int32_t inset = MulDiv(100, dc.LogPixelsX(), 254);
    page.pageFrameRect.Deflate(inset, inset);
  }
  page.printableRect = printable;
  return printable;
}

}  // namespace

void SetPageBackground(std::function<const DeviceBitmap*()> texture) { g_texture.Exchange(std::move(texture)); }

int32_t PageLength(const CPageDlg& page, const DeviceContext& dc, int32_t tenths) {
  return MulDiv(MulDiv(tenths, dc.LogPixelsX(), 254), ScreenZoom(page, dc), 100);
}

Rect ComputePageFrame(CPageDlg& page, const DeviceContext& dc, int32_t pageNumber) {
  Rect printable = FrameRectangles(page, dc, pageNumber);
  if (!dc.IsPrinting()) {
    const Point offset = ScreenOffset(page, 25, true);
    printable.Offset(offset.x, offset.y);
    page.pageFrameRect.Offset(offset.x, offset.y);
    page.printableRect = printable;
    page.screenOffset = offset;
  }
  return printable;
}

Rect DrawPageFrame(CPageDlg& page, DeviceContext& dc, int32_t pageNumber) {
  const Rect printable = ComputePageFrame(page, dc, pageNumber);
  if (dc.IsPrinting()) return printable;
  const InkSourceScope ink(dc, InkSource::kScreenMark);
  Rect paper = page.pageFrameRect;
  const int32_t grow = MulDiv(50, dc.LogPixelsX(), 254);
  paper.Inflate(grow, grow);
  PaintTexture(dc, paper);
  dc.Draw3dRect(paper, RGB(200, 180, 80), RGB(100, 70, 50));
  dc.Draw3dRect(page.pageFrameRect, RGB(250, 230, 230), RGB(240, 220, 220));
  if (page.showMarginFrame != 0) {
    const Pen old = dc.SelectPen(Pen::Create(PS_DOT, 1, RGB(150, 200, 150)));
    const Brush oldBrush = dc.SelectBrush(Brush::Null());
    dc.Rectangle(printable);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(old);
  }
  return printable;
}

Rect PrepareTitlePage(CPageDlg& page, DeviceContext& dc) {
  Rect printable = page.pageRect;
  printable.Deflate(PageLength(page, dc, 200), 0);
  printable.top = PageLength(page, dc, 250);
  printable.bottom = page.pageRect.bottom - PageLength(page, dc, 250);
  page.printableRect = printable;
  if (dc.IsPrinting()) return page.pageRect;
  const InkSourceScope ink(dc, InkSource::kScreenMark);
  const Point offset = ScreenOffset(page, 12, false);
  page.screenOffset = offset;
  Rect paper = page.pageRect;
  paper.Offset(offset.x, offset.y);
  page.printableRect.Offset(offset.x, offset.y);
  PaintTexture(dc, paper);
  dc.Draw3dRect(paper, RGB(240, 240, 240), RGB(240, 240, 240));
  return paper;
}

std::string PageNumberText(const CPageDlg& page, int32_t n) {
  const int32_t number = n + page.pageOffset;
  const size_t percent = page.pageText.find('%');
  if (percent == std::string::npos) return FormatText("%s %d", page.pageText.c_str(), number);
  return FormatText("%s %d %s", page.pageText.substr(0, percent).c_str(), number,
                    page.pageText.substr(percent + 1).c_str());
}

void DrawPageNumber(CPageDlg& page, DeviceContext& dc, int32_t n, const std::optional<std::string>& text) {
  if (page.noPageNumbers != 0) return;
  if (n == 1 && page.skipFirstPageNumber != 0) return;
  const std::string shown = text ? *text : PageNumberText(page, n);
  if (shown.empty()) return;
  const Rect& f = page.pageFrameRect;
  const bool odd = n % 2 != 0;
  int32_t x = f.right;
  int32_t y = f.top;
  unsigned align = TA_TOP | TA_RIGHT;
  switch (page.pageNumberAlignment) {
    case CPageDlg::kAlternateTop:
      x = odd ? f.right : f.left;
      align = TA_BOTTOM | (odd ? TA_RIGHT : TA_LEFT);
      break;
    case CPageDlg::kAlternateBottom:
      x = odd ? f.right : f.left;
      y = f.bottom;
      align = TA_TOP | (odd ? TA_RIGHT : TA_LEFT);
      break;
    case CPageDlg::kBottomCenter:
      x = (f.left + f.right) / 2;
      y = f.bottom;
      align = TA_TOP | TA_CENTER;
      break;
    case CPageDlg::kTopCenter:
      x = (f.left + f.right) / 2;
      align = TA_BOTTOM | TA_CENTER;
      break;
    case CPageDlg::kTopLeft:
      x = f.left;
      align = TA_BOTTOM | TA_LEFT;
      break;
    case CPageDlg::kTopRight:
      align = TA_BOTTOM | TA_RIGHT;
      break;
    case CPageDlg::kBottomLeft:
      x = f.left;
      y = f.bottom;
      align = TA_TOP | TA_LEFT;
      break;
    case CPageDlg::kBottomRight:
      y = f.bottom;
      align = TA_TOP | TA_RIGHT;
      break;
    default:
      x = f.right - PageLength(page, dc, 100);
      break;
  }
  // The page-number text keeps its stored wording; the number is drawn from a copy in
  // document font 12.
  dfLogFont font = page.DocumentFont(kFontPageNumbers);
  DrawFontText(shown, font, dc, align, static_cast<float>(ScreenZoom(page, dc)), 0, page.pageNumberText.flags | 16, x,
               y);
}

void DrawPageText(CPageDlg& page, DeviceContext& dc, const Rect& rect) {
  if (page.pageText.empty()) return;
  dfLogFont font = page.DocumentFont(kFontFootnotes);
  DrawFontText(page.pageText, font, dc, TA_BOTTOM | TA_CENTER, static_cast<float>(ScreenZoom(page, dc)), 0, 16,
               (rect.left + rect.right) / 2, rect.top);
}

}  // namespace vornel
