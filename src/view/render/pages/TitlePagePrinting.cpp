#include "view/render/pages/TitlePagePrinting.h"

#include <algorithm>

#include "document/CPageDlg.h"
#include "document/CTitlePage.h"
#include "layout/richtext/RtfPages.h"
#include "layout/richtext/RtfTrackTextDrawing.h"
#include "model/Scaling.h"
#include "platform/archive/VersionText.h"
#include "platform/draw/MulDiv.h"
#include "platform/rtf/RtfEscape.h"
#include "platform/text/FormatText.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/GraphicUtil.h"
#include "view/render/PictureText.h"
#include "view/render/pages/PageFrame.h"
#include "view/render/pages/PrintDate.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {

namespace {

constexpr std::string_view kExcludedMark = "[x]";
constexpr int32_t kTitleFrameInsetTenths = 150;

bool Excluded(const std::string& entry) { return entry.compare(0, kExcludedMark.size(), kExcludedMark) == 0; }

// Pages of a rich-text block on the document's paper, with the page the printing adds
// after a block of more than one.
int32_t CountBlockPages(CRTFPreface& block, const CPageDlg& page) {
  const int32_t pages = CountPages(block, RtfPage::FromPageSettings(page));
  return pages > 1 ? pages + 1 : pages;
}

void PrintBlockPage(CRTFPreface& block, DeviceContext& dc, int32_t index, const CPageDlg& page) {
  block.printInfo.currentPage = index + 1;
  Print(block, dc, RtfPage::FromPageSettings(page));
}

Size DeviceArea(const DeviceContext& dc, const CPageDlg& page) {
  const int32_t width = dc.GetDeviceCaps(HORZRES);
  const int32_t height = dc.GetDeviceCaps(VERTRES);
  if (width > 0 && height > 0) return {width, height};
  return {page.pageRect.Width(), page.pageRect.Height()};
}

// The page text of a contents entry: -1 without page numbers, else its page (0: not found).
int32_t EntryPage(const CTitlePage& titlePage, const PageSequencing& sequence, size_t entry) {
  if (titlePage.pageNumbers == 0) return -1;
  return sequence.FindSectionPage(static_cast<int32_t>(entry));
}

// The text cut to `width` with "..." at its end when it is wider.
std::string FitWithEllipsis(DeviceContext& dc, const std::string& text, int32_t width) {
  if (dc.GetTextExtent(text).cx <= width) return text;
  std::string cut = text;
  while (!cut.empty()) {
    // One code point off the end: its continuation bytes, then its first byte.
    while (!cut.empty()) {
      const unsigned char c = static_cast<unsigned char>(cut.back());
      cut.pop_back();
      if ((c & 0xC0) != 0x80) break;
    }
    if (dc.GetTextExtent(cut + "...").cx <= width) break;
  }
  return cut + "...";
}

std::string RtfCell(const std::string& text, int32_t pageNumber) {
  std::string pagePart;
  if (!text.empty() && pageNumber > 0) {
    pagePart = FormatText("\\cell\\pard\\intbl p. %d", pageNumber);
  } else if (!text.empty() && pageNumber == 0) {
    pagePart = "\\cell\\pard\\intbl ... ";
  }
  return FormatText("\\pard\\intbl \\i %s\\i0 %s \\cell", EscapeRtfText(text).c_str(), pagePart.c_str());
}

}  // namespace

int32_t ContentsLinesPerPage(const CTitlePage& titlePage) { return titlePage.maxLines > 0 ? titlePage.maxLines : 100; }

