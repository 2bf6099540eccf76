#include "view/render/pages/SystemDrawing.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "document/CPageDlg.h"
#include "layout/richtext/RtfTrackTextDrawing.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/Scaling.h"
#include "model/score/StaveRenderer.h"
#include "platform/UserPrompts.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/DrawContext.h"
#include "view/draw/GraphicUtil.h"
#include "view/draw/MeasuredInk.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/LabelDrawing.h"
#include "view/render/PictureText.h"
#include "view/render/StaffRenderer.h"
#include "view/render/pages/SystemGrid.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {

namespace {

int32_t SaneZoom(int32_t zoom) { return zoom > 0 ? std::min(zoom, 100000) : 100; }

// The least room between the ink of one line of a system and the ink of the next.
constexpr int32_t kLineGapTenths = 20;
// How far right of a system's start its first bar number looks for ink to keep clear of.
constexpr int32_t kBarNumberReachTenths = 100;
int32_t Sum(int64_t a, int64_t b) { return ScaleTruncated(a + b, 1, 1); }
int32_t Tenths(const DeviceContext& dc, int32_t tenths) { return MulDiv(tenths, dc.LogPixelsX(), 254); }


// The system's key stands in for each definition's key while its lines are drawn; a
// definition keeps its own transposition.
class SystemKeyOverride {
 public:
  explicit SystemKeyOverride(const CStaveArray& system) {
    for (const auto& line : system.lines.items()) {
      if (line == nullptr || line->definition == nullptr) continue;
      CInstrumentDlg* d = line->definition;
      if (std::find_if(saved_.begin(), saved_.end(), [d](const auto& s) { return s.first == d; }) != saved_.end()) {
        continue;
      }
      saved_.emplace_back(d, d->key);
      CKey merged = system.key;
      merged.transpose = d->key.transpose;
      merged.transposePitch = d->key.transposePitch;
      d->key = merged;
    }
  }
  ~SystemKeyOverride() {
    for (auto& [definition, key] : saved_) definition->key = key;
  }
  SystemKeyOverride(const SystemKeyOverride&) = delete;
  SystemKeyOverride& operator=(const SystemKeyOverride&) = delete;

