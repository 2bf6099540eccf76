#pragma once
// A page that exercises every primitive, pen, brush, text alignment, glyph face and curve of
// the drawing layer: for looking at, for comparing the backends with each other, and for
// timing them.

#include <cstdint>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceContext;

// The card's size in device pixels at a resolution and zoom.
Size TestCardSize(int32_t dpi, int32_t zoom);

void DrawTestCard(DeviceContext& dc, int32_t zoom);

}  // namespace vornel
