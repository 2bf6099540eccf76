#include "shell/palettes/ToolsPalette.h"

#include <algorithm>

namespace vornel::palettes {

int NextColumnCount(int columns) { return ((columns + 1) % 5) + 3; }

int PaletteRows(int count, int columns) {
  if (count <= 0) return 0;
  const int perRow = std::max(columns, 1);
  return (count + perRow - 1) / perRow;
}

Size PaletteSize(Size button, int columns, int count) {
  return Size{button.cx * std::max(columns, 1) + 10, PaletteRows(count, columns) * button.cy + 60};
}

PaletteLayout LayOutPalette(const Rect& client, Size button, int columns, int count) {
  PaletteLayout layout;
  const int perRow = std::max(columns, 1);
  int x = client.left + 5;
  int y = client.top + 5;
  for (int i = 0; i < count; ++i) {
    layout.buttons.push_back(Rect{x, y, x + button.cx, y + button.cy});
    if ((i + 1) % perRow == 0) {
      x = client.left + 5;
      y += button.cy;
    } else {
      x += button.cx;
    }
  }
  const int lastRowBottom = layout.buttons.empty() ? client.top + 5 : layout.buttons.back().bottom;
  if (lastRowBottom < client.bottom) {
    layout.title = Rect{client.left + 5, lastRowBottom + 5, client.right - 5, client.bottom - 5};
    if (layout.title.bottom <= layout.title.top || layout.title.right <= layout.title.left) layout.title = Rect{};
  }
  return layout;
}

bool TitleShown(const Rect& title) { return title.bottom - title.top >= kMinimumTitleHeight; }

ToolsPalette::ToolsPalette(const PaletteInfo& info)
    : info_(&info), buttons_(info.buttons.begin(), info.buttons.end()) {}

void ToolsPalette::SetGlyphs(bool notation, std::span<const uint32_t> codes) {
  notation_ = notation;
  codes_.assign(codes.begin(), codes.end());
  const std::string_view face = notation ? kNotationFace : kFlagsFace;
  for (size_t i = 0; i < codes_.size() && kFirstGlyphButton + i < buttons_.size(); ++i) {
    PaletteButton& button = buttons_[kFirstGlyphButton + i];
    button.face = face;
    button.code = codes_[i];
  }
}

Size ToolsPalette::SizeFor(int columns) const {
  return PaletteSize(Size{info_->buttonSize, info_->buttonSize}, columns, static_cast<int>(buttons_.size()));
}

PaletteLayout ToolsPalette::LayOut(const Rect& client) const {
  return LayOutPalette(client, Size{info_->buttonSize, info_->buttonSize}, columns_, static_cast<int>(buttons_.size()));
}

}  // namespace vornel::palettes
