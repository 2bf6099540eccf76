#pragma once
// The face of a glyph button: one ornament or flag glyph centred on a light face, a raised or
// sunken edge and, with the focus, a dotted rectangle inside the edge.

#include <cstdint>

#include "platform/draw/DeviceContext.h"

namespace vornel {

struct GlyphButtonFace {
  uint32_t glyph = 0;
  bool notation = false;  // the notation face; else the tablature flags face
  bool pressed = false;
  bool focused = false;
};

inline constexpr COLORREF kGlyphButtonColour = 0xF5F0F0;

void DrawGlyphButtonFace(DeviceContext& dc, const Rect& rect, const GlyphButtonFace& face);

}  // namespace vornel
