#include "platform/draw/FontResolver.h"

#include <cmath>
#include <functional>

#include "platform/draw/MulDiv.h"

namespace vornel {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Music roles have invented vertical metrics: the glyphs reach far above and below any line
// box, and the layout wants 5/4 of the ascent to be one em (a staff's height).
constexpr double kMusicAscent = 0.8;
constexpr double kMusicDescent = 0.2;
constexpr double kMusicAverageWidth = 0.44;
// Sizes beyond this are clamped: a hostile document must not ask Pango for a giant font.
constexpr double kMaxEm = 20000;

TextFaceKey TextFaceOf(const FontSpec& font, FaceRole role) {
  TextFaceKey key;
  key.family = role == FaceRole::kText ? SubstituteTextFamily(font.lfFaceName, font.lfPitchAndFamily)
                                       : std::string(GlyphTextFamily(RoleTextFace(role)));
  key.weight = font.lfWeight <= 0 ? FW_NORMAL : font.lfWeight;
  key.italic = font.lfItalic != 0;
  key.underline = font.lfUnderline != 0;
  key.strikeOut = font.lfStrikeOut != 0;
  return key;
}

}  // namespace

size_t FontResolver::KeyHash::operator()(const Key& key) const {
  const FontSpec& f = key.font;
  size_t h = std::hash<std::string>()(f.lfFaceName);
  for (int32_t v : {f.lfHeight, f.lfWidth, f.lfEscapement, f.lfWeight, key.dpiY}) h = h * 131 + static_cast<size_t>(v);
  h = h * 131 + (static_cast<size_t>(f.lfItalic) | (static_cast<size_t>(f.lfUnderline) << 8) |
                 (static_cast<size_t>(f.lfStrikeOut) << 16) | (static_cast<size_t>(f.lfPitchAndFamily) << 24));
  return h;
}

const ResolvedFont& FontResolver::Resolve(const FontSpec& font, int32_t dpiY) {
  Key key{font, dpiY};
  auto found = cache_.find(key);
  if (found != cache_.end()) return *found->second;

  auto resolved = std::make_unique<ResolvedFont>();
  ResolvedFont& r = *resolved;
  r.spec = font;
  r.dpiY = dpiY;
  r.role = RoleForFace(font.lfFaceName);
  r.textFace = TextFaceOf(font, r.role);
  const bool music = r.IsMusicRole();

  // The em: a negative height is the em itself, a positive one the cell (ascent + descent),
  // zero the default size of twelve points.
  double em = 0;
  if (font.lfHeight < 0) {
    em = -static_cast<double>(font.lfHeight);
  } else if (font.lfHeight > 0) {
    if (music) {
      em = font.lfHeight / (kMusicAscent + kMusicDescent);
    } else {
      TextFaceKey reference = r.textFace;
      reference.em = 1000;
      const FaceMetrics m = engine_.Metrics(reference);
      const double cell = m.ascent + m.descent;
      em = cell > 0 ? font.lfHeight * 1000.0 / cell : font.lfHeight;
    }
  } else {
    em = MulDiv(12, dpiY, 72);
  }
  r.em = std::min(std::max(em, 1.0), kMaxEm);
  r.staffSpace = r.em / 4;
  r.textFace.em = r.em;

  if (music) {
    r.ascent = kMusicAscent * r.em;
    r.descent = kMusicDescent * r.em;
    r.metrics.tmAveCharWidth = RoundHalfAway(kMusicAverageWidth * r.em);
    r.metrics.tmMaxCharWidth = RoundHalfAway(2 * r.em);
  } else {
    const FaceMetrics m = engine_.Metrics(r.textFace);
    r.ascent = m.ascent;
    r.descent = m.descent;
    r.metrics.tmAveCharWidth = RoundHalfAway(m.averageWidth);
    r.metrics.tmMaxCharWidth = RoundHalfAway(m.maxWidth);
  }
  TextMetrics& tm = r.metrics;
  tm.tmAscent = RoundHalfAway(r.ascent);
  tm.tmDescent = RoundHalfAway(r.ascent + r.descent) - tm.tmAscent;
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - RoundHalfAway(r.em));
  tm.tmExternalLeading = 0;
  tm.tmWeight = r.textFace.weight;
  tm.tmItalic = font.lfItalic;
  tm.tmUnderlined = font.lfUnderline;
  tm.tmStruckOut = font.lfStrikeOut;
  tm.tmPitchAndFamily = font.lfPitchAndFamily;
  tm.tmCharSet = font.lfCharSet;
  r.angle = font.lfEscapement / 10.0 * kPi / 180.0;

  return *cache_.emplace(std::move(key), std::move(resolved)).first->second;
}

}  // namespace vornel
