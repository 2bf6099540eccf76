// The text and glyph-string drawing of GraphicUtil.

#include <algorithm>

#include "model/text/CNotationFont.h"
#include "model/text/FontStack.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/NumberText.h"
#include "platform/text/TextConversion.h"
#include "view/draw/DrawContext.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/GraphicUtil.h"
#include "view/draw/ScaledNotationFont.h"

namespace vornel {

namespace {

constexpr size_t kCircledNumberFont = 14;

// The first `count` characters of a UTF-8 text; a negative count keeps all of it.
std::string_view FirstCharacters(std::string_view text, int32_t count) {
  if (count < 0) return text;
  size_t pos = 0;
  for (int32_t i = 0; i < count && pos < text.size(); ++i) DecodeUtf8(text, pos);
  return text.substr(0, pos);
}

}  // namespace

Rect GraphicUtil::DrawTextAt(int32_t x, int32_t y, std::string_view text, int32_t size, int32_t angle,
                             COLORREF colour, unsigned alignment) {
  if (text.empty()) text = " ";
  const int32_t s = MulDiv(size, zoom, 100);
  dfLogFont font;
  font.SetDefaults();
  font.logFont.lfWeight = FW_NORMAL;
  font.zoom = 100.0f;
  font.logFont.lfEscapement = angle;
  font.logFont.lfOrientation = angle;
  const PageDrawSettings* settings = PageSettingsOf(dc);
  font.color = (settings != nullptr && !settings->colourOn) ? 0 : colour;
  font.pointSize.cx = 10 * s;
  font.logFont.lfHeight = -MulDiv(s, dc.LogPixelsY(), 72);
  const unsigned oldAlign = dc.SetTextAlign(alignment);
  const Rect r = DrawFontText(text, font, dc, alignment, 100.0f, 0, 0, x, y);
  dc.SetTextAlign(oldAlign);
  return r;
}

Rect GraphicUtil::DrawNumberAt(int32_t x, int32_t y, int32_t number, int32_t size, int32_t angle, COLORREF colour,
                               unsigned alignment) {
  return DrawTextAt(x, y, FormatInt(number), size, angle, colour, alignment);
}

Rect GraphicUtil::DrawGlyphsInRect(std::string_view face, std::string_view text, int32_t count, COLORREF colour,
                                   bool centreOnX, Rect rect) {
  rect.Normalize();
  text = FirstCharacters(text, count);
  // The em is the rectangle's width whatever the zoom: the rectangle is in device pixels.
  CNotationFont record(face, MulDiv(MulDiv(rect.Width(), 254, dc.LogPixelsX()), 100, 100));
  ScaledNotationFont font(record);
  font.CreateScaledFont(100, dc);
  FontSpec oldFont;
  font.SelectScaledFont(dc, 0, 100, &oldFont);
  const COLORREF oldColour = dc.SetTextColor(colour);
  const unsigned oldAlign = dc.SetTextAlign(TA_LEFT | TA_TOP);
  Rect measured{rect.left, rect.top, rect.left, rect.top};
  dc.DrawText(text, measured, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  // Centring on x centres the string once more about the point where the centred string
  // would start: it ends up half its width left of the middle of the rectangle.
  const int32_t shift = centreOnX ? measured.Width() / 2 : 0;
  // Music glyphs sit very differently around their baselines, so their ink is centred in
  // the rectangle both ways; text is centred by its line cell.
  if (dc.CurrentFont().IsMusicRole()) {
    const Rect ink = dc.GetTextInkBox(text);
    if (!ink.IsEmpty()) {
      const Point centre = rect.CenterPoint();
      dc.SetTextAlign(TA_LEFT | TA_BASELINE);
      dc.TextOut(centre.x - shift - (ink.left + ink.right) / 2, centre.y - (ink.top + ink.bottom) / 2, text);
    }
  } else {
    Rect box = rect;
    box.Offset(-shift, 0);
    dc.DrawText(text, box, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
  const int32_t left = rect.left + (rect.Width() - measured.Width()) / 2;
  return {left, measured.top, left + measured.Width(), rect.bottom};
}

Rect GraphicUtil::DrawGlyphsFittedInRect(std::string_view face, std::string_view text, COLORREF colour, Rect rect,
                                         bool fromLeft) {
  rect.Normalize();
  if (text.empty() || rect.Width() <= 0 || rect.Height() <= 0) return {};
  const auto tenths = [&](int64_t pixels) {
    return static_cast<int32_t>(std::clamp<int64_t>(pixels * 254 / dc.LogPixelsY(), 1, 100000));
  };
  // Measured at an em of the rectangle's height, then scaled so that the ink fills it.
  FontSpec oldFont;
  int32_t size = tenths(rect.Height());
  Rect ink;
  for (int pass = 0; pass < 2; ++pass) {
    CNotationFont record(face, size);
    ScaledNotationFont font(record);
    font.CreateScaledFont(100, dc);
    FontSpec previous;
    font.SelectScaledFont(dc, 0, 100, &previous);
    if (pass == 0) oldFont = previous;
    ink = dc.GetTextInkBox(text);
    if (ink.IsEmpty() || pass == 1) break;
    const double scale = std::min(double(rect.Width()) / ink.Width(), double(rect.Height()) / ink.Height());
    size = std::max(1, static_cast<int32_t>(size * scale));
  }
  Rect covered;
  if (!ink.IsEmpty()) {
    const COLORREF oldColour = dc.SetTextColor(colour);
    const unsigned oldAlign = dc.SetTextAlign(TA_LEFT | TA_BASELINE);
    const Point centre = rect.CenterPoint();
    const int32_t x = fromLeft ? rect.left - ink.left : centre.x - (ink.left + ink.right) / 2;
    const int32_t y = centre.y - (ink.top + ink.bottom) / 2;
    dc.TextOut(x, y, text);
    dc.SetTextAlign(oldAlign);
    dc.SetTextColor(oldColour);
    covered = {x + ink.left, y + ink.top, x + ink.right, y + ink.bottom};
  }
  dc.SelectFont(oldFont);
  return covered;
}

Rect GraphicUtil::DrawNotationGlyphsInRect(std::string_view text, int32_t count, COLORREF colour, bool centreOnX,
                                           Rect rect) {
  return DrawGlyphsInRect("VornelNotation", text, count, colour, centreOnX, rect);
}

Rect GraphicUtil::DrawCircledNumber(uint8_t number, int32_t x, int32_t y) {
  // The page's 15th font; a stack without it (or no page at all) draws with the default
  // font rather than failing the page.
  dfLogFont font;
  const PageDrawSettings* settings = PageSettingsOf(dc);
  if (settings != nullptr && settings->fonts != nullptr && settings->fonts->size() > kCircledNumberFont &&
      settings->fonts->at(kCircledNumberFont) != nullptr) {
    font = *settings->fonts->at(kCircledNumberFont);
  } else {
    font.SetDefaults();
  }
  font.color = 250;
  Rect r = DrawFontText(FormatInt(number), font, dc, TA_BASELINE | TA_CENTER, static_cast<float>(zoom), 0, 0, x, y);
  if (r.Height() > r.Width()) {
    const int32_t grow = (r.Height() - r.Width()) / 2;
    r.left -= grow;
    r.right += grow;
  }
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, std::max(1, HundredthMmToDeviceY(15)), 0));
  const Brush oldBrush = dc.SelectBrush(Brush::Null());
  dc.Ellipse(r);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
  return r;
}

}  // namespace vornel
