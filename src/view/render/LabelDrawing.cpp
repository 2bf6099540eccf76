#include "view/render/LabelDrawing.h"

#include <algorithm>
#include <string>

#include "model/text/FontStack.h"
#include "platform/draw/DeviceContext.h"
#include "platform/text/NumberText.h"
#include "view/draw/DrawContext.h"
#include "view/draw/FontDrawing.h"

namespace vornel {

std::optional<dfLogFont> PageFont(const DeviceContext& dc, size_t index) {
  const PageDrawSettings* settings = PageSettingsOf(dc);
  if (settings == nullptr || settings->fonts == nullptr || settings->fonts->size() <= index) return std::nullopt;
  const dfLogFont* font = settings->fonts->at(index);
  if (font == nullptr) return std::nullopt;
  return *font;
}

dfLogFont PageFontOrDefault(const DeviceContext& dc, size_t index) {
  if (auto font = PageFont(dc, index)) return *font;
  dfLogFont font;
  font.SetDefaults();
  return font;
}

Rect DrawBarNumber(DeviceContext& dc, int32_t zoom, int32_t unit, uint32_t number, int32_t x, int32_t y) {
  const PageDrawSettings* settings = PageSettingsOf(dc);
  dfLogFont font = PageFontOrDefault(dc, kBarNumberFont);
  const std::string text = FormatInt(static_cast<int32_t>(number));
  const int32_t height = settings != nullptr ? settings->barNumberHeight : 0;
  const uint32_t style = settings != nullptr && settings->outlineBarNumbers ? 258 : 1;
  const FontSpec previous = CreateScaledFont(font, static_cast<float>(zoom), dc);
  const int32_t width = dc.GetTextExtent(text).cx;
  dc.SelectFont(previous);
  return DrawFontText(text, font, dc, TA_LEFT | TA_BASELINE, static_cast<float>(zoom), 0, style, x - width / 2,
                      y - unit / 2 * height - unit);
}

Rect DrawMetaEventText(DeviceContext& dc, int32_t zoom, size_t fontIndex, Point position, std::string_view text,
                       unsigned alignment, COLORREF colour) {
  dfLogFont font = PageFontOrDefault(dc, fontIndex);
  font.color = colour;
  std::string shown(text);
  std::replace(shown.begin(), shown.end(), '\r', ' ');
  return DrawFontText(shown, font, dc, alignment, static_cast<float>(zoom), 0, 1, position.x, position.y);
}

Rect DrawPatternLabel(DeviceContext& dc, int32_t zoom, std::string_view text, unsigned alignment, uint32_t style,
                      Point position, COLORREF colour) {
  dfLogFont font = PageFontOrDefault(dc, kSmallFont);
  font.color = colour;
  style += 1;
  if ((alignment & 6) == 6) style += 16;
  return DrawFontText(text, font, dc, alignment, static_cast<float>(zoom), 0, style, position.x, position.y);
}

}  // namespace vornel
