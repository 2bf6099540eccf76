#pragma once
// The ornament table of an instrument: the definitions that notes refer to by ornament code,
// in two halves of equal length (tablature forms first, then the notation forms of the same
// kinds), and the seven colours of the categories of marks.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/ornament/COrnamentProps.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class COrnamentTable : public Persistent, public OwnedArray<COrnamentProps> {
 public:
  static constexpr std::string_view kClassName = "COrnamentTable";
  // Rows per group of the built-in tables.
  static constexpr uint32_t kDefaultEntriesPerGroup = 35;
  // The half count of a stored table never exceeds the number of kinds.
  static constexpr uint32_t kMaxHalfCount = COrnamentProps::kKindCount;

  // The colours (0x00BBGGRR), in their stored order.
  enum ColorIndex { kFingerings, kOrnaments, kMetaEvents, kMelody, kSlurs, kTiedNotes, kLegatos, kColorCount };
  std::array<uint32_t, kColorCount> colors = {0x507D00, 0x50007D, 0x1E0A00, 0x0000FA, 0x000032, 0, 0};
  uint32_t entriesPerGroup = kMaxHalfCount;
  uint32_t groups = 2;

  // 70 entries from the built-in rows of both groups.
  COrnamentTable();

  // Group 0 or 1 from its built-in rows: glyph, alignment, and the row index as type.
  void ResetGroup(int group);
  // The entry of a group for an ornament code (or, `byValue`, for the entry whose ornament
  // value is the code), with the group recorded as its type. An unknown code gives one shared
  // default entry, never nothing.
  const COrnamentProps& GetOrnament(uint32_t code, int group, bool byValue = false);
  // Flag value of the first tablature entry whose ornament value is `value`; 0 when none.
  int GetFlagValue(uint32_t value) const;
  // Brings a table to its stored shape: 70 rows lose the three last rows of each group, the
  // half count follows the rows, and rows k and half + k carry the code of kind k.
  void NormalizeEntries();

  std::string_view ClassName() const override { return kClassName; }
  // The entries as an object array, then the seven colours.
  void Store(ArchiveWriter& ar) const override;
  // Colours by version ("9.53.1", "9.53.2", "9.6.8.0"); tables of older sizes are upgraded to 64
  // rows; files before "8.46" have their tablature glyphs mapped and their notation half reset.
  // Each row's type and kind follow from its half and its place in it.
  void Load(ArchiveReader& ar) override;

  // "ornament-table" with "colors" and "ornament-types".
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Requires "ornament-table"; at most 35 entries per group. Returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

 private:
  // 2 * perGroup entries from the built-in rows (rows beyond them are default definitions).
  void FillFromDefaults(uint32_t perGroup);
  void UpgradeOldSizes();
  void MapOldFileGlyphs();
};

// The melodic pattern of an ornament: its code and the signed staff steps of its auxiliary notes.
struct CMusicPattern {
  uint32_t code = 0;
  std::vector<int16_t> steps;
};

// The built-in pattern of an ornament code 1-103; null for codes without one.
std::unique_ptr<CMusicPattern> CreateMusicPattern(int code);

}  // namespace vornel