 private:
  std::vector<std::pair<CInstrumentDlg*, CKey>> saved_;
};

// The width the staves' layout gives the system's chords, in half columns: a column per chord
// of its longest voice and the room the staff layout adds after bar lines and special events.
int64_t HalfColumns(const CStaveArray& system) {
  int64_t most = 0;
  for (const auto& line : system.lines.items()) {
    if (!LineShown(line.get())) continue;
    const bool halfColumnBars = line->definition != nullptr && line->definition->showBarlines != 0;
    for (const nChordArray* voice : line->Voices()) {
      if (voice == nullptr) continue;
      size_t count = voice->size();
      if (count > 0 && (voice->back() == nullptr || !voice->back()->IsChord())) --count;
      int64_t halves = 2 * static_cast<int64_t>(count);
      for (size_t i = 0; i < count; ++i) {
        const nChord* e = voice->at(i);
        if (e != nullptr) halves += ExtraHalfColumnsAfter(*e, halfColumnBars);
      }
      most = std::max(most, halves);
    }
  }
  return most;
}

// Where the ink of a line would begin if the line were drawn at the top of `rect` (in the
// drawing's own coordinates): the line is laid out on a measuring device, its definition's
// recorded clefs kept as they were.
double InkTopOfLine(CInstrument& line, DeviceContext& dc, Rect rect, int32_t code, int32_t nameWidth,
                    int32_t columnWidth, uint32_t flags) {
  std::vector<std::pair<CClef*, std::pair<int32_t, int32_t>>> clefs;
  if (line.definition != nullptr) {
    for (const auto& stave : line.definition->staves.items()) {
      if (stave != nullptr) clefs.push_back({stave.get(), {stave->recordedClef, stave->recordedStepOffset}});
    }
  }
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  InkExtent ink;
  measuring->SetInkObserver(&ink);
  line.LayoutAndDraw(*measuring, rect, code, 0, nameWidth, columnWidth, flags);
  for (auto& [stave, saved] : clefs) {
    stave->recordedClef = saved.first;
    stave->recordedStepOffset = saved.second;
  }
  return ink.Empty() ? rect.top : ink.Top() - measuring->GetViewportOrg().y;
}

// The room the instruments' names take before the staves: the widest name the system writes
// (shortened after the first system where a definition has a shortened one) and the gap between
// the names and the staves, at most a quarter of the system's width.
int32_t NamesRoom(const CStaveArray& system, DeviceContext& dc, int32_t zoom, bool shortened, int64_t width) {
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  int32_t widest = 0;
  for (const auto& line : system.lines.items()) {
    if (!LineShown(line.get()) || line->definition == nullptr) continue;
    const CInstrumentDlg& d = *line->definition;
    if (shortened && !d.shortName.empty()) {
      CTrackText text = d.nameText;
      text.text = d.shortName;
      widest = std::max(widest, InstrumentNameSize(*measuring, text, zoom).cx);
    } else {
      widest = std::max(widest, InstrumentNameSize(*measuring, d.nameText, zoom).cx);
    }
  }
  if (widest <= 0) return 0;
  Size gap{CInstrument::kNameGapHundredths, CInstrument::kNameGapHundredths};
  dc.HimetricToDevice(gap);
  return static_cast<int32_t>(std::min<int64_t>(int64_t{widest} + gap.cx, std::max<int64_t>(width / 4, 0)));
}

// Where a drawn line stands: the top of its first stave, the last line of its last stave, how
// many staves it has and whether it ends with a bar line of its own.
struct DrawnLine {
  int32_t top = 0;
  int32_t bottom = 0;
  size_t staves = 0;
  bool closed = false;
};

// The lines that close a system: left of the staves of a system of several lines (`left` is the
// edge the system was given) and at the right end of every system whose lines do not end with
// a bar line of their own. The bracket joins each run of two or more lines of one stave; a line
// of several staves has its own brace.
void DrawClosingLines(CStaveArray& system, GraphicUtil& g, const CPageDlg& page, int32_t startWidth, int32_t left,
                      const std::vector<DrawnLine>& lines, int32_t step) {
  if (lines.empty()) return;
  DeviceContext& dc = g.dc;
  const int32_t top = lines.front().top;
  const int32_t bottom = lines.back().bottom;
  const bool several = lines.size() > 1;
  const bool open = std::any_of(lines.begin(), lines.end(), [](const DrawnLine& l) { return !l.closed; });
  if (!several && !open) return;
  const int32_t gap = MulDiv(system.printTuning != 0 ? 12 : 8, dc.LogPixelsX(), 254);
  const int32_t x = Sum(int64_t{left} - system.nameWidth - gap, startWidth);
  const int32_t right = Sum(system.area.right, -int64_t{system.rightIndents} * step);
  const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, std::max(1, MulDiv(2, dc.LogPixelsX(), 254)), 0));
  if (several) {
    dc.MoveTo(x, top);
    dc.LineTo(x, bottom);
  }
  dc.MoveTo(right, top);
  dc.LineTo(right, bottom);
  dc.SelectPen(old);
  if (!several || !page.BracketSystems() || (system.nameInstruments & 2) != 0) return;
  for (size_t first = 0; first < lines.size();) {
    size_t end = first;
    while (end < lines.size() && lines[end].staves == 1) ++end;
    if (end - first >= 2) {
      const int32_t from = lines[first].top;
      g.DrawThickBracket(3, 10, 0, x - g.HundredthMmToDeviceX(150), from, lines[end - 1].bottom - from);
    }
    first = std::max(end, first + 1);
  }
}

