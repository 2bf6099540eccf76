#pragma once
// What the palettes and the owner-drawn menu items look like, drawn through DeviceContext so
// that the window layer only turns the results into bitmaps once, at start-up.

#include <string>
#include <string_view>

#include "platform/draw/DeviceContext.h"
#include "shell/palettes/PaletteTable.h"
#include "shell/palettes/ToolsPalette.h"

namespace vornel::palettes {

// The characters of a code as the drawing code passes glyphs (one code point, UTF-8).
std::string GlyphText(uint32_t code);

struct ButtonState {
  bool enabled = true;
  bool checked = false;
  bool highlighted = false;
};

// A label button: the interior filled, the label written in `face` (the rectangle shrunk by
// 5 pixels on each side gives the em), and the two-coloured frame of its checked state.
void DrawLabelButton(DeviceContext& dc, const Rect& rect, std::string_view face, std::string_view label,
                     const ButtonState& state);
// A glyph button: its (face, code) as a label, then a sunken frame when checked, a raised one
// when highlighted.
void DrawGlyphButton(DeviceContext& dc, const Rect& rect, const PaletteButton& button, const ButtonState& state);
// The palette's own painting over its buttons: a raised frame around the client area and,
// where the title rectangle is high enough, the title framed and centred in it.
void DrawPaletteFrame(DeviceContext& dc, const Rect& client, const Rect& title, std::string_view text);

// The line-style menu item: 4 menu-image widths + 50 wide, the larger of the line thickness
// and the text height plus 4 high.
Size LineStyleItemSize(int menuImageWidth, int thickness, int textHeight);
// The sample that stands beside a line-style item's text: a bar `thickness` pixels thick,
// centred in `size`, 5 pixels in from each side.
void DrawLineSample(DeviceContext& dc, Size size, int thickness, COLORREF colour = 0);
// A tool menu's item: the tool bar image's width + 118 by its height + 4.
Size ToolMenuItemSize(Size image);

}  // namespace vornel::palettes

namespace vornel::palettes {

class ToolsPalette;

// Every button of a palette drawn once: one row of buttons as they look enabled, a second as
// they look disabled, each button its palette's button size square, in button order. The
// window layer copies a button's cell from it when it paints.
DeviceBitmap DrawPaletteAtlas(const ToolsPalette& palette);
// Button `index` alone, as it looks enabled (empty for no such button).
DeviceBitmap DrawPaletteButton(const ToolsPalette& palette, size_t index);
// The cell of button `index` (enabled or not) in its palette's atlas.
Rect AtlasCell(const ToolsPalette& palette, size_t index, bool enabled);

}  // namespace vornel::palettes
