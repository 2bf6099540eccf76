#include "view/render/pages/SectionPages.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "document/CPageDlg.h"
#include "document/PageSequencing.h"
#include "layout/richtext/RtfPages.h"
#include "model/CInstrumentDlg.h"
#include "model/CStaveArray.h"
#include "model/CSystemArray.h"
#include "model/Scaling.h"
#include "model/StaveRenderer.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/FontDrawing.h"
#include "view/render/pages/PageFrame.h"
#include "view/render/pages/SystemDrawing.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {

namespace {

// Room between the lowest heading and the first system, for what stands over its staves.
constexpr int32_t kHeadingGapTenths = 60;
// Room a system needs besides its own height when systems per page are worked out.
constexpr int32_t kSystemGapTenths = 180;
// What end texts and headings are placed from when they were never placed: right of the page
// by this much (zoom-100 pixels), and their distances from the band's top.
constexpr int32_t kRightInset = 200;

int32_t SaneZoom(int32_t zoom) { return zoom > 0 ? std::min(zoom, 100000) : 100; }
int32_t Sum(int64_t a, int64_t b) { return ScaleTruncated(a + b, 1, 1); }
int32_t DrawZoom(const CPageDlg& page, const DeviceContext& dc) { return dc.IsPrinting() ? 100 : SaneZoom(page.zoom); }

// A device distance as a text offset (zoom-100 screen pixels) and back.
int32_t ToOffset(int32_t device, const DeviceContext& dc, int32_t zoom, bool vertical) {
  if (dc.IsPrinting()) {
    const Size screen = RecordedScreenDpi();
    return MulDiv(device, vertical ? screen.cy : screen.cx, vertical ? dc.LogPixelsY() : dc.LogPixelsX());
  }
  return MulDiv(device, 100, zoom);
}

struct HeadingText {
  CSystemArray::TextIndex text;
  int32_t defaultY;
  bool atRight;
};
// Drawn in this order: the title, the comments, the author.
constexpr std::array<HeadingText, 3> kHeadings = {{{CSystemArray::kTitle, 10, false},
                                                   {CSystemArray::kComments, 10, true},
                                                   {CSystemArray::kAuthor, 30, true}}};

bool Drawable(const CTrackText& text) { return !text.text.empty() && text.flags != 0; }

// The text's offsets, or where a text never placed goes; on screen those are kept.
Point HeadingOffsets(CTrackText& text, const HeadingText& heading, const DeviceContext& dc, const CPageDlg& page,
                     int32_t anchorX) {
  if (text.x != 0) return {text.x, text.y};
  const int32_t zoom = DrawZoom(page, dc);
  const Rect& printable = page.printableRect;
  Point offsets;
  if (heading.atRight) {
    offsets.x = ToOffset(Sum(printable.right, -int64_t{anchorX}), dc, zoom, false) - kRightInset;
  } else {
    offsets.x = ToOffset(Sum(printable.left, -int64_t{anchorX}), dc, zoom, false);
  }
  offsets.y = heading.defaultY;
  if (!dc.IsPrinting()) {
    text.x = offsets.x;
    text.y = offsets.y;
  }
  return offsets;
}

// Draws a text at offsets that may not be its own.
void DrawTextAtOffsets(CTrackText& text, DeviceContext& dc, int32_t zoom, Point anchor, Point offsets) {
  if (text.x == offsets.x && text.y == offsets.y) {
    DrawAt(text, dc, zoom, anchor.x, anchor.y);
    return;
  }
  CTrackText placed = text;
  placed.x = offsets.x;
  placed.y = offsets.y;
  DrawAt(placed, dc, zoom, anchor.x, anchor.y);
}

// The end text after the section's last system.
void DrawEndText(CSystemArray& section, const CStaveArray& last, DeviceContext& dc, CPageDlg& page) {
  CTrackText& text = section.EndText();
  if (!Drawable(text)) return;
  if (dc.IsPrinting() && page.printEndTextPages != 0) return;
  const InkSourceScope ink(dc, InkSource::kHeading);
  const int32_t zoom = DrawZoom(page, dc);
  Point offsets{text.x, text.y};
  if (text.x == 0) {
    offsets = {ToOffset(Sum(last.area.right, -int64_t{last.area.left}), dc, zoom, false) - kRightInset, 0};
    if (!dc.IsPrinting()) {
      text.x = offsets.x;
      text.y = offsets.y;
    }
  }
  DrawTextAtOffsets(text, dc, zoom, {last.area.left, last.area.bottom}, offsets);
}

// The systems before `system` are drawn without ink when the definitions have not recorded
// their clef changes; the page's footnotes are not theirs.
void SyncRecordedClefs(CSystemArray& section, size_t system, DeviceContext& dc, CPageDlg& page, const Rect& printable) {
  if (section.clefsRecordedThrough > system) {
    for (const auto& definition : section.definitions.items()) {
      if (definition != nullptr) definition->ForgetRecordedClefs();
    }
    section.clefsRecordedThrough = 0;
  }
  if (section.clefsRecordedThrough == system) return;
  const int32_t counter = page.footnoteCounter;
  const std::string footnotes = page.footnoteText;
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  for (size_t s = section.clefsRecordedThrough; s < system; ++s) {
    CStaveArray* earlier = section.systems.at(s);
    if (earlier == nullptr || earlier->hidden != 0) continue;
    PrepareSystemVoices(*earlier, section);
    DrawSystem(*earlier, *measuring, page, 0, printable.left, printable.top, printable.right, printable.bottom);
  }
  section.clefsRecordedThrough = system;
  page.footnoteCounter = counter;
  page.footnoteText = footnotes;
}

void DrawFootnotes(DeviceContext& dc, CPageDlg& page, const Rect& printable) {
  if (page.footnoteText.empty()) return;
  const InkSourceScope ink(dc, InkSource::kPageText);
  dfLogFont font = page.DocumentFont(kFontFootnotes);
  const COLORREF colour = dc.SetTextColor(font.color);
  const FontSpec previous = CreateScaledFont(font, static_cast<float>(DrawZoom(page, dc)), dc);
  Rect box{printable.left, 0, printable.right, 0};
  dc.DrawText(page.footnoteText, box, DT_CALCRECT | DT_NOPREFIX);
  const int32_t height = box.Height();
  box = {printable.left, Sum(printable.bottom, -int64_t{height}), printable.right, printable.bottom};
  dc.DrawText(page.footnoteText, box, DT_NOPREFIX | DT_NOCLIP);
  dc.SelectFont(previous);
  dc.SetTextColor(colour);
}

}  // namespace

