#pragma once
// Fonts made from the stored font descriptions, and the text drawing every score text goes
// through: measured, aligned, boxed, framed and justified.

#include <cstdint>
#include <string_view>

#include "model/text/dfLogFont.h"
#include "platform/draw/DeviceContext.h"

namespace vornel {

class GraphicUtil;

// Style bits of DrawFontText.
constexpr uint32_t kTextFrame = 0x2;         // a one-pixel frame
constexpr uint32_t kTextBox = 0x4;           // a light grey box behind
constexpr uint32_t kTextKeepLeft = 0x10;     // centred text keeps its left edge
constexpr uint32_t kTextBold = 0x20;
constexpr uint32_t kTextItalic = 0x40;
constexpr uint32_t kTextDarkFrame = 0x100;   // the frame in dark grey

// The device's description of a stored logical font.
FontSpec ToFontSpec(const LogFont& font);

// Sets the description's zoom and height for the device (zoom 100 and the divisor 720 when
// printing), selects the font and returns the one selected before. A zoom below 1 counts as
// 100.
FontSpec CreateScaledFont(dfLogFont& font, float zoom, DeviceContext& dc);

// Whether the face can be drawn: a face of the glyph table, one fontconfig has, or one our
// substitution table stands in for ("Times New Roman" drawn as Liberation Serif). When it
// cannot, the sizes that depend on the face are cleared and false is returned.
bool CheckInstalled(dfLogFont& font);
// Takes the installed spelling of the face when it differs; the width always becomes 0.
void MatchInstalledFont(dfLogFont& font);

// Draws `text` with the description at (x, y) and returns the rectangle it occupies (its
// frame when a box or frame is drawn). An empty text draws nothing and gives an empty
// rectangle. `style` takes the kText bits.
Rect DrawFontText(std::string_view text, dfLogFont& font, DeviceContext& dc, unsigned alignment, float zoom,
                  int32_t fromBottom, uint32_t style, int32_t x, int32_t y, TextMetrics* metrics = nullptr);

// "target|label": the label underlined at (x, y) on its baseline; when printing and asked,
// ": target" after it (whose rectangle is then returned).
Rect DrawHyperlinkLabel(dfLogFont& font, std::string_view text, float zoom, bool withTarget, int32_t x, int32_t y,
                        DeviceContext& dc);

// A floating label of the view: the text at zoom 100 in a pale box with a bevelled frame.
Rect DrawLabelBox(dfLogFont& font, std::string_view text, int32_t x, int32_t y, DeviceContext& dc);

// The text one character under (or over) the other, centred on x.
void DrawStackedText(dfLogFont& font, std::string_view text, float zoom, int32_t x, int32_t y, bool downward,
                     DeviceContext& dc);

// Time-signature figures, the upper over the lower, in the description's face; returns the
// rectangle of both.
// With `fromLeft` the numbers start at the rectangle's left instead of standing in its middle.
Rect DrawStackedNumbers(dfLogFont& font, GraphicUtil& g, Rect rect, int32_t upper, int32_t lower,
                        bool fromLeft = false);

// Nearest integer, halves away from zero.
int32_t RoundFloat(double value);

}  // namespace vornel