void DrawSystemContent(CStaveArray& system, DeviceContext& dc, CPageDlg& page, uint32_t placement, int32_t left,
                       int32_t top, int32_t right, int32_t bottom) {
  StaveRenderer& renderer = StaveRenderers();
  const bool onScreen = !dc.IsPrinting();
  const int32_t appZoom = SaneZoom(renderer.ApplicationZoom(dc).value_or(100));
  const int32_t pageZoom = onScreen ? SaneZoom(page.zoom) : 100;
  const size_t columns = system.GetMaxChordCount();

  const int32_t startWidth = SystemStartWidth(dc, system, pageZoom);
  system.nameWidth = Sum(startWidth, MulDiv(Tenths(dc, page.namesIndent * 10), appZoom, 100));
  // The instruments' names stand before the staves, in full on the section's first system and
  // shortened after it.
  const bool names = (system.nameInstruments & 1) != 0;
  const bool shortNames = (system.positionWord & 0xFFFF) != 0;
  if (names && system.hidden == 0) {
    left = Sum(left, NamesRoom(system, dc, dc.IsPrinting() ? 100 : appZoom, shortNames, int64_t{right} - left));
  }
  const int32_t leftEdge = left;
  left = Sum(left, system.nameWidth);
  int32_t columnWidth =
      std::max(1, MulDiv(Tenths(dc, static_cast<int32_t>(std::min<uint32_t>(page.ColumnWidth(), 100000))), pageZoom, 100));

  if (system.hidden != 0) {
    system.MeasureLines(&dc, left, top, right, bottom);
    if (dc.IsPrinting() && dc.AttributeLogPixelsY() != dc.LogPixelsY()) {
      const int32_t height = MulDiv(system.area.Height(), dc.AttributeLogPixelsY(), dc.LogPixelsY());
      system.area.bottom = Sum(system.area.top, height);
    }
    if (onScreen) {
      system.optionsArea = system.area;
      system.optionsArea.left = Sum(system.optionsArea.left, -int64_t{system.nameWidth});
      system.optionsArea.bottom = Sum(system.optionsArea.bottom, -30);
      const InkSourceScope ink(dc, InkSource::kScreenMark);
      if (renderer.HighlightingOn()) GraphicUtil(dc, pageZoom).DrawRectOutline(system.optionsArea, 0xF0F0F0);
    }
    return;
  }
  system.area = {left, top, right, bottom};
  system.optionsArea = {};

  const int32_t step = MulDiv(Tenths(dc, 50), pageZoom, 100);
  left = Sum(left, int64_t{system.leftIndents} * step);
  right = Sum(right, -int64_t{system.rightIndents} * step);
  // The voices of the lines share their columns; columns are narrowed when the chords would run
  // past the right edge, and a system of shared columns that nearly fills its width is spread
  // to fill it.
  const PageDrawSettings* drawSettings = PageSettingsOf(dc);
  const bool proportional = drawSettings != nullptr && drawSettings->timeProportional;
  const std::optional<SystemGrid> grid =
      proportional ? std::nullopt : LayOutSystemGrid(system, dc, dc.IsPrinting() ? 100 : appZoom, columnWidth);
  if (grid) {
    const double width = std::max<double>(int64_t{right} - left, 1);
    const double end = static_cast<double>(grid->slots.end);
    double unit = double(columnWidth) / SystemSlots::kUnitsPerColumn;
    if (end * unit > width || 4 * end * unit >= 3 * width) unit = width / end;
    columnWidth = std::max<int32_t>(1, static_cast<int32_t>(std::lround(unit * SystemSlots::kUnitsPerColumn)));
    PlaceGrid(system, &*grid, unit);
  } else {
    PlaceGrid(system, nullptr, 0);
    const int64_t halves = HalfColumns(system);
    if (halves > 0 && 2 * (int64_t{right} - left) / columnWidth < halves) {
      columnWidth = std::max<int32_t>(1, static_cast<int32_t>(2 * (int64_t{right} - left) / halves));
    }
  }

  // The system's picture stands at its area, with its own offsets.
  std::optional<InkSourceScope> texts(std::in_place, dc, InkSource::kSystemText);
  // Only a system's own block holds a picture, a rich text or a caption; drawing keeps where
  // it drew them there.
  SystemCaption* const caption = system.OwnCaption();
  if (caption != nullptr && !caption->captionPicture.path.empty()) {
    DrawPictureAtPosition(dc, caption->captionPicture, pageZoom, {system.area.left, system.area.top}, {});
  }

  // The rich text stands over the system from the left of the names.
  if (caption != nullptr && !caption->rtfBox.text.empty()) {
    RichTextPlacement placementOfText;
    placementOfText.origin = {Sum(system.area.left, -int64_t{system.nameWidth}), system.area.top};
    placementOfText.zoom = pageZoom;
    const Size screen = RecordedScreenDpi(dc);
    placementOfText.screenDpiX = screen.cx;
    placementOfText.screenDpiY = screen.cy;
    placementOfText.selected = renderer.HighlightingOn() && onScreen;
    DrawScaled(caption->rtfBox, dc, placementOfText);
  }
  texts.reset();

  const SystemKeyOverride keys(system);
  const int32_t count = static_cast<int32_t>(system.lines.size());
  const uint32_t flags = (names ? CInstrument::kDrawName : 0u) | (system.printTuning != 0 ? CInstrument::kDrawTuning : 0u) |
                         (shortNames ? CInstrument::kShortName : 0u);
  Rect rect{left, top, right, bottom};
  int drawn = 0;
  const CClef* firstStave = nullptr;
  std::vector<DrawnLine> drawnLines;
  // Each line stands below the ink of the lines above it: flags, letters of the bass courses,
  // lyrics and texts of one line never reach into the next.
  // What the lines draw near the system's start, which its first bar number keeps clear of.
  const int64_t numberReach = Sum(left, MulDiv(MulDiv(kBarNumberReachTenths, dc.LogPixelsX(), 254), pageZoom, 100));
  InkBoxes nearStart(dc, [numberReach](InkSource source, const Rect& box) {
    return box.left < numberReach && source != InkSource::kStaffLine && source != InkSource::kBarLine;
  });
  InkObserver* const outer = dc.GetInkObserver();
  const int32_t lineGap = MulDiv(MulDiv(kLineGapTenths, dc.LogPixelsY(), 254), pageZoom, 100);
  double lowestInk = -1e300;
  for (int32_t i = 0; i < count; ++i) {
    CInstrument* line = system.lines.at(static_cast<size_t>(i));
    if (!LineShown(line)) continue;
    const int32_t code = static_cast<int32_t>(((static_cast<uint32_t>((count - 1) * 64) | static_cast<uint32_t>(i)) << 8) |
                                              (placement & 0xFFF00000u));
    line->columnCount = static_cast<int32_t>(columns);
    rect.bottom = bottom;
    if (drawn > 0) {
      const double inkTop = InkTopOfLine(*line, dc, rect, code, system.nameWidth, columnWidth, flags);
      const double room = inkTop - (lowestInk + lineGap);
      if (room < 0) rect.top = Sum(rect.top, static_cast<int64_t>(std::ceil(-room)));
    }
    InkExtent lineInk(outer);
    dc.SetInkObserver(&lineInk);
    line->LayoutAndDraw(dc, rect, code, 0, system.nameWidth, columnWidth, flags);
    dc.SetInkObserver(outer);
    // Ink is reported in device pixels: a scrolled window's viewport moves it.
    if (!lineInk.Empty()) lowestInk = std::max(lowestInk, lineInk.Bottom() - dc.GetViewportOrg().y);
    ++drawn;
    DrawnLine placed;
    placed.closed = EndsWithBarLine(*line);
    for (const auto& stave : line->staves.items()) {
      if (stave == nullptr) continue;
      if (firstStave == nullptr) firstStave = stave.get();
      if (placed.staves++ == 0) placed.top = line->lineRect.top;
      placed.bottom = Sum(stave->area.top, int64_t{std::max(stave->DrawnLineCount() - 1, 0)} * stave->lineSpacing);
    }
    if (placed.staves > 0) drawnLines.push_back(placed);
  }
  system.area.bottom = rect.top;

  GraphicUtil g(dc, pageZoom);
  std::optional<InkSourceScope> ink(std::in_place, dc, InkSource::kSystemLine);
  DrawClosingLines(system, g, page, startWidth, leftEdge, drawnLines, step);

  const PageDrawSettings* settings = PageSettingsOf(dc);
  const bool filter = settings != nullptr && settings->barNumbers;
  if (firstStave != nullptr && system.barSequenceRestart == 0 && system.firstBar > 1 &&
      (!filter || system.firstBar % 5 == 0)) {
    ink.emplace(dc, InkSource::kBarNumber);
    // Above the first stave, moved up past the signs and flags it would meet there.
    const auto draw = [&](DeviceContext& target, int32_t y) {
      DrawBarNumber(target, firstStave->zoom, firstStave->lineSpacing, system.firstBar, left, y);
    };
    int32_t y = firstStave->area.top;
    Rect number = MeasuredInk(dc, [&](DeviceContext& measuring) { draw(measuring, y); });
    const int32_t gap = std::max(firstStave->lineSpacing / 8, 1);
    for (size_t pass = 0; pass < nearStart.Boxes().size() && !number.IsEmpty(); ++pass) {
      const auto hit = std::find_if(nearStart.Boxes().begin(), nearStart.Boxes().end(), [&](const Rect& box) {
        return box.left < number.right + gap && number.left < box.right + gap && box.top < number.bottom + gap &&
               number.top < box.bottom + gap;
      });
      if (hit == nearStart.Boxes().end()) break;
      const int32_t up = number.bottom - (hit->top - gap);
      y -= up;
      number.Offset(0, -up);
    }
    draw(dc, y);
  }

  // The caption stands at its offset from the system's top left.
  if (caption != nullptr && !caption->captionText.text.empty()) {
    CTrackText& text = caption->captionText;
    ink.emplace(dc, InkSource::kSystemText);
    if (onScreen && text.x == 0 && text.y == 0) {
      text.x = -40;
      text.y = MulDiv(system.area.Height() / 3, 100, pageZoom);
    }
    DrawAt(text, dc, appZoom, system.area.left, system.area.top);
  }
}

}  // namespace

