#include <gtest/gtest.h>

#include "model/ornament/COrnamentTable.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "model/XmlTestText.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

// A stored table as a file of the given version holds it: entries, then the colours the
// version has.
std::vector<uint8_t> StoredTable(const COrnamentTable& table, size_t colorCount) {
  ArchiveWriter w;
  w.WriteObjectArray(table.items());
  for (size_t i = 0; i < colorCount; ++i) w.WriteU32(0xA0 + static_cast<uint32_t>(i));
  return w.TakeBytes();
}

void ExpectHalvesCarryKindCodes(const COrnamentTable& table) {
  const uint32_t half = table.entriesPerGroup;
  for (uint32_t k = 0; k < half; ++k) {
    EXPECT_EQ(table[k]->ornamentValue, COrnamentProps::KindCode(static_cast<int>(k))) << k;
    EXPECT_EQ(table[half + k]->ornamentValue, COrnamentProps::KindCode(static_cast<int>(k))) << k;
  }
}

// A new table is filled from the 35 built-in rows of each group and then takes the stored
// shape, 32 per group, as every table read from a file does.
TEST(OrnamentTable, NewTableHasTheStoredShape) {
  const COrnamentTable table;
  ASSERT_EQ(table.size(), 64u);
  EXPECT_EQ(table.entriesPerGroup, 32u);
  EXPECT_EQ(table.colors, (std::array<uint32_t, 7>{0x507D00, 0x50007D, 0x1E0A00, 0x0000FA, 0x000032, 0, 0}));
  EXPECT_EQ(table[0]->glyph, 0xDBu);
  EXPECT_EQ(table[29]->glyph, 0x11Au);  // the whole glyph, not its low byte
  EXPECT_EQ(table[32]->glyph, 0xC2u);   // group 1 takes its own rows' glyphs
  EXPECT_EQ(table[36]->alignment, 7);
  EXPECT_EQ(table[61]->glyph, 0xD0u);
  EXPECT_EQ(table[33]->ornamentValue, 65);
  EXPECT_EQ(table[33]->flagValue, 1);
  ExpectHalvesCarryKindCodes(table);

  ArchiveWriter w;
  table.Store(w);
  ArchiveReader r(w.Bytes());
  COrnamentTable read;
  read.Load(r);
  ArchiveWriter again;
  read.Store(again);
  EXPECT_TRUE(again.Bytes() == w.Bytes());
}

TEST(OrnamentTable, ResetGroupTakesGlyphAlignmentAndIndexAsType) {
  COrnamentTable table;
  table[35]->glyph = 7;
  table[35]->alignment = 11;
  table[35]->type = -1;
  table[35]->ornamentValue = 99;
  table.ResetGroup(1);
  EXPECT_EQ(table[35]->glyph, 0xC5u);
  EXPECT_EQ(table[35]->alignment, 1);
  EXPECT_EQ(table[35]->type, 3);
  EXPECT_EQ(table[35]->ornamentValue, 99);  // not part of a reset
  table.ResetGroup(2);                      // no such group: nothing happens
}

TEST(OrnamentTable, OrnamentOfACode) {
  COrnamentTable table;
  const COrnamentProps& byIndex = table.GetOrnament(3, 1);
  EXPECT_EQ(&byIndex, table[35]);
  EXPECT_EQ(byIndex.type, 1);  // the group is recorded in the entry

  const COrnamentProps& byValue = table.GetOrnament(65, 0, true);
  EXPECT_EQ(&byValue, table[1]);

  const COrnamentProps& unknown = table.GetOrnament(200, 0);
  EXPECT_EQ(&unknown, &table.GetOrnament(64, 1, true));
  EXPECT_EQ(&unknown, &table.GetOrnament(1, 5));
  EXPECT_EQ(unknown.glyph, 32u);

  table[2]->flagValue = 3;
  EXPECT_EQ(table.GetFlagValue(5), 3);
  EXPECT_EQ(table.GetFlagValue(250), 0);
}

