#include "platform/draw/TextFaces.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <vector>

#include "platform/text/AsciiCase.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr const char* kSerifFamilies[] = {"Liberation Serif", "DejaVu Serif"};
constexpr const char* kSansFamilies[] = {"Liberation Sans", "DejaVu Sans"};
constexpr const char* kMonoFamilies[] = {"Liberation Mono", "DejaVu Sans Mono"};
constexpr const char* kNarrowFamilies[] = {"Liberation Sans Narrow", "DejaVu Sans Condensed", "Liberation Sans"};

enum class Generic { kSerif, kSans, kMono, kNarrow };

struct KnownFace {
  const char* name;
  Generic generic;
};

// Faces of the platform the documents were written on, by what they look like.
constexpr KnownFace kKnownFaces[] = {
    {"times new roman", Generic::kSerif},  {"times", Generic::kSerif},
    {"georgia", Generic::kSerif},          {"garamond", Generic::kSerif},
    {"book antiqua", Generic::kSerif},     {"palatino linotype", Generic::kSerif},
    {"cambria", Generic::kSerif},          {"century schoolbook", Generic::kSerif},
    {"bookman old style", Generic::kSerif}, {"ms serif", Generic::kSerif},
    {"arial", Generic::kSans},             {"helvetica", Generic::kSans},
    {"ms sans serif", Generic::kSans},     {"microsoft sans serif", Generic::kSans},
    {"tahoma", Generic::kSans},            {"verdana", Generic::kSans},
    {"segoe ui", Generic::kSans},          {"calibri", Generic::kSans},
    {"trebuchet ms", Generic::kSans},      {"lucida sans unicode", Generic::kSans},
    {"system", Generic::kSans},            {"ms shell dlg", Generic::kSans},
    {"ms shell dlg 2", Generic::kSans},    {"arial black", Generic::kSans},
    {"arial narrow", Generic::kNarrow},    {"courier new", Generic::kMono},
    {"courier", Generic::kMono},           {"consolas", Generic::kMono},
    {"lucida console", Generic::kMono},
};

// The installed family's own spelling of `family`, when fontconfig has it.
std::optional<std::string> InstalledSpelling(const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::optional<std::string> found;
  if (match != nullptr) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
      if (EqualsNoCase(reinterpret_cast<const char*>(name), family)) {
        found = std::string(reinterpret_cast<const char*>(name));
        break;
      }
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return found;
}

bool FamilyInstalled(const std::string& family) { return InstalledSpelling(family).has_value(); }

template <size_t N>
std::string FirstInstalled(const char* const (&families)[N]) {
  for (const char* family : families) {
    if (FamilyInstalled(family)) return family;
  }
  return families[0];
}

std::string GenericFamily(Generic generic) {
  switch (generic) {
    case Generic::kSerif:
      return FirstInstalled(kSerifFamilies);
    case Generic::kMono:
      return FirstInstalled(kMonoFamilies);
    case Generic::kNarrow:
      return FirstInstalled(kNarrowFamilies);
    case Generic::kSans:
      break;
  }
  return FirstInstalled(kSansFamilies);
}

// Character widths of the fixed engine, in em.
double FixedWidth(char32_t c) {
  if (c == ' ') return 0.25;
  if (c == 'i' || c == 'l' || c == 'j' || c == '.' || c == ',' || c == '\'' || c == '!' || c == '|') return 0.25;
  if (c == 'm' || c == 'w' || c == 'M' || c == 'W') return 0.8;
  if (c >= 'A' && c <= 'Z') return 0.65;
  if (c < 0x80) return 0.5;
  return 0.6;
}

}  // namespace

std::string SubstituteTextFamily(std::string_view face, uint8_t pitchAndFamily) {
  // A cache of immutable resources, kept for the process: what the installed fonts give for a
  // face name does not change while the program runs, so every drawing may share it.
  static std::map<std::string, std::string> cache;
  static std::mutex mutex;
  const std::scoped_lock lock(mutex);
  const std::string lower = AsciiLower(face);
  const std::string key = lower + '\x1f' + std::to_string(pitchAndFamily);
  auto found = cache.find(key);
  if (found != cache.end()) return found->second;

  std::string family;
  for (const auto& known : kKnownFaces) {
    if (lower == known.name) {
      family = GenericFamily(known.generic);
      break;
    }
  }
  if (family.empty() && !face.empty() && FamilyInstalled(std::string(face))) family = std::string(face);
  if (family.empty()) {
    switch (pitchAndFamily & 0xF0) {
      case 0x10:  // roman
      case 0x40:  // script
        family = GenericFamily(Generic::kSerif);
        break;
      case 0x30:  // modern (fixed pitch)
        family = GenericFamily(Generic::kMono);
        break;
      default:
        family = (pitchAndFamily & 0x03) == 1 ? GenericFamily(Generic::kMono) : GenericFamily(Generic::kSans);
        break;
    }
  }
  cache.emplace(key, family);
  return family;
}

bool IsSubstitutedFace(std::string_view face) {
  const std::string lower = AsciiLower(face);
  for (const auto& known : kKnownFaces) {
    if (lower == known.name) return true;
  }
  return false;
}

