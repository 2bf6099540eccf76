#pragma once
// Small texts the renderers place with the page's document fonts: bar numbers and the labels
// of tuplets and patterns.

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/text/dfLogFont.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceContext;

// Document fonts by their place in the page's font stack.
constexpr size_t kBarNumberFont = 10;
constexpr size_t kSmallFont = 14;
constexpr size_t kElementTextFont = 15;

// A font of the page being drawn on `dc`; nothing without page settings or when the stack is
// short.
std::optional<dfLogFont> PageFont(const DeviceContext& dc, size_t index);
// The same, or the default font description when there is none.
dfLogFont PageFontOrDefault(const DeviceContext& dc, size_t index);

// The bar number centred on x, above y by one unit plus half a unit for each step of the
// page's bar-number height; framed when the page outlines bar numbers.
Rect DrawBarNumber(DeviceContext& dc, int32_t zoom, int32_t unit, uint32_t number, int32_t x, int32_t y);
// A meta-event's text with the page's document font `fontIndex` (the default font when the
// stack has none there) at the zoom, carriage returns drawn as spaces; returns its rectangle.
Rect DrawMetaEventText(DeviceContext& dc, int32_t zoom, size_t fontIndex, Point position, std::string_view text,
                       unsigned alignment, COLORREF colour);
// A short label in the page's small font and the given colour, at the caller's alignment.
Rect DrawPatternLabel(DeviceContext& dc, int32_t zoom, std::string_view text, unsigned alignment, uint32_t style,
                      Point position, COLORREF colour);

}  // namespace vornel
