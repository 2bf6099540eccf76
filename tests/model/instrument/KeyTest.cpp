#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/instrument/CKey.h"
#include "model/voice/nNotes.h"
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

CKey Key(uint32_t alterations, bool flats, int32_t mode = 0) {
  CKey key;
  key.alterations = alterations;
  key.bemol = flats ? 1 : 0;
  key.mode = mode;
  return key;
}

struct Spelling {
  std::string name;  // the packed name as text
  char accidental;
  int stepNumber;
};

Spelling Spell(const CKey& key, int pitch, bool respell = false) {
  uint16_t packed = 0;
  char accidental = 0;
  const int step = key.SpellPitch(pitch, packed, accidental, respell);
  return {nNotes::NameText(packed), accidental, step};
}

TEST(KeySignature, StepAlterationsAndPitches) {
  const CKey plain;
  for (int step = 0; step < 7; ++step) EXPECT_EQ(plain.GetStepAlteration(step), 0);
  const CKey twoSharps = Key(2, false);
  EXPECT_EQ(twoSharps.GetStepAlteration(3), 1);  // F
  EXPECT_EQ(twoSharps.GetStepAlteration(0), 1);  // C
  EXPECT_EQ(twoSharps.GetStepAlteration(4), 0);  // G
  EXPECT_EQ(twoSharps.StepToPitch(5 * 7 + 3), 66);
  const CKey threeFlats = Key(3, true);
  EXPECT_EQ(threeFlats.GetStepAlteration(5), -1);  // A
  EXPECT_EQ(threeFlats.StepToPitch(4 * 7 + 6), 58);
}

TEST(KeySignature, AccidentalsAgainstTheSignature) {
  const CKey twoSharps = Key(2, false);
  EXPECT_EQ(twoSharps.GetAccidentalChar(38, 66), 0);    // F# is in the key
  EXPECT_EQ(twoSharps.GetAccidentalChar(38, 65), 'n');  // F natural against it
  EXPECT_EQ(twoSharps.GetAccidentalChar(38, 67), 'x');
  EXPECT_EQ(twoSharps.GetAccidentalChar(38, 64), 'b');
  EXPECT_EQ(twoSharps.GetAccidentalChar(38, 70), 0);  // too far off
  EXPECT_EQ(CKey().GetAccidentalChar(37, 62), 'z');   // E double flat
}

struct SpellCase {
  uint32_t alterations;
  bool flats;
  int pitch;
  bool respell;
  const char* name;
  char accidental;
  int stepNumber;
  friend std::ostream& operator<<(std::ostream& os, const SpellCase& c) {
    return os << c.alterations << (c.flats ? "b " : "# ") << c.pitch << (c.respell ? " respelt" : "");
  }
};

class PitchSpelling : public ::testing::TestWithParam<SpellCase> {};