int32_t BuildPreliminaryPages(CTitlePage& titlePage, PageSequencing& sequence, CPageDlg& page,
                              const std::vector<std::string>& entries) {
  if (titlePage.printTitlepage != 0) sequence.AddEntry(PageSequencing::kTitlePage, 0, 0);
  titlePage.frameRect = page.pageRect;
  if (titlePage.printContents != 0) {
    int32_t pages = 0;
    if (titlePage.useRtf == 0) {
      pages = static_cast<int32_t>(entries.size()) / ContentsLinesPerPage(titlePage) + 1;
    } else {
      BuildContentsRtf(titlePage, entries, sequence, page);
      pages = CountBlockPages(titlePage.contentsRtf, page);
    }
    sequence.AddPages(PageSequencing::kContentsPage, 0, pages, 1);
  }
  if (titlePage.printPreface != 0) {
    sequence.AddPages(PageSequencing::kDocumentPreface, 0, CountBlockPages(titlePage.preface, page), 1);
  }
  if (page.printFacsimiles != 0) {
    sequence.AddPages(PageSequencing::kFacsimilePage, 0, static_cast<int32_t>(titlePage.imageList.CountImageFiles()), 1);
  }
  sequence.imageCount = static_cast<int32_t>(titlePage.imageList.size());
  return static_cast<int32_t>(sequence.size());
}

Point DrawTitlePageContent(CTitlePage& titlePage, DeviceContext& dc, const Rect& frame, int32_t zoom) {
  const Point origin = frame.TopLeft();
  titlePage.origin = origin;
  titlePage.frameRect = frame;
  const int32_t inset = MulDiv(kTitleFrameInsetTenths, dc.LogPixelsX(), 254);
  Rect box = frame;
  box.Deflate(inset, inset);
  GraphicUtil g(dc, zoom);
  int32_t step = inset;
  for (int32_t k = 1; k <= std::min(titlePage.frameStyle, 3); ++k) {
    if (k == 2) step = inset / 6;
    if (k == 3) step /= 2;
    if (k > 1) box.Deflate(step, step);
    g.DrawBorderFrame(3, box);
  }
  // The picture stands at its position from the title page's origin, as a text does; its
  // caption belongs to the pictures of systems.
  DIBornament& picture = titlePage.picture;
  picture.drawnRect = {};
  if (!picture.path.empty()) {
    picture.origin = origin;
    DrawPictureAt(dc, picture, zoom, TrackTextPosition(picture, dc, zoom), false);
  }
  for (const CTitlePage::TextIndex index : {CTitlePage::kTitle, CTitlePage::kPublisher, CTitlePage::kAuthor}) {
    CTrackText& text = titlePage.Text(index);
    if (text.text.empty() || text.flags == 0) continue;
    DrawAt(text, dc, zoom, origin.x, origin.y);
  }
  CRTFTrackText& formatted = titlePage.formattedTitle;
  if (!formatted.text.empty() && formatted.flags != 0) {
    if (!dc.IsPrinting()) formatted.origin = origin;
    if (formatted.storedRect.left == formatted.storedRect.right) formatted.SetDefaultRect(200, 200, 400, 200);
    RichTextPlacement placement;
    placement.origin = origin;
    placement.zoom = zoom;
    const Size screen = RecordedScreenDpi(dc);
    placement.screenDpiX = screen.cx;
    placement.screenDpiY = screen.cy;
    DrawOnTitlePage(formatted, dc, placement);
  }
  return origin;
}

void PrintPreliminaryPage(CTitlePage& titlePage, DeviceContext& dc, const PageSequencing::stPageSequence& entry,
                          CPageDlg& page, const std::vector<std::string>& entries, const FacsimileResolver& resolve) {
  switch (entry.kind) {
    case PageSequencing::kDocumentPreface:
      PrintBlockPage(titlePage.preface, dc, entry.index, page);
      break;
    case PageSequencing::kContentsPage:
      if (titlePage.useRtf != 0) {
        PrintBlockPage(titlePage.contentsRtf, dc, entry.index, page);
      } else {
        DrawContentsPage(titlePage, dc, entry.index, page, entries, page.pageSequence);
      }
      break;
    case PageSequencing::kFacsimilePage:
      ComputePageFrame(page, dc, entry.position);
      DrawFacsimile(titlePage.imageList, NthImageFile(titlePage.imageList, static_cast<size_t>(std::max(entry.index, 0))),
                    dc, page, resolve);
      break;
    default:
      break;
  }
}

