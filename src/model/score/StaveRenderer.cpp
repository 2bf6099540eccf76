#include "model/score/StaveRenderer.h"

#include <algorithm>
#include <cmath>

#include "model/instrument/CClef.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/Scaling.h"
#include "platform/ServiceSlots.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"

namespace vornel {

namespace {

constexpr int32_t kMaxSpacing = 100000;  // pixels; beyond it a stored size is no size
constexpr int32_t kScreenDpi = 96;

// Until a drawing renderer is installed, staves are laid out without drawing.
ObjectSlot<StaveRenderer>& Installed() {
  static MeasuringStaveRenderer measuring;
  static ObjectSlot<StaveRenderer> slot("stave renderer", measuring);
  return slot;
}
const bool g_listed = (Installed(), true);

int32_t SaneZoom(int32_t zoom) { return zoom < 1 ? 100 : std::min(zoom, 100000); }

}  // namespace

int32_t MeasureStaffSpacing(DeviceContext& dc, const CNotationFont& font, int32_t zoom) {
  FontSpec spec;
  spec.lfHeight = font.ScaledHeight(dc.LogPixelsY(), SaneZoom(zoom));
  spec.lfWeight = font.logFont.lfWeight;
  spec.lfCharSet = font.logFont.lfCharSet;
  spec.lfFaceName = font.face;
  const FontSpec previous = dc.SelectFont(spec);
  int32_t spacing = dc.GetCharWidth(U' ');
  dc.SelectFont(previous);
  if (spacing % 2 != 0) --spacing;
  return spacing;
}

int32_t MeasureTablatureSpacing(const DeviceContext& dc, CTabInstrument& tab, int32_t zoom) {
  const int32_t device = tab.ComputeDeviceSpacing(dc.LogPixelsX(), dc.LogPixelsY())[0];
  return MulDiv(device, SaneZoom(zoom), 100);
}

void MeasuringStaveRenderer::DrawStave(DeviceContext& dc, CClef& stave, int32_t zoom, const CVoicesArray&,
                                       const Rect& rect, int32_t nameWidth, const CKey*, int32_t columnWidth) {
  zoom = SaneZoom(zoom);
  int32_t spacing = 0;
  int32_t thickness = 1;
  if (stave.IsTablature()) {
    if (stave.tabInstrument != nullptr) spacing = MeasureTablatureSpacing(dc, *stave.tabInstrument, zoom);
  } else {
    spacing = MeasureStaffSpacing(dc, stave.definition != nullptr ? stave.definition->notationFont : CNotationFont(),
                                  zoom);
    thickness = spacing / 8;
  }
  spacing = std::clamp(spacing, 0, kMaxSpacing);
  stave.leftMargin = nameWidth;
  stave.SetFrameGeometry(rect, spacing, thickness, columnWidth, dc.LogPixelsY(), zoom);
}

StaveRenderer& StaveRenderers() { return Installed().Get(); }

ScopedStaveRenderer::ScopedStaveRenderer(StaveRenderer& renderer) : previous_(Installed().Exchange(&renderer)) {}

ScopedStaveRenderer::~ScopedStaveRenderer() { Installed().Exchange(previous_); }

std::unique_ptr<DeviceContext> CreateMeasuringDevice(DeviceContext* dc) {
  std::unique_ptr<RecordingDevice> device;
  if (dc != nullptr) {
    device = std::make_unique<RecordingDevice>(dc->LogPixelsY(), dc->IsPrinting(),
                                               dc->GetTextEngine());
    device->SetAttachment(dc->GetAttachment());
  } else {
    device = std::make_unique<RecordingDevice>(kScreenDpi, false);
  }
  device->SetRecording(false);
  return device;
}

}  // namespace vornel