std::optional<std::string> InstalledFaceName(std::string_view face) {
  if (face.empty()) return std::nullopt;
  if (RoleForFace(face) != FaceRole::kText) return std::string(face);
  // A cache of immutable resources, kept for the process: the installed spelling of a face.
  static std::map<std::string, std::optional<std::string>> cache;
  static std::mutex mutex;
  const std::scoped_lock lock(mutex);
  const std::string key = AsciiLower(face);
  auto found = cache.find(key);
  if (found != cache.end()) return found->second;
  auto spelling = InstalledSpelling(std::string(face));
  cache.emplace(key, spelling);
  return spelling;
}

std::string_view GlyphTextFamily(GlyphTextFace face) {
  static const std::string serif = GenericFamily(Generic::kSerif);
  static const std::string sans = GenericFamily(Generic::kSans);
  return face == GlyphTextFace::kSans ? sans : serif;
}

size_t TextFaceKeyHash::operator()(const TextFaceKey& key) const {
  size_t h = std::hash<std::string>()(key.family);
  h = h * 31 + std::hash<double>()(key.em);
  h = h * 31 + static_cast<size_t>(key.weight);
  h = h * 31 + (key.italic ? 1 : 0) + (key.underline ? 2 : 0) + (key.strikeOut ? 4 : 0);
  return h;
}

TextInkBox TextEngine::Ink(const TextFaceKey& key, std::string_view text) {
  TextInkBox box;
  box.right = Advance(key, text);
  bool any = false;
  for (size_t pos = 0; pos < text.size();) {
    const char32_t c = DecodeUtf8(text, pos);
    if (c == ' ' || c == 0xA0) continue;
    double top = -0.72;
    double bottom = 0;
    if (std::string_view("acemnorsuvwxz").find(static_cast<char>(c)) != std::string_view::npos && c < 0x80) {
      top = -0.5;
    } else if (c == '.' || c == ',' || c == '_') {
      top = -0.12;
    } else if (c == '-' || c == '~' || c == '=') {
      top = -0.35;
      bottom = -0.2;
    }
    if (c < 0x80 && std::string_view("gjpqy,;()[]{}|").find(static_cast<char>(c)) != std::string_view::npos) {
      bottom = 0.2;
    }
    box.top = any ? std::min(box.top, top * key.em) : top * key.em;
    box.bottom = any ? std::max(box.bottom, bottom * key.em) : bottom * key.em;
    any = true;
  }
  if (!any) return {};
  return box;
}

FixedTextEngine& FixedTextEngine::Shared() {
  // The text engine is stateless beyond its immutable metrics: shared by every drawing.
  static FixedTextEngine engine;
  return engine;
}

FaceMetrics FixedTextEngine::Metrics(const TextFaceKey& key) {
  return FaceMetrics{0.8 * key.em, 0.2 * key.em, 0.5 * key.em, key.em};
}

double FixedTextEngine::Advance(const TextFaceKey& key, std::string_view text) {
  double width = 0;
  for (size_t pos = 0; pos < text.size();) width += FixedWidth(DecodeUtf8(text, pos));
  return width * key.em;
}

PangoTextEngine& PangoTextEngine::Shared() {
  // One per thread: the engine keeps only the font map and the faces loaded from it, resources
  // that never change, so every drawing on the thread may share them.
  static thread_local PangoTextEngine engine;
  return engine;
}

PangoTextEngine::PangoTextEngine() {
  fontMap_ = pango_cairo_font_map_new();
  context_ = pango_font_map_create_context(fontMap_);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(context_, FALSE);
  layout_ = pango_layout_new(context_);
  pango_layout_set_single_paragraph_mode(layout_, TRUE);
}

PangoTextEngine::~PangoTextEngine() {
  for (auto& [key, description] : descriptions_) pango_font_description_free(description);
  if (layout_ != nullptr) g_object_unref(layout_);
  if (context_ != nullptr) g_object_unref(context_);
  if (fontMap_ != nullptr) g_object_unref(fontMap_);
}

namespace {

// The key without the decorations: they are drawn as attributes of a layout, and change
// neither the font nor its metrics.
TextFaceKey PlainKey(const TextFaceKey& key) {
  TextFaceKey plain = key;
  plain.underline = false;
  plain.strikeOut = false;
  return plain;
}

}  // namespace

PangoFontDescription* PangoTextEngine::Description(const TextFaceKey& key) {
  const TextFaceKey plain = PlainKey(key);
  auto found = descriptions_.find(plain);
  if (found != descriptions_.end()) return found->second;
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, key.family.c_str());
  const double em = std::clamp(key.em, 0.01, 100000.0);
  pango_font_description_set_absolute_size(description, em * PANGO_SCALE);
  pango_font_description_set_weight(description, static_cast<PangoWeight>(std::clamp(key.weight, 100, 1000)));
  pango_font_description_set_style(description, key.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  descriptions_.emplace(plain, description);
  return description;
}

