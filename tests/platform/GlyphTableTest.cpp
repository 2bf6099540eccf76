// The glyph substitution table: every (face, code) the drawing code names has a real
// substitute in the music font (or a deliberate text, shape or blank), faces map to roles,
// and a code nobody mapped draws a visible placeholder.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/draw/GlyphTable.h"
#include "platform/draw/MusicFont.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/text/TextConversion.h"

namespace vornel {
namespace {

// The two ornament catalogues of 150 codes each, in row order.
const std::vector<int> kTablatureCatalogue = {
    32,  209, 210, 211, 33,  34,  35,  36,  37,  38,  205, 206, 207, 208, 70,  71,  203, 204, 91,  92,
    93,  94,  46,  47,  198, 199, 200, 201, 95,  96,  109, 202, 97,  234, 215, 85,  86,  87,  83,  219,
    222, 218, 98,  217, 216, 255, 235, 237, 212, 228, 229, 221, 222, 213, 214, 225, 99,  227, 226, 223,
    224, 231, 232, 75,  230, 238, 66,  67,  68,  69,  233, 239, 243, 311, 246, 245, 310, 236, 100, 100,
    101, 102, 103, 104, 105, 106, 108, 63,  64,  73,  74,  247, 248, 249, 250, 72,  253, 254, 281, 309,
    90,  308, 88,  44,  257, 251, 252, 79,  80,  81,  320, 321, 322, 323, 324, 325, 326, 327, 120, 330,
    331, 332, 333, 334, 335, 336, 337, 338, 304, 256, 271, 272, 273, 274, 275, 276, 277, 278, 282, 283,
    285, 286, 287, 266, 267, 265, 268, 269, 258, 259};
const std::vector<int> kNotationCatalogue = {
    32,  155, 156, 227, 228, 157, 158, 159, 160, 161, 162, 225, 226, 163, 164, 165, 166, 167, 168, 169,
    170, 171, 172, 173, 174, 175, 176, 177, 181, 179, 180, 185, 182, 183, 184, 255, 186, 187, 188, 189,
    190, 191, 192, 193, 194, 195, 196, 197, 198, 199, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209,
    210, 212, 214, 215, 216, 217, 218, 219, 220, 221, 222, 223, 67,  68,  229, 230, 231, 232, 248, 249,
    250, 120, 256, 257, 123, 124, 125, 126, 127, 128, 58,  59,  60,  61,  62,  222, 223, 224, 233, 253,
    287, 289, 290, 291, 292, 293, 294, 295, 273, 297, 274, 286, 282, 283, 284, 285, 323, 324, 325, 326,
    327, 90,  91,  92,  93,  94,  95,  96,  97,  292, 293, 254, 255, 258, 328, 260, 261, 324, 262, 263,
    264, 303, 304, 305, 306, 297, 298, 170, 340, 341};

std::vector<int> NotationCodes() {
  std::vector<int> codes = kNotationCatalogue;
  for (int clef = 0; clef <= 4; ++clef) {
    for (int old = 0; old <= 1; ++old) codes.push_back(0x21 + clef + 4 * old);
  }
  for (int d = '0'; d <= '9'; ++d) codes.push_back(d);
  for (int base : {80, 90, 100, 110, 130, 140}) {
    for (int v = 0; v <= 8; ++v) codes.push_back(base + v);  // notes and the plain head
  }
  for (int v = 0; v <= 7; ++v) codes.push_back(0x78 + v);  // rests
  codes.insert(codes.end(), {
      0x4C, 0x4D, 0x4E, 0x4F,                          // time signature symbols
      0x96, 0x97, 0x98, 0x45, 0x46, 0x9A, 0x10E, 0x63,  // accidentals, dots, ledger line
      71, 72, 74, 75, 307,                             // fermata, coda, segno, da capo, reprise
      0x33, 0x113, 0x14, 0x4A, 0x115, 0x20,            // reprise signs by glyph choice
      0xB7, 0xBA, 0xD8, 0xAD, 0xAA, 0xAB, 0xA6, 0xA7,  // fingering marks
      0x41, 0x42, 0xD3, 0xB5, 0x11A, 0xFD,             // slur marks
      0xAE, 0xAF, 0xA8, 0xA9, 0xF4, 0xB9, 0x50, 0x5A, 0x15E, 0xA5,
  });
  for (int c = 0xEA; c <= 0xF7; ++c) codes.push_back(c);  // dynamics and ending heads
  codes.insert(codes.end(), {0xFB, 0xFC});
  return codes;
}

std::vector<int> TabFlagCodes() {
  std::vector<int> codes = kTablatureCatalogue;
  // Flag glyphs of every flag style, with the alternative set's one further value.
  for (int v = 0; v <= 8; ++v) {
    for (int style = 0; style <= 10; ++style) codes.push_back((style + 11) * 10 + v + (style >= 9 ? 120 : 0));
    codes.push_back(384 + v);  // style 11 and above
    codes.push_back(288 + v);  // flag group 2
    codes.push_back(368 + v);  // percussion tablature
    if (v < 8) codes.push_back(100 + v);  // rests as flags
  }
  codes.insert(codes.end(), {
      0x42, 0x43, 0x113, 0x114, 0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xF6, 0x12A,  // tablature marks
      0xF7, 0xF8, 0xD6, 0xE9, 0xFE, 0xFD, 0x5A, 0x59, 0x12E, 0x16F, 0x177, 0x8A, 0xDD, 0xDE, 0x119,
      84, 85, 86, 305, 307, 0x33, 0x112, 0x56, 0x13A, 0x57, 0x20,  // signs and reprises
      0x10A, 0x10B, 0xE8, 0xED, 0xEE,                             // markers, fret diagrams
  });
  return codes;
}

// Codes that draw nothing on purpose: the space and the rows without a meaning.
const std::set<std::pair<FaceRole, int>> kBlanks = {
    {FaceRole::kNotation, 0x20}, {FaceRole::kNotation, 0x13}, {FaceRole::kNotation, 0x53},
    {FaceRole::kNotation, 0xF8}, {FaceRole::kTabFlags, 0x20}, {FaceRole::kTabFlags, 0x48},
    {FaceRole::kTabFlags, 0xFA}};

void ExpectRealSubstitutes(FaceRole role, const std::vector<int>& codes) {
  MusicFont& font = MusicFont::Shared();
  ASSERT_TRUE(font.IsLoaded()) << font.Path();
  for (int code : codes) {
    const GlyphMapEntry* e = FindGlyph(role, static_cast<uint32_t>(code));
    ASSERT_NE(e, nullptr) << RoleFaceName(role) << " code " << code << " is not mapped";
    if (e->kind == GlyphMapEntry::Kind::kNone) {
      EXPECT_TRUE(kBlanks.count({role, code})) << RoleFaceName(role) << " code " << code << " draws nothing";
    }
    if (e->kind == GlyphMapEntry::Kind::kSmufl) {
      EXPECT_TRUE(font.HasGlyph(e->codePoint)) << RoleFaceName(role) << " code " << code << " U+" << std::hex
                                               << static_cast<unsigned>(e->codePoint);
    }
  }
}

TEST(GlyphTable, EveryNamedNotationCodeHasASubstitute) { ExpectRealSubstitutes(FaceRole::kNotation, NotationCodes()); }

TEST(GlyphTable, EveryNamedFlagAndTablatureMarkHasASubstitute) {
  ExpectRealSubstitutes(FaceRole::kTabFlags, TabFlagCodes());
}

TEST(GlyphTable, LetterFigureAndSignatureFacesMapTheirSymbols) {
  std::vector<int> letters;
  for (int c = 'a'; c <= 'n'; ++c) {
    if (c != 'j') letters.push_back(c);
  }
  for (int c = '0'; c <= '9'; ++c) letters.push_back(c);
  letters.insert(letters.end(), {'L', 'M'});
  ExpectRealSubstitutes(FaceRole::kTabLetter, letters);

  std::vector<int> figures = {'#', '>', '$', '<', '%', '=', '+', '!', '"', 0xBF, 0xC0, 'p', 'i', 'm', 'a', 0x16F};
  for (int c = '0'; c <= '9'; ++c) figures.push_back(c);
  for (int c = 0xC1; c <= 0xCA; ++c) figures.push_back(c);  // barré numerals
  for (int c = 64; c <= 95; ++c) figures.push_back(c);      // ornament palette buttons
  ExpectRealSubstitutes(FaceRole::kFg, figures);

  std::vector<int> digits;
  for (int c = '0'; c <= '9'; ++c) digits.push_back(c);
  ExpectRealSubstitutes(FaceRole::kTabDefault, digits);
  ExpectRealSubstitutes(FaceRole::kVavadurura, {0x43});
}

TEST(GlyphTable, RowsAreUniqueAndTheirGlyphsExist) {
  std::set<std::pair<FaceRole, uint16_t>> seen;
  for (const GlyphMapEntry& e : AllGlyphEntries()) {
    EXPECT_TRUE(seen.insert({e.role, e.code}).second) << RoleFaceName(e.role) << " code " << e.code << " twice";
    if (e.kind == GlyphMapEntry::Kind::kSmufl) {
      EXPECT_TRUE(MusicFont::Shared().HasGlyph(e.codePoint)) << e.name;
      if (e.secondCodePoint != 0) {
        EXPECT_TRUE(MusicFont::Shared().HasGlyph(e.secondCodePoint)) << e.name;
      }
    }
  }
}

TEST(GlyphTable, FaceNamesMapToRoles) {
  const std::pair<const char*, FaceRole> cases[] = {
      {"VornelNotation", FaceRole::kNotation}, {"vornelnotation", FaceRole::kNotation},
      {"VornelNote", FaceRole::kNotation},     {"VornelTabFlags", FaceRole::kTabFlags},
      {"VornelFg", FaceRole::kFg},             {"Vornelfg", FaceRole::kFg},
      {"TabDefault", FaceRole::kTabDefault},   {"VAVADURURA", FaceRole::kVavadurura},
      {"VN_Quintelle", FaceRole::kTabLetter},  {"vn_anything", FaceRole::kTabLetter},
      {"QX_Old", FaceRole::kTabLetter},        {"Arial", FaceRole::kText},
      {"Times New Roman", FaceRole::kText},    {"", FaceRole::kText},
  };
  for (const auto& [face, role] : cases) EXPECT_EQ(RoleForFace(face), role) << face;
}

TEST(GlyphTable, UnknownCodesDrawAVisiblePlaceholderOrText) {
  RecordingDevice dc;
  dc.SetLogRuns(true);
  FontSpec font;
  font.lfHeight = -32;
  font.lfFaceName = "VornelNotation";
  dc.SelectFont(font);
  std::string text;
  AppendUtf8(text, 0x1FF);  // nobody's code
  dc.TextOut(10, 50, text);
  EXPECT_NE(dc.Log().find("[missing"), std::string::npos) << dc.Log();
  // The letter faces leave what they do not map to text (frets beyond 'n').
  dc.ClearLog();
  font.lfFaceName = "VN_Quintelle";
  dc.SelectFont(font);
  dc.TextOut(10, 50, "ap");
  EXPECT_NE(dc.Log().find("[U+EBC0"), std::string::npos) << dc.Log();
  EXPECT_NE(dc.Log().find("[\"p\""), std::string::npos) << dc.Log();
}

TEST(GlyphTable, NotationSpaceIsAStaffSpaceAndNotesReportTheirHeads) {
  RecordingDevice dc;
  FontSpec font;
  font.lfHeight = -40;  // staff space 10
  font.lfFaceName = "VornelNotation";
  dc.SelectFont(font);
  EXPECT_EQ(dc.GetCharWidth(0x20), 10);
  EXPECT_EQ(dc.GetCharWidth(108), 12);  // black head 1.18 spaces
  EXPECT_EQ(dc.GetCharWidth(104), 12);  // an eighth note measures its head, not its flag
  EXPECT_EQ(dc.GetCharWidth(101), 17);  // whole note
  EXPECT_EQ(dc.GetTextMetrics().tmAscent * 5 / 4, 40);  // 5/4 of the ascent is a staff's height
}

}  // namespace
}  // namespace vornel
