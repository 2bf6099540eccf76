#pragma once
// One ornament or fingering definition of an instrument's ornament table: a glyph of the
// tablature flag font (type 0) or of the notation font (any other type), its alignment
// relative to the note, a flag value, a colour and the ornament code its kind stands for.

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/archive/Persistent.h"

namespace vornel {

class COrnamentProps : public Persistent {
 public:
  static constexpr std::string_view kClassName = "COrnamentProps";
  // Ornament kinds that have a name and a code.
  static constexpr int kKindCount = 32;
  // The type of a record read from the binary form without its type (one of an older writer).
  static constexpr int32_t kUnreadType = -1;
  // Glyphs in each built-in catalogue.
  static constexpr int kCatalogueSize = 150;
  // Alignment names, flag-value names.
  static constexpr int kAlignmentCount = 12;

  uint32_t color = 0;
  int32_t alignment = 0;   // 0-11 (see AlignmentName)
  int32_t flagValue = 0;   // 0-3: full, half, third, quarter flag
  int32_t kind = 0;        // 0-31; -1 after a binary load
  uint32_t glyph = 32;     // character code; only the low 16 bits count
  int32_t type = 0;        // 0 tablature, other notation; -1 after loading an older record
  uint8_t legacyGlyph = 0; // glyph of records from old files
  uint8_t ornamentValue = 0;

  COrnamentProps() = default;
  // A definition of `glyphCode` for kind `b` with type `a`: flag value 1, the ornament code of
  // kind `a`; alignment -1 takes the glyph's default alignment in the catalogue of type `a`.
  COrnamentProps(uint32_t glyphCode, int32_t a, int32_t b, int32_t alignmentIndex);

  bool operator==(const COrnamentProps& other) const;

  std::string_view ClassName() const override { return kClassName; }
  // Glyph, type, legacy byte (0), alignment, flag value and the packed word
  // 0x3000 | flag value << 8 | alignment: 0x2000 says the type word holds the type.
  void Store(ArchiveWriter& ar) const override;
  // The kind comes back as -1, and so does the type unless the record is marked as keeping it
  // (older writers left the word to be ignored); a record without the 0x1000 mark takes its
  // glyph from the legacy byte.
  void Load(ArchiveReader& ar) override;

  // "ornament" named after `kindNumber`; returns the new element.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc, int kindNumber) const;
  // Glyph, type, alignment and flag value; returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // The catalogue row of this definition's glyph in the catalogue of its type; 0 when absent.
  int FindCatalogueRow() const;

  // Name and ornament code of a kind 0-31 (empty and 0 for any other).
  static std::string_view KindName(int kindNumber);
  static uint8_t KindCode(int kindNumber);
  static std::string_view AlignmentName(int index);
  // The glyph code and default alignment of a catalogue row (type 0 tablature, other notation).
  static uint16_t CatalogueGlyph(int type, int row);
  static int CatalogueAlignment(int type, int row);
  // First row of the catalogue holding the code (low 16 bits compared); 0 when none.
  static int FindCatalogueRow(int type, uint32_t code);
  // The glyph of old files ("8.46" and before) that stands for `oldCode`; false when unmapped.
  static bool MapOldGlyph(uint32_t oldCode, uint32_t& newCode);
};

}  // namespace vornel
