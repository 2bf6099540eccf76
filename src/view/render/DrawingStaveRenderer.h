#pragma once
// The stave renderer that draws: installed by the tools and the editor in place of the
// model's measuring renderer (ScopedStaveRenderer), it draws each stave with StaffRenderer
// and leaves the same geometry in it.

#include "model/StaveRenderer.h"

namespace vornel {

class DrawingStaveRenderer : public StaveRenderer {
 public:
  // The zoom of the page being drawn.
  std::optional<int32_t> ApplicationZoom() const override;
  void DrawStave(DeviceContext& dc, CClef& stave, int32_t zoom, const CVoicesArray& voices, const Rect& rect,
                 int32_t nameWidth, const CKey* key, int32_t columnWidth) override;
  int32_t DrawTuningLabels(DeviceContext& dc, const CTabInstrument& tab, int32_t x, int32_t centreY) override;
  void DrawStaveJoin(DeviceContext& dc, int32_t x, int32_t top, int32_t bottom, int32_t braceWidth) override;
  // Instrument names belong to the drawing of systems.
  void DrawName(DeviceContext&, const CTrackText&, int32_t, int32_t, int32_t) override {}
};

}  // namespace vornel
