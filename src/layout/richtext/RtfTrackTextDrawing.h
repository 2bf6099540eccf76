#pragma once
// Drawing rich track texts: a system's or a page's rich text in its rectangle (DrawScaled) and
// the formatted title on the title page (DrawOnTitlePage), both through CRichDrawText, with the
// dotted tracker and its handles on screen. On paper the rectangles, kept in screen pixels,
// are scaled by the printer's pixels per inch over the screen's.

#include <cstdint>

#include "model/text/CRTFTrackText.h"
#include "platform/draw/DeviceContext.h"

namespace vornel {

struct RichTextPlacement {
  Point origin;                 // device position of the anchor (page or frame origin)
  int32_t zoom = 100;           // percent, on screen
  int32_t screenDpiX = 96;      // the screen the editing view measured
  int32_t screenDpiY = 96;
  bool selected = false;        // DrawScaled: show the tracker
  // DrawScaled: the rectangle a text that was never drawn gets (SetDefaultRect).
  int32_t defaultWidth = 400;
  int32_t defaultHeight = 200;
};

// Draws the text in its rectangle, moved to the origin plus its offset; on screen the drawn
// and stored rectangles follow, and a selected text shows its tracker.
void DrawScaled(CRTFTrackText& text, DeviceContext& dc, const RichTextPlacement& placement);

// Draws the formatted title at its position on the title page, its height measured first when
// it has none; on screen the rectangles follow and the tracker is drawn.
void DrawOnTitlePage(CRTFTrackText& text, DeviceContext& dc, const RichTextPlacement& placement);

// The tracker of a text: its rectangle in a solid line (style 1) or a dotted line with resize
// handles of `handleSize` pixels outside it (style 18).
void DrawTracker(DeviceContext& dc, const Rect& rect, int32_t style, int32_t handleSize);

}  // namespace vornel
