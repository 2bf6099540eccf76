#pragma once
// What laying out an instrument line asks of the stave renderer: draw one stave and leave its
// geometry in it, draw the tuning labels of a tablature, the join of a line's staves and the
// instrument's name. The drawing layer installs its renderer; until it does, a measuring
// renderer lays out stave frames without drawing, so that systems can be measured and
// hit-tested by the model alone.

#include <cstdint>
#include <optional>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CClef;
class CKey;
class CNotationFont;
class CTabInstrument;
class CTrackText;
class CVoicesArray;

class StaveRenderer {
 public:
  virtual ~StaveRenderer() = default;

  // The zoom percentage of the views drawing on `dc`; nothing when there is no application.
  virtual std::optional<int32_t> ApplicationZoom(const DeviceContext& /*dc*/) const { return std::nullopt; }
  // The application's highlighting option.
  virtual bool HighlightingOn() const { return false; }

  // Lays out and draws one stave at the top of `rect` and leaves in it its area (whose
  // height the line adds up), line spacing, column width, numbers of columns and rows, left
  // margin and tablature flag.
  virtual void DrawStave(DeviceContext& dc, CClef& stave, int32_t zoom, const CVoicesArray& voices, const Rect& rect,
                         int32_t nameWidth, const CKey* key, int32_t columnWidth) = 0;
  // Draws the note names of the courses left of a tablature stave, centred on `centreY`
  // with their right edge at `x`; returns the width used.
  virtual int32_t DrawTuningLabels(DeviceContext& dc, const CTabInstrument& tab, int32_t x, int32_t centreY) = 0;
  // The vertical line and the curly brace that join the staves of a line.
  virtual void DrawStaveJoin(DeviceContext& dc, int32_t x, int32_t top, int32_t bottom, int32_t braceWidth) = 0;
  // The instrument's name at a zoom, ending at x, centred on y.
  virtual void DrawName(DeviceContext& dc, const CTrackText& name, int32_t zoom, int32_t x, int32_t y) = 0;
};

// The line spacing of a staff: the width of the space glyph of its notation font at the zoom,
// made even. The same for a tablature: its font's stave adjustment at the zoom.
int32_t MeasureStaffSpacing(DeviceContext& dc, const CNotationFont& font, int32_t zoom);
int32_t MeasureTablatureSpacing(const DeviceContext& dc, CTabInstrument& tab, int32_t zoom);

// Lays stave frames out as the drawing renderer does (CClef::SetFrameGeometry): the staff's
// lines are an eighth of its spacing thick, a tablature's one pixel (the page settings that
// thicken them belong to the drawing). Draws nothing.
class MeasuringStaveRenderer : public StaveRenderer {
 public:
  void DrawStave(DeviceContext& dc, CClef& stave, int32_t zoom, const CVoicesArray& voices, const Rect& rect,
                 int32_t nameWidth, const CKey* key, int32_t columnWidth) override;
  int32_t DrawTuningLabels(DeviceContext&, const CTabInstrument&, int32_t, int32_t) override { return 0; }
  void DrawStaveJoin(DeviceContext&, int32_t, int32_t, int32_t, int32_t) override {}
  void DrawName(DeviceContext&, const CTrackText&, int32_t, int32_t, int32_t) override {}
};

// The renderer in force.
StaveRenderer& StaveRenderers();

// Installs a renderer for its lifetime and restores the previous one after.
class ScopedStaveRenderer {
 public:
  explicit ScopedStaveRenderer(StaveRenderer& renderer);
  ~ScopedStaveRenderer();
  ScopedStaveRenderer(const ScopedStaveRenderer&) = delete;
  ScopedStaveRenderer& operator=(const ScopedStaveRenderer&) = delete;

 private:
  StaveRenderer* previous_;
};

// A device like `dc` (or like the screen when there is none), carrying what is attached to
// `dc`, on which lines are laid out without drawing anything.
std::unique_ptr<DeviceContext> CreateMeasuringDevice(DeviceContext* dc);

}  // namespace vornel
