#include "model/ornament/COrnamentProps.h"

#include <array>
#include <utility>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

struct Kind {
  std::string_view name;
  uint8_t code;  // a descending kind's code is its ascending one's plus 64
};

constexpr std::array<Kind, COrnamentProps::kKindCount> kKinds = {{
    {"Asc. appogiatura", 1},         {"Desc. appogiatura", 65},        {"Asc. acciaccatura", 5},
    {"Desc. acciaccatura", 69},      {"Asc. 2-note coul\u00e9", 36},    {"Desc. 2-note coul\u00e9", 100},
    {"Asc. double appogiatura", 6},  {"Desc. double appogiatura", 70}, {"Asc. mordent", 2},
    {"Desc. mordent", 66},           {"Asc. long mordent", 7},         {"Desc. long mordent", 71},
    {"Asc. roulade", 38},            {"Desc. roulade", 102},           {"Asc. trill", 4},
    {"Desc. trill", 68},             {"Asc. 3-note coul\u00e9", 33},    {"Desc. 3-note coul\u00e9", 97},
    {"Asc. gruppetto", 34},          {"Desc. gruppetto", 98},          {"Asterisk", 22},
    {"Accent", 17},                  {"Vibrato", 18},                  {"Marcato", 23},
    {"Pizzicato", 24},               {"Harmonic", 27},                 {"Staccato", 87},
    {"Legato", 88},                  {"Inverted accent", 81},          {"Snap down", 28},
    {"Snap pull", 92},               {"Ghost note", 91},
}};

constexpr std::array<std::string_view, COrnamentProps::kAlignmentCount> kAlignmentNames = {
    "Right",       "Left",       "Center ",    "Center bottom", "Center top",  "Upper left",
    "Upper right", "Lower left", "Lower right", "Above staff",  "Below staff", "Top lower"};

// The stored word that carries alignment and flag value has this mark; old records lack it.
constexpr uint32_t kPackedMark = 0x1000;
// Records written by this system keep the type in the type word; older writers wrote anything
// there and every reader ignored it. Readers that know nothing of this bit pass over it.
constexpr uint32_t kTypeKeptMark = 0x2000;

// Built-in glyph catalogues of the ornament definitions: 150 glyph codes per type with the
// default alignment of each. Codes repeat in places; a look-up takes the first row.
constexpr std::array<uint16_t, 150> kTablatureCatalogue = {
    32, 209, 210, 211, 33, 34, 35, 36, 37, 38, 205, 206, 207, 208, 70,
    71, 203, 204, 91, 92, 93, 94, 46, 47, 198, 199, 200, 201, 95, 96,
    109, 202, 97, 234, 215, 85, 86, 87, 83, 219, 222, 218, 98, 217, 216,
    255, 235, 237, 212, 228, 229, 221, 222, 213, 214, 225, 99, 227, 226, 223,
    224, 231, 232, 75, 230, 238, 66, 67, 68, 69, 233, 239, 243, 311, 246,
    245, 310, 236, 100, 100, 101, 102, 103, 104, 105, 106, 108, 63, 64, 73,
    74, 247, 248, 249, 250, 72, 253, 254, 281, 309, 90, 308, 88, 44, 257,
    251, 252, 79, 80, 81, 320, 321, 322, 323, 324, 325, 326, 327, 120, 330,
    331, 332, 333, 334, 335, 336, 337, 338, 304, 256, 271, 272, 273, 274, 275,
    276, 277, 278, 282, 283, 285, 286, 287, 266, 267, 265, 268, 269, 258, 259,
};
constexpr std::array<uint8_t, 150> kTablatureAlignments = {
    0, 2, 2, 1, 0, 2, 1, 1, 1, 1, 4, 4, 4, 4, 1, 0, 1, 1, 3, 3, 0, 4, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 4, 4, 4, 3,
    0, 2, 1, 2, 1, 2, 0, 1, 0, 1, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};
