#pragma once
// A palette without its window: its buttons (command and glyph), the face its glyph buttons
// take, its column count, and the geometry the window lays it out and paints it with. The
// panel of the window layer draws and routes; everything it decides is decided here.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/draw/DrawTypes.h"
#include "shell/palettes/PaletteTable.h"

namespace vornel::palettes {

// Palettes start with five columns; "Set toolbar columns" cycles 5, 4, 3, 7, 6, 5 ...
inline constexpr int kDefaultColumns = 5;
int NextColumnCount(int columns);

// Rows of `count` buttons in `columns` columns (a column count below 1 counts as 1).
int PaletteRows(int count, int columns);
// The palette's size: width = button width × columns + 10, height = rows × button height + 60.
Size PaletteSize(Size button, int columns, int count);

struct PaletteLayout {
  std::vector<Rect> buttons;
  // Under the last row, the client width, shrunk by 5 on every side; empty when the last row
  // reaches the client bottom.
  Rect title;
};
// Buttons from (client left + 5, client top + 5), `columns` to a row.
PaletteLayout LayOutPalette(const Rect& client, Size button, int columns, int count);
// The title is written only in a rectangle at least this high.
inline constexpr int kMinimumTitleHeight = 11;
bool TitleShown(const Rect& title);

class ToolsPalette {
 public:
  // The first three buttons of a palette that takes glyph codes are other commands.
  static constexpr size_t kFirstGlyphButton = 3;

  explicit ToolsPalette(const PaletteInfo& info);

  const PaletteInfo& Info() const { return *info_; }
  const std::vector<PaletteButton>& Buttons() const { return buttons_; }
  int Columns() const { return columns_; }
  void SetColumns(int columns) { columns_ = columns < 1 ? 1 : columns; }
  bool Locked() const { return locked_; }
  void SetLocked(bool locked) { locked_ = locked; }

  // Glyphs from the notation face (set) or the tablature flag face; the codes go to the
  // buttons from index 3 on, one each, with that face. Fewer codes than buttons leave the
  // remaining buttons as they were; codes beyond the buttons are kept but shown nowhere.
  void SetGlyphs(bool notation, std::span<const uint32_t> codes);
  bool NotationGlyphs() const { return notation_; }
  const std::vector<uint32_t>& GlyphCodes() const { return codes_; }

  Size SizeFor(int columns) const;
  PaletteLayout LayOut(const Rect& client) const;

 private:
  const PaletteInfo* info_;
  std::vector<PaletteButton> buttons_;
  std::vector<uint32_t> codes_;
  bool notation_ = true;
  bool locked_ = true;
  int columns_ = kDefaultColumns;
};

}  // namespace vornel::palettes