TEST(OrnamentDefinition, RecordPacksAlignmentAndFlagValue) {
  COrnamentProps entry(0x11A, 0, 0, 11);
  entry.flagValue = 3;
  ArchiveWriter w;
  entry.Store(w);
  // glyph, type, legacy byte, alignment, flag value, 0x3000 | flag << 8 | alignment
  EXPECT_EQ(ToHex(w.Bytes()), "1A 01 00 00 00 00 00 00 00 0B 00 00 00 03 00 00 00 0B 33 00 00");

  ArchiveReader r(w.Bytes());
  COrnamentProps read;
  read.Load(r);
  EXPECT_EQ(read.glyph, 0x11Au);
  EXPECT_EQ(read.alignment, 11);
  EXPECT_EQ(read.flagValue, 3);
  EXPECT_EQ(read.type, 0);
  EXPECT_EQ(read.kind, -1);

  // Older writers left the type word to be ignored: without the 0x2000 mark it reads as -1.
  const auto unmarkedBytes = HexBytes("1A 01 00 00 05 00 00 00 00 0B 00 00 00 03 00 00 00 0B 13 00 00");
  ArchiveReader unmarked(unmarkedBytes);
  read.Load(unmarked);
  EXPECT_EQ(read.type, -1);
  EXPECT_EQ(read.alignment, 11);

  // An old record without the mark: the glyph is the legacy byte, the other fields as stored.
  const auto old = HexBytes("00 00 00 00 01 00 00 00 37 02 00 00 00 01 00 00 00 00 00 00 00");
  ArchiveReader r2(old);
  read.Load(r2);
  EXPECT_EQ(read.glyph, 0x37u);
  EXPECT_EQ(read.legacyGlyph, 0x37);
  EXPECT_EQ(read.alignment, 2);
  EXPECT_EQ(read.flagValue, 1);
}

TEST(OrnamentDefinition, CatalogueDefaults) {
  EXPECT_EQ(COrnamentProps::FindCatalogueRow(0, 0x10000 | 209), 1);  // low 16 bits compared
  EXPECT_EQ(COrnamentProps::FindCatalogueRow(0, 0x100 | 209), 0);
  EXPECT_EQ(COrnamentProps::FindCatalogueRow(0, 100), 78);         // the first of two rows
  EXPECT_EQ(COrnamentProps::FindCatalogueRow(1, 5000), 0);
  const COrnamentProps fromCatalogue(228, 1, 1, -1);
  EXPECT_EQ(fromCatalogue.alignment, 13);  // notation catalogue row 4
  EXPECT_EQ(fromCatalogue.ornamentValue, 65);
  EXPECT_EQ(COrnamentProps(5000, 0, 0, -1).alignment, 0);
  EXPECT_EQ(COrnamentProps::KindName(16), "Asc. 3-note coul\u00e9");
  EXPECT_EQ(COrnamentProps::KindName(32), "");
}

TEST(OrnamentTableRecord, StoredFormKeepsEntriesAndColours) {
  COrnamentTable table;
  table.NormalizeEntries();
  table.colors[COrnamentTable::kLegatos] = 0x123456;
  ArchiveWriter w;
  table.Store(w);
  ArchiveReader r(w.Bytes());
  COrnamentTable read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.size(), 64u);
  EXPECT_EQ(read.entriesPerGroup, 32u);
  EXPECT_EQ(read.colors, table.colors);
  EXPECT_EQ(read[40]->glyph, table[40]->glyph);
  ExpectHalvesCarryKindCodes(read);
}

struct ColorGateCase {
  const char* version;
  size_t colorsStored;
  friend std::ostream& operator<<(std::ostream& os, const ColorGateCase& c) { return os << c.version; }
};

class OrnamentColorGates : public ::testing::TestWithParam<ColorGateCase> {};