constexpr std::array<uint16_t, 150> kNotationCatalogue = {
    32, 155, 156, 227, 228, 157, 158, 159, 160, 161, 162, 225, 226, 163, 164,
    165, 166, 167, 168, 169, 170, 171, 172, 173, 174, 175, 176, 177, 181, 179,
    180, 185, 182, 183, 184, 255, 186, 187, 188, 189, 190, 191, 192, 193, 194,
    195, 196, 197, 198, 199, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209,
    210, 212, 214, 215, 216, 217, 218, 219, 220, 221, 222, 223, 67, 68, 229,
    230, 231, 232, 248, 249, 250, 120, 256, 257, 123, 124, 125, 126, 127, 128,
    58, 59, 60, 61, 62, 222, 223, 224, 233, 253, 287, 289, 290, 291, 292,
    293, 294, 295, 273, 297, 274, 286, 282, 283, 284, 285, 323, 324, 325, 326,
    327, 90, 91, 92, 93, 94, 95, 96, 97, 292, 293, 254, 255, 258, 328,
    260, 261, 324, 262, 263, 264, 303, 304, 305, 306, 297, 298, 170, 340, 341,
};
constexpr std::array<uint8_t, 150> kNotationAlignments = {
    0, 4, 4, 12, 13, 4, 4, 4, 4, 4, 4, 4, 4, 4, 1, 1, 4, 4, 0, 1, 0, 1, 1, 1, 3,
    1, 3, 3, 1, 1, 2, 1, 4, 1, 1, 1, 1, 1, 3, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    1, 1, 1, 1, 3, 4, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

// Glyph codes of files before "8.46" and the codes that replaced them, in look-up order.
constexpr std::array<std::pair<uint16_t, uint16_t>, 65> kOldGlyphCodes = {{
    {55, 209}, {56, 235}, {0, 0}, {0, 0}, {57, 211}, {58, 205}, {59, 206}, {60, 207},
    {61, 208}, {62, 201}, {69, 203}, {70, 204}, {71, 84}, {96, 223}, {109, 219}, {110, 220},
    {111, 93}, {112, 94}, {113, 205}, {114, 206}, {117, 251}, {118, 252}, {119, 202}, {132, 234},
    {133, 232}, {134, 238}, {135, 237}, {136, 65}, {137, 236}, {138, 85}, {139, 86}, {149, 216},
    {153, 237}, {154, 240}, {155, 230}, {156, 215}, {157, 231}, {158, 238}, {159, 217}, {160, 228},
    {161, 219}, {162, 220}, {163, 221}, {164, 222}, {165, 214}, {167, 213}, {168, 229}, {169, 227},
    {174, 95}, {175, 96}, {176, 97}, {177, 249}, {178, 250}, {179, 248}, {180, 241}, {181, 242},
    {182, 243}, {183, 244}, {184, 245}, {185, 246}, {186, 247}, {187, 89}, {188, 90}, {189, 226},
    {251, 208},
}};

const auto& Catalogue(int type) { return type == 0 ? kTablatureCatalogue : kNotationCatalogue; }
const auto& CatalogueAlignments(int type) { return type == 0 ? kTablatureAlignments : kNotationAlignments; }

}  // namespace

COrnamentProps::COrnamentProps(uint32_t glyphCode, int32_t a, int32_t b, int32_t alignmentIndex)
    : flagValue(1), kind(b), glyph(glyphCode), type(a), ornamentValue(KindCode(a)) {
  alignment = alignmentIndex != -1 ? alignmentIndex : CatalogueAlignment(a, FindCatalogueRow(a, glyphCode));
}

bool COrnamentProps::operator==(const COrnamentProps& o) const {
  return color == o.color && alignment == o.alignment && flagValue == o.flagValue && kind == o.kind &&
         glyph == o.glyph && type == o.type && legacyGlyph == o.legacyGlyph && ornamentValue == o.ornamentValue;
}