void BuildContentsRtf(CTitlePage& titlePage, const std::vector<std::string>& entries, const PageSequencing& sequence,
                      const CPageDlg& page) {
  std::string& rtf = titlePage.contentsRtf.text;
  rtf.clear();
  const RtfPage paper = RtfPage::FromPageSettings(page);
  const int32_t fullWidth = paper.widthTwips - 3000;
  const int32_t cellWidth = titlePage.columns != 0 ? fullWidth / 2 : fullWidth;
  const CTrackText& header = titlePage.Text(CTitlePage::kContentsHeader);

  rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 @Arial Unicode MS;}"
         "{\\f1\\fswiss\\fprq2\\fcharset0 MS Sans Serif;}";
  rtf += FormatText("{\\f2\\fswiss\\fprq2\\fcharset0 %s; }}{\\colortbl;\\red0\\green0\\blue0;}",
                    EscapeRtfText(header.font.logFont.lfFaceName).c_str());
  rtf += "\n\\viewkind4\\pgnlcrm\\margl500\\margr500\\margb1400\\margt1000\\sectd\n";
  if (!header.text.empty()) {
    rtf += FormatText("\\uc1\\pard\\qc\\cf1\\lang1033\\plain\\fs20\\ul\\f0\\fs32 %s \\par\\ulnone\\f1\\par",
                      EscapeRtfText(header.text).c_str());
    rtf += FormatText("\n\\pard\\f2\\fs%d\n", header.font.pointSize.cx / 6);
  }
  rtf += "\\sectd\\qc\\trowd\\trgaph140\\trbrdrr\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\qc";
  const auto cellEdges = [&](int32_t width) {
    rtf += titlePage.pageNumbers == 0 ? FormatText("\\cellx%d\n", width)
                                      : FormatText("\\cellx%d\\cellx%d\n", width - 1000, width);
  };
  cellEdges(cellWidth);
  if (titlePage.columns != 0) cellEdges(fullWidth);

  const size_t count = entries.size();
  const size_t rows = titlePage.columns != 0 ? (count + 1) / 2 : count;
  for (size_t i = 0; i < rows; ++i) {
    if (Excluded(entries[i])) continue;
    rtf += RtfCell(entries[i], EntryPage(titlePage, sequence, i));
    if (titlePage.columns != 0) {
      const size_t j = i + rows;
      const bool shown = j < count && !Excluded(entries[j]);
      rtf += RtfCell(shown ? entries[j] : std::string(), shown ? EntryPage(titlePage, sequence, j) : -1);
      if (!shown && titlePage.pageNumbers != 0) rtf += "\\pard\\intbl \\cell";
    }
    rtf += "\\row\n";
  }
  if (titlePage.dateStamp != 0) {
    rtf += FormatText("\\pard\\f0\\par\\pard\\ql\\f2\\fs16 Generated by Vornel version %s - %s\\par\n",
                      std::string(kCurrentFormatVersion).c_str(), PrintDateText().c_str());
  }
  // The group is closed, so that the text is whole RTF.
  rtf += "\n\\pard\\fs48\\par\\pard\\fs24\\qc  \\par\\sect\\page\\par}";
}

