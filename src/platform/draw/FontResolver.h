#pragma once
// Turns a font description into what drawing needs: the face's role, its em in pixels, the
// text face to draw text in and the integer metrics the layout measures with. Each device
// owns one: resolved fonts are cached for the life of the device, so selecting the same
// description again (every glyph of a page) costs one hash look-up.

#include <memory>
#include <unordered_map>

#include "platform/draw/DrawObjects.h"
#include "platform/draw/GlyphTable.h"
#include "platform/draw/TextFaces.h"

namespace vornel {

struct ResolvedFont {
  FontSpec spec;
  int32_t dpiY = 96;
  FaceRole role = FaceRole::kText;
  double em = 16;          // pixels
  double staffSpace = 4;   // em / 4: the unit of the glyph table's offsets
  TextFaceKey textFace;    // where text is drawn: the substitute, or the role's text face
  double ascent = 0;       // pixels
  double descent = 0;
  TextMetrics metrics;
  double angle = 0;        // radians, counter-clockwise (the escapement)

  bool IsMusicRole() const {
    return role == FaceRole::kNotation || role == FaceRole::kTabFlags || role == FaceRole::kTabDefault;
  }
};

class FontResolver {
 public:
  explicit FontResolver(TextEngine& engine) : engine_(engine) {}
  FontResolver(const FontResolver&) = delete;
  FontResolver& operator=(const FontResolver&) = delete;
  TextEngine& Engine() { return engine_; }

  // The reference stays valid for the life of the resolver.
  const ResolvedFont& Resolve(const FontSpec& font, int32_t dpiY);

 private:
  struct Key {
    FontSpec font;
    int32_t dpiY;
    friend bool operator==(const Key&, const Key&) = default;
  };
  struct KeyHash {
    size_t operator()(const Key& key) const;
  };

  TextEngine& engine_;
  std::unordered_map<Key, std::unique_ptr<ResolvedFont>, KeyHash> cache_;
};

}  // namespace vornel
