#pragma once
// The font dialog of the window system behind FontChooser.

#include "view/draw/FontChooser.h"

class wxWindow;

namespace vornel {

class WxFontChooser : public FontChooser {
 public:
  explicit WxFontChooser(wxWindow* parent = nullptr) : parent_(parent) {}
  std::optional<FontChoice> Choose(const FontChoice& initial, bool effects) override;

 private:
  wxWindow* parent_;
};

}  // namespace vornel