void DrawContentsPage(CTitlePage& titlePage, DeviceContext& dc, int32_t pageIndex, CPageDlg& page,
                      const std::vector<std::string>& entries, const PageSequencing& sequence) {
  if (titlePage.useRtf != 0 || entries.empty()) return;
  const Size device = DeviceArea(dc, page);
  Rect area{0, 0, device.cx, device.cy};
  const int32_t side = MulDiv(static_cast<int32_t>(page.leftMargin), dc.LogPixelsX(), 254);
  const int32_t topBottom = MulDiv(static_cast<int32_t>(page.topMargin), dc.LogPixelsX(), 254);
  area.Deflate(side, topBottom);
  const int32_t zoom = dc.IsPrinting() ? 100 : (page.zoom > 0 ? page.zoom : 100);

  // The header in its font at twice its size; its flags keep the left edge of centred text.
  CTrackText header = titlePage.Text(CTitlePage::kContentsHeader);
  header.flags = 17;
  if (!header.text.empty()) {
    header.font.pointSize.cx = ScaleTruncated(int64_t{header.font.pointSize.cx} * 2, 1, 1);
    const Rect drawn = DrawFontText(header.text, header.font, dc, TA_CENTER | TA_TOP, static_cast<float>(zoom), 0,
                                    header.flags, (area.left + area.right) / 2, area.top);
    area.top = std::max(area.top, drawn.bottom);
  }

  dfLogFont font = page.DocumentFont(kFontComments);
  const COLORREF colour = dc.SetTextColor(font.color);
  const FontSpec previous = CreateScaledFont(font, static_cast<float>(zoom), dc);
  struct Line {
    std::string text;
    std::string page;
    int32_t height = 0;
  };
  std::vector<Line> lines(entries.size());
  int32_t widest = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (Excluded(entries[i])) continue;
    const int32_t number = EntryPage(titlePage, sequence, i);
    Line& line = lines[i];
    line.text = FormatText("%s %s", entries[i].c_str(), number >= 0 ? " ... " : "");
    if (number > 0) line.page = FormatText("p. %d", number);
    Rect measured{0, 0, area.Width(), 0};
    dc.DrawText(line.text + (line.page.empty() ? "" : " " + line.page), measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    line.height = measured.Height();
    widest = std::max(widest, measured.Width());
  }
  // Lines that do not fit the page are drawn at their size all the same.
  const bool columns = titlePage.columns != 0;
  if (!columns && widest < area.Width()) {
    const int32_t left = area.left + (area.Width() - widest) / 2;
    area = {left, area.top, left + widest, area.bottom};
  }

  const int64_t perPage = ContentsLinesPerPage(titlePage);
  const size_t first = static_cast<size_t>(std::min<int64_t>(perPage * pageIndex, static_cast<int64_t>(entries.size())));
  const size_t last = static_cast<size_t>(std::min<int64_t>(perPage * (pageIndex + 1), static_cast<int64_t>(entries.size())));
  const size_t secondColumn =
      columns ? static_cast<size_t>(std::min<int64_t>(perPage / 2 + perPage * pageIndex, static_cast<int64_t>(last)))
              : last;
  const auto drawColumn = [&](size_t from, size_t to, Rect column) {
    int32_t y = column.top;
    for (size_t i = from; i < to; ++i) {
      const Line& line = lines[i];
      if (Excluded(entries[i])) continue;
      const int32_t pageWidth = line.page.empty() ? 0 : dc.GetTextExtent(" " + line.page).cx;
      Rect box{column.left, y, column.right - pageWidth, y + line.height};
      dc.DrawText(FitWithEllipsis(dc, line.text, box.Width()), box, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
      if (!line.page.empty()) {
        Rect right{column.left, y, column.right, y + line.height};
        dc.DrawText(line.page, right, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
      }
      y += line.height;
    }
  };
  if (columns) {
    const int32_t middle = (area.left + area.right) / 2;
    drawColumn(first, secondColumn, {area.left, area.top, middle, area.bottom});
    drawColumn(secondColumn, last, {middle + side / 4, area.top, area.right, area.bottom});
    dc.MoveTo(middle + side / 8, area.top);
    dc.LineTo(middle + side / 8, area.bottom);
  } else {
    drawColumn(first, last, area);
  }
  dc.SelectFont(previous);
  dc.SetTextColor(colour);
}

}  // namespace vornel
