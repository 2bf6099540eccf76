#pragma once
// Plain track texts on pages: headings, metadata and title-page texts, instrument names and
// captions. A text's position is kept at zoom 100 in screen pixels relative to an origin; on
// screen it is scaled by the zoom, on paper by the device's pixels per inch over the screen's
// that the editing view recorded in the page settings.

#include <cstdint>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CPageDlg;
class CTextStack;
class CTrackText;

// The screen resolution the editing view measured texts on, as the drawing context attached to
// `dc` carries it (96 without a context or until a view records one).
Size RecordedScreenDpi(const DeviceContext& dc);
// What the editing view records when it draws on a screen of `dpi`; a resolution that is not
// positive is ignored.
void RecordScreenDpi(CPageDlg& page, Size dpi);

// Where a text stands on `dc`: its origin plus its position scaled for the device.
Point TrackTextPosition(const CTrackText& text, const DeviceContext& dc, int32_t zoom);

// Draws a visible text with content at its position from its origin, in its font at `zoom`
// (100 on paper), centred when its flag says so, framed or shaded by its flags. Offsets left
// pending by a drag are converted first. On screen the drawn rectangle is kept. Returns the
// rectangle drawn (empty when nothing was).
Rect DrawScaled(CTrackText& text, DeviceContext& dc, int32_t zoom);
// The same with the origin moved to (x, y) first.
Rect DrawAt(CTrackText& text, DeviceContext& dc, int32_t zoom, int32_t x, int32_t y);
// The rectangle the text takes in its font at its last zoom, from (0, 0).
Rect CalcTextRect(const CTrackText& text, DeviceContext& dc);
// Draws every visible text of the stack with content at its position from `origin`.
void DrawAt(CTextStack& texts, DeviceContext& dc, int32_t zoom, Point origin);

}  // namespace vornel