TEST_P(PitchSpelling, GivesStepNameAndAccidental) {
  const SpellCase& c = GetParam();
  const Spelling s = Spell(Key(c.alterations, c.flats), c.pitch, c.respell);
  EXPECT_EQ(s.name, c.name);
  EXPECT_EQ(s.accidental, c.accidental);
  EXPECT_EQ(s.stepNumber, c.stepNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PitchSpelling,
    ::testing::Values(
        SpellCase{0, true, 61, false, "C5#", '#', 35},  // degree 1, correction +1
        SpellCase{0, true, 60, false, "C5", 0, 35},
        SpellCase{0, true, 63, false, "E5b", 'b', 37},
        SpellCase{2, false, 66, false, "F5", 0, 38},    // given by the signature: no accidental
        SpellCase{2, false, 65, false, "F5", 'n', 38},
        SpellCase{6, true, 64, false, "F5b", 'b', 38},  // six flats: pitch class 4 is F flat
        // Respelling moves to the neighbouring step.
        SpellCase{0, true, 61, true, "D5b", 'b', 36}, SpellCase{0, true, 63, true, "D5#", '#', 36},
        SpellCase{0, true, 60, true, "C5", 'n', 35}, SpellCase{2, false, 66, true, "F5#", '#', 38},
        SpellCase{6, true, 64, true, "E5", 'n', 37},
        // B sharp and C flat take the octave of their step, not of their pitch.
        SpellCase{2, false, 60, true, "B4#", '#', 34}, SpellCase{5, true, 59, false, "C5b", 'b', 35}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

// A transposition read from a file stays within ±127 half steps, so that adding it to a pitch
// cannot overflow, whatever number the file holds.
TEST(KeyRecords, TranspositionsAreKeptWithinTheKeyboard) {
  tinyxml2::XMLDocument doc;
  doc.Parse("<key transpose=\"2147483647\" transpose-pitch=\"-2147483648\"/>");
  CKey fromXml;
  fromXml.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(fromXml.transpose, 127);
  EXPECT_EQ(fromXml.transposePitch, -127);

  CKey stored;
  stored.transpose = 2147483647;
  stored.transposePitch = -2000;
  ArchiveWriter w;
  stored.Store(w);
  ArchiveReader r(w.Bytes());
  CKey read;
  read.Load(r);
  EXPECT_EQ(read.transpose, 127);
  EXPECT_EQ(read.transposePitch, -127);
}

TEST(KeySpelling, OutOfRangeValuesStayInTheTables) {
  CKey key = Key(255, true, 0x0F00);
  EXPECT_EQ(key.GetStepAlteration(3), 0);  // 255 alterations count as none
  EXPECT_EQ(key.GetModeName(), "");
  EXPECT_EQ(Spell(key, 0).stepNumber, 0);
  EXPECT_EQ(Spell(CKey(), -1).stepNumber, -1);  // B below octave 0, never a negative index
  key.keyName = 12;
  EXPECT_EQ(key.GetKeyLabel().substr(0, 1), "A");
  EXPECT_EQ(key.StepToPitch(-1), -1);
}

TEST(KeySpelling, RespellingNeed) {
  const CKey plain;
  EXPECT_EQ(plain.NeedsRespelling(63, 0, '#'), 1);  // E flat asked as a sharp
  EXPECT_EQ(plain.NeedsRespelling(61, 0, '&'), 1);  // C sharp asked as a flat
  EXPECT_EQ(plain.NeedsRespelling(61, 0, '#'), 0);
  EXPECT_EQ(plain.NeedsRespelling(60, 0, '&'), 0);
}

TEST(KeyTexts, LabelsAndDescriptions) {
  EXPECT_EQ(CKey().GetKeyLabel(), "CM[0b]");
  CKey key = Key(3, false, 0x0501);
  key.keyName = 5;
  key.keyAlterations = 2;
  EXPECT_EQ(key.GetKeyLabel(), "A#m[3#]");
  EXPECT_EQ(key.GetKeyDescription(), "A#m[3#] Aeolian");
  EXPECT_EQ(key.GetKeySignatureText(), "A#m [3#]");
  EXPECT_EQ(CKey().GetKeySignatureText(), "C");
}

TEST(KeyRecord, TonicAccidentalAboveSixTwo) {
  CKey key = Key(3, true, 0x0101);
  key.keyName = 2;
  key.transpose = -2;
  key.transposePitch = 5;
  key.keyAlterations = 1;
  ArchiveWriter w;
  key.Store(w);
  const std::string record = "03 00 00 00 01 00 00 00 02 00 00 00 01 01 00 00 FE FF FF FF 05 00 00 00";
  EXPECT_EQ(ToHex(w.Bytes()), record + " 01 00 00 00");

  // The same gate decides what a writer of that version stores.
  ArchiveWriter oldWriter("6.2");
  key.Store(oldWriter);
  EXPECT_EQ(ToHex(oldWriter.Bytes()), record);
  const auto old = HexBytes(record);
  ArchiveReader r(old, "6.2");
  CKey read;
  read.keyAlterations = 2;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.keyAlterations, 2);
  read.keyAlterations = 1;
  EXPECT_EQ(read, key);

  ArchiveReader current(w.Bytes(), "6.21");
  CKey full;
  full.Load(current);
  EXPECT_EQ(full, key);
}

TEST(KeyXml, ModeIndexAndMinorBitRoundTrip) {
  CKey key = Key(1, false, 0x0100);
  key.keyName = 4;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = key.WriteXml(doc);
  EXPECT_EQ(testing::CompactXml(doc, element),
               "<key alterations=\"1\" melodic-minor=\"0\" mode=\"1\" transpose=\"0\" transpose-pitch=\"0\" "
               "key-alterations=\"0\" bemol=\"0\" key-name=\"4\">GM[1#] Dorian</key>");
  CKey read;
  EXPECT_EQ(read.ReadXml(element), nullptr);
  EXPECT_EQ(read, key);

  testing::ScriptedPrompts prompts;
  tinyxml2::XMLDocument other;
  other.Parse("<clef/>");
  EXPECT_THROW(read.ReadXml(other.FirstChildElement()), XmlTagMismatch);
}

TEST(KeySignature, FromFifthsAndMode) {
  struct Case {
    int fifths;
    bool minor;
    std::string label;
  };
  for (const Case& c : std::vector<Case>{{0, false, "CM[0b]"},
                                         {2, false, "DM[2#]"},
                                         {-3, false, "EbM[3b]"},
                                         {-3, true, "Cm[3b]"},
                                         {4, true, "C#m[4#]"},
                                         {9, false, "C#M[7#]"}}) {
    CKey key;
    key.SetSignature(c.fifths, c.minor);
    EXPECT_EQ(key.GetKeyLabel(), c.label) << c.fifths << (c.minor ? " minor" : " major");
  }
}

}  // namespace
}  // namespace vornel
