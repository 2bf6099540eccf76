#include "view/render/PlainPages.h"

#include <algorithm>
#include <memory>

#include "document/CPageDlg.h"
#include "model/CInstrumentDlg.h"
#include "model/CStaveArray.h"
#include "model/CSystemArray.h"
#include "model/StaveRenderer.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/DrawContext.h"
#include "view/render/PictureText.h"

namespace vornel {

namespace {

constexpr int32_t kPageWidthTenths = 2100;   // A4
constexpr int32_t kPageHeightTenths = 2970;
constexpr int32_t kMarginTenths = 200;
constexpr int32_t kSystemGapTenths = 180;    // room above each system for what stands over it

int32_t Tenths(int32_t tenths, int32_t dpi, int32_t zoom) { return MulDiv(MulDiv(tenths, dpi, 254), zoom, 100); }

bool Visible(const CInstrument* line) {
  return line != nullptr && (line->definition == nullptr || line->definition->visible != 0);
}

}  // namespace

PageDrawSettings DrawSettingsOf(CPageDlg& page, int32_t zoom, bool onScreen) {
  PageDrawSettings s;
  s.zoom = zoom;
  // The colours of notes, flags, slurs and marks help editing on screen; paper shows them black.
  s.colourOn = onScreen && page.ColorMode();
  s.showMarkers = onScreen && page.screenMarkers != 0;
  s.fonts = &page.fonts;
  s.timeProportional = page.TimeProportional();
  s.barWidth = page.barWidth;
  s.staffLineThickness = page.StaffLineThicknessFactor();
  s.staffLineColour = page.stafflineColor;
  s.barLineColour = page.barlineColor;
  s.greyInactive = page.greyInactiveVoices != 0;
  s.barNumbers = page.barNumberFlag != 0;
  s.barNumberHeight = page.barNumberHeight;
  s.outlineBarNumbers = page.outlineBarNumbers != 0;
  s.centerLyrics = page.centerLyrics == 1;
  s.showMetaEventFrames = onScreen && page.showMetaEventFrames != 0;
  s.footnoteCounter = &page.footnoteCounter;
  s.footnoteText = &page.footnoteText;
  return s;
}

Size PlainPages::PageSize(int32_t dpi, int32_t zoom) {
  return {Tenths(kPageWidthTenths, dpi, zoom), Tenths(kPageHeightTenths, dpi, zoom)};
}

PlainPages::PlainPages(CSystemArray& section, DeviceContext& dc, int32_t zoom)
    : section_(section), zoom_(zoom), dpi_(dc.LogPixelsY()) {
  const Size page = PageSize(dpi_, zoom_);
  const int32_t margin = Tenths(kMarginTenths, dpi_, zoom_);
  content_ = {margin, margin, page.cx - margin, page.cy - margin};

  // Room for the clef and the widest key signature of the section.
  uint32_t alterations = 0;
  for (const auto& definition : section.definitions.items()) {
    if (definition != nullptr) alterations = std::max(alterations, std::min<uint32_t>(definition->key.alterations, 7));
  }
  const int32_t spacing = std::max(MeasureStaffSpacing(dc, CNotationFont(), zoom_), 1);
  indent_ = spacing * (7 + static_cast<int32_t>(alterations));

  const int32_t gap = Tenths(kSystemGapTenths, dpi_, zoom_);
  int32_t y = content_.top;
  pages_.emplace_back();
  for (size_t s = 0; s < section.systems.size(); ++s) {
    CStaveArray* system = section.System(s);
    if (system == nullptr || system->hidden != 0) continue;
    for (const auto& line : system->lines.items()) {
      if (line == nullptr) continue;
      for (nChordArray* voice : line->Voices()) voice->UpdateBeamGroups(section.numerator, section.denominator);
    }
    // A system's picture stands above its lines.
    const int32_t picture = PictureHeight(*system, dc);
    const int32_t height =
        picture + system->MeasureLines(&dc, content_.left + indent_, 0, content_.right, content_.bottom);
    if (y + gap + height > content_.bottom && !pages_.back().empty()) {
      pages_.emplace_back();
      y = content_.top;
    }
    pages_.back().push_back({s, y + gap});
    y += gap + height;
  }
  if (pages_.back().empty() && pages_.size() > 1) pages_.pop_back();
}

void PlainPages::DrawPage(size_t index, DeviceContext& dc) {
  if (index >= pages_.size()) return;
  // Footnotes are numbered and collected page by page.
  const auto startFootnotes = [&dc] {
    const PageDrawSettings* settings = PageSettingsOf(dc);
    if (settings == nullptr) return;
    if (settings->footnoteCounter != nullptr) *settings->footnoteCounter = 1;
    if (settings->footnoteText != nullptr) settings->footnoteText->clear();
  };
  // A clef change sets the clef of the lines after it: the record runs from the section's
  // start through the pages before this one, drawn without ink.
  for (const auto& definition : section_.definitions.items()) {
    if (definition != nullptr) definition->ForgetRecordedClefs();
  }
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  for (size_t p = 0; p < index; ++p) {
    startFootnotes();
    for (const Placed& placed : pages_[p]) DrawSystem(placed, *measuring);
  }
  startFootnotes();
  for (const Placed& placed : pages_[index]) DrawSystem(placed, dc);
}

int32_t PlainPages::PictureHeight(CStaveArray& system, DeviceContext& dc) const {
  if (system.captionPicture.path.empty()) return 0;
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  const Rect r = DrawPicture(*measuring, system.captionPicture, zoom_, {content_.left, 0});
  // The picture, then the room for what stands over the lines.
  return std::max(r.bottom, 0) + Tenths(kSystemGapTenths, dpi_, zoom_);
}

void PlainPages::DrawSystem(const Placed& placed, DeviceContext& dc) {
  CStaveArray* system = section_.System(placed.system);
  int32_t top = placed.top;
  if (!system->captionPicture.path.empty()) {
    const Rect picture = DrawPictureAtPosition(dc, system->captionPicture, zoom_, {content_.left, top}, {});
    top = std::max(top, picture.bottom + Tenths(kSystemGapTenths, dpi_, zoom_));
  }
  const int32_t left = content_.left + indent_;
  const size_t columns = std::max<size_t>(system->GetMaxChordCount(), 1);
  const int32_t columnWidth = std::max<int32_t>((content_.right - left) / static_cast<int32_t>(columns + 1), 1);
  Rect rect{left, top, content_.right, content_.bottom};
  for (const auto& line : system->lines.items()) {
    if (!Visible(line.get())) continue;
    line->columnCount = static_cast<int32_t>(columns);
    line->LayoutAndDraw(dc, rect, 0, 0, indent_, columnWidth, 0);
    rect.bottom = content_.bottom;
  }
}

}  // namespace vornel
