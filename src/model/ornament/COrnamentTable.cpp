#include "model/ornament/COrnamentTable.h"

#include <algorithm>
#include <initializer_list>

#include "model/OwnedArrayRecords.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

struct DefaultRow {
  uint16_t glyph;
  uint8_t alignment;
};

// Built-in default rows of the two groups (glyph, alignment): group 0 in the tablature flag
// font, group 1 in the notation font.
constexpr std::array<DefaultRow, 35> kTablatureDefaults = {{
    {0xDB, 1}, {0xDC, 1}, {0xDB, 1}, {0xDC, 1}, {0xDA, 1}, {0x62, 1}, {0xEB, 0},
    {0xFF, 1}, {0xE3, 1}, {0xE1, 1}, {0xCD, 1}, {0xCE, 1}, {0xCB, 1}, {0xCC, 1},
    {0x61, 9}, {0x61, 9}, {0x22, 1}, {0x24, 1}, {0x44, 9}, {0x45, 9}, {0xE5, 0},
    {0xDD, 4}, {0xE2, 1}, {0xE9, 2}, {0x53, 9}, {0xD4, 9}, {0x52, 3}, {0x44, 0},
    {0xDD, 9}, {0x11A, 0}, {0x11B, 1}, {0x6D, 1}, {0x48, 0}, {0xFA, 0}, {0xE9, 3},
}};
constexpr std::array<DefaultRow, 35> kNotationDefaults = {{
    {0xC2, 1}, {0xC3, 1}, {0xC4, 1}, {0xC5, 1}, {0xC6, 7}, {0xC7, 5}, {0xFE, 1},
    {0xFF, 1}, {0x9B, 4}, {0x9C, 4}, {0x9F, 4}, {0xA0, 4}, {0xC8, 7}, {0xC9, 5},
    {0xA5, 9}, {0xA5, 9}, {0xC8, 1}, {0xC9, 1}, {0xA3, 9}, {0xA4, 9}, {0xAB, 9},
    {0xA8, 4}, {0xB8, 9}, {0xB9, 2}, {0xBD, 4}, {0x105, 4}, {0xB9, 2}, {0xD3, 4},
    {0xA7, 9}, {0xD0, 4}, {0xD1, 4}, {0xFA, 9}, {0x13, 1}, {0x53, 1}, {0x5D, 1},
}};

const std::array<DefaultRow, 35>& DefaultRows(int group) { return group == 0 ? kTablatureDefaults : kNotationDefaults; }

// A definition inserted into tables of an old size: at `row`, glyph, a (type), b, alignment
// (-1: the glyph's catalogue default).
struct Insert {
  size_t row;
  uint16_t glyph;
  int32_t a;
  int32_t b;
  int32_t alignment = -1;
};

struct SizeUpgrade {
  size_t rows;
  std::initializer_list<Insert> inserts;
};

const std::array<SizeUpgrade, 4>& SizeUpgrades() {
  static const std::array<SizeUpgrade, 4> upgrades = {{
      {26, {{2, 218, 0, 36}, {3, 98, 0, 100}, {17, 198, 1, 36}, {18, 199, 1, 100}}},
      {30, {{2, 216, 0, 5}, {3, 217, 0, 69}, {19, 196, 1, 5}, {20, 197, 1, 69}}},
      {34,
       {{6, 223, 0, 6}, {7, 224, 0, 70}, {10, 70, 0, 7}, {11, 71, 0, 7}, {12, 230, 0, 38}, {13, 231, 0, 102},
        {27, 254, 1, 6}, {28, 255, 1, 70}, {31, 159, 1, 7}, {32, 160, 1, 7}, {33, 200, 1, 38}, {34, 201, 1, 102}}},
      {46,
       {{23, 233, 0, 23, 2}, {24, 241, 0, 24, 4}, {25, 83, 0, 27, 4}, {26, 82, 0, 87, 4}, {27, 68, 0, 88, 4},
        {28, 213, 0, 81, 4}, {29, 235, 0, 28, 0}, {30, 255, 0, 92, 0}, {31, 109, 0, 91, 4}, {55, 185, 1, 23, 4},
        {56, 189, 1, 24, 4}, {57, 213, 1, 27, 4}, {58, 185, 1, 87, 4}, {59, 211, 1, 88, 4}, {60, 167, 1, 81, 4},
        {61, 208, 1, 28, 4}, {62, 209, 1, 92, 4}, {63, 250, 1, 91, 4}}},
  }};
  return upgrades;
}

// Rows of each group of a new table that stored tables no longer have.
constexpr size_t kDroppedRowsPerGroup = 3;
constexpr size_t kNewTableRows = 2 * COrnamentTable::kDefaultEntriesPerGroup;

constexpr std::array<const char*, COrnamentTable::kColorCount> kColorNames = {
    "fingerings", "ornaments", "metaevents", "melody", "slurs", "tied-notes", "legatos"};

}  // namespace

// A new table has the shape of a stored one, so that a document made new and one read back
// hold the same table (and write the same file).
COrnamentTable::COrnamentTable() {
  FillFromDefaults(kDefaultEntriesPerGroup);
  NormalizeEntries();
}