void PangoTextEngine::SetUp(const TextFaceKey& key, std::string_view text) {
  pango_layout_set_font_description(layout_, Description(key));
  if (key.underline || key.strikeOut) {
    PangoAttrList* attributes = pango_attr_list_new();
    if (key.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (key.strikeOut) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout_, attributes);
    pango_attr_list_unref(attributes);
  } else {
    pango_layout_set_attributes(layout_, nullptr);
  }
  pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
}

FaceMetrics PangoTextEngine::Metrics(const TextFaceKey& key) {
  const TextFaceKey plain = PlainKey(key);
  auto found = metrics_.find(plain);
  if (found != metrics_.end()) return found->second;
  PangoFontMetrics* metrics = pango_context_get_metrics(context_, Description(key), nullptr);
  FaceMetrics m;
  m.ascent = pango_font_metrics_get_ascent(metrics) / double(PANGO_SCALE);
  m.descent = pango_font_metrics_get_descent(metrics) / double(PANGO_SCALE);
  m.averageWidth = pango_font_metrics_get_approximate_char_width(metrics) / double(PANGO_SCALE);
  m.maxWidth = std::max(m.averageWidth * 2, key.em);
  pango_font_metrics_unref(metrics);
  metrics_.emplace(plain, m);
  return m;
}

ShapedText::~ShapedText() {
  for (Run& run : runs) cairo_scaled_font_destroy(run.font);
}

size_t PangoTextEngine::ShapeKeyHash::operator()(const ShapeProbe& probe) const {
  return TextFaceKeyHash()(probe.face) * 31 + std::hash<std::string_view>()(probe.text);
}

void PangoTextEngine::ShapeText(const TextFaceKey& key, std::string_view text, ShapedText& shaped) {
  SetUp(key, text);
  PangoRectangle ink;
  PangoRectangle logical;
  pango_layout_get_extents(layout_, &ink, &logical);
  shaped.advance = logical.width / double(PANGO_SCALE);
  shaped.baseline = pango_layout_get_baseline(layout_) / double(PANGO_SCALE);
  if (ink.width > 0 && ink.height > 0) {
    shaped.ink = {ink.x / double(PANGO_SCALE), ink.y / double(PANGO_SCALE) - shaped.baseline,
                  (ink.x + ink.width) / double(PANGO_SCALE), (ink.y + ink.height) / double(PANGO_SCALE) - shaped.baseline};
  }
  // Decorations are drawn by the layout's renderer, and so are the boxes of characters no
  // font has.
  shaped.drawnByLayout = key.underline || key.strikeOut || pango_layout_get_unknown_glyphs_count(layout_) > 0;
  if (shaped.drawnByLayout) return;
  // The glyphs where the layout's renderer puts them: each run from its logical left, each
  // glyph by its offsets, on the line's baseline.
  PangoLayoutIter* iter = pango_layout_get_iter(layout_);
  do {
    PangoLayoutRun* run = pango_layout_iter_get_run_readonly(iter);
    if (run == nullptr) continue;
    PangoRectangle runLogical;
    pango_layout_iter_get_run_extents(iter, nullptr, &runLogical);
    const int baseline = pango_layout_iter_get_baseline(iter);
    PangoFont* font = run->item->analysis.font;
    cairo_scaled_font_t* scaled = font != nullptr ? pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font)) : nullptr;
    if (scaled == nullptr) {
      shaped.drawnByLayout = true;
      break;
    }
    ShapedText::Run glyphs;
    glyphs.font = cairo_scaled_font_reference(scaled);
    int x = runLogical.x;
    for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
      const PangoGlyphInfo& info = run->glyphs->glyphs[i];
      if (info.glyph != PANGO_GLYPH_EMPTY) {
        glyphs.glyphs.push_back({info.glyph, (x + info.geometry.x_offset) / double(PANGO_SCALE),
                                 (baseline - run->y_offset + info.geometry.y_offset) / double(PANGO_SCALE)});
      }
      x += info.geometry.width;
    }
    shaped.runs.push_back(std::move(glyphs));
  } while (pango_layout_iter_next_run(iter));
  pango_layout_iter_free(iter);
}

const ShapedText& PangoTextEngine::Shape(const TextFaceKey& key, std::string_view text) {
  if (auto found = shapes_.find(ShapeProbe{key, text}); found != shapes_.end()) return *found->second;
  // Enough for the letters, numbers and words of many pages; past it they are shaped again.
  if (shapes_.size() >= 16384) shapes_.clear();
  auto shaped = std::make_unique<ShapedText>();
  ShapeText(key, text, *shaped);
  return *shapes_.emplace(ShapeKey{key, std::string(text)}, std::move(shaped)).first->second;
}

double PangoTextEngine::Advance(const TextFaceKey& key, std::string_view text) {
  if (text.empty()) return 0;
  return Shape(key, text).advance;
}

TextInkBox PangoTextEngine::Ink(const TextFaceKey& key, std::string_view text) {
  if (text.empty()) return {};
  return Shape(key, text).ink;
}

PangoLayout* PangoTextEngine::Layout(const TextFaceKey& key, std::string_view text, double* baseline) {
  SetUp(key, text);
  if (baseline != nullptr) *baseline = pango_layout_get_baseline(layout_) / double(PANGO_SCALE);
  return layout_;
}

}  // namespace vornel
