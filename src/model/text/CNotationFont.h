#pragma once
// The stored description of the symbol font that draws staff notation: face, glyph interval
// (tenths of a millimetre, the basis of the glyph size), point size, colour and micro-tuning.
// The scaled font made from it at a zoom belongs to the drawing layer.

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "model/text/dfLogFont.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

class CNotationFont {
 public:
  static constexpr std::string_view kDefaultFace = "VornelNotation";
  static constexpr double kDefaultInterval = 60.0;

  uint32_t color = 0;
  SizePair pointSize{160, 0};  // tenths of a point
  std::string face{kDefaultFace};
  int32_t microTuning = 0;
  LogFont logFont;
  double interval = kDefaultInterval;

  CNotationFont();
  // A temporary font for one drawing: the face at point size 120, weight 400, character set 0.
  CNotationFont(std::string_view faceName, double glyphInterval);

  bool operator==(const CNotationFont&) const = default;

  // The logical font height (negative: the em) for a device resolution and zoom: the
  // interval plus what the micro-tuning adds, scaled by the zoom.
  int32_t ScaledHeight(int32_t dpi, int32_t zoom) const;
  // "VornelNotation - Size 16 - Weight 400".
  std::string GetDescription() const;
  // Sets the face and the face of the logical font.
  void SetFace(std::string_view faceName);

  // Face, interval, point size, colour. Not archived by reference (it is always a member).
  void Store(ArchiveWriter& ar) const;
  // Colour only from version "9.53.1"; a face "VornelNote" becomes "VornelNotation".
  void Load(ArchiveReader& ar);

  // "notation-font" with the face as its text.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Reads the attributes (the interval as a real number) and the face from the element's text
  // when it has one; returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
};

}  // namespace vornel
