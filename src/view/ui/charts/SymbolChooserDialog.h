#pragma once
// The symbol chooser of a note's floating ornament: the glyph grid of the tablature or notation
// catalogue, the chosen glyph on a glyph button with its code, and "None".

#include <cstdint>
#include <optional>

#include "layout/ui/dialogs/TexturedDialog.h"
#include "view/charts/SymbolChooser.h"

class wxStaticText;

namespace vornel {

class CGlyphButton;
class CStaticGlyphChart;

class SymbolChooserDialog : public TexturedDialog {
 public:
  enum : int { kGrid = 1500, kChosen = 1501, kCode = 1502, kNone = 1503 };

  SymbolChooserDialog(wxWindow* parent, SymbolChooser& chooser);
  bool TransferDataToWindow() override;
  // A symbol that cannot be given back shows the message and keeps the dialog open.
  bool TransferDataFromWindow() override;

  CGlyphButton& ChosenButton() { return *chosen_; }
  // "None" pressed.
  void ChooseNone();

 private:
  void ShowChoice();

  SymbolChooser& chooser_;
  CStaticGlyphChart* grid_;
  CGlyphButton* chosen_;
  wxStaticText* code_;
};

// The chooser started on `current`; the chosen code (a space for none), nothing when cancelled.
std::optional<int32_t> ChooseSymbol(wxWindow* parent, int32_t current, bool tablature);

}  // namespace vornel