int32_t SystemStartWidth(DeviceContext& dc, const CStaveArray& system, int32_t zoom) {
  const CNotationFont fallback;
  const CNotationFont* font = &fallback;
  for (const auto& line : system.lines.items()) {
    if (line != nullptr && line->definition != nullptr) {
      font = &line->definition->notationFont;
      break;
    }
  }
  FontSpec spec;
  spec.lfHeight = font->ScaledHeight(dc.LogPixelsY(), SaneZoom(zoom));
  if (spec.lfHeight == 0 || font->face.empty()) return 0;
  spec.lfWeight = font->logFont.lfWeight;
  spec.lfCharSet = font->logFont.lfCharSet;
  spec.lfFaceName = font->face;
  const FontSpec previous = dc.SelectFont(spec);
  const int64_t clef = dc.GetCharWidth(33);
  const int64_t space = dc.GetCharWidth(32);
  dc.SelectFont(previous);
  // The signature as the staves draw it: a transposing instrument's moved by its transposition.
  uint32_t drawn = system.key.alterations;
  for (const auto& line : system.lines.items()) {
    if (line == nullptr || line->definition == nullptr) continue;
    CKey key = system.key;
    key.transpose = line->definition->key.transpose;
    drawn = std::max(drawn, KeyAsDrawn(key).alterations);
  }
  const int64_t alterations = std::min<uint32_t>(drawn, 7);
  return ScaleTruncated(2 * clef + (alterations + 1) * space, 1, 1);
}

void DrawSystem(CStaveArray& system, DeviceContext& dc, CPageDlg& page, uint32_t placement, int32_t left,
                int32_t top, int32_t right, int32_t bottom) {
  if (right < 0) return;
  const InkSourceScope ink(dc, InkSource::kOther);
  const int saved = dc.SaveDC();
  try {
    DrawSystemContent(system, dc, page, placement, left, top, right, bottom);
  } catch (const std::exception&) {
    Prompts().ShowMessage(kSystemDrawingError, MessageKind::kError);
  }
  dc.RestoreDC(saved);
}

void PrepareSystemVoices(CStaveArray& system, const CSystemArray& section) {
  for (const auto& line : system.lines.items()) {
    if (line == nullptr) continue;
    for (nChordArray* voice : line->Voices()) {
      if (voice != nullptr) voice->UpdateBeamGroups(section.numerator, section.denominator);
    }
  }
}

}  // namespace vornel
