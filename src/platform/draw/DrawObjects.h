#pragma once
// Pens, brushes, font descriptions and text metrics as the drawing code describes them.
// They are plain values: selecting one into a device costs a copy, and whatever a backend
// builds from them (font look-ups, measured metrics) is cached by the backend.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceBitmap;

struct Pen {
  uint32_t style = PS_SOLID;  // PS_* style | end cap | join | type
  int32_t width = 1;          // pixels; 0 is one pixel
  COLORREF colour = 0;
  std::vector<uint32_t> dashes;  // PS_USERSTYLE: on, off, on ... in pixels

  // CreatePen: a cosmetic pen of the style, or a geometric one with round ends when wider
  // than one pixel (dashed styles wider than one pixel are drawn solid).
  static Pen Create(uint32_t style, int32_t width, COLORREF colour);
  // ExtCreatePen with a solid brush of the colour.
  static Pen Extended(uint32_t style, int32_t width, COLORREF colour, std::vector<uint32_t> dashes = {});
  static Pen Stock(StockObject object);

  uint32_t BaseStyle() const { return style & PS_STYLE_MASK; }
  bool IsNull() const { return BaseStyle() == PS_NULL; }
  bool IsGeometric() const { return (style & PS_TYPE_MASK) == PS_GEOMETRIC; }
  int32_t PixelWidth() const { return width < 1 ? 1 : width; }

  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  enum class Kind : uint8_t { kNull, kSolid, kPattern };
  Kind kind = Kind::kSolid;
  COLORREF colour = 0xFFFFFF;
  std::shared_ptr<const DeviceBitmap> pattern;  // kPattern: tiled from the device origin

  static Brush Solid(COLORREF colour) { return Brush{Kind::kSolid, colour, nullptr}; }
  static Brush Null() { return Brush{Kind::kNull, 0, nullptr}; }
  static Brush Pattern(std::shared_ptr<const DeviceBitmap> bitmap);
  static Brush Stock(StockObject object);

  bool IsNull() const { return kind == Kind::kNull; }
  friend bool operator==(const Brush&, const Brush&) = default;
};

// A font as the documents describe it. lfHeight < 0 is the em height in pixels, > 0 the cell
// height (ascent + descent), 0 the default size. Escapement and orientation are tenths of a
// degree counter-clockwise.
struct FontSpec {
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = FW_NORMAL;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = ANSI_CHARSET;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  std::string lfFaceName;

  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct TextMetrics {
  int32_t tmHeight = 0;
  int32_t tmAscent = 0;
  int32_t tmDescent = 0;
  int32_t tmInternalLeading = 0;
  int32_t tmExternalLeading = 0;
  int32_t tmAveCharWidth = 0;
  int32_t tmMaxCharWidth = 0;
  int32_t tmWeight = 0;
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
  uint8_t tmPitchAndFamily = 0;
  uint8_t tmCharSet = 0;

  friend bool operator==(const TextMetrics&, const TextMetrics&) = default;
};

}  // namespace vornel
