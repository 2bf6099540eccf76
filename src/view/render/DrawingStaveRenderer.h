#pragma once
// The stave renderer that draws: installed by the tools and the editor in place of the
// model's measuring renderer (ScopedStaveRenderer), it draws each stave with StaffRenderer
// and leaves the same geometry in it.

#include "model/score/StaveRenderer.h"

namespace vornel {

class DrawingStaveRenderer : public StaveRenderer {
 public:
  // The zoom of the page being drawn on `dc`.
  std::optional<int32_t> ApplicationZoom(const DeviceContext& dc) const override;
  void DrawStave(DeviceContext& dc, CClef& stave, int32_t zoom, const CVoicesArray& voices, const Rect& rect,
                 int32_t nameWidth, const CKey* key, int32_t columnWidth) override;
  int32_t DrawTuningLabels(DeviceContext& dc, const CTabInstrument& tab, int32_t x, int32_t centreY) override;
  void DrawStaveJoin(DeviceContext& dc, int32_t x, int32_t top, int32_t bottom, int32_t braceWidth) override;
  // The instrument's name in its font at the zoom, ending at x, centred on y.
  void DrawName(DeviceContext& dc, const CTrackText& name, int32_t zoom, int32_t x, int32_t y) override;
};

// The size an instrument's name takes drawn at the zoom (nothing for a name that is not drawn).
Size InstrumentNameSize(DeviceContext& dc, const CTrackText& name, int32_t zoom);

}  // namespace vornel
