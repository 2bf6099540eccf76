#pragma once
// A push button that shows one ornament or flag glyph, painted through the drawing layer. A
// click sends wxEVT_BUTTON with the button's id, as a plain button does.

#include <cstdint>

#include "view/draw/GlyphButtonArt.h"
#include "view/ui/DrawingPanel.h"

namespace vornel {

class CGlyphButton : public DrawingPanel {
 public:
  static constexpr int kUnassignedSlot = 32;

  CGlyphButton(wxWindow* parent, wxWindowID id, const wxSize& size = wxSize(40, 40));

  // The glyph, the slot it shows and whether it is of the notation face.
  void SetGlyph(uint32_t glyph, int slot, bool notation);
  uint32_t Glyph() const { return face_.glyph; }
  int Slot() const { return slot_; }
  bool Notation() const { return face_.notation; }
  bool AcceptsFocus() const override { return true; }

 private:
  void Press(bool pressed);

  GlyphButtonFace face_;
  int slot_ = kUnassignedSlot;
};

}  // namespace vornel
