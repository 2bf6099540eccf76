#pragma once
// The small drawing object of the renderers, the meta-event drawing, the page frame and the
// dialogs: a device and a zoom. Lengths handed to it are hundredths of a millimetre (a few
// are tenths, said at each) and it converts them to device pixels itself, so one drawing
// serves the screen at any zoom and the printer.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/draw/DeviceContext.h"
#include "view/draw/LineSegment.h"

namespace vornel {

class GraphicUtil {
 public:
  DeviceContext& dc;
  int32_t zoom;  // percent; a zoom below 1 counts as 100

  GraphicUtil(DeviceContext& device, int32_t zoomPercent);

  // ---- Units
  // MulDiv(value, dots per inch, 254) × zoom / 1000, rounded half away from zero.
  int32_t HundredthMmToDeviceX(int32_t value) const;
  int32_t HundredthMmToDeviceY(int32_t value) const;

  // ---- Pens and lines
  // Selects a pen for `width` (hundredths of a millimetre, converted and written back; 0
  // becomes one pixel except for style 2): style 1 a one-pixel geometric dash, style 2 a
  // cosmetic alternate-pixel pen, any other the pen style itself. Returns the previous pen.
  Pen SelectStyledPen(int32_t& width, COLORREF colour, uint32_t style);
  // Nothing when both ends coincide or either end has x = 0; style 1 is the dashed grey line.
  void DrawLine(int32_t width, COLORREF colour, uint32_t style, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // One pixel in 0x373737 whatever was asked, dashes of 1.5 mm at natural size.
  void DrawDashedGreyLine(int32_t width, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void DrawThinLine(int32_t width, COLORREF colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void DrawBlackLine(int32_t width, const LineSegment& segment);
  // Nothing when x1, x2 or x3 is 0.
  void DrawTwoSegmentLine(int32_t width, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);
  void DrawTupletBracket(int32_t height, int32_t number, bool hideNumber, int32_t x1, int32_t y1, int32_t x2,
                         int32_t y2);
  void DrawVerticalLine(int32_t width, COLORREF colour, int32_t x, int32_t y, int32_t height, bool alignRight);

  // ---- Rectangles and frames (pixels unless said)
  Rect DrawFilledRect(COLORREF colour, int32_t width, int32_t alignment, int32_t x, int32_t y, int32_t height);
  void DrawRectOutline(Rect rect, COLORREF colour);
  void DrawScreenFrame(Rect rect, int32_t margin, uint32_t penStyle, COLORREF colour);
  // A black frame `widthTenths` tenths of a millimetre wide; returns the rectangle inside it,
  // so repeated calls draw double and triple borders.
  Rect DrawBorderFrame(int32_t widthTenths, Rect rect);

  // ---- Arrow and markers
  void DrawArrow(int32_t length, int32_t x, int32_t y);
  void DrawTriangle(int32_t flag, COLORREF fillColour, int32_t x, int32_t y, int32_t halfWidth, int32_t height);
  // On screen only, and only when the page settings ask for markers.
  void DrawScreenMarker(COLORREF colour, int32_t x, int32_t y);

  // ---- Texts and glyph strings
  // `size` in points scaled by the zoom, `angle` in tenths of a degree. An empty text is
  // drawn as one space. Returns the text's rectangle.
  Rect DrawTextAt(int32_t x, int32_t y, std::string_view text, int32_t size, int32_t angle, COLORREF colour,
                  unsigned alignment);
  Rect DrawNumberAt(int32_t x, int32_t y, int32_t number, int32_t size = 8, int32_t angle = 0, COLORREF colour = 0,
                    unsigned alignment = TA_CENTER | TA_BASELINE);
  // A glyph string of `face` sized by the rectangle (its width is the em) and centred in it.
  Rect DrawGlyphsInRect(std::string_view face, std::string_view text, int32_t count, COLORREF colour, bool centreOnX,
                        Rect rect);
  // A glyph string of `face` as large as fits in the rectangle, its ink centred in it (or, with
  // `fromLeft`, starting at its left); returns the ink's rectangle.
  Rect DrawGlyphsFittedInRect(std::string_view face, std::string_view text, COLORREF colour, Rect rect,
                              bool fromLeft = false);
  Rect DrawNotationGlyphsInRect(std::string_view text, int32_t count, COLORREF colour, bool centreOnX, Rect rect);
  // The number in the 15th font of the page font stack, in a circle.
  Rect DrawCircledNumber(uint8_t number, int32_t x, int32_t y);
  static Rect ScaleRectCentred(int32_t percent, Rect rect);

  // ---- Brace and brackets (thickness in tenths of a millimetre; facing 0 opens right)
  Rect DrawSquareBracket(int32_t thickness, int32_t facing, int32_t x, int32_t y, int32_t height);
  Rect DrawSystemBrace(int32_t height, int32_t widthFactor, int32_t facing, int32_t x, int32_t y);
  void DrawCurlyBrace(int32_t width, int32_t facing, int32_t x, int32_t tipY, int32_t endY);
  Rect DrawCurvedBracket(int32_t thickness, int32_t facing, int32_t x, int32_t y, int32_t height);
  // Styles 3 and 4.
  Rect DrawThickBracket(int32_t style, int32_t thickness, int32_t facing, int32_t x, int32_t y, int32_t height);
  void DrawBracketHook(int32_t style, Rect hook);
  // Style 5: a chain of small curves `width` pixels wide.
  Rect DrawArcBracket(int32_t thickness, int32_t facing, int32_t x, int32_t y, int32_t height, int32_t width);
  // Styles 6 and 7: a bar and one hook `length` pixels long, at the bottom (6) or top (7).
  Rect DrawBlockBracket(int32_t style, int32_t thickness, int32_t facing, int32_t x, int32_t y, int32_t height,
                        int32_t length);
  // A curve over a horizontal chord of `length` from (x, y), turned by `radians`, drawn as a
  // chain; returns its extent.
  Rect DrawTurnedCurve(int32_t x, int32_t y, int32_t length, double radians, int32_t bulge, int32_t thickness);

  // ---- Curves
  void DrawTupletCurve(int32_t height, int32_t number, uint32_t leftFlags, uint32_t rightFlags, int32_t x1,
                       int32_t y, int32_t x2);
  // A tie or slur: straight when `height` is 0, else a curve.
  Point DrawSlur(int32_t height, int32_t flag, int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour = 0);
  Point DrawCurveBetween(int32_t height, int32_t flag, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                         COLORREF colour = 0);

  // ---- Bitmaps
  // Draws the bitmap with its bottom-right corner at (x, y), scaled by zoom / 150 on screen
  // and zoom / 50 when printing; an absent bitmap draws nothing and gives an empty rectangle.
  Rect DrawBitmapResource(const DeviceBitmap* bitmap, int32_t x, int32_t y);
};

// Reads a ".bmp" file into `bitmap`; false when it cannot be opened, is short, is not a
// bitmap or is of a kind this reader does not take.
bool LoadBitmapFromFile(const std::string& path, DeviceBitmap& bitmap);
// The same from the file's bytes; `bitmap` is left alone on failure.
bool DecodeBitmapFile(std::span<const uint8_t> file, DeviceBitmap& bitmap);

// Tiles the bitmap over the rectangle (screen only); a non-zero origin lines the tiles up
// with the tiles of a neighbouring area.
void TileBitmapBackground(DeviceContext& dc, const DeviceBitmap& bitmap, const Rect& rect, Point origin);

// An image file chosen by the user, or an empty string.
std::string BrowseImageFileName();

}  // namespace vornel
