#include "view/render/DrawingStaveRenderer.h"

#include <algorithm>

#include "model/instrument/CTabInstrument.h"
#include "model/text/CTrackText.h"
#include "view/draw/DrawContext.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/GraphicUtil.h"
#include "view/render/StaffRenderer.h"
#include "view/render/TuningLabels.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {

namespace {

int32_t PageZoom(const DeviceContext& dc) {
  const PageDrawSettings* settings = PageSettingsOf(dc);
  return settings != nullptr ? settings->zoom : 100;
}

}  // namespace

std::optional<int32_t> DrawingStaveRenderer::ApplicationZoom(const DeviceContext& dc) const {
  const PageDrawSettings* settings = PageSettingsOf(dc);
  if (settings == nullptr) return std::nullopt;
  return settings->zoom;
}

void DrawingStaveRenderer::DrawStave(DeviceContext& dc, CClef& stave, int32_t zoom, const CVoicesArray& voices,
                                     const Rect& rect, int32_t nameWidth, const CKey* key, int32_t columnWidth) {
  GraphicUtil g(dc, zoom);
  StaffRenderer renderer(stave, g);
  Rect area = rect;
  renderer.Draw(zoom, voices, area, nameWidth, key, columnWidth);
}

int32_t DrawingStaveRenderer::DrawTuningLabels(DeviceContext& dc, const CTabInstrument& tab, int32_t x,
                                               int32_t centreY) {
  // Labels are drawn at natural size (or the printer's): the spacing of the tablature font
  // on this device.
  CTabInstrument& measured = const_cast<CTabInstrument&>(tab);
  const int32_t spacing = measured.ComputeDeviceSpacing(dc.LogPixelsX(), dc.LogPixelsY())[0];
  const int32_t lines = std::clamp(tab.tuning.lines, 0, 16);
  GraphicUtil g(dc, dc.IsPrinting() ? 100 : PageZoom(dc));
  const InkSourceScope ink(dc, InkSource::kInstrumentName);
  const int32_t firstY = centreY - (lines - 1) * spacing / 2 + spacing / 2;
  return DrawTuningLabelColumn(g, tab, x, firstY, spacing);
}

void DrawingStaveRenderer::DrawStaveJoin(DeviceContext& dc, int32_t x, int32_t top, int32_t bottom,
                                         int32_t braceWidth) {
  GraphicUtil g(dc, PageZoom(dc));
  const InkSourceScope ink(dc, InkSource::kSystemLine);
  DrawStaveJoinLines(g, x, top, bottom, braceWidth);
}

Size InstrumentNameSize(DeviceContext& dc, const CTrackText& name, int32_t zoom) {
  if (name.text.empty() || name.flags == 0) return {};
  CTrackText drawn = name;
  drawn.lastZoom = zoom;
  const Rect r = CalcTextRect(drawn, dc);
  return {r.Width(), r.Height()};
}

void DrawingStaveRenderer::DrawName(DeviceContext& dc, const CTrackText& name, int32_t zoom, int32_t x, int32_t y) {
  const Size size = InstrumentNameSize(dc, name, zoom);
  if (size.cx <= 0 && size.cy <= 0) return;
  const InkSourceScope ink(dc, InkSource::kInstrumentName);
  dfLogFont font = name.font;
  DrawFontText(name.text, font, dc, TA_LEFT | TA_TOP, static_cast<float>(dc.IsPrinting() ? 100 : zoom), 0,
               name.flags & ~CTrackText::kCentered, x - size.cx, y - size.cy / 2);
}

}  // namespace vornel