void COrnamentProps::Store(ArchiveWriter& ar) const {
  ar.WriteU32(glyph);
  ar.WriteU32(static_cast<uint32_t>(type));
  ar.WriteU8(0);
  ar.WriteU32(static_cast<uint32_t>(alignment));
  ar.WriteU32(static_cast<uint32_t>(flagValue));
  ar.WriteU32(kPackedMark | kTypeKeptMark | ((static_cast<uint32_t>(flagValue) & 0xF) << 8) |
              (static_cast<uint32_t>(alignment) & 0xFF));
}

void COrnamentProps::Load(ArchiveReader& ar) {
  const uint32_t storedGlyph = ar.ReadU32();
  const int32_t storedType = ar.ReadI32();
  const uint8_t storedLegacy = ar.ReadU8();
  const int32_t storedAlignment = ar.ReadI32();
  const int32_t storedFlagValue = ar.ReadI32();
  const uint32_t packed = ar.ReadU32();
  glyph = storedGlyph;
  alignment = storedAlignment;
  flagValue = storedFlagValue;
  legacyGlyph = storedLegacy;
  if (packed & kPackedMark) {
    alignment = static_cast<int32_t>(packed & 0xFF);
    flagValue = static_cast<int32_t>((packed >> 8) & 0xF);
    legacyGlyph = 0;
  } else {
    glyph = storedLegacy;
  }
  // Without the mark the type is set again by the dialog or the table.
  type = (packed & kTypeKeptMark) != 0 ? storedType : kUnreadType;
  kind = -1;
}

tinyxml2::XMLElement* COrnamentProps::WriteXml(tinyxml2::XMLDocument& doc, int kindNumber) const {
  tinyxml2::XMLElement* element = doc.NewElement("ornament");
  SetTextAttribute(element, "name", KindName(kindNumber));
  SetIntAttribute(element, "glyph", static_cast<int32_t>(glyph));
  SetIntAttribute(element, "type", type);
  SetIntAttribute(element, "alignment", alignment);
  SetIntAttribute(element, "flag-value", flagValue);
  SetIntAttribute(element, "ornament-value", ornamentValue);
  return element;
}

const tinyxml2::XMLElement* COrnamentProps::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  glyph = ReadUnsignedAttribute(element, "glyph");
  type = ReadIntAttribute(element, "type");
  alignment = ReadIntAttribute(element, "alignment");
  flagValue = ReadIntAttribute(element, "flag-value");
  return element->NextSiblingElement();
}

int COrnamentProps::FindCatalogueRow() const { return FindCatalogueRow(type, glyph); }

std::string_view COrnamentProps::KindName(int kindNumber) {
  return kindNumber >= 0 && kindNumber < kKindCount ? kKinds[static_cast<size_t>(kindNumber)].name : std::string_view();
}

uint8_t COrnamentProps::KindCode(int kindNumber) {
  return kindNumber >= 0 && kindNumber < kKindCount ? kKinds[static_cast<size_t>(kindNumber)].code : 0;
}

std::string_view COrnamentProps::AlignmentName(int index) {
  return index >= 0 && index < kAlignmentCount ? kAlignmentNames[static_cast<size_t>(index)] : std::string_view();
}

uint16_t COrnamentProps::CatalogueGlyph(int type, int row) {
  return row >= 0 && row < kCatalogueSize ? Catalogue(type)[static_cast<size_t>(row)] : 0;
}

int COrnamentProps::CatalogueAlignment(int type, int row) {
  return row >= 0 && row < kCatalogueSize ? CatalogueAlignments(type)[static_cast<size_t>(row)] : 0;
}

int COrnamentProps::FindCatalogueRow(int type, uint32_t code) {
  const auto& catalogue = Catalogue(type);
  for (size_t row = 0; row < catalogue.size(); ++row) {
    if (catalogue[row] == (code & 0xFFFF)) return static_cast<int>(row);
  }
  return 0;
}

bool COrnamentProps::MapOldGlyph(uint32_t oldCode, uint32_t& newCode) {
  for (const auto& [from, to] : kOldGlyphCodes) {
    if (from == oldCode) {
      newCode = to;
      return true;
    }
  }
  return false;
}

}  // namespace vornel
