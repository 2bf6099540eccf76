#pragma once
// The ornament glyphs of an instrument definition: its ornament table and the list of glyph
// codes of the group last listed (what the ornament page and the tools palette show). The
// page that edits it belongs to the window layer.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/ornament/COrnamentTable.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

class COrnamentGlyphTable {
 public:
  COrnamentTable table;
  std::vector<uint32_t> glyphCodes;  // empty until a group is listed

  // Lists the glyph of every entry of group 0 (tablature) or, `notation`, of group 1;
  // returns the entry count of the group.
  size_t FillGlyphList(bool notation);
  // Both groups back to their built-in rows.
  void ResetToDefaults();

  // The table's record, then the glyph codes as a count and one u32 each.
  void Store(ArchiveWriter& ar) const;
  void Load(ArchiveReader& ar);

  // The table's "ornament-table" element; the glyph list is not kept in XML.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const { return table.WriteXml(doc); }
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element) { return table.ReadXml(element); }
};

}  // namespace vornel