int32_t HeadingBand(CSystemArray& section, DeviceContext& dc, const CPageDlg& page) {
  const int32_t zoom = DrawZoom(page, dc);
  int64_t lowest = -1;
  for (const HeadingText& heading : kHeadings) {
    const CTrackText* text = section.texts.at(heading.text);
    if (text == nullptr || !Drawable(*text)) continue;
    CTrackText measured = *text;
    measured.lastZoom = zoom;
    measured.origin = {};
    if (measured.x == 0) measured.y = heading.defaultY;
    const int32_t top = TrackTextPosition(measured, dc, zoom).y;
    lowest = std::max<int64_t>(lowest, int64_t{top} + CalcTextRect(measured, dc).Height());
  }
  if (lowest < 0) return 0;
  return ScaleTruncated(lowest + MulDiv(MulDiv(kHeadingGapTenths, dc.LogPixelsY(), 254), zoom, 100), 1, 1);
}

void DrawSectionHeadings(CSystemArray& section, DeviceContext& dc, CPageDlg& page) {
  if (section.systems.empty() || section.systems.at(0) == nullptr) return;
  const CStaveArray& first = *section.systems.at(0);
  const Point anchor{first.area.left, Sum(first.area.top, -int64_t{HeadingBand(section, dc, page)})};
  const int32_t zoom = DrawZoom(page, dc);
  const InkSourceScope ink(dc, InkSource::kHeading);
  for (const HeadingText& heading : kHeadings) {
    CTrackText* text = section.texts.at(heading.text);
    if (text == nullptr || !Drawable(*text)) continue;
    DrawTextAtOffsets(*text, dc, zoom, anchor, HeadingOffsets(*text, heading, dc, page, anchor.x));
  }
}

