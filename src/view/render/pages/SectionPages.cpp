#include "view/render/pages/SectionPages.h"

#include <algorithm>
#include <cstdint>
#include <array>
#include <cmath>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "document/CPageDlg.h"
#include "document/PageSequencing.h"
#include "layout/richtext/RtfPages.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/Scaling.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/Ink.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/ScaledDevice.h"
#include "view/draw/FontDrawing.h"
#include "view/render/pages/ClefRecords.h"
#include "view/render/pages/PageFitting.h"
#include "view/render/pages/PageFrame.h"
#include "view/render/pages/SystemDrawing.h"
#include "view/render/pages/SystemReachCache.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {

namespace {

// Room between the lowest heading and what stands highest over the first system's staves.
constexpr int32_t kHeadingGapTenths = 30;
// The least room between the ink of one system and the ink of the next.
constexpr int32_t kSystemGapTenths = 60;
// The bits of a placement that say where on its page a system stands.
constexpr uint32_t kPagePlacementBits = 0xFFF00000u;
// The least room between two headings that would meet.
constexpr int32_t kHeadingsApartTenths = 15;
// What end texts and headings are placed from when they were never placed: right of the page
// by this much (zoom-100 pixels), and their distances from the band's top.
constexpr int32_t kRightInset = 200;

int32_t SaneZoom(int32_t zoom) { return zoom > 0 ? std::min(zoom, 100000) : 100; }
int32_t Sum(int64_t a, int64_t b) { return ScaleTruncated(a + b, 1, 1); }
int32_t DrawZoom(const CPageDlg& page, const DeviceContext& dc) { return dc.IsPrinting() ? 100 : SaneZoom(page.zoom); }

// A device distance as a text offset (zoom-100 screen pixels) and back.
int32_t ToOffset(int32_t device, const DeviceContext& dc, int32_t zoom, bool vertical) {
  if (dc.IsPrinting()) {
    const Size screen = RecordedScreenDpi(dc);
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

// The text's offsets, or where a text never placed goes; on screen those are kept when `keep`.
Point HeadingOffsets(CTrackText& text, const HeadingText& heading, const DeviceContext& dc, const CPageDlg& page,
                     int32_t anchorX, bool keep) {
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
  if (keep && !dc.IsPrinting()) {
    text.x = offsets.x;
    text.y = offsets.y;
  }
  return offsets;
}

// Draws a text at offsets that may not be its own, in lines that may be broken otherwise than
// its own; on screen the text learns where it was drawn.
void DrawTextAtOffsets(CTrackText& text, DeviceContext& dc, int32_t zoom, Point anchor, Point offsets,
                       const std::string* lines = nullptr) {
  if (text.x == offsets.x && text.y == offsets.y && (lines == nullptr || *lines == text.text)) {
    DrawAt(text, dc, zoom, anchor.x, anchor.y);
    return;
  }
  CTrackText placed = text;
  placed.x = offsets.x;
  placed.y = offsets.y;
  if (lines != nullptr) placed.text = *lines;
  DrawAt(placed, dc, zoom, anchor.x, anchor.y);
  if (!dc.IsPrinting()) {
    text.origin = placed.origin;
    text.lastZoom = placed.lastZoom;
    text.drawnRect = placed.drawnRect;
    text.size = placed.size;
  }
}

// The text broken at spaces into lines no wider than `width` in its font; a line without a
// space that is still wider stays whole, and a justified block ('@') is left as it is.
std::string WrapToWidth(const CTrackText& text, DeviceContext& dc, int32_t width) {
  if (text.text.find('@') != std::string::npos || width <= 0) return text.text;
  dfLogFont font = text.font;
  const FontSpec previous = CreateScaledFont(font, static_cast<float>(SaneZoom(text.lastZoom)), dc);
  std::string wrapped;
  size_t start = 0;
  while (start <= text.text.size()) {
    // A line ends at a line feed, at a carriage return with one, or at a carriage return alone.
    size_t end = text.text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.text.size();
    const bool carriageReturn = end + 1 < text.text.size() && text.text[end] == '\r' && text.text[end + 1] == '\n';
    const std::string line = text.text.substr(start, end - start);
    std::string current;
    size_t word = 0;
    while (word <= line.size()) {
      size_t space = line.find(' ', word);
      if (space == std::string::npos) space = line.size();
      const std::string piece = line.substr(word, space - word);
      const std::string candidate = current.empty() ? piece : current + " " + piece;
      if (!current.empty() && dc.GetTextExtent(candidate).cx > width) {
        wrapped += current + "\n";
        current = piece;
      } else {
        current = candidate;
      }
      word = space + 1;
    }
    wrapped += current;
    if (end < text.text.size()) wrapped += carriageReturn ? "\r\n" : "\n";
    start = end + (carriageReturn ? 2 : 1);
  }
  dc.SelectFont(previous);
  return wrapped;
}

// A heading as it stands in the band over the first system: its text (broken into lines where
// it would pass the printable width), its offsets from the band's top left and its box there
// (device units).
struct LaidOutHeading {
  CTrackText* text = nullptr;
  std::string lines;
  Point offsets;
  Rect box;
};

// The headings within the printable width, each below any heading drawn before it that it
// would meet.
std::vector<LaidOutHeading> LayOutHeadings(CSystemArray& section, DeviceContext& dc, const CPageDlg& page,
                                           int32_t anchorX, bool keep) {
  std::vector<LaidOutHeading> laidOut;
  const int32_t zoom = DrawZoom(page, dc);
  const Rect& printable = page.printableRect;
  const int64_t left = int64_t{printable.left} - anchorX;
  const int64_t right = int64_t{printable.right} - anchorX;
  const int32_t apart = MulDiv(MulDiv(kHeadingsApartTenths, dc.LogPixelsY(), 254), zoom, 100);
  for (const HeadingText& heading : kHeadings) {
    CTrackText* text = section.texts.at(heading.text);
    if (text == nullptr || !Drawable(*text)) continue;
    LaidOutHeading h;
    h.text = text;
    h.offsets = HeadingOffsets(*text, heading, dc, page, anchorX, keep);
    CTrackText measured = *text;
    measured.lastZoom = zoom;
    measured.origin = {};
    measured.x = h.offsets.x;
    measured.y = h.offsets.y;
    h.lines = WrapToWidth(measured, dc, printable.Width());
    measured.text = h.lines;
    const Rect size = CalcTextRect(measured, dc);
    const Point at = TrackTextPosition(measured, dc, zoom);
    const bool centred = (text->flags & CTrackText::kCentered) != 0;
    const int32_t boxLeft = centred ? at.x - size.Width() / 2 : at.x;
    const Rect placedAt{boxLeft, at.y, Sum(boxLeft, size.Width()), Sum(at.y, size.Height())};
    Rect box = placedAt;
    if (box.right > right) box.Offset(ScaleTruncated(right - box.right, 1, 1), 0);
    if (box.left < left) box.Offset(ScaleTruncated(left - box.left, 1, 1), 0);
    for (bool moved = true; moved;) {
      moved = false;
      for (const LaidOutHeading& before : laidOut) {
        Rect around = before.box;
        around.Inflate(apart, apart);
        if (box.left < around.right && around.left < box.right && box.top < around.bottom && around.top < box.bottom) {
          box.Offset(0, around.bottom - box.top);
          moved = true;
        }
      }
    }
    if (box.left != placedAt.left) h.offsets.x += ToOffset(box.left - placedAt.left, dc, zoom, false);
    if (box.top != placedAt.top) h.offsets.y += ToOffset(box.top - placedAt.top, dc, zoom, true);
    h.box = box;
    laidOut.push_back(std::move(h));
  }
  return laidOut;
}

int32_t FirstSystemLeft(CSystemArray& section) {
  return !section.systems.empty() && section.systems.at(0) != nullptr ? section.systems.at(0)->area.left : 0;
}

// The end text after the section's last system, below what the system draws under its staves.
bool EndTextOnThePage(CSystemArray& section, const DeviceContext& dc, const CPageDlg& page) {
  return Drawable(section.EndText()) && !(dc.IsPrinting() && page.printEndTextPages != 0);
}

void DrawEndText(CSystemArray& section, const CStaveArray& last, DeviceContext& dc, CPageDlg& page, int32_t below) {
  CTrackText& text = section.EndText();
  if (!EndTextOnThePage(section, dc, page)) return;
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
  // Within the printable width: broken into lines and moved left as it needs.
  const Rect& printable = page.printableRect;
  CTrackText measured = text;
  measured.lastZoom = zoom;
  measured.origin = {};
  measured.x = offsets.x;
  measured.y = offsets.y;
  const std::string lines = WrapToWidth(measured, dc, printable.Width());
  measured.text = lines;
  const int64_t width = CalcTextRect(measured, dc).Width();
  const int64_t at = int64_t{last.area.left} + TrackTextPosition(measured, dc, zoom).x;
  const int64_t centredShift = (text.flags & CTrackText::kCentered) != 0 ? width / 2 : 0;
  int64_t shift = 0;
  if (at - centredShift + width > printable.right) shift = printable.right - (at - centredShift + width);
  if (at - centredShift + shift < printable.left) shift = printable.left - (at - centredShift);
  if (shift != 0) offsets.x += ToOffset(ScaleTruncated(shift, 1, 1), dc, zoom, false);
  DrawTextAtOffsets(text, dc, zoom, {last.area.left, Sum(last.area.bottom, below)}, offsets, &lines);
}

// The room the end text takes under the last system.
int32_t EndTextBand(CSystemArray& section, DeviceContext& dc, const CPageDlg& page) {
  if (!EndTextOnThePage(section, dc, page)) return 0;
  CTrackText measured = section.EndText();
  const int32_t zoom = DrawZoom(page, dc);
  measured.lastZoom = zoom;
  measured.origin = {};
  measured.text = WrapToWidth(measured, dc, page.printableRect.Width());
  const int64_t bottom = int64_t{std::max(TrackTextPosition(measured, dc, zoom).y, 0)} + CalcTextRect(measured, dc).Height();
  return ScaleTruncated(bottom, 1, 1);
}

// The clef changes the definitions recorded, kept while a system is measured and put back
// after, so that the system is then drawn with the clefs it starts with.
class RecordedClefs {
 public:
  explicit RecordedClefs(CSystemArray& section) : section_(section), saved_(ReadRecordedClefs(section)) {}
  ~RecordedClefs() { WriteRecordedClefs(section_, saved_); }
  RecordedClefs(const RecordedClefs&) = delete;
  RecordedClefs& operator=(const RecordedClefs&) = delete;

 private:
  CSystemArray& section_;
  RecordedClefState saved_;
};

// Draws a system on `measuring` and gives what it covers.
SystemReach MeasureOn(DeviceContext& measuring, CStaveArray& system, CPageDlg& page, uint32_t placement,
                      const Rect& printable) {
  // Measuring draws the system where it may never stand: the system keeps the place and the
  // name width it was last drawn with (its area is stored with the document).
  const Rect area = system.area;
  const Rect optionsArea = system.optionsArea;
  const int32_t nameWidth = system.nameWidth;
  InkExtent ink;
  InkObserver* previous = measuring.SetInkObserver(&ink);
  DrawSystem(system, measuring, page, placement, printable.left, printable.top, printable.right, printable.bottom);
  measuring.SetInkObserver(previous);
  SystemReach reach;
  reach.height = system.area.Height();
  if (!ink.Empty()) {
    reach.above = std::max<int32_t>(0, system.area.top - static_cast<int32_t>(std::floor(ink.Top())));
    reach.below = std::max<int32_t>(0, static_cast<int32_t>(std::ceil(ink.Bottom())) - system.area.bottom);
  }
  system.area = area;
  system.optionsArea = optionsArea;
  system.nameWidth = nameWidth;
  return reach;
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

void KeepFittingPageStarts(CSystemArray& section, const std::vector<int64_t>& rooms, int64_t height, int64_t gap,
                           int32_t most) {
  const size_t limit = static_cast<size_t>(std::max(most, 1));
  section.pageStarts.assign(1, 0);
  section.firstEstimatedPage = SIZE_MAX;
  size_t onPage = 0;
  int64_t used = 0;
  for (size_t s = 0; s < section.systems.size(); ++s) {
    const int64_t room = s < rooms.size() ? rooms[s] : 0;
    // A system that would pass the page's foot, or one past the most a page holds, starts
    // the next page; a page holds at least one system, however tall.
    if (onPage > 0 && (onPage >= limit || used + gap + room > height)) {
      section.pageStarts.push_back(s);
      onPage = 0;
      used = 0;
    }
    used += (onPage > 0 ? gap : 0) + room;
    ++onPage;
  }
}

size_t SlotsOfPage(const CSystemArray& section, size_t page) {
  const size_t own = section.SystemsOnPage(page);
  // The last page is spread and placed as a full one.
  if (page + 1 >= section.PageCount()) return std::max<size_t>({own, section.SystemsOnPage(0), 1});
  return std::max<size_t>(own, 1);
}

int32_t GapBetweenSystems(const DeviceContext& dc, const CPageDlg& page) {
  return MulDiv(MulDiv(kSystemGapTenths, dc.LogPixelsY(), 254), DrawZoom(page, dc), 100);
}

namespace {

// Measures the system as MeasureSystem does; `after` (when given) takes the clefs the
// definitions recorded through the system.
SystemReach MeasureRecordingClefs(CSystemArray& section, CStaveArray& system, DeviceContext& dc, CPageDlg& page,
                                  uint32_t placement, const Rect& printable, RecordedClefState* after) {
  const RecordedClefs clefs(section);
  const int32_t counter = page.footnoteCounter;
  const std::string footnotes = page.footnoteText;
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  PrepareSystemVoices(system, section);
  const SystemReach reach = MeasureOn(*measuring, system, page, placement, printable);
  if (after != nullptr) *after = ReadRecordedClefs(section);
  page.footnoteCounter = counter;
  page.footnoteText = footnotes;
  return reach;
}

// The reach of system `s` as measured by an earlier drawing with the same content, context
// and clefs, or measured now. `clefs` holds what the definitions recorded before the system
// and is left holding what they recorded after it; the definitions are left holding the
// clefs before it.
SystemReach RecalledReach(CSystemArray& section, size_t s, DeviceContext& dc, CPageDlg& page, uint32_t placement,
                          const Rect& printable, const ReachContext& context, RecordedClefState& clefs) {
  CStaveArray& system = *section.systems.at(s);
  if (WriteRecordedClefs(section, clefs)) {
    section.clefsRecordedThrough = s;
  } else {
    SyncRecordedClefs(section, s, dc, page, printable);
    clefs = ReadRecordedClefs(section);
  }
  // Where on its page a system stands (the high bits of its placement) changes nothing it
  // draws: the measurement fitting the pages made serves the page's drawing.
  const ReachKey key{SystemFingerprint(section, system), placement & ~kPagePlacementBits, context, clefs};
  if (std::optional<MeasuredReach> kept = FindMeasuredReach(key)) {
    clefs = std::move(kept->clefsAfter);
    return kept->reach;
  }
  MeasuredReach measured;
  measured.reach = MeasureRecordingClefs(section, system, dc, page, placement, printable, &measured.clefsAfter);
  KeepMeasuredReach(key, measured);
  clefs = std::move(measured.clefsAfter);
  return measured.reach;
}

// A system that would not fit in `room` with everything it draws, however alone on its page,
// is drawn at a lower resolution: the whole of it smaller, letters and staves in proportion,
// still across the printable width. Gives the resolution it takes (0: the device's own), the
// highest at which it fits, and what the system covers at it. Never below a tenth of the
// device's own.
int32_t ReducedResolution(CSystemArray& section, size_t s, DeviceContext& dc, CPageDlg& page, uint32_t placement,
                          const Rect& printable, int64_t room, SystemReach& reach) {
  if (reach.Total() <= room) return 0;
  // Each resolution tried is measured once: the device's resolution is part of the key the
  // measurements are kept by, so later drawings find them.
  const RecordedClefState before = ReadRecordedClefs(section);
  const auto measureAt = [&](int64_t dpi) {
    ScaledDevice reduced(dc, static_cast<int32_t>(dpi));
    RecordedClefState clefs = before;
    return RecalledReach(section, s, reduced, page, placement, printable,
                         ReachContextOf(section, page, reduced, printable), clefs);
  };
  // Sizes are rounded to whole pixels, so the system does not shrink quite in proportion: the
  // proportional guess is refined by halving between a resolution that fits and one too high.
  int64_t tooHigh = dc.LogPixelsY();
  int64_t fits = std::max(tooHigh / 10, int64_t{1});
  const int64_t guess = tooHigh * std::max<int64_t>(room, 0) / std::max<int64_t>(reach.Total(), 1);
  int64_t next = std::clamp(guess, fits, tooHigh - 1);
  SystemReach best = measureAt(fits);
  for (int attempt = 0; attempt < 8 && tooHigh - fits > 1; ++attempt) {
    const SystemReach at = measureAt(next);
    if (at.Total() <= room) {
      fits = next;
      best = at;
    } else {
      tooHigh = next;
    }
    next = fits + (tooHigh - fits) / 2;
  }
  reach = best;
  return static_cast<int32_t>(fits);
}

}  // namespace

SystemReach MeasureSystem(CSystemArray& section, size_t s, DeviceContext& dc, CPageDlg& page, uint32_t placement,
                          const Rect& printable) {
  CStaveArray* system = s < section.systems.size() ? section.systems.at(s) : nullptr;
  if (system == nullptr) return {};
  return MeasureRecordingClefs(section, *system, dc, page, placement, printable, nullptr);
}

int32_t HeadingBand(CSystemArray& section, DeviceContext& dc, const CPageDlg& page) {
  const int32_t zoom = DrawZoom(page, dc);
  int64_t lowest = -1;
  for (const LaidOutHeading& h : LayOutHeadings(section, dc, page, FirstSystemLeft(section), false)) {
    lowest = std::max<int64_t>(lowest, h.box.bottom);
  }
  if (lowest < 0) return 0;
  return ScaleTruncated(lowest + MulDiv(MulDiv(kHeadingGapTenths, dc.LogPixelsY(), 254), zoom, 100), 1, 1);
}

void DrawSectionHeadings(CSystemArray& section, DeviceContext& dc, CPageDlg& page, int32_t above) {
  if (section.systems.empty() || section.systems.at(0) == nullptr) return;
  const CStaveArray& first = *section.systems.at(0);
  const Point anchor{first.area.left, Sum(first.area.top, -(int64_t{HeadingBand(section, dc, page)} + above))};
  const int32_t zoom = DrawZoom(page, dc);
  const InkSourceScope ink(dc, InkSource::kHeading);
  for (const LaidOutHeading& h : LayOutHeadings(section, dc, page, anchor.x, true)) {
    DrawTextAtOffsets(*h.text, dc, zoom, anchor, h.offsets, &h.lines);
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
  const int32_t minimumGap = GapBetweenSystems(dc, page);

  // What each slot takes: the band of its section's headings, the ink over its staves, the
  // system, the ink under its staves and the end text after a section's last system.
  struct Placed {
    CStaveArray* system = nullptr;
    uint32_t placement = 0;
    bool headings = false;
    bool last = false;
    int32_t band = 0;
    int32_t dpi = 0;  // the resolution a system too tall for the page is drawn at
    SystemReach reach;
    int32_t after = 0;
    int64_t Room() const { return int64_t{band} + reach.Total() + after; }
  };
  std::vector<Placed> placed(slots.size());
  int64_t content = 0;
  int32_t systems = 0;
  // The clefs each system starts with follow from the one measured before it in the same
  // section; they are replayed from the section's start only where that chain breaks. The
  // first system's are put back for drawing.
  std::vector<std::pair<const CSystemArray*, ReachContext>> contexts;
  RecordedClefState clefs;
  const CSystemArray* chained = nullptr;
  size_t next = 0;
  CSystemArray* firstSection = nullptr;
  size_t firstSystem = 0;
  RecordedClefState firstClefs;
  for (int32_t position = 0; position < count; ++position) {
    const PageSlot& slot = slots[static_cast<size_t>(position)];
    Placed& p = placed[static_cast<size_t>(position)];
    p.system = slot.section != nullptr && slot.system < slot.section->systems.size()
                   ? slot.section->systems.at(slot.system)
                   : nullptr;
    if (p.system == nullptr) continue;
    CSystemArray& section = *slot.section;
    p.headings = slot.headings && slot.system == 0;
    p.last = slot.system + 1 == section.systems.size();
    p.placement = (static_cast<uint32_t>(std::min(full, 64) - 1) << 26) | (static_cast<uint32_t>(position) << 20);
    if (chained != &section || next != slot.system) {
      SyncRecordedClefs(section, slot.system, dc, page, printable);
      clefs = ReadRecordedClefs(section);
      if (firstSection == nullptr) {
        firstSection = &section;
        firstSystem = slot.system;
        firstClefs = clefs;
      }
    }
    auto context = std::find_if(contexts.begin(), contexts.end(), [&](const auto& c) { return c.first == &section; });
    if (context == contexts.end()) {
      contexts.emplace_back(&section, ReachContextOf(section, page, dc, printable));
      context = std::prev(contexts.end());
    }
    dc.SetInkGroup(position + 1);
    // The clef changes of a hidden system are not replayed for the systems after it.
    const RecordedClefState before = p.system->hidden != 0 ? clefs : RecordedClefState{};
    p.reach = RecalledReach(section, slot.system, dc, page, p.placement, printable, context->second, clefs);
    if (p.system->hidden != 0) clefs = before;
    chained = &section;
    next = slot.system + 1;
    p.band = p.headings ? HeadingBand(section, dc, page) : 0;
    p.after = p.last ? EndTextBand(section, dc, page) : 0;
    p.dpi = ReducedResolution(section, slot.system, dc, page, p.placement, printable,
                              int64_t{printable.Height()} - p.band - p.after, p.reach);
    content += p.Room();
    ++systems;
  }
  if (firstSection != nullptr && WriteRecordedClefs(*firstSection, firstClefs)) {
    firstSection->clefsRecordedThrough = firstSystem;
  }
  // An empty slot keeps the room of the system before it (200 before any); spreading
  // counts the slots a full page would hold.
  int64_t room = 200;
  int64_t total = 0;
  for (const Placed& p : placed) {
    if (p.system != nullptr) room = p.Room();
    total += room;
  }
  const int64_t average = systems > 0 ? content / systems : 200;
  total += int64_t{full - count} * average;
  int64_t gap = minimumGap;
  if (page.SpreadSystems() && full > 1) {
    gap = std::max<int64_t>(gap, (int64_t{printable.Height()} - total) / (full - 1));
  }

  int64_t y = printable.top;
  room = 200;
  int drawn = 0;
  for (int32_t position = 0; position < count; ++position) {
    const PageSlot& slot = slots[static_cast<size_t>(position)];
    const Placed& p = placed[static_cast<size_t>(position)];
    if (p.system == nullptr) {
      y += room + gap;
      continue;
    }
    CSystemArray& section = *slot.section;
    CStaveArray& system = *p.system;
    y += int64_t{p.band} + p.reach.above;
    SyncRecordedClefs(section, slot.system, dc, page, printable);
    PrepareSystemVoices(system, section);
    dc.SetInkGroup(position + 1);
    std::optional<ScaledDevice> reduced;
    if (p.dpi != 0) reduced.emplace(dc, p.dpi);
    DrawSystem(system, reduced ? *reduced : dc, page, p.placement, printable.left, ScaleTruncated(y, 1, 1),
               printable.right, printable.bottom);
    reduced.reset();
    section.clefsRecordedThrough = slot.system + 1;
    ++drawn;
    room = p.Room();
    y = int64_t{system.area.bottom} + p.reach.below + p.after + gap;
    if (p.headings) DrawSectionHeadings(section, dc, page, p.reach.above);
    if (p.last) DrawEndText(section, system, dc, page, p.reach.below);
    Rect sectionPage = printable;
    sectionPage.bottom = system.area.bottom;
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

int64_t MeasureSystemRoom(CSystemArray& section, size_t s, DeviceContext& dc, CPageDlg& page, const Rect& printable,
                          const ReachContext& context, RecordedClefState& clefs) {
  int64_t room = 0;
  if (section.systems.at(s) != nullptr) room = RecalledReach(section, s, dc, page, 0, printable, context, clefs).Total();
  if (s == 0) room += HeadingBand(section, dc, page);
  if (s + 1 == section.systems.size()) room += EndTextBand(section, dc, page);
  return room;
}

std::vector<int64_t> MeasureSystemRooms(CSystemArray& section, DeviceContext& dc, CPageDlg& page,
                                        const Rect& printable) {
  std::vector<int64_t> rooms;
  // Drawn one after the other from the first, so that each starts with the clefs the one
  // before it left; the definitions then forget them, as before any drawing.
  const int32_t counter = page.footnoteCounter;
  const std::string footnotes = page.footnoteText;
  ForgetClefRecords(section);
  const ReachContext context = ReachContextOf(section, page, dc, printable);
  RecordedClefState clefs = ReadRecordedClefs(section);
  for (size_t s = 0; s < section.systems.size(); ++s) {
    // Every so many systems the clefs they start with are kept, for drawings that start there.
    if (s % kClefCheckpointEvery == 0) section.clefCheckpoints.insert_or_assign(s, clefs);
    rooms.push_back(MeasureSystemRoom(section, s, dc, page, printable, context, clefs));
  }
  for (const auto& definition : section.definitions.items()) {
    if (definition != nullptr) definition->ForgetRecordedClefs();
  }
  section.clefsRecordedThrough = 0;
  page.footnoteCounter = counter;
  page.footnoteText = footnotes;
  return rooms;
}

int32_t FitSystemsPerPage(const std::vector<int64_t>& rooms, int64_t height, int64_t gap, int32_t most) {
  for (int32_t n = std::max(most, 1); n > 1; --n) {
    bool fits = true;
    for (size_t first = 0; first < rooms.size() && fits; first += static_cast<size_t>(n)) {
      int64_t used = 0;
      for (size_t s = first; s < rooms.size() && s < first + static_cast<size_t>(n); ++s) {
        used += rooms[s] + (s > first ? gap : 0);
      }
      fits = used <= height;
    }
    if (fits) return n;
  }
  return 1;
}

int32_t FitSystemsOfSection(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const Rect& printable) {
  const std::vector<int64_t> rooms = MeasureSystemRooms(section, dc, page, printable);
  KeepFittingPageStarts(section, rooms, printable.Height(), GapBetweenSystems(dc, page),
                        std::max(section.stavesPerPage, 1));
  return section.SystemsOnAPage();
}

int32_t ComputeSystemsPerPage(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const Rect& pageRect) {
  if (section.systems.empty() || section.systems.at(0) == nullptr) return section.stavesPerPage;
  const std::vector<int64_t> rooms = MeasureSystemRooms(section, dc, page, pageRect);
  // As many as the shortest system would fill a page with, the least room between them: the
  // most a page can hold. Each page then holds what fits of its own systems, so that a page of
  // short systems is not held to the count of taller ones.
  int64_t shortest = INT64_MAX;
  for (size_t s = 0; s < rooms.size(); ++s) {
    shortest = std::min(shortest, rooms[s] - (s == 0 ? HeadingBand(section, dc, page) : 0));
  }
  shortest = std::max<int64_t>(shortest, 1);
  const int64_t gap = GapBetweenSystems(dc, page);
  const int64_t capacity = (int64_t{pageRect.Height()} + gap) / (shortest + gap);
  section.stavesPerPage = static_cast<int32_t>(std::clamp<int64_t>(capacity, 1, 1000));
  KeepFittingPageStarts(section, rooms, pageRect.Height(), gap, section.stavesPerPage);
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

int32_t BuildSectionPrintPages(CSystemArray& section, PageSequencing& sequence, CPageDlg& page) {
  const size_t before = sequence.size();
  const int32_t index = section.index;
  if (page.printComments != 0 && page.commentsAtEnd == 0) {
    CRTFPreface preface;
    preface.text = SectionPrefaceText(section);
    const int32_t pages = CountPages(preface, RtfPage::FromPageSettings(page));
    sequence.AddPages(PageSequencing::kSectionPreface, index, pages, 1);
  }
  // Each music page carries its first system and counts the systems of its page.
  for (size_t p = 0; p < section.PageCount(); ++p) {
    const int32_t slots = static_cast<int32_t>(std::min<size_t>(SlotsOfPage(section, p), INT32_MAX));
    sequence.AddPages(PageSequencing::kMusicPage, index, 1, slots, 1,
                      static_cast<int32_t>(std::min<size_t>(section.FirstSystemOfPage(p), INT32_MAX)));
  }
  if (page.printEndTextPages != 0 && !section.EndText().text.empty()) {
    sequence.AddEntry(PageSequencing::kEndTextPage, index, 0);
  }
  if ((section.flags & CSystemArray::kBlankPageAfter) != 0) sequence.AddEntry(PageSequencing::kBlankPage, index, 0);
  return static_cast<int32_t>(sequence.size() - before);
}

}  // namespace vornel
