#include "view/charts/OrnamentGlyphChooser.h"

#include <algorithm>
#include <cstdio>

#include "platform/text/FieldRanges.h"
#include "model/events/CMetaEvent.h"
#include "model/ornament/COrnamentProps.h"

namespace vornel {

namespace {

std::vector<uint32_t> DefaultCodes() {
  std::vector<uint32_t> codes;
  for (uint32_t c = 32; c <= 159; ++c) codes.push_back(c);
  codes.push_back(32);
  return codes;
}

}  // namespace

COrnamentDlg::COrnamentDlg() { grid.SetupGrid(8, 12, std::string(kDefaultFont), 36, DefaultCodes(), 0, 0); }

std::string_view CatalogueFace(int type) { return type == 0 ? "VornelTabFlags" : "VornelNotation"; }

void SetupCatalogueGrid(GlyphChartGrid& grid, int type) {
  std::vector<uint32_t> codes;
  for (int row = 0; row < COrnamentProps::kCatalogueSize; ++row) codes.push_back(COrnamentProps::CatalogueGlyph(type, row));
  grid.SetupGrid(15, 10, std::string(CatalogueFace(type)), 48, std::move(codes), 35, type == 0 ? 0 : 1);
  grid.ClearSelection();
}

std::string GlyphCodeText(uint32_t glyph) {
  // The character only when it is plain text: a byte above 0x7E is no UTF-8 on its own, and a
  // label with one shows nothing at all.
  const char character = static_cast<char>(glyph & 0xFF);
  const bool printable = character >= 0x20 && character <= 0x7E;
  char shown[32];
  const int length = printable ? std::snprintf(shown, sizeof shown, "%x [%c]", glyph, character)
                               : std::snprintf(shown, sizeof shown, "%x", glyph);
  return std::string(shown, static_cast<size_t>(std::clamp(length, 0, static_cast<int>(sizeof shown) - 1)));
}

COrnamentDlg COrnamentDlg::ForCatalogue(int type, uint32_t current, int alignmentIndex) {
  COrnamentDlg chooser;
  chooser.fontName = CatalogueFace(type);
  SetupCatalogueGrid(chooser.grid, type);
  chooser.definitionType = type;
  chooser.alignment = alignmentIndex;
  chooser.grid.Select(COrnamentProps::FindCatalogueRow(type, current));
  chooser.TakeSelection();
  chooser.alignment = alignmentIndex;
  return chooser;
}

void COrnamentDlg::FromEvent(const CMetaEvent& e) {
  zoom = e.cy != 0 ? e.cy : 100;
  fontName = e.cy == 0 ? std::string(kEventDefaultFont) : e.text.empty() ? std::string(kDefaultFont) : e.text;
  alignment = e.cx;
  grid.SetupGrid(grid.Columns(), grid.Rows(), fontName, 36, grid.Codes(), 0, grid.Type());
  const std::vector<uint32_t>& codes = grid.Codes();
  const auto found = std::find(codes.begin(), codes.end(), e.value & 0xFF);
  grid.ClearSelection();
  grid.Select(found != codes.end() ? static_cast<int>(found - codes.begin()) : 0);
  text.assign(1, '0');
  TakeSelection();
}

std::string COrnamentDlg::Validate() const {
  return CheckFieldRanges({{"Zoom", zoom, 20, 200}, {"Alignment", alignment, 0, COrnamentProps::kAlignmentCount - 1}});
}

void COrnamentDlg::ToEvent(CMetaEvent& e) const {
  e.value = glyph;
  e.cx = alignment;
  e.cy = zoom;
  e.text = fontName;
}

bool COrnamentDlg::TakeSelection() {
  const std::optional<uint32_t> code = grid.SelectedCode();
  if (!code) return false;
  glyph = *code;
  if (definitionType) alignment = COrnamentProps::CatalogueAlignment(*definitionType, grid.Selected());
  text = GlyphCodeText(glyph);
  return true;
}

std::string_view COrnamentDlg::AlignmentEntry(int index) {
  if (index == 9) return "(Above staff)Extra high";
  if (index == 10) return "(Below staff)Extra low";
  return COrnamentProps::AlignmentName(index);
}

}  // namespace vornel
