#pragma once
// The notation font of an instrument at a zoom. The stored description (CNotationFont) stays
// a record of the model; this object keeps what drawing makes of it: the font created at the
// last zoom and the metrics read when it was made. The renderers create it once per zoom and
// then only select it.

#include <optional>

#include "model/text/CNotationFont.h"
#include "platform/draw/DeviceContext.h"

namespace vornel {

class ScaledNotationFont {
 public:
  explicit ScaledNotationFont(CNotationFont& font) : font_(font) {}

  // Makes the font for a zoom percentage: the glyph size is the interval (tenths of a
  // millimetre, plus what the micro-tuning adds) scaled by the zoom. Returns 1.
  int CreateScaledFont(int32_t zoom, DeviceContext& dc);
  // Selects a notation font: with `extra` (tenths of a millimetre, ±20 for size marks, -40
  // for grace notes) one that much larger, else the created font (made at zoom 100 when there
  // is none yet). Returns the created font; `previous` receives the font selected before.
  std::optional<FontSpec> SelectScaledFont(DeviceContext& dc, int32_t extra, int32_t zoom,
                                           FontSpec* previous = nullptr);

  const std::optional<FontSpec>& Font() const { return scaled_; }
  // The metrics of the font that was selected when the font was last made.
  const TextMetrics& Metrics() const { return metrics_; }
  CNotationFont& Record() { return font_; }

 private:
  CNotationFont& font_;
  std::optional<FontSpec> scaled_;
  TextMetrics metrics_;
};

}  // namespace vornel
