#pragma once
// Points, sizes, rectangles, colours and the flag values of the device interface. The flag
// values are those the drawing code stores and passes around (text alignment 24 is
// "baseline", DrawText 0x925 is "single line, centred both ways, no clip"), so they keep
// their historic names and numbers.

#include <algorithm>
#include <cstdint>

namespace vornel {

// 0x00BBGGRR
using COLORREF = uint32_t;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GetGValue(COLORREF c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(COLORREF c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// left, top, right, bottom in device pixels; the right column and bottom row lie outside.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  Point TopLeft() const { return {left, top}; }
  Point BottomRight() const { return {right, bottom}; }
  // Summed wide: a rectangle from stored coordinates may reach the ends of the range.
  Point CenterPoint() const {
    return {static_cast<int32_t>((int64_t(left) + right) / 2), static_cast<int32_t>((int64_t(top) + bottom) / 2)};
  }
  void Normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  void Offset(int32_t dx, int32_t dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  void Inflate(int32_t dx, int32_t dy) {
    left -= dx;
    right += dx;
    top -= dy;
    bottom += dy;
  }
  void Deflate(int32_t dx, int32_t dy) { Inflate(-dx, -dy); }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The smallest rectangle holding both; an empty rectangle counts as none.
inline Rect UnionRect(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// Text alignment (SetTextAlign): one horizontal and one vertical choice.
constexpr unsigned TA_NOUPDATECP = 0;
constexpr unsigned TA_UPDATECP = 1;
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// DrawText flags.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

// Pen styles, end caps, joins and types (CreatePen / ExtCreatePen).
constexpr uint32_t PS_SOLID = 0;
constexpr uint32_t PS_DASH = 1;
constexpr uint32_t PS_DOT = 2;
constexpr uint32_t PS_DASHDOT = 3;
constexpr uint32_t PS_DASHDOTDOT = 4;
constexpr uint32_t PS_NULL = 5;
constexpr uint32_t PS_INSIDEFRAME = 6;
constexpr uint32_t PS_USERSTYLE = 7;
constexpr uint32_t PS_ALTERNATE = 8;
constexpr uint32_t PS_STYLE_MASK = 0xF;
constexpr uint32_t PS_ENDCAP_ROUND = 0x000;
constexpr uint32_t PS_ENDCAP_SQUARE = 0x100;
constexpr uint32_t PS_ENDCAP_FLAT = 0x200;
constexpr uint32_t PS_ENDCAP_MASK = 0xF00;
constexpr uint32_t PS_JOIN_ROUND = 0x0000;
constexpr uint32_t PS_JOIN_BEVEL = 0x1000;
constexpr uint32_t PS_JOIN_MITER = 0x2000;
constexpr uint32_t PS_JOIN_MASK = 0xF000;
constexpr uint32_t PS_COSMETIC = 0x00000;
constexpr uint32_t PS_GEOMETRIC = 0x10000;
constexpr uint32_t PS_TYPE_MASK = 0xF0000;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Polygon fill modes.
constexpr int ALTERNATE = 1;  // even-odd
constexpr int WINDING = 2;

// Font weights and character sets the drawing code names.
constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;
constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t SYMBOL_CHARSET = 2;

// Stock objects.
enum class StockObject { kWhiteBrush, kBlackBrush, kNullBrush, kWhitePen, kBlackPen, kNullPen };

}  // namespace vornel
