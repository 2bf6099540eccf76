#include "platform/draw/MusicFont.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <filesystem>

#include "platform/fonts/FontRegistration.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr double kUnitsPerEm = 1000.0;

}  // namespace

MusicFont& MusicFont::Shared() {
  static MusicFont font(MusicFontPath());
  return font;
}

MusicFont::MusicFont(const std::string& path) : path_(path) {
  if (path.empty() || !std::filesystem::exists(path)) return;
  int count = 0;
  FcPattern* pattern = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
  if (pattern == nullptr) return;
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
  FcPatternDestroy(pattern);
  if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    return;
  }
  cairo_matrix_t size;
  cairo_matrix_init_scale(&size, kUnitsPerEm, kUnitsPerEm);
  cairo_matrix_t identity;
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &identity, options);
  cairo_font_options_destroy(options);
  if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(scaled);
    cairo_font_face_destroy(face);
    return;
  }
  face_ = face;
  unitFont_ = scaled;
}

MusicFont::~MusicFont() {
  if (unitFont_ != nullptr) cairo_scaled_font_destroy(unitFont_);
  if (face_ != nullptr) cairo_font_face_destroy(face_);
}

const MusicFont::GlyphMetrics& MusicFont::Metrics(char32_t codePoint) {
  auto found = metrics_.find(codePoint);
  if (found != metrics_.end()) return found->second;
  GlyphMetrics m;
  if (unitFont_ != nullptr && codePoint != 0) {
    std::string text;
    AppendUtf8(text, codePoint);
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    if (cairo_scaled_font_text_to_glyphs(unitFont_, 0, 0, text.data(), static_cast<int>(text.size()), &glyphs, &count,
                                         nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
        count == 1 && glyphs[0].index != 0) {
      cairo_text_extents_t extents;
      cairo_scaled_font_glyph_extents(unitFont_, glyphs, 1, &extents);
      m.glyphIndex = static_cast<uint32_t>(glyphs[0].index);
      m.advance = extents.x_advance / kUnitsPerEm;
      m.inkLeft = extents.x_bearing / kUnitsPerEm;
      m.inkTop = extents.y_bearing / kUnitsPerEm;
      m.inkRight = (extents.x_bearing + extents.width) / kUnitsPerEm;
      m.inkBottom = (extents.y_bearing + extents.height) / kUnitsPerEm;
    }
    cairo_glyph_free(glyphs);
  }
  return metrics_.emplace(codePoint, m).first->second;
}

}  // namespace vornel
