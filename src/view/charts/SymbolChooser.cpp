#include "view/charts/SymbolChooser.h"

#include <algorithm>

#include "view/charts/OrnamentGlyphChooser.h"

namespace vornel {

SymbolChooser::SymbolChooser(bool onTablature, int32_t current) : tablature(onTablature) {
  SetupCatalogueGrid(grid, tablature ? 0 : 1);
  if (current <= kNone || current > kLastCode) return;
  symbol = current;
  const std::vector<uint32_t>& codes = grid.Codes();
  const auto found = std::find(codes.begin(), codes.end(), static_cast<uint32_t>(current));
  // A code the catalogue lacks (a file's own) stays chosen with no cell selected.
  if (found != codes.end()) grid.Select(static_cast<int>(found - codes.begin()));
}

bool SymbolChooser::TakeSelection() {
  const std::optional<uint32_t> code = grid.SelectedCode();
  if (!code || *code == 0) return false;
  symbol = static_cast<int32_t>(*code & kLastCode);
  return true;
}

void SymbolChooser::ChooseNone() {
  symbol = kNone;
  grid.ClearSelection();
}

std::string SymbolChooser::Shown() const { return IsNone() ? "None" : GlyphCodeText(static_cast<uint32_t>(symbol)); }

std::string SymbolChooser::Validate() const {
  if (IsNone() || (symbol > kNone && symbol <= kLastCode)) return {};
  return std::string(kNothingChosen);
}

}  // namespace vornel
