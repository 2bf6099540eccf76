#include "model/ornament/COrnamentGlyphTable.h"

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace vornel {

size_t COrnamentGlyphTable::FillGlyphList(bool notation) {
  const size_t perGroup = table.entriesPerGroup;
  const size_t first = notation ? perGroup : 0;
  glyphCodes.clear();
  for (size_t i = first; i < first + perGroup && i < table.size(); ++i) {
    const COrnamentProps* entry = table.at(i);
    glyphCodes.push_back(entry != nullptr ? entry->glyph : 0);
  }
  return perGroup;
}

void COrnamentGlyphTable::ResetToDefaults() { table = COrnamentTable(); }

void COrnamentGlyphTable::Store(ArchiveWriter& ar) const {
  table.Store(ar);
  ar.WriteCount(glyphCodes.size());
  for (const uint32_t code : glyphCodes) ar.WriteU32(code);
}

void COrnamentGlyphTable::Load(ArchiveReader& ar) {
  COrnamentTable readTable;
  readTable.Load(ar);
  const size_t count = ar.ReadCount(4);
  std::vector<uint32_t> codes;
  codes.reserve(count);
  for (size_t i = 0; i < count; ++i) codes.push_back(ar.ReadU32());
  table = std::move(readTable);
  glyphCodes = std::move(codes);
}

}  // namespace vornel