void COrnamentTable::FillFromDefaults(uint32_t perGroup) {
  clear();
  for (int group = 0; group < 2; ++group) {
    for (uint32_t i = 0; i < perGroup; ++i) {
      if (i < DefaultRows(group).size()) {
        const DefaultRow& row = DefaultRows(group)[i];
        const int32_t index = static_cast<int32_t>(i);
        push_back(std::make_unique<COrnamentProps>(row.glyph, index, index, row.alignment));
      } else {
        push_back(std::make_unique<COrnamentProps>());
      }
    }
  }
  entriesPerGroup = perGroup;
}

void COrnamentTable::ResetGroup(int group) {
  if (group != 0 && group != 1) return;
  const auto& rows = DefaultRows(group);
  for (size_t i = 0; i < entriesPerGroup && i < rows.size(); ++i) {
    const size_t index = static_cast<size_t>(group) * entriesPerGroup + i;
    if (index >= size() || at(index) == nullptr) continue;
    COrnamentProps& entry = *at(index);
    entry.glyph = rows[i].glyph;
    entry.alignment = rows[i].alignment;
    entry.type = static_cast<int32_t>(i);
  }
}

const COrnamentProps& COrnamentTable::GetOrnament(uint32_t code, int group, bool byValue) {
  static const COrnamentProps kUnknown;
  size_t i = code;
  if (byValue) {
    i = entriesPerGroup;
    for (size_t j = 0; j < entriesPerGroup && j < size(); ++j) {
      if (at(j) != nullptr && at(j)->ornamentValue == code) {
        i = j;
        break;
      }
    }
  }
  if ((group != 0 && group != 1) || i >= entriesPerGroup) return kUnknown;
  const size_t index = static_cast<size_t>(group) * entriesPerGroup + i;
  if (index >= size() || at(index) == nullptr) return kUnknown;
  at(index)->type = group;
  return *at(index);
}

int COrnamentTable::GetFlagValue(uint32_t value) const {
  for (size_t j = 0; j < entriesPerGroup && j < size(); ++j) {
    if (at(j) != nullptr && at(j)->ornamentValue == value) return at(j)->flagValue;
  }
  return 0;
}

void COrnamentTable::NormalizeEntries() {
  if (size() == kNewTableRows) {
    // The last three rows of each half: first of the tablature half, then of the notation half.
    const size_t kept = kDefaultEntriesPerGroup - kDroppedRowsPerGroup;
    for (size_t n = 0; n < kDroppedRowsPerGroup; ++n) erase(kept);
    for (size_t n = 0; n < kDroppedRowsPerGroup; ++n) erase(2 * kept);
  }
  entriesPerGroup = std::min<uint32_t>(static_cast<uint32_t>(size() / 2), kMaxHalfCount);
  for (uint32_t k = 0; k < entriesPerGroup; ++k) {
    const uint8_t code = COrnamentProps::KindCode(static_cast<int>(k));
    if (at(k) != nullptr) at(k)->ornamentValue = code;
    if (at(entriesPerGroup + k) != nullptr) at(entriesPerGroup + k)->ornamentValue = code;
  }
}

void COrnamentTable::UpgradeOldSizes() {
  // Each check sees the table as the previous one left it, so a 26-row table passes all four.
  for (const SizeUpgrade& upgrade : SizeUpgrades()) {
    if (size() != upgrade.rows) continue;
    for (const Insert& row : upgrade.inserts) {
      insert(row.row, std::make_unique<COrnamentProps>(row.glyph, row.a, row.b, row.alignment));
    }
  }
}

void COrnamentTable::MapOldFileGlyphs() {
  const size_t half = entriesPerGroup;
  for (size_t k = 0; k < half && k < size(); ++k) {
    COrnamentProps* entry = at(k);
    uint32_t mapped = 0;
    if (entry == nullptr || !COrnamentProps::MapOldGlyph(entry->glyph, mapped)) continue;
    entry->glyph = mapped;
    // Rows of this half are tablature forms, whatever type the record came back with.
    entry->alignment = COrnamentProps::CatalogueAlignment(0, COrnamentProps::FindCatalogueRow(0, mapped));
  }
  for (size_t k = 0; k < half && half + k < size() && k < kNotationDefaults.size(); ++k) {
    if (COrnamentProps* entry = at(half + k)) {
      entry->glyph = kNotationDefaults[k].glyph;
      entry->alignment = kNotationDefaults[k].alignment;
      entry->type = static_cast<int32_t>(k);
    }
  }
}

void COrnamentTable::Store(ArchiveWriter& ar) const {
  ar.WriteObjectArray(items());
  for (const uint32_t color : colors) ar.WriteU32(color);
}