void PlaceSectionHeadings(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const std::array<int, 3>& modes) {
  if (DrawSystems(section, dc, page, 0, 0, 1, false) == 0) return;
  const CStaveArray& first = *section.systems.at(0);
  const Rect printable = page.printableRect;
  const int32_t zoom = DrawZoom(page, dc);
  constexpr std::array<CSystemArray::TextIndex, 3> kPlaced = {CSystemArray::kTitle, CSystemArray::kAuthor,
                                                              CSystemArray::kComments};
  for (size_t i = 0; i < kPlaced.size(); ++i) {
    CTrackText* text = section.texts.at(kPlaced[i]);
    if (text == nullptr || !Drawable(*text)) continue;
    CTrackText measured = *text;
    measured.lastZoom = zoom;
    const int32_t width = CalcTextRect(measured, dc).Width();
    int64_t x = printable.left;
    if (modes[i] == CTrackText::kPlaceRight) x = int64_t{printable.right} - width;
    if (modes[i] == CTrackText::kPlaceCenter) x = printable.left + (int64_t{printable.Width()} - width) / 2;
    // A centred text is drawn about its position.
    if ((text->flags & CTrackText::kCentered) != 0) x += width / 2;
    if (text->x == 0) {
      for (const HeadingText& heading : kHeadings) {
        if (heading.text == kPlaced[i]) text->y = heading.defaultY;
      }
    }
    const int32_t offset = ToOffset(Sum(x, -int64_t{first.area.left}), dc, zoom, false);
    // An offset of 0 reads as a text never placed: one pixel right keeps the place.
    text->x = offset != 0 ? offset : 1;
  }
}

int DrawPageSlots(DeviceContext& dc, CPageDlg& page, int32_t pageIndex, const std::vector<PageSlot>& slots,
                  int32_t slotsPerPage) {
  page.footnoteCounter = 1;
  page.footnoteText.clear();
  const Rect printable = DrawPageFrame(page, dc, pageIndex);
  const int32_t count = static_cast<int32_t>(slots.size());
  // A page at a section's or the run's end is spread and placed as a full one.
  const int32_t full = std::max(slotsPerPage, count);
  int64_t y = printable.top;
  int32_t gap = 0;
  int32_t previousHeight = 200;
  bool first = true;
  int drawn = 0;
  std::vector<std::pair<CSystemArray*, const CStaveArray*>> reached;
  for (int32_t position = 0; position < count; ++position) {
    const PageSlot& slot = slots[static_cast<size_t>(position)];
    CStaveArray* system = slot.section != nullptr && slot.system < slot.section->systems.size()
                              ? slot.section->systems.at(slot.system)
                              : nullptr;
    if (system == nullptr) {
      y += previousHeight;
      continue;
    }
    CSystemArray& section = *slot.section;
    const bool headings = slot.headings && slot.system == 0;
    const int32_t band = headings ? HeadingBand(section, dc, page) : 0;
    y += band;
    SyncRecordedClefs(section, slot.system, dc, page, printable);
    PrepareSystemVoices(*system, section);
    const uint32_t placement = (static_cast<uint32_t>(std::min(full, 64) - 1) << 26) | (static_cast<uint32_t>(position) << 20);
    const int32_t top = ScaleTruncated(y, 1, 1);
    dc.SetInkGroup(position + 1);
    DrawSystem(*system, dc, page, placement, printable.left, top, printable.right, printable.bottom);
    section.clefsRecordedThrough = slot.system + 1;
    ++drawn;
    const int32_t h = Sum(system->area.bottom, -int64_t{system->area.top});
    if (first) {
      first = false;
      if (page.SpreadSystems() && full > 1) {
        const int64_t g = (int64_t{printable.bottom} - int64_t{full} * h - band - printable.top) / full;
        // Systems taller than the page would overlap: they stand one under the other instead.
        gap = static_cast<int32_t>(std::max<int64_t>(0, g + g / (full - 1)));
      }
    }
    y += int64_t{h} + gap;
    previousHeight = h;
    if (headings) DrawSectionHeadings(section, dc, page);
    if (slot.system + 1 == section.systems.size()) DrawEndText(section, *system, dc, page);
    Rect sectionPage = printable;
    sectionPage.bottom = system->area.bottom;
    section.pageRect = sectionPage;
  }
  dc.SetInkGroup(0);
  DrawFootnotes(dc, page, printable);
  return drawn;
}

