#include "model/StaveRenderer.h"

#include <algorithm>
#include <cmath>

#include "model/CClef.h"
#include "model/CInstrumentDlg.h"
#include "model/Scaling.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"

namespace vornel {

namespace {

constexpr int32_t kMaxLines = 64;
constexpr int32_t kMaxSpacing = 100000;  // pixels; beyond it a stored size is no size
constexpr int32_t kScreenDpi = 96;

MeasuringStaveRenderer& DefaultRenderer() {
  static MeasuringStaveRenderer renderer;
  return renderer;
}

StaveRenderer*& Installed() {
  static StaveRenderer* renderer = &DefaultRenderer();
  return renderer;
}

int32_t SaneZoom(int32_t zoom) { return zoom < 1 ? 100 : std::min(zoom, 100000); }

// The width of the notation font's space glyph, made even.
int32_t StaffSpacing(DeviceContext& dc, const CNotationFont& font, int32_t zoom) {
  const double size = std::clamp(std::trunc(font.interval * zoom / 100.0), -1.0e6, 1.0e6);
  FontSpec spec;
  spec.lfHeight = -MulDiv(static_cast<int32_t>(size), dc.LogPixelsY(), 254);
  spec.lfWeight = font.logFont.lfWeight;
  spec.lfCharSet = font.logFont.lfCharSet;
  spec.lfFaceName = font.face;
  const FontSpec previous = dc.SelectFont(spec);
  int32_t spacing = dc.GetCharWidth(U' ');
  dc.SelectFont(previous);
  if (spacing % 2 != 0) --spacing;
  return spacing;
}

}  // namespace

void MeasuringStaveRenderer::DrawStave(DeviceContext& dc, CClef& stave, int32_t zoom, const CVoicesArray&,
                                       const Rect& rect, int32_t, const CKey*, int32_t columnWidth) {
  zoom = SaneZoom(zoom);
  const bool tablature = stave.IsTablature();
  int32_t spacing = 0;
  if (tablature) {
    if (stave.tabInstrument != nullptr) {
      spacing = MulDiv(MulDiv(stave.tabInstrument->tabFont.staveAdjust.cx, dc.LogPixelsY(), 254), zoom, 100);
    }
  } else if (stave.definition != nullptr) {
    spacing = StaffSpacing(dc, stave.definition->notationFont, zoom);
  } else {
    spacing = StaffSpacing(dc, CNotationFont(), zoom);
  }
  spacing = std::clamp(spacing, 1, kMaxSpacing);
  const int32_t lines = std::clamp(stave.lines, 0, kMaxLines);
  const int32_t space = static_cast<int32_t>(std::min<uint32_t>(stave.spaceBelow, 15));
  const int32_t height = lines * spacing + space * MulDiv(MulDiv(40, dc.LogPixelsY(), 254), zoom, 100);

  stave.tablatureLayout = tablature;
  stave.lineSpacing = spacing;
  stave.columnWidth = columnWidth;
  stave.leftMargin = 0;
  stave.rowCount = tablature ? lines : std::max(2 * lines - 1, 0);
  stave.area = {rect.left, rect.top, rect.right, ScaleTruncated(int64_t{rect.top} + height, 1, 1)};
}

StaveRenderer& StaveRenderers() { return *Installed(); }

ScopedStaveRenderer::ScopedStaveRenderer(StaveRenderer& renderer) : previous_(Installed()) { Installed() = &renderer; }

ScopedStaveRenderer::~ScopedStaveRenderer() { Installed() = previous_; }

std::unique_ptr<DeviceContext> CreateMeasuringDevice(DeviceContext* dc) {
  std::unique_ptr<RecordingDevice> device;
  if (dc != nullptr) {
    device = std::make_unique<RecordingDevice>(dc->LogPixelsY(), dc->IsPrinting(),
                                               dc->GetTextEngine());
  } else {
    device = std::make_unique<RecordingDevice>(kScreenDpi, false);
  }
  device->SetRecording(false);
  return device;
}

}  // namespace vornel
