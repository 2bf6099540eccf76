#include "shell/frame/ShellPictures.h"

#include <algorithm>
#include <array>

#include "platform/UserPrompts.h"
#include "platform/draw/DeviceContext.h"

namespace vornel {

namespace {

FontSpec TextFont(int32_t pixels, int32_t weight, bool italic = false) {
  FontSpec font;
  font.lfHeight = -pixels;
  font.lfWeight = weight;
  font.lfItalic = italic ? 1 : 0;
  font.lfFaceName = "Times New Roman";
  return font;
}

}  // namespace

void DrawSplashPicture(DeviceContext& dc) {
  const COLORREF paper = RGB(246, 241, 228);
  const COLORREF ink = RGB(60, 44, 30);
  const Rect all{0, 0, kSplashPictureSize.cx, kSplashPictureSize.cy};
  dc.FillSolidRect(all, paper);
  dc.SelectPen(Pen::Create(PS_SOLID, 2, ink));
  dc.SelectStockBrush(StockObject::kNullBrush);
  dc.Rectangle(Rect{8, 8, all.right - 8, all.bottom - 8});

  // Six courses and a bar of tablature letters on them.
  constexpr int32_t kLeft = 60;
  constexpr int32_t kRight = 420;
  constexpr int32_t kTop = 130;
  constexpr int32_t kGap = 16;
  dc.SelectPen(Pen::Create(PS_SOLID, 1, ink));
  for (int32_t course = 0; course < 6; ++course) {
    dc.MoveTo(kLeft, kTop + course * kGap);
    dc.LineTo(kRight, kTop + course * kGap);
  }
  dc.MoveTo(kLeft + 180, kTop);
  dc.LineTo(kLeft + 180, kTop + 5 * kGap);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(ink);
  dc.SelectFont(TextFont(15, 400, true));
  dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  struct Letter {
    int32_t x;
    int32_t course;
    const char* text;
  };
  constexpr std::array<Letter, 10> kLetters = {{
      {90, 0, "a"}, {90, 2, "c"}, {130, 1, "d"}, {170, 0, "c"}, {170, 3, "a"},
      {270, 2, "a"}, {270, 4, "c"}, {310, 1, "b"}, {350, 0, "a"}, {390, 3, "d"},
  }};
  for (const Letter& letter : kLetters) dc.TextOut(letter.x, kTop + letter.course * kGap + 5, letter.text);

  dc.SelectFont(TextFont(30, 700));
  dc.TextOut(all.right / 2, 80, kApplicationName);
  dc.SelectFont(TextFont(15, 400, true));
  dc.TextOut(all.right / 2, 250, "Tablature for lutes, guitars and their relatives");
}

void DrawDocumentPlaceholder(DeviceContext& dc, Size client, std::string_view title, COLORREF screen, COLORREF page) {
  dc.FillSolidRect(Rect{0, 0, client.cx, client.cy}, screen);
  constexpr int32_t kMargin = 16;
  constexpr int32_t kTitleBand = 36;
  const int32_t height = std::max<int32_t>(0, client.cy - kTitleBand - 2 * kMargin);
  // A4 stands 297 high for 210 wide.
  int32_t pageHeight = height;
  int32_t pageWidth = pageHeight * 210 / 297;
  if (pageWidth > client.cx - 2 * kMargin) {
    pageWidth = std::max<int32_t>(0, client.cx - 2 * kMargin);
    pageHeight = pageWidth * 297 / 210;
  }
  const int32_t left = (client.cx - pageWidth) / 2;
  const int32_t top = kTitleBand + kMargin;
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(40, 40, 40));
  dc.SelectFont(TextFont(16, 700));
  dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  dc.TextOut(client.cx / 2, kTitleBand - 8, title);
  if (pageWidth <= 0 || pageHeight <= 0) return;
  dc.FillSolidRect(Rect{left + 4, top + 4, left + pageWidth + 4, top + pageHeight + 4}, RGB(160, 160, 160));
  dc.FillSolidRect(Rect{left, top, left + pageWidth, top + pageHeight}, page);
  dc.SelectPen(Pen::Create(PS_SOLID, 1, RGB(120, 120, 120)));
  dc.SelectStockBrush(StockObject::kNullBrush);
  dc.Rectangle(Rect{left, top, left + pageWidth, top + pageHeight});
}

}  // namespace vornel
