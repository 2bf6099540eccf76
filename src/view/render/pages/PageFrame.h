#pragma once
// The frame of a page: the page settings' margins turned into the printable rectangle of one
// page (alternate margins on odd pages), the paper painted on screen, the title page's
// rectangle, and the page number in its nine placements. Lengths on paper are tenths of a
// millimetre; a length becomes device units through the device's horizontal resolution,
// and on screen the page settings' zoom.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CPageDlg;

// The texture tiled under the page on screen, asked for at every drawing (the application's
// paper texture while it is on); no reader, or none given, fills with white.
void SetPageBackground(std::function<const DeviceBitmap*()> texture);

// A length of the page settings in device units of `dc`.
int32_t PageLength(const CPageDlg& page, const DeviceContext& dc, int32_t tenths);

// Computes the page frame and printable rectangles of page `pageNumber` (from 0; odd pages
// swap the margins when they alternate) into the page settings, paints the paper on screen,
// and returns the printable rectangle. The page rectangle (the paper) is set by the caller.
Rect DrawPageFrame(CPageDlg& page, DeviceContext& dc, int32_t pageNumber);
// The same rectangles without painting anything.
Rect ComputePageFrame(CPageDlg& page, const DeviceContext& dc, int32_t pageNumber);

// The page rectangle of a title page: the paper as it is when printing; on screen centred in
// the view with its texture and outline. The printable rectangle becomes the page less 20 mm
// at the sides and 25 mm at top and bottom.
Rect PrepareTitlePage(CPageDlg& page, DeviceContext& dc);

// The page-number text of page `n` (from 1): the page text and the number with the page
// offset, the number standing at the text's first '%' when it has one.
std::string PageNumberText(const CPageDlg& page, int32_t n);
// Draws page `n`'s number at its placement on the page frame, in the page-number font at the
// page zoom; `text` replaces the page-number text (it then carries its number itself).
// Nothing without page numbers, and on page 1 when the first is skipped.
void DrawPageNumber(CPageDlg& page, DeviceContext& dc, int32_t n, const std::optional<std::string>& text = {});

// The page settings' page text in the footnote font, centred at the top inside `rect`.
void DrawPageText(CPageDlg& page, DeviceContext& dc, const Rect& rect);

}  // namespace vornel
