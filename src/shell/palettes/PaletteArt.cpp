#include "shell/palettes/PaletteArt.h"

#include <algorithm>

#include "platform/draw/CairoDevice.h"
#include "platform/text/TextConversion.h"
#include "view/draw/GraphicUtil.h"

namespace vornel::palettes {

namespace {

constexpr COLORREF kFace = RGB(250, 250, 250);
constexpr COLORREF kDisabledFace = RGB(224, 224, 224);
constexpr COLORREF kHighlight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kLabel = RGB(0, 0, 0);
constexpr COLORREF kGreyLabel = RGB(128, 128, 128);

}  // namespace

std::string GlyphText(uint32_t code) {
  std::string text;
  AppendUtf8(text, static_cast<char32_t>(code));
  return text;
}

void DrawLabelButton(DeviceContext& dc, const Rect& rect, std::string_view face, std::string_view label,
                     const ButtonState& state) {
  Rect inside = rect;
  inside.left += 1;
  inside.top += 1;
  inside.right -= 1;
  inside.bottom -= 1;
  dc.FillSolidRect(inside, state.enabled ? kFace : kDisabledFace);
  Rect text = rect;
  text.left += 5;
  text.right -= 5;
  // The glyph is sized by the rectangle's width: keep it square and centred.
  const int32_t side = std::min(text.Width(), rect.Height() - 10);
  if (side > 0 && !label.empty()) {
    const int32_t cx = (text.left + text.right) / 2;
    const int32_t cy = (rect.top + rect.bottom) / 2;
    const Rect cell{cx - side / 2, cy - side / 2, cx - side / 2 + side, cy - side / 2 + side};
    GraphicUtil util(dc, 100);
    util.DrawGlyphsInRect(face, label, -1, state.enabled ? kLabel : kGreyLabel, false, cell);
  }
  if (state.checked) {
    dc.Draw3dRect(rect, RGB(250, 150, 150), RGB(230, 150, 150));
  } else {
    dc.Draw3dRect(rect, RGB(180, 180, 200), RGB(200, 180, 180));
  }
}

void DrawGlyphButton(DeviceContext& dc, const Rect& rect, const PaletteButton& button, const ButtonState& state) {
  DrawLabelButton(dc, rect, button.face, GlyphText(button.code), state);
  Rect inner = rect;
  inner.left += 1;
  inner.top += 1;
  inner.right -= 1;
  inner.bottom -= 1;
  if (state.checked) {
    dc.Draw3dRect(inner, kShadow, kHighlight);
  } else if (state.highlighted) {
    dc.Draw3dRect(inner, kHighlight, kShadow);
  }
}

void DrawPaletteFrame(DeviceContext& dc, const Rect& client, const Rect& title, std::string_view text) {
  dc.Draw3dRect(client, kHighlight, kShadow);
  if (!TitleShown(title)) return;
  dc.Draw3dRect(title, kShadow, kHighlight);
  FontSpec font;
  font.lfHeight = -12;
  font.lfFaceName = "Arial";
  const FontSpec old = dc.SelectFont(font);
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  const COLORREF oldColour = dc.SetTextColor(kLabel);
  Rect box = title;
  dc.DrawText(text, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc.SetTextColor(oldColour);
  dc.SetBkMode(oldMode);
  dc.SelectFont(old);
}

Size LineStyleItemSize(int menuImageWidth, int thickness, int textHeight) {
  return Size{4 * menuImageWidth + 50, std::max(thickness, textHeight) + 4};
}

void DrawLineSample(DeviceContext& dc, Size size, int thickness, COLORREF colour) {
  const int32_t top = (size.cy - thickness) / 2;
  dc.FillSolidRect(Rect{5, top, size.cx - 5, top + thickness}, colour);
}

Size ToolMenuItemSize(Size image) { return Size{image.cx + 118, image.cy + 4}; }

}  // namespace vornel::palettes

namespace vornel::palettes {

DeviceBitmap DrawPaletteAtlas(const ToolsPalette& palette) {
  const int side = palette.Info().buttonSize;
  const int count = static_cast<int>(palette.Buttons().size());
  if (count == 0) return DeviceBitmap();
  ImageDevice dc(side * count, side * 2, 96, kFace);
  for (size_t i = 0; i < palette.Buttons().size(); ++i) {
    for (const bool enabled : {true, false}) {
      DrawGlyphButton(dc, AtlasCell(palette, i, enabled), palette.Buttons()[i], ButtonState{enabled, false, false});
    }
  }
  return dc.ToBitmap();
}

DeviceBitmap DrawPaletteButton(const ToolsPalette& palette, size_t index) {
  const int side = palette.Info().buttonSize;
  if (index >= palette.Buttons().size()) return DeviceBitmap();
  ImageDevice dc(side, side, 96, kFace);
  DrawGlyphButton(dc, Rect{0, 0, side, side}, palette.Buttons()[index], ButtonState{true, false, false});
  return dc.ToBitmap();
}

Rect AtlasCell(const ToolsPalette& palette, size_t index, bool enabled) {
  const int side = palette.Info().buttonSize;
  const int x = static_cast<int>(index) * side;
  const int y = enabled ? 0 : side;
  return Rect{x, y, x + side, y + side};
}

}  // namespace vornel::palettes
