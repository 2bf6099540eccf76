#pragma once
// Notation-font codes the renderers share, and a code as the text that draws it.

#include <cstdint>
#include <string>

#include "platform/text/TextConversion.h"

namespace vornel {

// One character code of a music or tablature face as text for TextOut.
inline std::string GlyphText(uint32_t code) {
  std::string text;
  AppendUtf8(text, static_cast<char32_t>(code));
  return text;
}

// The accidental glyph of a spelled accidental ('#', 'b', 'n', 'x' double sharp, 'z' double
// flat); 0 for none.
constexpr uint32_t AccidentalGlyph(char accidental) {
  switch (accidental) {
    case '#': return 0x96;
    case 'b': return 0x97;
    case 'n': return 0x98;
    case 'x': return 0x46;
    case 'z': return 0x45;
    default: return 0;
  }
}

}  // namespace vornel
