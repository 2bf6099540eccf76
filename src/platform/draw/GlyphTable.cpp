#include "platform/draw/GlyphTable.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text/AsciiCase.h"

namespace vornel {

namespace {

using K = GlyphMapEntry::Kind;
constexpr FaceRole N = FaceRole::kNotation;
constexpr FaceRole F = FaceRole::kTabFlags;
constexpr FaceRole L = FaceRole::kTabLetter;
constexpr FaceRole G = FaceRole::kFg;
constexpr FaceRole D = FaceRole::kTabDefault;
constexpr FaceRole V = FaceRole::kVavadurura;

// Lute letters and figures are about one staff space high in the music font; at these scales
// they match the x-height and the figure height of a text face of the same size.
constexpr float kLuteLetterScale = 2.0f;
constexpr float kFigureScale = 2.6f;
constexpr float kTimeSigInLetters = 1.4f;
// Finger letters and barré signs are taller in the music font than figures.
constexpr float kFingeringScale = 1.7f;
constexpr float kBarreScale = 1.3f;

constexpr GlyphMapEntry Smufl(FaceRole role, uint16_t code, char32_t codePoint, const char* name) {
  GlyphMapEntry e;
  e.role = role;
  e.code = code;
  e.kind = K::kSmufl;
  e.codePoint = codePoint;
  e.name = name;
  return e;
}

constexpr GlyphMapEntry Text(FaceRole role, uint16_t code, const char* text, GlyphTextFace face, const char* name) {
  GlyphMapEntry e;
  e.role = role;
  e.code = code;
  e.kind = K::kText;
  e.text = text;
  e.textFace = face;
  e.name = name;
  return e;
}

constexpr GlyphMapEntry Draw(FaceRole role, uint16_t code, GlyphShape shape, const char* name) {
  GlyphMapEntry e;
  e.role = role;
  e.code = code;
  e.kind = K::kDraw;
  e.shape = shape;
  e.name = name;
  e.advance = 1.0f;
  return e;
}

// Draws nothing but keeps one staff space of advance (the notation space is the staff
// line spacing the layout measures).
constexpr GlyphMapEntry Blank(FaceRole role, uint16_t code, const char* name) {
  GlyphMapEntry e;
  e.role = role;
  e.code = code;
  e.kind = K::kNone;
  e.name = name;
  e.advance = 1.0f;
  return e;
}

constexpr GlyphMapEntry Lute(uint16_t code, char32_t codePoint, const char* name) {
  return Smufl(L, code, codePoint, name).Scale(kLuteLetterScale);
}
constexpr GlyphMapEntry Figure(uint16_t code, char32_t codePoint, const char* name) {
  return Smufl(G, code, codePoint, name).Scale(kFigureScale);
}
constexpr GlyphMapEntry Fingering(uint16_t code, char32_t codePoint, const char* name) {
  return Smufl(G, code, codePoint, name).Scale(kFingeringScale);
}
constexpr GlyphMapEntry Palette(uint16_t code, char32_t codePoint, const char* name) {
  return Smufl(G, code, codePoint, name).Scale(kFigureScale / 2);
}

// Rows come in any order; the index below sorts them.
const GlyphMapEntry kEntries[] = {
    // "VornelNotation": clefs, notes, rests, accidentals, dots, marks, dynamics, reprise
    // signs and the staff-notation ornament catalogue. Clefs are drawn on the bottom line, time
    // digits on their baseline: the offsets lift the music font's origins to those points.
    Blank(N, 19, "blank"),
    Smufl(N, 20, 0xE04A, "segnoSerpent1"),
    Blank(N, 32, "space"),
    Smufl(N, 33, 0xE052, "gClef8vb").Dy(1),
    Smufl(N, 34, 0xE050, "gClef").Dy(1),
    Smufl(N, 35, 0xE062, "fClef").Dy(3),
    Smufl(N, 36, 0xE05C, "cClef").Dy(2),
    Smufl(N, 37, 0xE055, "gClef8vbOld").Dy(1),
    Smufl(N, 38, 0xE050, "gClef").Dy(1),
    Smufl(N, 39, 0xF406, "fClefFrench").Dy(3),
    Smufl(N, 40, 0xF408, "cClefFrench").Dy(2),
    Smufl(N, 41, 0xE055, "gClef8vbOld"),
    Smufl(N, 48, 0xE080, "timeSig0").Dy(1),
    Smufl(N, 49, 0xE081, "timeSig1").Dy(1),
    Smufl(N, 50, 0xE082, "timeSig2").Dy(1),
    Smufl(N, 51, 0xE083, "timeSig3").Dy(1),
    Smufl(N, 52, 0xE084, "timeSig4").Dy(1),
    Smufl(N, 53, 0xE085, "timeSig5").Dy(1),
    Smufl(N, 54, 0xE086, "timeSig6").Dy(1),
    Smufl(N, 55, 0xE087, "timeSig7").Dy(1),
    Smufl(N, 56, 0xE088, "timeSig8").Dy(1),
    Smufl(N, 57, 0xE089, "timeSig9").Dy(1),
    Smufl(N, 58, 0xE585, "glissandoUp"),
    Smufl(N, 59, 0xE586, "glissandoDown"),
    Smufl(N, 60, 0xE830, "guitarVibratoBarScoop"),
    Smufl(N, 61, 0xE831, "guitarVibratoBarDip"),
    Smufl(N, 62, 0xE846, "guitarStrumUp"),
    Smufl(N, 65, 0xE4BB, "articLaissezVibrerBelow"),
    Smufl(N, 66, 0xE4BA, "articLaissezVibrerAbove"),
    Smufl(N, 67, 0xE5A4, "ornamentRightVerticalStroke"),
    Smufl(N, 68, 0xE5A2, "ornamentHighRightConcaveStroke"),
    Smufl(N, 69, 0xE264, "accidentalDoubleFlat"),
    Smufl(N, 70, 0xE263, "accidentalDoubleSharp"),
    Smufl(N, 71, 0xE4C0, "fermataAbove"),
    Smufl(N, 72, 0xE048, "coda"),
    Smufl(N, 74, 0xE047, "segno"),
    Smufl(N, 75, 0xE046, "daCapo"),
    Smufl(N, 76, 0xE08A, "timeSigCommon"),
    Smufl(N, 77, 0xE08B, "timeSigCutCommon"),
    Smufl(N, 78, 0xE915, "mensuralProlation6"),
    Smufl(N, 79, 0xE916, "mensuralProlation7"),
    Smufl(N, 80, 0xE0DD, "noteheadDiamondWhite"),
    Smufl(N, 81, 0xE962, "mensuralWhiteSemibrevis"),
    Smufl(N, 82, 0xE95F, "mensuralWhiteMinima"),
    Blank(N, 83, "blank"),
    Smufl(N, 84, 0xE955, "mensuralBlackSemiminima"),
    Smufl(N, 85, 0xE955, "mensuralBlackSemiminima"),
    Smufl(N, 86, 0xE955, "mensuralBlackSemiminima"),
    Smufl(N, 87, 0xE955, "mensuralBlackSemiminima"),
    Smufl(N, 88, 0xE938, "mensuralNoteheadSemibrevisBlack"),
    Smufl(N, 90, 0xE0DD, "noteheadDiamondWhite"),
    Smufl(N, 91, 0xE962, "mensuralWhiteSemibrevis"),
    Smufl(N, 92, 0xE93C, "mensuralNoteheadMinimaWhite").With(0xE93F, 0, 0),
    Smufl(N, 93, 0xE938, "mensuralNoteheadSemibrevisBlack").With(0xE93F, 0, 0),
    Smufl(N, 94, 0xE938, "mensuralNoteheadSemibrevisBlack").With(0xE93F, 0, 0),
    Smufl(N, 95, 0xE938, "mensuralNoteheadSemibrevisBlack").With(0xE93F, 0, 0),
    Smufl(N, 96, 0xE938, "mensuralNoteheadSemibrevisBlack").With(0xE93F, 0, 0),
    Smufl(N, 97, 0xE938, "mensuralNoteheadSemibrevisBlack").With(0xE93F, 0, 0),
    Smufl(N, 98, 0xE938, "mensuralNoteheadSemibrevisBlack"),
    Smufl(N, 99, 0xE022, "legerLine"),
    Smufl(N, 100, 0xE1D0, "noteDoubleWhole").Advance(2.396f),
    Smufl(N, 101, 0xE1D2, "noteWhole").Advance(1.688f),
    Smufl(N, 102, 0xE1D3, "noteHalfUp").Advance(1.18f),
    Smufl(N, 103, 0xE1D5, "noteQuarterUp").Advance(1.18f),
    Smufl(N, 104, 0xE1D7, "note8thUp").Advance(1.18f),
    Smufl(N, 105, 0xE1D9, "note16thUp").Advance(1.18f),
    Smufl(N, 106, 0xE1DB, "note32ndUp").Advance(1.18f),
    Smufl(N, 107, 0xE1DD, "note64thUp").Advance(1.18f),
    Smufl(N, 108, 0xE0A4, "noteheadBlack"),
    Smufl(N, 110, 0xE1D0, "noteDoubleWhole").Advance(2.396f),
    Smufl(N, 111, 0xE1D2, "noteWhole").Advance(1.688f),
    Smufl(N, 112, 0xE1D4, "noteHalfDown").Advance(1.18f),
    Smufl(N, 113, 0xE1D6, "noteQuarterDown").Advance(1.18f),
    Smufl(N, 114, 0xE1D8, "note8thDown").Advance(1.18f),
    Smufl(N, 115, 0xE1DA, "note16thDown").Advance(1.18f),
    Smufl(N, 116, 0xE1DC, "note32ndDown").Advance(1.18f),
    Smufl(N, 117, 0xE1DE, "note64thDown").Advance(1.18f),
    Smufl(N, 118, 0xE0A4, "noteheadBlack"),
    Smufl(N, 120, 0xE4E2, "restDoubleWhole"),
    Smufl(N, 121, 0xE4E3, "restWhole"),
    Smufl(N, 122, 0xE4E4, "restHalf"),
    Smufl(N, 123, 0xE4E5, "restQuarter"),
    Smufl(N, 124, 0xE4E6, "rest8th"),
    Smufl(N, 125, 0xE4E7, "rest16th"),
    Smufl(N, 126, 0xE4E8, "rest32nd"),
    Smufl(N, 127, 0xE4E9, "rest64th"),
    Smufl(N, 128, 0xE4EA, "rest128th"),
    Smufl(N, 130, 0xE1D0, "noteDoubleWhole").Advance(2.396f),
    Smufl(N, 131, 0xE1D2, "noteWhole").Advance(1.688f),
    Smufl(N, 132, 0xE1D3, "noteHalfUp").Advance(1.18f),
    Smufl(N, 133, 0xE1D5, "noteQuarterUp").Advance(1.18f),
    Smufl(N, 134, 0xE1D7, "note8thUp").Advance(1.18f),
    Smufl(N, 135, 0xE1D9, "note16thUp").Advance(1.18f),
    Smufl(N, 136, 0xE1DB, "note32ndUp").Advance(1.18f),
    Smufl(N, 137, 0xE1DD, "note64thUp").Advance(1.18f),
    Smufl(N, 138, 0xE0A4, "noteheadBlack"),
    Smufl(N, 140, 0xE1D0, "noteDoubleWhole").Advance(2.396f),
    Smufl(N, 141, 0xE1D2, "noteWhole").Advance(1.688f),
    Smufl(N, 142, 0xE1D4, "noteHalfDown").Advance(1.18f),
    Smufl(N, 143, 0xE1D6, "noteQuarterDown").Advance(1.18f),
    Smufl(N, 144, 0xE1D8, "note8thDown").Advance(1.18f),
    Smufl(N, 145, 0xE1DA, "note16thDown").Advance(1.18f),
    Smufl(N, 146, 0xE1DC, "note32ndDown").Advance(1.18f),
    Smufl(N, 147, 0xE1DE, "note64thDown").Advance(1.18f),
    Smufl(N, 148, 0xE0A4, "noteheadBlack"),
    Smufl(N, 150, 0xE262, "accidentalSharp"),
    Smufl(N, 151, 0xE260, "accidentalFlat"),
    Smufl(N, 152, 0xE261, "accidentalNatural"),
    Smufl(N, 154, 0xE1E7, "augmentationDot"),
    Smufl(N, 155, 0xE56C, "ornamentShortTrill"),
    Smufl(N, 156, 0xE56D, "ornamentMordent"),
    Smufl(N, 157, 0xE584, "ornamentShakeMuffat1"),
    Smufl(N, 158, 0xE588, "ornamentPinceCouperin"),
    Smufl(N, 159, 0xE56E, "ornamentTremblement"),
    Smufl(N, 160, 0xE5BD, "ornamentPrecompTrillWithMordent"),
    Smufl(N, 161, 0xE589, "ornamentTremblementCouperin"),
    Smufl(N, 162, 0xE5C6, "ornamentPrecompMordentUpperPrefix"),
    Smufl(N, 163, 0xE567, "ornamentTurn"),
    Smufl(N, 164, 0xE568, "ornamentTurnInverted"),
    Smufl(N, 165, 0xE566, "ornamentTrill"),
    Smufl(N, 166, 0xE612, "stringsUpBow").Scale(0.7f),
    Smufl(N, 167, 0xE610, "stringsDownBow"),
    Smufl(N, 168, 0xE4A0, "articAccentAbove"),
    Smufl(N, 169, 0xE4AC, "articMarcatoAbove"),
    Smufl(N, 170, 0xE841, "guitarRightHandTapping"),
    Smufl(N, 171, 0xE655, "keyboardPedalUp"),
    Smufl(N, 172, 0xE575, "ornamentHookBeforeNote"),
    Smufl(N, 173, 0xE612, "stringsUpBow"),
    Smufl(N, 174, 0xE635, "arpeggiatoDown"),
    Smufl(N, 175, 0xE634, "arpeggiatoUp"),
    Smufl(N, 176, 0xE4A1, "articAccentBelow"),
    Smufl(N, 177, 0xE4A3, "articStaccatoBelow"),
    Smufl(N, 179, 0xE57B, "ornamentObliqueLineBeforeNote"),
    Smufl(N, 180, 0xE638, "pluckedDamp"),
    Smufl(N, 181, 0xE581, "ornamentComma"),
    Smufl(N, 182, 0xE5BE, "ornamentPrecompCadence"),
    Smufl(N, 183, 0xEBB0, "luteFingeringRHThird"),
    Smufl(N, 184, 0xEBF6, "luteItalianVibrato"),
    Smufl(N, 185, 0xE044, "repeatDot"),
    Smufl(N, 186, 0xE043, "repeatDots").Scale(0.6f),
    Smufl(N, 187, 0xE579, "ornamentShortObliqueLineBeforeNote"),
    Smufl(N, 188, 0xE4A5, "articTenutoBelow"),
    Smufl(N, 189, 0xE633, "pluckedLeftHandPizzicato"),
    Smufl(N, 190, 0xE57D, "ornamentDoubleObliqueLinesBeforeNote"),
    Smufl(N, 191, 0xE57F, "ornamentObliqueLineHorizBeforeNote"),
    Smufl(N, 192, 0xE572, "ornamentLeftFacingHalfCircle"),
    Smufl(N, 193, 0xE574, "ornamentLeftFacingHook"),
    Smufl(N, 194, 0xE562, "graceNoteAppoggiaturaStemUp"),
    Smufl(N, 195, 0xE563, "graceNoteAppoggiaturaStemDown"),
    Smufl(N, 196, 0xE560, "graceNoteAcciaccaturaStemUp"),
    Smufl(N, 197, 0xE561, "graceNoteAcciaccaturaStemDown"),
    Smufl(N, 198, 0xE598, "ornamentLowLeftConcaveStroke"),
    Smufl(N, 199, 0xE592, "ornamentHighLeftConcaveStroke"),
    Smufl(N, 200, 0xE59A, "ornamentBottomLeftConcaveStroke"),
    Smufl(N, 201, 0xE590, "ornamentTopLeftConcaveStroke"),
    Smufl(N, 202, 0xE594, "ornamentLeftVerticalStroke"),
    Smufl(N, 203, 0xE595, "ornamentLeftVerticalStrokeWithCross"),
    Smufl(N, 204, 0xE4AD, "articMarcatoBelow"),
    Smufl(N, 205, 0xE5BF, "ornamentPrecompCadenceWithTurn"),
    Smufl(N, 206, 0xE639, "pluckedDampAll"),
    Smufl(N, 207, 0xE636, "pluckedWithFingernails"),
    Smufl(N, 208, 0xE630, "pluckedSnapPizzicatoBelow"),
    Smufl(N, 209, 0xE631, "pluckedSnapPizzicatoAbove"),
    Smufl(N, 210, 0xE637, "pluckedFingernailFlick"),
    Smufl(N, 211, 0xE4A4, "articTenutoAbove"),
    Smufl(N, 212, 0xE63A, "pluckedPlectrum"),
    Smufl(N, 213, 0xE614, "stringsHarmonic"),
    Smufl(N, 214, 0xE842, "guitarGolpe"),
    Smufl(N, 215, 0xE615, "stringsHalfHarmonic"),
    Smufl(N, 216, 0xE610, "stringsDownBow"),
    Smufl(N, 217, 0xE576, "ornamentHookAfterNote"),
    Smufl(N, 218, 0xE57C, "ornamentObliqueLineAfterNote"),
    Smufl(N, 219, 0xE57A, "ornamentShortObliqueLineAfterNote"),
    Smufl(N, 220, 0xE57E, "ornamentDoubleObliqueLinesAfterNote"),
    Smufl(N, 221, 0xE580, "ornamentObliqueLineHorizAfterNote"),
    Smufl(N, 222, 0xE571, "ornamentRightFacingHalfCircle"),
    Smufl(N, 223, 0xE573, "ornamentRightFacingHook"),
    Smufl(N, 224, 0xE847, "guitarStrumDown"),
    Smufl(N, 225, 0xE5C7, "ornamentPrecompInvertedMordentUpperPrefix"),
    Smufl(N, 226, 0xE5C8, "ornamentPrecompTrillLowerSuffix"),
    Smufl(N, 227, 0xE56F, "ornamentHaydn"),
    Smufl(N, 228, 0xE582, "ornamentShake3"),
    Smufl(N, 229, 0xE5A5, "ornamentLowRightConcaveStroke"),
    Smufl(N, 230, 0xE4CE, "breathMarkComma"),
    Smufl(N, 231, 0xE4CF, "breathMarkTick"),
    Smufl(N, 232, 0xE4D1, "caesura"),
    Smufl(N, 233, 0xE220, "tremolo1"),
    Smufl(N, 234, 0xE52A, "dynamicPPP"),
    Smufl(N, 235, 0xE52B, "dynamicPP"),
    Smufl(N, 236, 0xE520, "dynamicPiano"),
    Smufl(N, 237, 0xE52C, "dynamicMP"),
    Smufl(N, 238, 0xE52D, "dynamicMF"),
    Smufl(N, 239, 0xE522, "dynamicForte"),
    Smufl(N, 240, 0xE52F, "dynamicFF"),
    Smufl(N, 241, 0xE530, "dynamicFFF"),
    Smufl(N, 242, 0xE535, "dynamicForzando"),
    Smufl(N, 243, 0xE536, "dynamicSforzando1"),
    Smufl(N, 244, 0xE510, "ottava").Scale(0.6f),
    Text(N, 245, "Arm.", GlyphTextFace::kSerifItalic, "arm. text"),
    Text(N, 246, "H.", GlyphTextFace::kSerifItalic, "H. text"),
    Smufl(N, 247, 0xE650, "keyboardPedalPed"),
    Blank(N, 248, "blank"),
    Smufl(N, 249, 0xE4D3, "caesuraShort"),
    Smufl(N, 250, 0xE0CE, "noteheadParenthesis"),
    Smufl(N, 251, 0xE848, "guitarBarreFull"),
    Smufl(N, 252, 0xE849, "guitarBarreHalf"),
    Smufl(N, 253, 0xE5D7, "brassFallLipShort"),
    Smufl(N, 254, 0xE5B0, "ornamentPrecompSlide"),
    Smufl(N, 255, 0xE5B1, "ornamentPrecompDescendingSlide"),
    Smufl(N, 256, 0xEAB2, "guitarVibratoStroke"),
    Smufl(N, 257, 0xEAB0, "wiggleVibrato"),
    Smufl(N, 258, 0xE83C, "guitarString9"),
    Smufl(N, 260, 0xE5A7, "ornamentBottomRightConcaveStroke"),
    Smufl(N, 261, 0xE614, "stringsHarmonic"),
    Smufl(N, 262, 0xE5A0, "ornamentTopRightConcaveStroke"),
    Smufl(N, 263, 0xE59D, "ornamentZigZagLineNoRightEnd"),
    Smufl(N, 264, 0xE59E, "ornamentZigZagLineWithRightEnd"),
    Smufl(N, 270, 0xE1E7, "augmentationDot").With(0xE1E7, 0.6f, 0),
    Smufl(N, 273, 0xED12, "fingering2"),
    Smufl(N, 274, 0xED14, "fingering4"),
    Smufl(N, 275, 0xE04B, "segnoSerpent2"),
    Smufl(N, 277, 0xE049, "codaSquare"),
    Smufl(N, 282, 0xE5D0, "brassScoop"),
    Smufl(N, 283, 0xE834, "guitarString1"),
    Smufl(N, 284, 0xE835, "guitarString2"),
    Smufl(N, 285, 0xE836, "guitarString3"),
    Smufl(N, 286, 0xED15, "fingering5"),
    Smufl(N, 287, 0xE221, "tremolo2"),
    Smufl(N, 289, 0xE222, "tremolo3"),
    Smufl(N, 290, 0xE616, "stringsMuteOn"),
    Smufl(N, 291, 0xE617, "stringsMuteOff"),
    Smufl(N, 292, 0xE4A8, "articStaccatissimoWedgeAbove"),
    Smufl(N, 293, 0xE4B8, "articUnstressAbove"),
    Smufl(N, 294, 0xED10, "fingering0"),
    Smufl(N, 295, 0xED11, "fingering1"),
    Smufl(N, 297, 0xED13, "fingering3"),
    Smufl(N, 298, 0xE632, "pluckedBuzzPizzicato"),
    Smufl(N, 303, 0xE22E, "tremoloDivisiDots2"),
    Smufl(N, 304, 0xE22F, "tremoloDivisiDots3"),
    Smufl(N, 305, 0xE622, "stringsFouette"),
    Smufl(N, 306, 0xE620, "stringsJeteAbove"),
    Smufl(N, 307, 0xE04A, "segnoSerpent1"),
    Smufl(N, 323, 0xE837, "guitarString4"),
    Smufl(N, 324, 0xE838, "guitarString5"),
    Smufl(N, 325, 0xE839, "guitarString6"),
    Smufl(N, 326, 0xE83A, "guitarString7"),
    Smufl(N, 327, 0xE83B, "guitarString8"),
    Smufl(N, 328, 0xE84A, "guitarString10"),
    Smufl(N, 340, 0xE4D5, "breathMarkSalzedo"),
    Smufl(N, 341, 0xE4D4, "caesuraCurved"),
    Smufl(N, 350, 0xE0A9, "noteheadXBlack"),

    // "VornelTabFlags": rests and rhythm flags of every flag style, tablature marks, fret
    // diagram marks and the tablature ornament catalogue.
    Blank(F, 32, "space"),
    Smufl(F, 33, 0xEBF3, "luteItalianHoldNote"),
    Smufl(F, 34, 0xE598, "ornamentLowLeftConcaveStroke"),
    Smufl(F, 35, 0xEBF4, "luteItalianHoldFinger"),
    Smufl(F, 36, 0xE592, "ornamentHighLeftConcaveStroke"),
    Smufl(F, 37, 0xEBF5, "luteItalianReleaseFinger"),
    Smufl(F, 38, 0xEBD3, "luteFrenchMordentInverted"),
    Smufl(F, 44, 0xE637, "pluckedFingernailFlick"),
    Smufl(F, 46, 0xE57C, "ornamentObliqueLineAfterNote"),
    Smufl(F, 47, 0xE57A, "ornamentShortObliqueLineAfterNote"),
    Smufl(F, 51, 0xE04A, "segnoSerpent1"),
    Smufl(F, 63, 0xE4D3, "caesuraShort"),
    Smufl(F, 64, 0xEAB2, "guitarVibratoStroke"),
    Smufl(F, 66, 0xE841, "guitarRightHandTapping"),
    Smufl(F, 67, 0xE841, "guitarRightHandTapping"),
    Smufl(F, 68, 0xE567, "ornamentTurn"),
    Smufl(F, 69, 0xE568, "ornamentTurnInverted"),
    Smufl(F, 70, 0xE56E, "ornamentTremblement"),
    Smufl(F, 71, 0xE5BD, "ornamentPrecompTrillWithMordent"),
    Blank(F, 72, "blank"),
    Smufl(F, 73, 0xEAB0, "wiggleVibrato"),
    Smufl(F, 74, 0xE585, "glissandoUp"),
    Smufl(F, 75, 0xE57D, "ornamentDoubleObliqueLinesBeforeNote"),
    Smufl(F, 79, 0xE847, "guitarStrumDown"),
    Smufl(F, 80, 0xE220, "tremolo1"),
    Smufl(F, 81, 0xE221, "tremolo2"),
    Smufl(F, 82, 0xE4A2, "articStaccatoAbove"),
    Smufl(F, 83, 0xE633, "pluckedLeftHandPizzicato"),
    Smufl(F, 84, 0xE4C0, "fermataAbove"),
    Smufl(F, 85, 0xE048, "coda"),
    Smufl(F, 86, 0xE047, "segno"),
    Smufl(F, 87, 0xE049, "codaSquare"),
    Smufl(F, 88, 0xE636, "pluckedWithFingernails"),
    Draw(F, 89, GlyphShape::kCurvedStroke, "curved diapason stroke"),
    Draw(F, 90, GlyphShape::kSlantedStroke, "straight diapason stroke"),
    Smufl(F, 91, 0xE4A1, "articAccentBelow"),
    Smufl(F, 92, 0xE4A3, "articStaccatoBelow"),
    Smufl(F, 93, 0xE576, "ornamentHookAfterNote"),
    Smufl(F, 94, 0xE584, "ornamentShakeMuffat1"),
    Smufl(F, 95, 0xE5A4, "ornamentRightVerticalStroke"),
    Smufl(F, 96, 0xE5A2, "ornamentHighRightConcaveStroke"),
    Smufl(F, 97, 0xE566, "ornamentTrill"),
    Smufl(F, 98, 0xE578, "ornamentDownCurve"),
    Smufl(F, 99, 0xE5A5, "ornamentLowRightConcaveStroke"),
    Smufl(F, 100, 0xE4E2, "restDoubleWhole").OnBaseline(),
    Smufl(F, 101, 0xE4E3, "restWhole").OnBaseline(),
    Smufl(F, 102, 0xE4E4, "restHalf").OnBaseline(),
    Smufl(F, 103, 0xE4E5, "restQuarter").OnBaseline(),
    Smufl(F, 104, 0xE4E6, "rest8th").OnBaseline(),
    Smufl(F, 105, 0xE4E7, "rest16th").OnBaseline(),
    Smufl(F, 106, 0xE4E8, "rest32nd").OnBaseline(),
    Smufl(F, 107, 0xE4E9, "rest64th").OnBaseline(),
    Smufl(F, 108, 0xE4EA, "rest128th").OnBaseline(),
    Smufl(F, 109, 0xE0CE, "noteheadParenthesis"),
    Smufl(F, 110, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 111, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 112, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 113, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 114, 0xEBAA, "luteDuration8th"),
    Smufl(F, 115, 0xEBAB, "luteDuration16th"),
    Smufl(F, 116, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 117, 0xE1DD, "note64thUp"),
    Smufl(F, 118, 0xE1DF, "note128thUp"),
    Smufl(F, 120, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 121, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 122, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 123, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 124, 0xEBAA, "luteDuration8th"),
    Smufl(F, 125, 0xEBAB, "luteDuration16th"),
    Smufl(F, 126, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 127, 0xE1DD, "note64thUp"),
    Smufl(F, 128, 0xE1DF, "note128thUp"),
    Smufl(F, 130, 0xE1D0, "noteDoubleWhole"),
    Smufl(F, 131, 0xE1D2, "noteWhole"),
    Smufl(F, 132, 0xE1D3, "noteHalfUp"),
    Smufl(F, 133, 0xE1D5, "noteQuarterUp"),
    Smufl(F, 134, 0xE1D7, "note8thUp"),
    Smufl(F, 135, 0xE1D9, "note16thUp"),
    Smufl(F, 136, 0xE1DB, "note32ndUp"),
    Smufl(F, 137, 0xE1DD, "note64thUp"),
    Smufl(F, 138, 0xE0A4, "noteheadBlack"),
    Smufl(F, 140, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 141, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 142, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 143, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 144, 0xEBAA, "luteDuration8th"),
    Smufl(F, 145, 0xEBAB, "luteDuration16th"),
    Smufl(F, 146, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 147, 0xE1DD, "note64thUp"),
    Smufl(F, 148, 0xE1DF, "note128thUp"),
    Smufl(F, 150, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 151, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 152, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 153, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 154, 0xEBAA, "luteDuration8th"),
    Smufl(F, 155, 0xEBAB, "luteDuration16th"),
    Smufl(F, 156, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 157, 0xE1DD, "note64thUp"),
    Smufl(F, 158, 0xE1DF, "note128thUp"),
    Smufl(F, 160, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 161, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 162, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 163, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 164, 0xEBAA, "luteDuration8th"),
    Smufl(F, 165, 0xEBAB, "luteDuration16th"),
    Smufl(F, 166, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 167, 0xE1DD, "note64thUp"),
    Smufl(F, 168, 0xE1DF, "note128thUp"),
    Smufl(F, 170, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 171, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 172, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 173, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 174, 0xEBAA, "luteDuration8th"),
    Smufl(F, 175, 0xEBAB, "luteDuration16th"),
    Smufl(F, 176, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 177, 0xE1DD, "note64thUp"),
    Smufl(F, 178, 0xE1DF, "note128thUp"),
    Smufl(F, 180, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 181, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 182, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 183, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 184, 0xEBAA, "luteDuration8th"),
    Smufl(F, 185, 0xEBAB, "luteDuration16th"),
    Smufl(F, 186, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 187, 0xE1DD, "note64thUp"),
    Smufl(F, 188, 0xE1DF, "note128thUp"),
    Smufl(F, 190, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 191, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 192, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 193, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 194, 0xEBAA, "luteDuration8th"),
    Smufl(F, 195, 0xEBAB, "luteDuration16th"),
    Smufl(F, 196, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 197, 0xE1DD, "note64thUp"),
    Smufl(F, 198, 0xE57E, "ornamentDoubleObliqueLinesAfterNote"),
    Smufl(F, 199, 0xE580, "ornamentObliqueLineHorizAfterNote"),
    Smufl(F, 200, 0xE571, "ornamentRightFacingHalfCircle"),
    Smufl(F, 201, 0xE573, "ornamentRightFacingHook"),
    Smufl(F, 202, 0xE575, "ornamentHookBeforeNote"),
    Smufl(F, 203, 0xE59A, "ornamentBottomLeftConcaveStroke"),
    Smufl(F, 204, 0xE590, "ornamentTopLeftConcaveStroke"),
    Smufl(F, 205, 0xE56E, "ornamentTremblement"),
    Smufl(F, 206, 0xE5BD, "ornamentPrecompTrillWithMordent"),
    Smufl(F, 207, 0xE56F, "ornamentHaydn"),
    Smufl(F, 208, 0xE582, "ornamentShake3"),
    Smufl(F, 209, 0xE638, "pluckedDamp"),
    Smufl(F, 210, 0xE639, "pluckedDampAll"),
    Smufl(F, 211, 0xEBF2, "luteItalianTremolo"),
    Smufl(F, 212, 0xE614, "stringsHarmonic"),
    Smufl(F, 213, 0xE4AD, "articMarcatoBelow"),
    Smufl(F, 214, 0xE581, "ornamentComma"),
    Smufl(F, 215, 0xE579, "ornamentShortObliqueLineBeforeNote"),
    Smufl(F, 216, 0xE560, "graceNoteAcciaccaturaStemUp"),
    Smufl(F, 217, 0xE561, "graceNoteAcciaccaturaStemDown"),
    Smufl(F, 218, 0xE577, "ornamentUpCurve"),
    Smufl(F, 219, 0xEBD4, "luteFrenchAppoggiaturaBelow"),
    Smufl(F, 220, 0xEBD5, "luteFrenchAppoggiaturaAbove"),
    Smufl(F, 221, 0xE4A0, "articAccentAbove"),
    Smufl(F, 222, 0xE4AC, "articMarcatoAbove"),
    Smufl(F, 223, 0xE5B0, "ornamentPrecompSlide"),
    Smufl(F, 224, 0xE5B1, "ornamentPrecompDescendingSlide"),
    Smufl(F, 225, 0xEBD2, "luteFrenchMordentLower"),
    Smufl(F, 226, 0xEBF6, "luteItalianVibrato"),
    Smufl(F, 227, 0xEBD1, "luteFrenchMordentUpper"),
    Smufl(F, 228, 0xE4A5, "articTenutoBelow"),
    Smufl(F, 229, 0xE655, "keyboardPedalUp"),
    Smufl(F, 230, 0xE587, "ornamentSchleifer"),
    Smufl(F, 231, 0xE5B6, "ornamentPrecompSlideTrillMarpurg"),
    Smufl(F, 232, 0xE859, "fretboardX"),
    Smufl(F, 233, 0xE4AC, "articMarcatoAbove"),
    Smufl(F, 234, 0xE57B, "ornamentObliqueLineBeforeNote"),
    Smufl(F, 235, 0xE5B0, "ornamentPrecompSlide"),
    Smufl(F, 236, 0xE4D1, "caesura"),
    Smufl(F, 237, 0xE85A, "fretboardO"),
    Smufl(F, 238, 0xE858, "fretboardFilledCircle"),
    Smufl(F, 239, 0xEBB0, "luteFingeringRHThird"),
    Smufl(F, 240, 0xE1E7, "augmentationDot"),
    // Right-hand fingering stands under the letter whose base line it is drawn at.
    Smufl(F, 241, 0xEBAE, "luteFingeringRHFirst").Dy(-1.1f),
    Smufl(F, 243, 0xE923, "mensuralProlationCombiningThreeDotsTri"),
    Smufl(F, 244, 0xEBAD, "luteFingeringRHThumb").Dy(-1.5f),
    Smufl(F, 245, 0xE044, "repeatDot"),
    Smufl(F, 246, 0xE043, "repeatDots").Scale(0.6f),
    Smufl(F, 247, 0xE635, "arpeggiatoDown"),
    Smufl(F, 248, 0xE634, "arpeggiatoUp"),
    Smufl(F, 249, 0xE586, "glissandoDown"),
    Blank(F, 250, "blank"),
    Smufl(F, 251, 0xE842, "guitarGolpe"),
    Smufl(F, 252, 0xE846, "guitarStrumUp"),
    Smufl(F, 253, 0xE5D7, "brassFallLipShort"),
    Smufl(F, 254, 0xE5D0, "brassScoop"),
    Smufl(F, 255, 0xE5B1, "ornamentPrecompDescendingSlide"),
    Smufl(F, 256, 0xE616, "stringsMuteOn"),
    Smufl(F, 257, 0xE63A, "pluckedPlectrum"),
    Smufl(F, 258, 0xE835, "guitarString2"),
    Smufl(F, 259, 0xE836, "guitarString3"),
    Smufl(F, 265, 0xED14, "fingering4"),
    Smufl(F, 266, 0xE862, "analyticsStartStimme"),
    Smufl(F, 267, 0xE863, "analyticsEndStimme"),
    Smufl(F, 268, 0xED15, "fingering5"),
    Smufl(F, 269, 0xE834, "guitarString1"),
    Smufl(F, 271, 0xE617, "stringsMuteOff"),
    Smufl(F, 272, 0xE4A4, "articTenutoAbove"),
    Smufl(F, 273, 0xE4A8, "articStaccatissimoWedgeAbove"),
    Smufl(F, 274, 0xE04B, "segnoSerpent2"),
    Smufl(F, 275, 0xE610, "stringsDownBow"),
    Smufl(F, 276, 0xE612, "stringsUpBow"),
    Smufl(F, 277, 0xE4B8, "articUnstressAbove"),
    Smufl(F, 278, 0xED10, "fingering0"),
    Smufl(F, 281, 0xE101, "noteheadSlashHorizontalEnds"),
    Smufl(F, 282, 0xE630, "pluckedSnapPizzicatoBelow"),
    Smufl(F, 283, 0xE631, "pluckedSnapPizzicatoAbove"),
    Smufl(F, 285, 0xED11, "fingering1"),
    Smufl(F, 286, 0xED12, "fingering2"),
    Smufl(F, 287, 0xED13, "fingering3"),
    Smufl(F, 288, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 289, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 290, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 291, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 292, 0xEBAA, "luteDuration8th"),
    Smufl(F, 293, 0xEBAB, "luteDuration16th"),
    Smufl(F, 294, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 295, 0xE1DD, "note64thUp"),
    Smufl(F, 296, 0xE1DF, "note128thUp"),
    Smufl(F, 298, 0xEBAF, "luteFingeringRHSecond").Dy(-1.1f),
    Draw(F, 302, GlyphShape::kWavyStroke, "wavy diapason stroke"),
    Smufl(F, 304, 0xE222, "tremolo3"),
    Smufl(F, 305, 0xE046, "daCapo"),
    Smufl(F, 307, 0xE04A, "segnoSerpent1"),
    Smufl(F, 308, 0xE831, "guitarVibratoBarDip"),
    Smufl(F, 309, 0xE830, "guitarVibratoBarScoop"),
    Smufl(F, 310, 0xE4CF, "breathMarkTick"),
    Smufl(F, 311, 0xE4CE, "breathMarkComma"),
    Smufl(F, 314, 0xE047, "segno"),
    Smufl(F, 320, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 321, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 322, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 323, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 324, 0xEBAA, "luteDuration8th"),
    Smufl(F, 325, 0xEBAB, "luteDuration16th"),
    Smufl(F, 326, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 327, 0xE1DD, "note64thUp"),
    Smufl(F, 328, 0xE1DF, "note128thUp"),
    Smufl(F, 330, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 331, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 332, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 333, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 334, 0xEBAA, "luteDuration8th"),
    Smufl(F, 335, 0xEBAB, "luteDuration16th"),
    Smufl(F, 336, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 337, 0xE1DD, "note64thUp"),
    Smufl(F, 338, 0xE1DF, "note128thUp"),
    Smufl(F, 367, 0xE069, "unpitchedPercussionClef1"),
    Smufl(F, 368, 0xE1D0, "noteDoubleWhole"),
    Smufl(F, 369, 0xE1D2, "noteWhole"),
    Smufl(F, 370, 0xE1D3, "noteHalfUp"),
    Smufl(F, 371, 0xE1D5, "noteQuarterUp"),
    Smufl(F, 372, 0xE1D7, "note8thUp"),
    Smufl(F, 373, 0xE1D9, "note16thUp"),
    Smufl(F, 374, 0xE1DB, "note32ndUp"),
    Smufl(F, 375, 0xE0A9, "noteheadXBlack"),
    Smufl(F, 376, 0xE1DF, "note128thUp"),
    Smufl(F, 384, 0xEBA6, "luteDurationDoubleWhole"),
    Smufl(F, 385, 0xEBA7, "luteDurationWhole"),
    Smufl(F, 386, 0xEBA8, "luteDurationHalf"),
    Smufl(F, 387, 0xEBA9, "luteDurationQuarter"),
    Smufl(F, 388, 0xEBAA, "luteDuration8th"),
    Smufl(F, 389, 0xEBAB, "luteDuration16th"),
    Smufl(F, 390, 0xEBAC, "luteDuration32nd"),
    Smufl(F, 391, 0xE1DD, "note64thUp"),
    Smufl(F, 392, 0xE1DF, "note128thUp"),

    // Hyperlink icons of the link meta-event (its face is not named: the stave's).
    Text(N, 475, "\u21AA", GlyphTextFace::kSans, "internal link"),
    Text(N, 476, "\u25A4", GlyphTextFace::kSans, "document link"),
    Text(N, 477, "\u2197", GlyphTextFace::kSans, "web link"),
    Text(N, 478, "\u266A", GlyphTextFace::kSans, "audio link"),
    Text(F, 475, "\u21AA", GlyphTextFace::kSans, "internal link"),
    Text(F, 476, "\u25A4", GlyphTextFace::kSans, "document link"),
    Text(F, 477, "\u2197", GlyphTextFace::kSans, "web link"),
    Text(F, 478, "\u266A", GlyphTextFace::kSans, "audio link"),

    // Tablature letter faces: French fret letters and Italian fret numbers of the lute
    // tablature range; other letters (frets beyond 'n'), '+', '/' and 'x' stay text.
    Lute('a', 0xEBC0, "luteFrenchFretA"),
    Lute('b', 0xEBC1, "luteFrenchFretB"),
    Lute('c', 0xEBC2, "luteFrenchFretC"),
    Lute('d', 0xEBC3, "luteFrenchFretD"),
    Lute('e', 0xEBC4, "luteFrenchFretE"),
    Lute('f', 0xEBC5, "luteFrenchFretF"),
    Lute('g', 0xEBC6, "luteFrenchFretG"),
    Lute('h', 0xEBC7, "luteFrenchFretH"),
    Lute('i', 0xEBC8, "luteFrenchFretI"),
    Lute('k', 0xEBC9, "luteFrenchFretK"),
    Lute('l', 0xEBCA, "luteFrenchFretL"),
    Lute('m', 0xEBCB, "luteFrenchFretM"),
    Lute('n', 0xEBCC, "luteFrenchFretN"),
    Lute('0', 0xEBE0, "luteItalianFret0"),
    Lute('1', 0xEBE1, "luteItalianFret1"),
    Lute('2', 0xEBE2, "luteItalianFret2"),
    Lute('3', 0xEBE3, "luteItalianFret3"),
    Lute('4', 0xEBE4, "luteItalianFret4"),
    Lute('5', 0xEBE5, "luteItalianFret5"),
    Lute('6', 0xEBE6, "luteItalianFret6"),
    Lute('7', 0xEBE7, "luteItalianFret7"),
    Lute('8', 0xEBE8, "luteItalianFret8"),
    Lute('9', 0xEBE9, "luteItalianFret9"),
    Smufl(L, 'L', 0xE08A, "timeSigCommon").Scale(kTimeSigInLetters).Dy(kTimeSigInLetters),
    Smufl(L, 'M', 0xE08B, "timeSigCutCommon").Scale(kTimeSigInLetters).Dy(kTimeSigInLetters),

    // Figures, fingerings and barré signs.
    Draw(G, '!', GlyphShape::kRaisedDash, "figure high dash"),
    Draw(G, '"', GlyphShape::kCrossStroke, "stroke through the previous figure").Advance(0),
    // The clef of a percussion tablature (two bars across the middle of its few lines).
    Smufl(G, 0x16F, 0xE069, "unpitchedPercussionClef1").Scale(kFigureScale),
    Figure('#', 0xEA66, "figbassSharp"),
    Figure('>', 0xEA66, "figbassSharp"),
    Figure('$', 0xEA64, "figbassFlat"),
    Figure('<', 0xEA64, "figbassFlat"),
    Figure('%', 0xEA65, "figbassNatural"),
    Figure('=', 0xEA65, "figbassNatural"),
    Figure('+', 0xEA6C, "figbassPlus"),
    Figure('0', 0xEA50, "figbass0"),
    Figure('1', 0xEA51, "figbass1"),
    Figure('2', 0xEA52, "figbass2"),
    Figure('3', 0xEA54, "figbass3"),
    Figure('4', 0xEA55, "figbass4"),
    Figure('5', 0xEA57, "figbass5"),
    Figure('6', 0xEA5B, "figbass6"),
    Figure('7', 0xEA5D, "figbass7"),
    Figure('8', 0xEA60, "figbass8"),
    Figure('9', 0xEA61, "figbass9"),
    Fingering('p', 0xED17, "fingeringPLower"),
    Fingering('i', 0xED19, "fingeringILower"),
    Fingering('m', 0xED1A, "fingeringMLower"),
    Fingering('a', 0xED1B, "fingeringALower"),
    Smufl(G, 0xBF, 0xE849, "guitarBarreHalf").Scale(kBarreScale),
    Smufl(G, 0xC0, 0xE848, "guitarBarreFull").Scale(kBarreScale),
    Text(G, 0xC1, "I", GlyphTextFace::kSerif, "barré numeral 1"),
    Text(G, 0xC2, "II", GlyphTextFace::kSerif, "barré numeral 2"),
    Text(G, 0xC3, "III", GlyphTextFace::kSerif, "barré numeral 3"),
    Text(G, 0xC4, "IV", GlyphTextFace::kSerif, "barré numeral 4"),
    Text(G, 0xC5, "V", GlyphTextFace::kSerif, "barré numeral 5"),
    Text(G, 0xC6, "VI", GlyphTextFace::kSerif, "barré numeral 6"),
    Text(G, 0xC7, "VII", GlyphTextFace::kSerif, "barré numeral 7"),
    Text(G, 0xC8, "VIII", GlyphTextFace::kSerif, "barré numeral 8"),
    Text(G, 0xC9, "IX", GlyphTextFace::kSerif, "barré numeral 9"),
    Text(G, 0xCA, "X", GlyphTextFace::kSerif, "barré numeral 10"),
    // Ornament palette buttons: code 64 + kind shows the kind's staff-notation ornament.
    Palette(64, 0xE562, "graceNoteAppoggiaturaStemUp"),
    Palette(65, 0xE563, "graceNoteAppoggiaturaStemDown"),
    Palette(66, 0xE560, "graceNoteAcciaccaturaStemUp"),
    Palette(67, 0xE561, "graceNoteAcciaccaturaStemDown"),
    Palette(68, 0xE598, "ornamentLowLeftConcaveStroke"),
    Palette(69, 0xE592, "ornamentHighLeftConcaveStroke"),
    Palette(70, 0xE5B0, "ornamentPrecompSlide"),
    Palette(71, 0xE5B1, "ornamentPrecompDescendingSlide"),
    Palette(72, 0xE56C, "ornamentShortTrill"),
    Palette(73, 0xE56D, "ornamentMordent"),
    Palette(74, 0xE56E, "ornamentTremblement"),
    Palette(75, 0xE5BD, "ornamentPrecompTrillWithMordent"),
    Palette(76, 0xE59A, "ornamentBottomLeftConcaveStroke"),
    Palette(77, 0xE590, "ornamentTopLeftConcaveStroke"),
    Palette(78, 0xE566, "ornamentTrill"),
    Palette(79, 0xE566, "ornamentTrill"),
    Palette(80, 0xE59A, "ornamentBottomLeftConcaveStroke"),
    Palette(81, 0xE590, "ornamentTopLeftConcaveStroke"),
    Palette(82, 0xE567, "ornamentTurn"),
    Palette(83, 0xE568, "ornamentTurnInverted"),
    Palette(84, 0xE655, "keyboardPedalUp"),
    Palette(85, 0xE4A0, "articAccentAbove"),
    Palette(86, 0xEBF6, "luteItalianVibrato"),
    Palette(87, 0xE044, "repeatDot"),
    Palette(88, 0xE633, "pluckedLeftHandPizzicato"),
    Palette(89, 0xE614, "stringsHarmonic"),
    Palette(90, 0xE044, "repeatDot"),
    Palette(91, 0xE4A4, "articTenutoAbove"),
    Palette(92, 0xE610, "stringsDownBow"),
    Palette(93, 0xE630, "pluckedSnapPizzicatoBelow"),
    Palette(94, 0xE631, "pluckedSnapPizzicatoAbove"),
    Palette(95, 0xE0CE, "noteheadParenthesis"),
    // Palette buttons of commands that no stored code stands for: tuplets, bar lines, the
    // hairpin, brackets, tremolos and strums. Documents never store these codes.
    Palette(0x100, 0xE882, "tuplet2"),
    Palette(0x101, 0xE883, "tuplet3"),
    Palette(0x102, 0xE885, "tuplet5"),
    Palette(0x103, 0xE886, "tuplet6"),
    Palette(0x104, 0xE887, "tuplet7"),
    Palette(0x110, 0xE030, "barlineSingle"),
    Palette(0x111, 0xE041, "repeatRight"),
    Palette(0x112, 0xE040, "repeatLeft"),
    Palette(0x113, 0xE042, "repeatRightLeft"),
    Palette(0x114, 0xE031, "barlineDouble"),
    Palette(0x115, 0xE037, "barlineDotted"),
    Palette(0x116, 0xE043, "repeatDots"),
    Palette(0x117, 0xE036, "barlineDashed"),
    Palette(0x118, 0xE034, "barlineHeavy"),
    Palette(0x119, 0xE038, "barlineShort"),
    Palette(0x11A, 0xE035, "barlineHeavyHeavy"),
    Palette(0x11B, 0xE032, "barlineFinal"),
    Palette(0x120, 0xE53E, "dynamicCrescendoHairpin"),
    Palette(0x121, 0xE002, "bracket"),
    Palette(0x122, 0xE000, "brace"),
    Palette(0x123, 0xE220, "tremolo1"),
    Palette(0x124, 0xE221, "tremolo2"),
    Palette(0x125, 0xE634, "arpeggiatoUp"),
    Palette(0x126, 0xE635, "arpeggiatoDown"),
    Palette(0x127, 0xE846, "guitarStrumUp"),
    Palette(0x128, 0xE847, "guitarStrumDown"),

    // The legacy signature face: time-signature digits.
    Smufl(D, '0', 0xE080, "timeSig0").Dy(1),
    Smufl(D, '1', 0xE081, "timeSig1").Dy(1),
    Smufl(D, '2', 0xE082, "timeSig2").Dy(1),
    Smufl(D, '3', 0xE083, "timeSig3").Dy(1),
    Smufl(D, '4', 0xE084, "timeSig4").Dy(1),
    Smufl(D, '5', 0xE085, "timeSig5").Dy(1),
    Smufl(D, '6', 0xE086, "timeSig6").Dy(1),
    Smufl(D, '7', 0xE087, "timeSig7").Dy(1),
    Smufl(D, '8', 0xE088, "timeSig8").Dy(1),
    Smufl(D, '9', 0xE089, "timeSig9").Dy(1),

    // The decorative face: its default graphic ornament; other codes are drawn as text.
    Text(V, 'C', "\u2766", GlyphTextFace::kSans, "floral heart"),
};

struct Index {
  std::vector<const GlyphMapEntry*> sorted;
  Index() {
    for (const auto& e : kEntries) sorted.push_back(&e);
    std::stable_sort(sorted.begin(), sorted.end(), [](const GlyphMapEntry* a, const GlyphMapEntry* b) {
      return a->role != b->role ? a->role < b->role : a->code < b->code;
    });
  }
};

const Index& TheIndex() {
  static const Index index;
  return index;
}

}  // namespace

FaceRole RoleForFace(std::string_view face) {
  if (EqualsNoCase(face, "VornelNotation") || EqualsNoCase(face, "VornelNote")) return FaceRole::kNotation;
  if (EqualsNoCase(face, "VornelTabFlags")) return FaceRole::kTabFlags;
  if (EqualsNoCase(face, "VornelFg")) return FaceRole::kFg;
  if (EqualsNoCase(face, "TabDefault")) return FaceRole::kTabDefault;
  if (EqualsNoCase(face, "VAVADURURA")) return FaceRole::kVavadurura;
  // Tablature letter faces; older documents name them "QX_" or "QX ".
  if (StartsWithNoCase(face, "VN_") || StartsWithNoCase(face, "QX_") || StartsWithNoCase(face, "QX ")) {
    return FaceRole::kTabLetter;
  }
  return FaceRole::kText;
}

std::string_view RoleFaceName(FaceRole role) {
  switch (role) {
    case FaceRole::kNotation:
      return "VornelNotation";
    case FaceRole::kTabFlags:
      return "VornelTabFlags";
    case FaceRole::kTabLetter:
      return "VN_Quintelle";
    case FaceRole::kFg:
      return "VornelFg";
    case FaceRole::kTabDefault:
      return "TabDefault";
    case FaceRole::kVavadurura:
      return "VAVADURURA";
    case FaceRole::kText:
      break;
  }
  return "";
}

std::span<const GlyphMapEntry> AllGlyphEntries() { return kEntries; }

const GlyphMapEntry* FindGlyph(FaceRole role, uint32_t code) {
  if (role == FaceRole::kText) return nullptr;
  const auto& sorted = TheIndex().sorted;
  auto it = std::lower_bound(sorted.begin(), sorted.end(), std::pair(role, code),
                             [](const GlyphMapEntry* e, const std::pair<FaceRole, uint32_t>& key) {
                               return e->role != key.first ? e->role < key.first : e->code < key.second;
                             });
  if (it == sorted.end() || (*it)->role != role || (*it)->code != code) return nullptr;
  return *it;
}

bool RoleFallsBackToText(FaceRole role) {
  // The signature face of older documents also names their tablature letters: what it does
  // not map (every letter) is written as text, as in the other letter faces.
  return role == FaceRole::kText || role == FaceRole::kTabLetter || role == FaceRole::kFg ||
         role == FaceRole::kVavadurura || role == FaceRole::kTabDefault;
}

GlyphTextFace RoleTextFace(FaceRole role) {
  return role == FaceRole::kVavadurura ? GlyphTextFace::kSans : GlyphTextFace::kSerif;
}

}  // namespace vornel
