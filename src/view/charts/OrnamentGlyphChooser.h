#pragma once
// "Ornament glyphs" without its window: a grid of glyph codes of one font, the glyph chosen in
// it, its zoom and alignment; and the graphic ornament event (kind 7) it edits: value the
// glyph code, cx the alignment, cy the zoom, text the font's name.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "view/charts/ChartGrids.h"

namespace vornel {

class CMetaEvent;

// The 150 glyphs of the catalogue of `type` (0 tablature, else notation) in their face, 15
// columns by 10 rows at 48 pixels, baseline at 35 percent; nothing selected.
void SetupCatalogueGrid(GlyphChartGrid& grid, int type);
// The face the catalogue of `type` is drawn in.
std::string_view CatalogueFace(int type);
// A glyph code as the choosers show it: hex and, when its low byte is printable ASCII, that
// character ("41 [A]", "e050").
std::string GlyphCodeText(uint32_t glyph);

struct COrnamentDlg {
  static constexpr std::string_view kDefaultFont = "VAVADURURA";
  // The face an event without a zoom is opened with.
  static constexpr std::string_view kEventDefaultFont = "VAVadurura";

  // The default chooser: codes 32 to 159 and 32 again, 8 columns by 12 rows at 36 pixels.
  COrnamentDlg();
  // The chooser of an ornament definition: the 150 glyphs of the catalogue of `type` (0
  // tablature, else notation) in 15 columns by 10 rows at 48 pixels, baseline at 35 percent,
  // `glyph` preselected (the first row when the catalogue lacks it). A glyph chosen brings its
  // catalogue alignment; the zoom stays 100.
  static COrnamentDlg ForCatalogue(int type, uint32_t glyph, int alignment);

  std::string fontName{kDefaultFont};
  GlyphChartGrid grid;
  uint32_t glyph = 32;
  std::string text = "0";
  int zoom = 100;       // 20 to 200
  int alignment = 0;    // COrnamentProps::AlignmentName
  // Set when the chooser serves an ornament definition of this type.
  std::optional<int> definitionType;

  // The event's glyph selected in the grid (the first cell when the list lacks it).
  void FromEvent(const CMetaEvent& event);
  std::string Validate() const;
  void ToEvent(CMetaEvent& event) const;
  // The grid's selected cell becomes the glyph; false when it holds no code.
  bool TakeSelection();
  // The alignment list's entries: the ornament alignments, 9 and 10 worded for the chooser.
  static std::string_view AlignmentEntry(int index);
};

}  // namespace vornel
