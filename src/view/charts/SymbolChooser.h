#pragma once
// The symbol chooser of a note's floating ornament, without its window: the glyph catalogue of
// the tablature flags face or of the notation face in a grid, and the symbol chosen in it. A
// space stands for no symbol.

#include <cstdint>
#include <string>
#include <string_view>

#include "view/charts/ChartGrids.h"

namespace vornel {

struct SymbolChooser {
  static constexpr int32_t kNone = ' ';
  // The highest code a symbol can have: the drawing takes the low 16 bits.
  static constexpr int32_t kLastCode = 0xFFFF;
  static constexpr std::string_view kNothingChosen = "Please choose a symbol or None.";

  // The catalogue of the tablature or the notation face, `current` selected when it is in it.
  // A current code of 0, a space or one outside the codes a symbol can have starts as none.
  SymbolChooser(bool tablature, int32_t current);

  bool tablature;
  GlyphChartGrid grid;
  int32_t symbol = kNone;

  // The grid's selected cell becomes the symbol; false when it holds no code.
  bool TakeSelection();
  // "None": no symbol, no cell selected.
  void ChooseNone();
  bool IsNone() const { return symbol == kNone; }
  // What the dialog shows of the symbol: its code in hex and the character, or "None".
  std::string Shown() const;
  // Empty when the symbol can be given back; else the message.
  std::string Validate() const;
};

}  // namespace vornel
