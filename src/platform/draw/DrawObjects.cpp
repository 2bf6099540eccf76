#include "platform/draw/DrawObjects.h"

#include "platform/draw/DeviceBitmap.h"

namespace vornel {

Pen Pen::Create(uint32_t style, int32_t width, COLORREF colour) {
  Pen pen;
  pen.colour = colour;
  pen.width = width < 0 ? 0 : width;
  const uint32_t base = style & PS_STYLE_MASK;
  // A pen wider than one pixel is geometric with round ends and joins; its dashes are lost.
  if (pen.width > 1) {
    pen.style = PS_GEOMETRIC | PS_ENDCAP_ROUND | PS_JOIN_ROUND |
                ((base == PS_NULL || base == PS_INSIDEFRAME) ? base : PS_SOLID);
  } else {
    pen.style = PS_COSMETIC | base;
  }
  return pen;
}

Pen Pen::Extended(uint32_t style, int32_t width, COLORREF colour, std::vector<uint32_t> dashes) {
  Pen pen;
  pen.style = style;
  pen.width = width < 0 ? 0 : width;
  pen.colour = colour;
  if ((style & PS_STYLE_MASK) == PS_USERSTYLE) pen.dashes = std::move(dashes);
  return pen;
}

Pen Pen::Stock(StockObject object) {
  switch (object) {
    case StockObject::kWhitePen:
      return Create(PS_SOLID, 1, 0xFFFFFF);
    case StockObject::kNullPen:
      return Create(PS_NULL, 1, 0);
    default:
      return Create(PS_SOLID, 1, 0);
  }
}

Brush Brush::Pattern(std::shared_ptr<const DeviceBitmap> bitmap) {
  if (!bitmap || bitmap->IsEmpty()) return Null();
  return Brush{Kind::kPattern, 0, std::move(bitmap)};
}

Brush Brush::Stock(StockObject object) {
  switch (object) {
    case StockObject::kWhiteBrush:
      return Solid(0xFFFFFF);
    case StockObject::kNullBrush:
      return Null();
    default:
      return Solid(0);
  }
}

}  // namespace vornel