void COrnamentTable::Load(ArchiveReader& ar) {
  OwnedArray<COrnamentProps> read;
  LoadArrayWithoutNulls(ar, read);
  std::array<uint32_t, kColorCount> readColors = colors;
  if (ar.VersionAtLeast("9.53.1")) {
    readColors[kFingerings] = ar.ReadU32();
    readColors[kOrnaments] = ar.ReadU32();
  }
  if (ar.VersionAtLeast("9.53.2")) readColors[kMetaEvents] = ar.ReadU32();
  if (ar.VersionAtLeast("9.6.8.0")) {
    for (size_t i = kMelody; i < kColorCount; ++i) readColors[i] = ar.ReadU32();
  }

  static_cast<OwnedArray<COrnamentProps>&>(*this) = std::move(read);
  colors = readColors;
  UpgradeOldSizes();
  entriesPerGroup = kMaxHalfCount;
  NormalizeEntries();
  if (ar.VersionBelow("8.46")) MapOldFileGlyphs();
  // A stored row keeps neither its type nor its kind: both follow from where it stands, so
  // that tablature rows keep the flags face and catalogue.
  const size_t half = std::min<size_t>(entriesPerGroup, size() / 2);
  for (size_t i = 0; i < size() && half != 0; ++i) {
    COrnamentProps* row = at(i);
    if (row == nullptr) continue;
    if (row->type == -1) row->type = i < half ? 0 : 1;
    if (row->kind == -1) row->kind = static_cast<int32_t>(i % half);
  }
}

tinyxml2::XMLElement* COrnamentTable::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("ornament-table");
  tinyxml2::XMLElement* colorsElement = doc.NewElement("colors");
  for (size_t i = 0; i < kColorCount; ++i) SetUnsignedAttribute(colorsElement, kColorNames[i], colors[i]);
  element->InsertEndChild(colorsElement);

  const size_t perGroup = std::min<size_t>(entriesPerGroup, size() / 2);
  tinyxml2::XMLElement* types = doc.NewElement("ornament-types");
  SetIntAttribute(types, "count", static_cast<int32_t>(perGroup));
  const COrnamentProps blank;
  for (size_t group = 0; group < 2; ++group) {
    tinyxml2::XMLElement* half = doc.NewElement(group == 0 ? "tablature" : "notation");
    SetTextAttribute(half, "font-name", group == 0 ? "VornelTabFlags" : "VornelNotation");
    for (size_t i = 0; i < perGroup; ++i) {
      const COrnamentProps* entry = at(group * perGroup + i);
      half->InsertEndChild((entry != nullptr ? *entry : blank).WriteXml(doc, static_cast<int>(i)));
    }
    types->InsertEndChild(half);
  }
  element->InsertEndChild(types);
  return element;
}

const tinyxml2::XMLElement* COrnamentTable::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "ornament-table");
  const tinyxml2::XMLElement* colorsElement = element->FirstChildElement();
  for (size_t i = 0; i < kColorCount; ++i) colors[i] = ReadUnsignedAttribute(colorsElement, kColorNames[i]);

  const tinyxml2::XMLElement* types = colorsElement != nullptr ? colorsElement->NextSiblingElement() : nullptr;
  const uint32_t count = std::min(ReadUnsignedAttribute(types, "count"), kDefaultEntriesPerGroup);
  // The table takes the size the element gives it; entries without an element keep their
  // built-in definition.
  FillFromDefaults(count);
  const tinyxml2::XMLElement* half = types != nullptr ? types->FirstChildElement() : nullptr;
  for (size_t group = 0; group < 2 && half != nullptr; ++group, half = half->NextSiblingElement()) {
    const tinyxml2::XMLElement* ornament = half->FirstChildElement();
    for (size_t i = 0; i < count && ornament != nullptr; ++i) {
      ornament = at(group * count + i)->ReadXml(ornament);
    }
  }
  NormalizeEntries();
  return element->NextSiblingElement();
}

// ---------------------------------------------------------------------------------------------
// Ornament patterns

std::unique_ptr<CMusicPattern> CreateMusicPattern(int code) {
  struct Pattern {
    int code;
    std::initializer_list<int16_t> steps;
  };
  static const std::initializer_list<Pattern> kPatterns = {
      {1, {-1}},          {2, {0, 1}},        {4, {1, -1, 1}},     {5, {-1}},          {6, {-1, 2}},
      {7, {-1, 1, -1}},   {8, {0, 1, -1, 1}}, {33, {-1, 1, 1}},    {34, {-1, 1, 1}},   {36, {-2, 1}},
      {38, {-2, 1}},      {39, {0, 1, 1, -1}}, {65, {1}},          {66, {0, -1}},      {68, {-1, 1, -1}},
      {69, {1}},          {70, {1, -2}},      {71, {1, -1, 1}},    {72, {0, -1, 1, -1}}, {97, {1, -1, -1}},
      {98, {1, -1, -1}},  {100, {2, -1}},     {102, {2, -1}},      {103, {0, -1, -1, 1}}};
  // Two codes share the pattern of another and record that code.
  if (code == 9) code = 1;
  if (code == 73) code = 65;
  for (const Pattern& pattern : kPatterns) {
    if (pattern.code == code) {
      auto created = std::make_unique<CMusicPattern>();
      created->code = static_cast<uint32_t>(code);
      created->steps.assign(pattern.steps.begin(), pattern.steps.end());
      return created;
    }
  }
  return nullptr;
}

}  // namespace vornel
