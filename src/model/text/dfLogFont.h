#pragma once
// A stored text-font description: the logical font record (as the files keep it) with the
// size, zoom, scaling, colour and fine-tuning values of its user. Sizes are in tenths of a
// point, adjustments and parent sizes in tenths of a millimetre. Creating a real font from it
// belongs to the drawing layer.

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/archive/Persistent.h"

namespace vornel {

// Width and height pair of the stored records (cx, cy).
struct SizePair {
  int32_t cx = 0;
  int32_t cy = 0;
  bool operator==(const SizePair&) const = default;
};

// The logical-font fields as the files store them.
struct LogFont {
  // The face field holds 32 UTF-16 units with the terminator.
  static constexpr size_t kMaxFaceUnits = 31;

  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = 0;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 0;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  std::string lfFaceName;  // UTF-8, at most kMaxFaceUnits UTF-16 units

  bool operator==(const LogFont&) const = default;
};

// A face name cut to what the face field holds (never inside a surrogate pair).
std::string FitFaceName(std::string_view face);

// Face names are matched without regard to ASCII case ("Vornelfg" = "VornelFg").
bool SameFaceName(std::string_view a, std::string_view b);

class dfLogFont : public Persistent {
 public:
  static constexpr std::string_view kClassName = "dfLogFont";
  static constexpr uint32_t kDefaultColor = 0x006400;
  static constexpr std::string_view kDefaultFace = "Arial";

  SizePair staveAdjust;    // offset kept with the font for its user
  uint32_t color = 0;      // 0x00BBGGRR
  LogFont logFont;
  float zoom = 100.0f;     // zoom percentage of the last drawing
  SizePair parentSize;     // block the text is laid into; not archived
  SizePair pointSize;      // tenths of a point; cy is kept but not drawn
  SizePair zoomScale;      // percentages
  int32_t microTuning = 0; // added to the point size, tenths of a point

  // The defaults, then colour black and zoom 100.
  dfLogFont();
  dfLogFont(const dfLogFont&) = default;
  // Takes the description of `other`: logical font (its height as stored), point size, zoom,
  // zoom scale, stave adjustment, colour and micro-tuning; the parent size stays.
  dfLogFont& operator=(const dfLogFont& other);
  // Moving hands the whole object over unchanged: a document read into new objects and moved
  // into place is the document that was read.
  dfLogFont(dfLogFont&&) = default;
  dfLogFont& operator=(dfLogFont&&) = default;

  bool operator==(const dfLogFont& other) const;

  // Everything but the parent size back to the defaults (colour 0x006400, zoom 1).
  void SetDefaults();
  // The defaults, then the face, the point size (tenths of a point) and the character set;
  // colour black, micro-tuning 0.
  void InitFont(std::string_view face, int32_t pointSizeTenths, uint8_t charSet);
  // Copies a logical font in, keeping the height as its absolute value.
  void SetLogFont(const LogFont& font);
  // "Arial - Size 12".
  std::string GetDescription() const;

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  // Colour only from versions above "6.3", micro-tuning from "9.53". A stored face
  // "TabDefault" gives way to the face held before loading (or "Vornelfg").
  void Load(ArchiveReader& ar) override;

  // The font element ("track-font" unless the caller names it otherwise) with its "mlf" child;
  // `descriptor` becomes an attribute when not empty.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc, const char* name = "track-font",
                                 std::string_view descriptor = {}) const;
  // Reads a font element of any name and returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
};

}  // namespace vornel
