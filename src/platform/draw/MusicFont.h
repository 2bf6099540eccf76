#pragma once
// The shipped music font (Bravura, SMuFL), opened straight from its file so that every glyph
// comes from exactly that font whatever else is installed. Gives the Cairo font face the
// backends draw with and the measured metrics of each glyph, which the layout relies on.

#include <cstdint>
#include <string>
#include <unordered_map>

typedef struct _cairo_font_face cairo_font_face_t;
typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace vornel {

class MusicFont {
 public:
  // Ink box and advance of a glyph in em units (1 em = 4 staff spaces); y grows downward,
  // so inkTop is negative for ink above the baseline.
  struct GlyphMetrics {
    uint32_t glyphIndex = 0;  // 0: the font has no glyph for the code point
    double advance = 0;
    double inkLeft = 0;
    double inkTop = 0;
    double inkRight = 0;
    double inkBottom = 0;
  };

  // The font of the data folder, opened on first use.
  static MusicFont& Shared();

  explicit MusicFont(const std::string& path);
  ~MusicFont();
  MusicFont(const MusicFont&) = delete;
  MusicFont& operator=(const MusicFont&) = delete;

  bool IsLoaded() const { return face_ != nullptr; }
  const std::string& Path() const { return path_; }
  // The face to draw with (owned by this object); null when the font could not be opened.
  cairo_font_face_t* Face() const { return face_; }

  // Measured once per code point and cached.
  const GlyphMetrics& Metrics(char32_t codePoint);
  bool HasGlyph(char32_t codePoint) { return Metrics(codePoint).glyphIndex != 0; }

 private:
  std::string path_;
  cairo_font_face_t* face_ = nullptr;
  cairo_scaled_font_t* unitFont_ = nullptr;  // 1000 units per em, unhinted
  std::unordered_map<char32_t, GlyphMetrics> metrics_;
};

}  // namespace vornel