int DrawSystems(CSystemArray& section, DeviceContext& dc, CPageDlg& page, int32_t pageIndex, size_t first,
                size_t count, bool headings) {
  if (first >= section.systems.size()) return 0;
  if (!dc.IsPrinting()) {
    try {
      section.ActiveLine()->GetCurrentStave()->active = true;
    } catch (const std::out_of_range&) {
      // No active stave to mark.
    }
  }
  std::vector<PageSlot> slots;
  for (size_t s = first; s < section.systems.size() && s - first < count; ++s) {
    slots.push_back({&section, s, headings && s == 0});
  }
  return DrawPageSlots(dc, page, pageIndex, slots, static_cast<int32_t>(std::min<size_t>(count, INT32_MAX)));
}

CStaveArray* HitTestSystem(CSystemArray& section, size_t first, size_t count, Point point) {
  if (!section.pageRect.Contains(point)) return nullptr;
  for (size_t s = first; s - first < count; ++s) {
    if (s >= section.systems.size()) return nullptr;
    CStaveArray* system = section.systems.at(s);
    if (system == nullptr || system->hidden != 0) continue;
    if (system->HitTestLine(point.x, point.y) != 0) {
      section.activeSystem = static_cast<int32_t>(s);
      return system;
    }
  }
  return nullptr;
}

int32_t ComputeSystemsPerPage(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const Rect& pageRect) {
  if (section.systems.empty() || section.systems.at(0) == nullptr) return section.stavesPerPage;
  CStaveArray& first = *section.systems.at(0);
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  PrepareSystemVoices(first, section);
  DrawSystem(first, *measuring, page, 0, pageRect.left, pageRect.top, pageRect.right, pageRect.bottom);
  const int64_t height = int64_t{first.area.Height()} + MulDiv(kSystemGapTenths, dc.LogPixelsY(), 254);
  section.stavesPerPage = static_cast<int32_t>(std::clamp<int64_t>(height > 0 ? pageRect.Height() / height : 1, 1,
                                                                   1000));
  section.CopyFirstSystemStaves();
  return section.stavesPerPage;
}

std::string SectionPrefaceText(const CSystemArray& section) {
  if (!section.rtfComments.text.empty()) return section.rtfComments.text;
  const std::string& comments = section.Comments().text;
  if (comments.empty()) return {};
  CRTFPreface plain;
  plain.TextToRtf(section.Title().text, comments);
  return plain.text;
}

int32_t BuildSectionPrintPages(CSystemArray& section, PageSequencing& sequence, CPageDlg& page, int32_t rounding) {
  const size_t before = sequence.size();
  const int32_t index = section.index;
  if (page.printComments != 0 && page.commentsAtEnd == 0) {
    CRTFPreface preface;
    preface.text = SectionPrefaceText(section);
    const int32_t pages = CountPages(preface, RtfPage::FromPageSettings(page));
    sequence.AddPages(PageSequencing::kSectionPreface, index, pages, 1);
  }
  const int32_t perPage = std::max(section.stavesPerPage, 1);
  const int64_t systems = static_cast<int64_t>(section.systems.size());
  const int32_t pages = static_cast<int32_t>(std::max<int64_t>(1, (systems + rounding) / perPage));
  // Each music page carries its first system and counts the systems of a page.
  sequence.AddPages(PageSequencing::kMusicPage, index, pages, perPage, perPage);
  if (page.printEndTextPages != 0 && !section.EndText().text.empty()) {
    sequence.AddEntry(PageSequencing::kEndTextPage, index, 0);
  }
  if ((section.flags & CSystemArray::kBlankPageAfter) != 0) sequence.AddEntry(PageSequencing::kBlankPage, index, 0);
  return static_cast<int32_t>(sequence.size() - before);
}

}  // namespace vornel
