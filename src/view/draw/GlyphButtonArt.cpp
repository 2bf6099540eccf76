#include "view/draw/GlyphButtonArt.h"

#include <algorithm>

#include "model/instrument/CTabInstrument.h"
#include "view/draw/GraphicUtil.h"
#include "view/render/NotationGlyphs.h"

namespace vornel {

namespace {

constexpr COLORREF kLight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kDarkShadow = RGB(64, 64, 64);
constexpr COLORREF kFace = RGB(227, 227, 227);

Rect Inset(const Rect& r, int32_t d) { return {r.left + d, r.top + d, r.right - d, r.bottom - d}; }

}  // namespace

void DrawGlyphButtonFace(DeviceContext& dc, const Rect& rect, const GlyphButtonFace& face) {
  dc.FillSolidRect(rect, kGlyphButtonColour);
  // The glyph is sized by its box's width: a square box centred in the button, inside the edge.
  const int32_t side = std::min(rect.Width(), rect.Height()) - 6;
  if (side > 0 && face.glyph != 0) {
    const int32_t cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    const Rect box{cx - side / 2, cy - side / 2, cx - side / 2 + side, cy - side / 2 + side};
    GraphicUtil util(dc, 100);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const std::string text = GlyphText(face.glyph);
    if (face.notation) {
      util.DrawNotationGlyphsInRect(text, 1, 0, false, box);
    } else {
      util.DrawGlyphsInRect(CTabInstrument::kFlagsFace, text, 1, 0, false, box);
    }
    dc.SetBkMode(oldMode);
  }
  // Two-pixel edge: raised light over dark, sunken the other way round.
  if (face.pressed) {
    dc.Draw3dRect(rect, kDarkShadow, kLight);
    dc.Draw3dRect(Inset(rect, 1), kShadow, kFace);
  } else {
    dc.Draw3dRect(rect, kLight, kDarkShadow);
    dc.Draw3dRect(Inset(rect, 1), kFace, kShadow);
  }
  if (face.focused) {
    const Pen old = dc.SelectPen(Pen::Create(PS_DOT, 1, 0));
    const Brush oldBrush = dc.SelectStockBrush(StockObject::kNullBrush);
    dc.Rectangle(Inset(rect, 3));
    dc.SelectBrush(oldBrush);
    dc.SelectPen(old);
  }
}

}  // namespace vornel