TEST_P(OrnamentColorGates, ColoursReadByVersion) {
  const ColorGateCase& c = GetParam();
  COrnamentTable stored;
  stored.NormalizeEntries();
  const auto bytes = StoredTable(stored, c.colorsStored);
  ArchiveReader r(bytes, c.version);
  COrnamentTable read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  const COrnamentTable defaults;
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(read.colors[i], i < c.colorsStored ? 0xA0 + i : defaults.colors[i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, OrnamentColorGates,
                         ::testing::Values(ColorGateCase{"9.53", 0}, ColorGateCase{"9.53.1", 2},
                                           ColorGateCase{"9.53.2", 3}, ColorGateCase{"9.6.7", 3},
                                           ColorGateCase{"9.6.8.0", 7}, ColorGateCase{"9.8.1.0", 7}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(OrnamentTableRecord, OldSizesGrowToSixtyFourAlignedRows) {
  COrnamentTable old;
  while (old.size() > 26) old.erase(old.size() - 1);
  for (size_t i = 0; i < old.size(); ++i) old[i]->glyph = 1000 + static_cast<uint32_t>(i);
  const auto bytes = StoredTable(old, 7);
  ArchiveReader r(bytes);
  COrnamentTable read;
  read.Load(r);
  ASSERT_EQ(read.size(), 64u);
  EXPECT_EQ(read.entriesPerGroup, 32u);
  ExpectHalvesCarryKindCodes(read);
  // The first inserts of the 26-row step stand at rows 4 and 5 after the 30-row step.
  EXPECT_EQ(read[0]->glyph, 1000u);
  EXPECT_EQ(read[4]->glyph, 218u);
  EXPECT_EQ(read[5]->glyph, 98u);
  EXPECT_EQ(read[31]->glyph, 109u);
  EXPECT_EQ(read[31]->alignment, 4);
  EXPECT_EQ(read[63]->glyph, 250u);
}

TEST(OrnamentTableRecord, SeventyRowsLoseTheLastThreeOfEachGroup) {
  COrnamentTable table;
  table.clear();
  for (uint32_t i = 0; i < 70; ++i) table.push_back(std::make_unique<COrnamentProps>())->glyph = i;
  table.NormalizeEntries();
  ASSERT_EQ(table.size(), 64u);
  EXPECT_EQ(table[31]->glyph, 31u);
  EXPECT_EQ(table[32]->glyph, 35u);  // group 1 starts with its own first row
  EXPECT_EQ(table[63]->glyph, 66u);
}

TEST(OrnamentTableRecord, FilesBeforeEightFortySixMapOldGlyphs) {
  COrnamentTable stored;
  stored.NormalizeEntries();
  stored[0]->glyph = 55;   // mapped to 209
  stored[1]->glyph = 300;  // no pair: kept
  stored[40]->glyph = 1;   // the notation half is reset
  const auto bytes = StoredTable(stored, 0);
  ArchiveReader r(bytes, "8.45");
  COrnamentTable read;
  read.Load(r);
  EXPECT_EQ(read[0]->glyph, 209u);
  EXPECT_EQ(read[0]->alignment, 2);  // default of 209 in the tablature catalogue
  EXPECT_EQ(read[1]->glyph, 300u);
  EXPECT_EQ(read[40]->glyph, 0x9Bu);
  EXPECT_EQ(read[40]->type, 8);

  ArchiveReader current(bytes, "8.46");
  COrnamentTable unchanged;
  unchanged.Load(current);
  EXPECT_EQ(unchanged[0]->glyph, 55u);
}

// Rows read from a binary table come back without kind, and without type when their writer did
// not keep it; both follow from the row's half, so a tablature row keeps the flags face.
TEST(OrnamentTableRecord, RowsTakeTypeAndKindFromTheirHalf) {
  COrnamentTable stored;
  stored.NormalizeEntries();
  for (size_t i = 0; i < stored.size(); ++i) stored[i]->type = COrnamentProps::kUnreadType;
  const auto bytes = StoredTable(stored, 7);
  ArchiveReader r(bytes, "9.8.1.0");
  COrnamentTable read;
  read.Load(r);
  const uint32_t half = read.entriesPerGroup;
  for (const uint32_t k : {0u, 3u, half - 1}) {
    EXPECT_EQ(read[k]->type, 0) << k;
    EXPECT_EQ(read[half + k]->type, 1) << k;
    EXPECT_EQ(read[k]->kind, static_cast<int32_t>(k));
    EXPECT_EQ(read[half + k]->kind, static_cast<int32_t>(k));
  }
}

TEST(OrnamentTableXml, WritesBothGroupsAndReadsThemBack) {
  COrnamentTable table;
  table.NormalizeEntries();
  table[33]->glyph = 0x123;
  table[33]->flagValue = 2;
  table.colors[COrnamentTable::kSlurs] = 0xFFFFFFFF;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = table.WriteXml(doc);
  doc.InsertEndChild(element);
  const tinyxml2::XMLElement* types = element->FirstChildElement("ornament-types");
  ASSERT_NE(types, nullptr);
  EXPECT_STREQ(types->Attribute("count"), "32");
  EXPECT_STREQ(types->FirstChildElement("notation")->Attribute("font-name"), "VornelNotation");
  tinyxml2::XMLDocument single;
  EXPECT_EQ(testing::CompactXml(single, table[33]->WriteXml(single, 1)),
               "<ornament name=\"Desc. appogiatura\" glyph=\"291\" type=\"1\" alignment=\"1\" flag-value=\"2\" "
               "ornament-value=\"65\"/>");

  COrnamentTable read;
  EXPECT_EQ(read.ReadXml(element), nullptr);
  ASSERT_EQ(read.size(), 64u);
  EXPECT_EQ(read.colors, table.colors);
  EXPECT_EQ(read[33]->glyph, 0x123u);
  EXPECT_EQ(read[33]->flagValue, 2);
  ExpectHalvesCarryKindCodes(read);
}

TEST(OrnamentTableXml, CountIsCappedAndMissingValuesReadZero) {
  std::string xml =
      "<ornament-table><colors fingerings=\"1\" ornaments=\"2\"/><ornament-types count=\"500\"><tablature>";
  for (int i = 0; i < 40; ++i) xml += "<ornament glyph=\"" + std::to_string(100 + i) + "\"/>";
  xml += "</tablature><notation><ornament glyph=\"7\"/></notation></ornament-types></ornament-table>";
  tinyxml2::XMLDocument doc;
  doc.Parse(xml.c_str());
  COrnamentTable table;
  table.ReadXml(doc.FirstChildElement());
  ASSERT_EQ(table.size(), 64u);  // 35 per group, normalised
  EXPECT_EQ(table.colors[COrnamentTable::kOrnaments], 2u);
  EXPECT_EQ(table.colors[COrnamentTable::kLegatos], 0u);
  EXPECT_EQ(table[31]->glyph, 131u);
  EXPECT_EQ(table[32]->glyph, 7u);
  EXPECT_EQ(table[33]->glyph, 0xC3u);  // no element: the built-in row

  testing::ScriptedPrompts prompts;
  tinyxml2::XMLDocument other;
  other.Parse("<ornaments/>");
  EXPECT_THROW(table.ReadXml(other.FirstChildElement()), XmlTagMismatch);
}

TEST(OrnamentPatterns, BuiltInPatterns) {
  const auto nine = CreateMusicPattern(9);
  ASSERT_NE(nine, nullptr);
  EXPECT_EQ(nine->code, 1u);
  EXPECT_EQ(nine->steps, std::vector<int16_t>{-1});
  EXPECT_EQ(CreateMusicPattern(73)->code, 65u);
  EXPECT_EQ(CreateMusicPattern(103)->steps, (std::vector<int16_t>{0, -1, -1, 1}));
  EXPECT_EQ(CreateMusicPattern(3), nullptr);
  EXPECT_EQ(CreateMusicPattern(0), nullptr);
  EXPECT_EQ(CreateMusicPattern(104), nullptr);
}

}  // namespace
}  // namespace vornel
