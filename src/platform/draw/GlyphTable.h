#pragma once
// The glyph substitution table. Documents and the drawing code address music and tablature
// glyphs as (face name, character code) of fonts the system no longer has; this table maps
// each such pair onto a glyph of the shipped music font (with scale and offset), onto a text
// character, onto a small drawn shape, or onto nothing. Stored codes never change, only what
// they draw.

#include <cstdint>
#include <span>
#include <string_view>

namespace vornel {

// What a face name stands for. Face names compare case-insensitively.
enum class FaceRole : uint8_t {
  kText,        // an ordinary text face, substituted through fontconfig
  kNotation,    // "VornelNotation" (and "VornelNote"): staff notation
  kTabFlags,    // "VornelTabFlags": rhythm flags and tablature marks
  kTabLetter,   // tablature letter faces ("VN_...", "QX_..."): fret letters and numbers
  kFg,          // "VornelFg": figured bass, fingering figures, barré signs
  kTabDefault,  // "TabDefault": time-signature digits
  kVavadurura,  // "VAVADURURA": decorative ornaments
};

FaceRole RoleForFace(std::string_view face);
std::string_view RoleFaceName(FaceRole role);

// Which text face a text entry (or a character the table leaves to text) is drawn in.
enum class GlyphTextFace : uint8_t { kSerif, kSerifItalic, kSans };

// Shapes drawn in place of a glyph where the music font has none.
enum class GlyphShape : uint8_t { kNone, kSlantedStroke, kCurvedStroke, kWavyStroke, kRaisedDash, kCrossStroke };

struct GlyphMapEntry {
  enum class Kind : uint8_t {
    kSmufl,  // `codePoint` of the music font
    kText,   // `text` in `textFace`
    kDraw,   // `shape`
    kNone,   // nothing drawn (a blank with an advance)
  };

  FaceRole role = FaceRole::kNotation;
  uint16_t code = 0;
  Kind kind = Kind::kNone;
  char32_t codePoint = 0;
  const char* name = "";  // glyph name, or what the entry is
  float scale = 1.0f;     // of the role's em
  float dx = 0;           // staff spaces (em / 4), right
  float dy = 0;           // staff spaces, up
  float advance = -1;     // staff spaces; below 0: the glyph's own advance × scale
  // A second music-font glyph drawn with the first (two dots, a head and its stem).
  char32_t secondCodePoint = 0;
  float secondDx = 0;
  float secondDy = 0;
  const char* text = "";
  GlyphTextFace textFace = GlyphTextFace::kSerif;
  GlyphShape shape = GlyphShape::kNone;
  bool sitOnBaseline = false;  // lifted so the ink's bottom is on the baseline

  // Builders for the table's rows.
  constexpr GlyphMapEntry Dx(float v) const { auto e = *this; e.dx = v; return e; }
  constexpr GlyphMapEntry Dy(float v) const { auto e = *this; e.dy = v; return e; }
  constexpr GlyphMapEntry Scale(float v) const { auto e = *this; e.scale = v; return e; }
  constexpr GlyphMapEntry Advance(float v) const { auto e = *this; e.advance = v; return e; }
  constexpr GlyphMapEntry With(char32_t cp, float x, float y) const {
    auto e = *this;
    e.secondCodePoint = cp;
    e.secondDx = x;
    e.secondDy = y;
    return e;
  }
  constexpr GlyphMapEntry OnBaseline() const { auto e = *this; e.sitOnBaseline = true; return e; }
  constexpr GlyphMapEntry Face(GlyphTextFace f) const { auto e = *this; e.textFace = f; return e; }
};

// Every row of the table, ordered by role and code.
std::span<const GlyphMapEntry> AllGlyphEntries();

// The row of (role, code), or null when the table has none. For a text role, always null.
const GlyphMapEntry* FindGlyph(FaceRole role, uint32_t code);

// Whether a code the table lacks is drawn as text in the role's text face (tablature letters,
// figures, decorative faces) rather than as the placeholder of an unmapped glyph.
bool RoleFallsBackToText(FaceRole role);
GlyphTextFace RoleTextFace(FaceRole role);

}  // namespace vornel
