// The text and glyph-string drawing of GraphicUtil.

#include <cstdio>

#include "platform/draw/MulDiv.h"
#include "platform/text/TextConversion.h"
#include "view/draw/GraphicUtil.h"
#include "view/draw/PageDrawSettings.h"

namespace vornel {

Rect GraphicUtil::DrawTextAt(int32_t x, int32_t y, std::string_view text, int32_t size, int32_t angle,
                             COLORREF colour, unsigned alignment) {
  if (text.empty()) text = " ";
  const int32_t s = MulDiv(size, zoom, 100);
  FontSpec font;
  font.lfFaceName = "Arial";
  font.lfWeight = FW_NORMAL;
  font.lfEscapement = angle;
  font.lfOrientation = angle;
  font.lfHeight = -MulDiv(s, dc.LogPixelsY(), 72);
  const PageDrawSettings* settings = ActivePageSettings();
  if (settings != nullptr && !settings->colourOn) colour = 0;
  const FontSpec oldFont = dc.SelectFont(font);
  const COLORREF oldColour = dc.SetTextColor(colour);
  const unsigned oldAlign = dc.SetTextAlign(alignment);
  const Size extent = dc.GetTextExtent(text);
  dc.TextOut(x, y, text);
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
  return {x, y, x + extent.cx, y + extent.cy};
}

Rect GraphicUtil::DrawNumberAt(int32_t x, int32_t y, int32_t number, int32_t size, int32_t angle, COLORREF colour,
                               unsigned alignment) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", number);
  return DrawTextAt(x, y, text, size, angle, colour, alignment);
}

namespace {

// The first `count` characters of a UTF-8 text; a negative count keeps all of it.
std::string_view FirstCharacters(std::string_view text, int32_t count) {
  if (count < 0) return text;
  size_t pos = 0;
  for (int32_t i = 0; i < count && pos < text.size(); ++i) DecodeUtf8(text, pos);
  return text.substr(0, pos);
}

}  // namespace

Rect GraphicUtil::DrawGlyphsInRect(std::string_view face, std::string_view text, int32_t count, COLORREF colour,
                                   bool centreOnX, Rect rect) {
  rect.Normalize();
  text = FirstCharacters(text, count);
  // The em is the rectangle's width whatever the zoom: the rectangle is in device pixels.
  const int32_t interval = MulDiv(MulDiv(rect.Width(), 254, dc.LogPixelsX()), 100, 100);
  FontSpec font;
  font.lfFaceName = std::string(face);
  font.lfHeight = -MulDiv(interval, dc.LogPixelsY(), 254);
  font.lfWeight = FW_NORMAL;
  const FontSpec oldFont = dc.SelectFont(font);
  const COLORREF oldColour = dc.SetTextColor(colour);
  const unsigned oldAlign = dc.SetTextAlign(TA_LEFT | TA_TOP);
  Rect measured{rect.left, rect.top, rect.left, rect.top};
  dc.DrawText(text, measured, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  // Music glyphs sit very differently around their baselines, so their ink is centred in the
  // rectangle both ways; text is centred by its line cell. Either way the glyph ends up in
  // the middle of the rectangle, whether or not the caller centres on x.
  (void)centreOnX;
  if (dc.CurrentFont().IsMusicRole()) {
    const Rect ink = dc.GetTextInkBox(text);
    if (!ink.IsEmpty()) {
      const Point centre = rect.CenterPoint();
      dc.SetTextAlign(TA_LEFT | TA_BASELINE);
      dc.TextOut(centre.x - (ink.left + ink.right) / 2, centre.y - (ink.top + ink.bottom) / 2, text);
    }
  } else {
    Rect box = rect;
    dc.DrawText(text, box, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
  const int32_t left = rect.left + (rect.Width() - measured.Width()) / 2;
  return {left, measured.top, left + measured.Width(), rect.bottom};
}

Rect GraphicUtil::DrawNotationGlyphsInRect(std::string_view text, int32_t count, COLORREF colour, bool centreOnX,
                                           Rect rect) {
  return DrawGlyphsInRect("VornelNotation", text, count, colour, centreOnX, rect);
}

}  // namespace vornel
