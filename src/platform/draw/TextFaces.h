#pragma once
// Text faces: the installed substitutes for the faces documents name ("Times New Roman",
// "Arial", "Arial Narrow" ...), and the engines that measure text in them. The Pango engine
// measures and lays out real fonts; the fixed engine gives invented but stable metrics, so
// that the recording device's logs do not change with the fonts of the machine.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/draw/GlyphTable.h"

typedef struct _PangoLayout PangoLayout;
typedef struct _PangoContext PangoContext;
typedef struct _PangoFontMap PangoFontMap;
typedef struct _PangoFontDescription PangoFontDescription;

namespace vornel {

// The installed family that stands for a face a document names: our table of well-known
// substitutes first, then the face itself when fontconfig has it, then a serif, sans or
// monospace family after the pitch-and-family byte. Looked up once per name.
std::string SubstituteTextFamily(std::string_view face, uint8_t pitchAndFamily = 0);

// The face as the system spells it when it can be drawn: a face of the glyph table as given,
// an installed family as fontconfig names it; nothing otherwise. Looked up once per name.
std::optional<std::string> InstalledFaceName(std::string_view face);
// A face of the platform the documents were written on that our substitution table draws with
// an installed family ("Times New Roman", "Arial" ...).
bool IsSubstitutedFace(std::string_view face);

// The family of a text face the glyph table names.
std::string_view GlyphTextFamily(GlyphTextFace face);

struct TextFaceKey {
  std::string family;
  double em = 16;  // pixels
  int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  friend bool operator==(const TextFaceKey&, const TextFaceKey&) = default;
};

struct TextFaceKeyHash {
  size_t operator()(const TextFaceKey& key) const;
};

// Vertical metrics and widths in pixels at the key's em.
struct FaceMetrics {
  double ascent = 0;
  double descent = 0;
  double averageWidth = 0;
  double maxWidth = 0;
};

// Where the ink of a line of text lies, from its origin on the baseline (y grows downward).
struct TextInkBox {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

class TextEngine {
 public:
  virtual ~TextEngine() = default;
  virtual FaceMetrics Metrics(const TextFaceKey& key) = 0;
  // Advance of a single line of UTF-8 text.
  virtual double Advance(const TextFaceKey& key, std::string_view text) = 0;
  // The ink of a single line of text. By default worked out from the advance and the letters'
  // classes: x-height, ascenders and capitals, descenders.
  virtual TextInkBox Ink(const TextFaceKey& key, std::string_view text);
};

// Invented metrics: ascent 0.8 em, descent 0.2 em, and per character a width by its class.
class FixedTextEngine : public TextEngine {
 public:
  static FixedTextEngine& Shared();
  FaceMetrics Metrics(const TextFaceKey& key) override;
  double Advance(const TextFaceKey& key, std::string_view text) override;
};

// One line of text shaped in one face: its advance and ink, and the glyphs that draw it, each
// run of them in the scaled font Pango chose for it, placed from the line's top left. A text
// whose decorations (underline, strike-out) or missing glyphs only a layout draws says so.
struct ShapedText {
  struct Run {
    cairo_scaled_font_t* font = nullptr;  // referenced while the shape is kept
    std::vector<cairo_glyph_t> glyphs;
  };
  double advance = 0;
  TextInkBox ink;         // all 0 when the text leaves no ink
  double baseline = 0;    // from the line's top
  std::vector<Run> runs;
  bool drawnByLayout = false;

  ShapedText() = default;
  ~ShapedText();
  ShapedText(const ShapedText&) = delete;
  ShapedText& operator=(const ShapedText&) = delete;
};

// Real fonts through Pango, unhinted so that screen, PNG and PDF lay text out alike. One
// engine per thread that draws (the user-interface thread); it caches font descriptions,
// metrics and the texts it shaped last: a text measured and drawn again (the letters of a
// tablature, a bar number) is laid out by Pango once.
class PangoTextEngine : public TextEngine {
 public:
  static PangoTextEngine& Shared();
  PangoTextEngine();
  ~PangoTextEngine() override;
  PangoTextEngine(const PangoTextEngine&) = delete;
  PangoTextEngine& operator=(const PangoTextEngine&) = delete;

  FaceMetrics Metrics(const TextFaceKey& key) override;
  double Advance(const TextFaceKey& key, std::string_view text) override;
  TextInkBox Ink(const TextFaceKey& key, std::string_view text) override;

  // The text shaped in the face: laid out once, then kept. The reference holds until the
  // next call.
  const ShapedText& Shape(const TextFaceKey& key, std::string_view text);

  // The engine's layout set to one line of text in the face, for drawing; valid until the
  // next call. `baseline` receives the distance from the layout's top to its baseline.
  PangoLayout* Layout(const TextFaceKey& key, std::string_view text, double* baseline);

 private:
  struct ShapeKey {
    TextFaceKey face;
    std::string text;
  };
  // A key to look a shape up by, without copying the face or the text.
  struct ShapeProbe {
    const TextFaceKey& face;
    std::string_view text;
  };
  struct ShapeKeyHash {
    using is_transparent = void;
    size_t operator()(const ShapeKey& key) const { return (*this)(ShapeProbe{key.face, key.text}); }
    size_t operator()(const ShapeProbe& probe) const;
  };
  struct ShapeKeyEqual {
    using is_transparent = void;
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      return a.face == b.face && std::string_view(a.text) == std::string_view(b.text);
    }
  };

  PangoFontDescription* Description(const TextFaceKey& key);
  void SetUp(const TextFaceKey& key, std::string_view text);
  // Lays the text out and takes its measures and glyphs from the layout.
  void ShapeText(const TextFaceKey& key, std::string_view text, ShapedText& shaped);

  PangoFontMap* fontMap_ = nullptr;
  PangoContext* context_ = nullptr;
  PangoLayout* layout_ = nullptr;
  std::unordered_map<TextFaceKey, PangoFontDescription*, TextFaceKeyHash> descriptions_;
  std::unordered_map<TextFaceKey, FaceMetrics, TextFaceKeyHash> metrics_;
  std::unordered_map<ShapeKey, std::unique_ptr<ShapedText>, ShapeKeyHash, ShapeKeyEqual> shapes_;
};

}  // namespace vornel
