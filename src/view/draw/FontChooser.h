#pragma once
// The font dialog the font descriptions are edited with: an interface, so that the choosing
// runs headless in tests with a scripted answer; the window layer installs the real dialog.

#include <cstdint>
#include <optional>
#include <string>

#include "model/text/CNotationFont.h"
#include "model/text/dfLogFont.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

struct FontChoice {
  std::string face;
  int32_t pointSize = 120;  // tenths of a point
  int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  COLORREF colour = 0;
};

class FontChooser {
 public:
  virtual ~FontChooser() = default;
  // The user's choice starting from `initial`, or nothing when cancelled. `effects` offers
  // colour, underline and strike-out.
  virtual std::optional<FontChoice> Choose(const FontChoice& initial, bool effects) = 0;
};

// The chooser in force: by default one that says that none is installed and chooses nothing.
FontChooser& Chooser();

class ScopedFontChooser {
 public:
  explicit ScopedFontChooser(FontChooser& chooser);
  ~ScopedFontChooser();
  ScopedFontChooser(const ScopedFontChooser&) = delete;
  ScopedFontChooser& operator=(const ScopedFontChooser&) = delete;

 private:
  FontChooser* previous_;
};

// The font dialog on a text-font description; on OK the face, style, point size and colour
// are taken. True on OK.
bool ChooseFont(dfLogFont& font);
// The font dialog on the notation font; on OK the point size, face and italic flag are taken
// and the glyph interval follows the point size (3/8 of it). True on OK.
bool ChooseFont(CNotationFont& font);

}  // namespace vornel
