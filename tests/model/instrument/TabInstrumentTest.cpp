#include <gtest/gtest.h>

#include <cstdint>

#include "model/instrument/CTabInstrument.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

// The seven-course lute's pitch bytes: 44, 39, 34, 30, 25, 20, 18.
CTabInstrument Lute() { return CTabInstrument(); }

CTabInstrument WithTuning(std::string_view text, int32_t tabStyle, int32_t scaleType = 0) {
  CTabInstrument instrument;
  instrument.tuning.SetTuning(text);
  instrument.tabStyle = tabStyle;
  instrument.scaleType = scaleType;
  return instrument;
}

TEST(TabInstrument, Defaults) {
  const CTabInstrument lute;
  EXPECT_EQ(lute.name, "7-course Lute in G");
  EXPECT_EQ(lute.tuning.stringCount, 7);
  EXPECT_EQ(lute.tuning.lines, 6);
  EXPECT_EQ(lute.tuningText, "GDAFCGF");
  EXPECT_EQ(lute.tabFont.staveAdjust, (SizePair{50, 25}));
  EXPECT_EQ(lute.flagsFont.face, "VornelTabFlags");
  EXPECT_EQ(lute.signatureSize, 80);
  EXPECT_EQ(lute.binaryOnlySetting, 35);
  EXPECT_EQ(lute.alfabeto.showAlfabeto, 1);
}

TEST(TabInstrumentFrets, CourseForAPitch) {
  const CTabInstrument lute = Lute();
  EXPECT_EQ(lute.FindStringForPitch(44 + 24, -1), 0);  // course 1 + 24 is playable
  EXPECT_EQ(lute.FindStringForPitch(44 + 25, -1), -1);
  EXPECT_EQ(lute.FindStringForPitch(17, -1), -1);      // below the lowest course
  EXPECT_EQ(lute.FindStringForPitch(18, -1), 6);
  EXPECT_EQ(lute.FindStringForPitch(39, -1), 1);       // an open course wins at once
  EXPECT_EQ(lute.FindStringForPitch(40, -1), 1);       // else the smallest fret
  EXPECT_EQ(lute.FindStringForPitch(40, 1), 2);        // only courses after the one given
  EXPECT_EQ(lute.FindStringForPitch(40, 6), -1);
  CTabInstrument empty;
  empty.tuning.stringCount = 0;
  EXPECT_EQ(empty.FindStringForPitch(60, -1), -1);
}

TEST(TabInstrumentFrets, BassCourseWithinFourFrets) {
  const CTabInstrument lute = Lute();
  EXPECT_EQ(lute.FindBassString(10), 5);  // G: the sixth course, open
  EXPECT_EQ(lute.FindBassString(0), 5);   // A: two frets up the G course
  EXPECT_EQ(lute.FindBassString(5), 4);   // D: on the C course
  EXPECT_EQ(lute.FindBassString(-7), 4);  // a pitch class given below 0 counts from the top
  CTabInstrument two = WithTuning("GD", 0);
  EXPECT_EQ(two.FindBassString(0), 0);    // index 0 is never the answer
}

TEST(TabInstrumentFrets, LineCountsFromAFileStayWithinTheCourses) {
  CTabInstrument lute = Lute();
  lute.tuning.lines = INT32_MIN;
  EXPECT_EQ(lute.FindBassString(10), 0);
  lute.tuning.lines = INT32_MAX;
  EXPECT_EQ(lute.FindBassString(8), 6);  // the seventh course is the last one there is
  lute.tabStyle = CTabInstrument::kSpanish;
  EXPECT_EQ(lute.GetDisplayLine(-1), -1);
  EXPECT_EQ(lute.GetDisplayLine(0), INT32_MAX - 1);
}

TEST(TabInstrumentFrets, PitchOfAFret) {
  CTabInstrument lute = Lute();
  EXPECT_EQ(lute.GetPitchForFret(0, 3), 47);
  EXPECT_EQ(lute.GetPitchForFret(6, 0), 18);
  EXPECT_EQ(lute.GetPitchForFret(7, 0), 255);  // the string count itself is no course
  EXPECT_EQ(lute.GetPitchForFret(-1, 0), 255);
  lute.scaleType = 1;
  EXPECT_EQ(lute.GetPitchForFret(0, 3), 44 + 5);
  EXPECT_EQ(lute.GetPitchForFret(0, 9), 44 + 12 + 4);
  EXPECT_EQ(lute.GetPitchForFret(0, 3, true), 44 + 6);
}

struct FretTextCase {
  const char* tuning;
  int32_t tabStyle;
  int32_t scaleType;
  int string;
  int fret;
  const char* text;  // null: no text
  friend std::ostream& operator<<(std::ostream& os, const FretTextCase& c) {
    return os << "style " << c.tabStyle << " scale " << c.scaleType << " course " << c.string << " fret " << c.fret;
  }
};

class FretTexts : public ::testing::TestWithParam<FretTextCase> {};

TEST_P(FretTexts, OfACourse) {
  const FretTextCase& c = GetParam();
  const CTabInstrument instrument = WithTuning(c.tuning, c.tabStyle, c.scaleType);
  std::string text = "stale";
  const int open = instrument.tuning.courses[static_cast<size_t>(std::clamp(c.string, 0, 15))].pitch;
  const bool found = instrument.GetFretText(open + c.fret, c.string, text);
  EXPECT_EQ(found, c.text != nullptr);
  EXPECT_EQ(text, c.text != nullptr ? c.text : "");
}

constexpr const char* kEleven = "GDAFCGFEDCB";

INSTANTIATE_TEST_SUITE_P(
    Styles, FretTexts,
    ::testing::Values(
        FretTextCase{"GDAFCGF", 0, 0, 0, 0, "a"}, FretTextCase{"GDAFCGF", 0, 0, 0, 8, "i"},
        FretTextCase{"GDAFCGF", 0, 0, 0, 9, "k"},   // 'j' is never used
        FretTextCase{"GDAFCGF", 3, 0, 2, 9, "k"},   // mixed French writes letters too
        FretTextCase{"GDAFCGF", 0, 0, 0, 51, nullptr}, FretTextCase{"GDAFCGF", 0, 0, 0, -1, nullptr},
        FretTextCase{"GDAFCGF", 0, 0, 7, 0, nullptr},  // not a course in use
        FretTextCase{"GDAFCGF", 0, 0, 6, 0, "a"},      // course 7: index 6 is not above the lines
        FretTextCase{kEleven, 0, 0, 7, 9, "k"},        // a bourdon: the fret raised past 'j'
        FretTextCase{kEleven, 0, 0, 10, 0, "4"},       // the eleventh course: its number sign
        FretTextCase{kEleven, 1, 0, 10, 0, "11"},      // other styles: the course number
        FretTextCase{"GDAFCGF", 1, 0, 0, 10, "10"}, FretTextCase{"GDAFCGF", 2, 0, 0, 10, "x"},
        FretTextCase{"GDAFCGF", 2, 0, 0, 11, "x1"}, FretTextCase{"GDAFCGF", 2, 0, 0, 12, "i2"},
        FretTextCase{"GDAFCGF", 2, 0, 0, 13, "13"}, FretTextCase{"GDAFCGF", 1, 1, 0, 11, "6+"},
        FretTextCase{"GDAFCGF", 1, 1, 0, 12, "7"}, FretTextCase{"GDAFCGF", 1, 1, 0, 2, "1"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(TabInstrumentFrets, LettersPastTheAlphabetStayValidText) {
  const CTabInstrument lute = Lute();
  std::string text;
  ASSERT_TRUE(lute.GetFretText(44 + 30, 0, text));
  EXPECT_EQ(text, "\xC2\x80");  // U+0080: 'a' + 31
}

TEST(TabInstrumentFrets, DiatonicFretTexts) {
  std::string text;
  for (const auto& [semitones, expected] :
       {std::pair{0, "0"}, {1, "0+"}, {11, "6+"}, {12, "7"}, {14, "8"}, {25, "14+"}}) {
    ASSERT_TRUE(CTabInstrument::FormatDiatonicFret(semitones, text));
    EXPECT_EQ(text, expected) << semitones;
  }
  EXPECT_FALSE(CTabInstrument::FormatDiatonicFret(-1, text));
}

TEST(TabInstrumentFlags, DisplayLinesAndFlagGlyphs) {
  CTabInstrument spanish = WithTuning("EBGDAE", 2);
  EXPECT_EQ(spanish.GetDisplayLine(0), 5);
  EXPECT_EQ(spanish.GetDisplayLine(5), 0);
  EXPECT_EQ(Lute().GetDisplayLine(3), 3);

  CTabInstrument glyphs;
  EXPECT_EQ(glyphs.GetFlagGlyph(3), 113u);  // English: (0 + 11) * 10 + 3
  glyphs.flagStyle = 9;
  EXPECT_EQ(glyphs.GetFlagGlyph(3), 323u);
  glyphs.flagStyle = 11;
  EXPECT_EQ(glyphs.GetFlagGlyph(3), 387u);
  glyphs.flagGroup = 0x82;
  EXPECT_EQ(glyphs.GetFlagGlyph(3), 291u);
  glyphs.tabStyle = 4;
  EXPECT_EQ(glyphs.GetFlagGlyph(3), 371u);

  glyphs.flagGroup = 0x83;
  glyphs.SetFlagMode(4);
  EXPECT_EQ(glyphs.flagGroup, 0x90);
  glyphs.SetFlagMode(6);
  EXPECT_EQ(glyphs.flagGroup, 0xB1);
  glyphs.SetFlagMode(0x7F);
  EXPECT_EQ(glyphs.flagGroup, 0xF3);
}

TEST(TabInstrumentCourses, TransposeAndSetFromPitches) {
  CTabInstrument lute = Lute();
  EXPECT_EQ(lute.GetStringNoteName(0), "G 5");
  EXPECT_EQ(lute.GetStringPitchText(0), "67");
  lute.TransposeTuning(2);
  EXPECT_EQ(lute.tuning.courses[0], (CourseRecord{'A', 5, 'n', 46}));
  EXPECT_EQ(lute.tuning.courses[3], (CourseRecord{'G', 4, 'n', 32}));
  EXPECT_EQ(lute.tuningText, "AEBGDAG");
  lute.TransposeTuning(-1);
  EXPECT_EQ(lute.tuning.courses[0], (CourseRecord{'A', 5, 'b', 45}));

  const int bad[] = {200, 300, 64, 128};
  EXPECT_FALSE(lute.SetTuningFromPitches(4, bad));
  EXPECT_EQ(lute.tuning.stringCount, 7);
  const int guitar[] = {200, 300, 64, 59, 55};  // the first two entries are no courses
  EXPECT_TRUE(lute.SetTuningFromPitches(5, guitar));
  EXPECT_EQ(lute.tuning.stringCount, 3);
  EXPECT_EQ(lute.tuning.courses[0], (CourseRecord{'E', 5, 'n', 41}));
  EXPECT_EQ(lute.tuning.courses[3], CourseRecord{});
}

TEST(TabInstrumentCourses, ImportDefaults) {
  CTabInstrument instrument;
  instrument.SetImportDefaults();
  EXPECT_EQ(instrument.flagStyle, 2);
  EXPECT_EQ(instrument.flagGroup, 2);
  EXPECT_EQ(instrument.tabStyle, 1);
  EXPECT_EQ(instrument.tabFont.logFont.lfFaceName, "Vornelfg");
  EXPECT_EQ(instrument.tabFont.staveAdjust, (SizePair{60, 30}));
}

CTabInstrument Sample() {
  CTabInstrument instrument = WithTuning("A-1E-1BGDAGFEDCBAGFE", 1);
  instrument.name = "Theorbo";
  instrument.tuningText = "A-1E-1BGDAGFEDCBAGFE";
  instrument.flagStyle = 3;
  instrument.flagGroup = 0x81;
  instrument.showAllFlags = 1;
  instrument.restsOnTab = 1;
  instrument.drawOpaque = 1;
  instrument.rotateFlags = 1;
  instrument.colored = 0;
  instrument.baroqueStrumming = 2;
  instrument.shortSignature = 1;
  instrument.diapasonStyle = 2;
  instrument.lowerBourdons = 0;
  instrument.printTuning = 1;
  instrument.flagsHeight = 0x5644;
  instrument.microTuning = -3;
  instrument.tabFont.microTuning = -3;
  instrument.signatureSize = 90;
  instrument.coloredFlags = 1;
  instrument.tabFont.logFont.lfFaceName = "VN_Quintelle";
  instrument.flagsFont.interval = 45.0;
  instrument.alfabeto.showAlfabeto = 0;
  return instrument;
}

// The stored fields of two instruments agree.
void ExpectSameSettings(const CTabInstrument& a, const CTabInstrument& b) {
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.tuning, b.tuning);
  EXPECT_EQ(a.tuningText, b.tuningText);
  EXPECT_EQ(a.tabStyle, b.tabStyle);
  EXPECT_EQ(a.flagGroup, b.flagGroup);
  EXPECT_EQ(a.flagStyle, b.flagStyle);
  EXPECT_EQ(a.showAllFlags, b.showAllFlags);
  EXPECT_EQ(a.drawOpaque & 1, b.drawOpaque & 1);
  EXPECT_EQ(a.restsOnTab, b.restsOnTab);
  EXPECT_EQ(a.rotateFlags, b.rotateFlags);
  EXPECT_EQ(a.colored, b.colored);
  EXPECT_EQ(a.baroqueStrumming, b.baroqueStrumming);
  EXPECT_EQ(a.shortSignature, b.shortSignature);
  EXPECT_EQ(a.diapasonStyle, b.diapasonStyle);
  EXPECT_EQ(a.lowerBourdons, b.lowerBourdons);
  EXPECT_EQ(a.printTuning, b.printTuning);
  EXPECT_EQ(a.flagsHeight, b.flagsHeight);
  EXPECT_EQ(a.microTuning, b.microTuning);
  EXPECT_EQ(a.signatureSize, b.signatureSize);
  EXPECT_EQ(a.tabFont.logFont.lfFaceName, b.tabFont.logFont.lfFaceName);
  EXPECT_EQ(a.tabFont.microTuning, b.tabFont.microTuning);
  EXPECT_EQ(a.flagsFont.interval, b.flagsFont.interval);
  EXPECT_EQ(a.alfabeto.showAlfabeto, b.alfabeto.showAlfabeto);
}

TEST(TabInstrumentRecord, CurrentRecordRoundTrips) {
  const CTabInstrument stored = Sample();
  ArchiveWriter w;
  stored.Store(w);
  ArchiveReader r(w.Bytes());
  CTabInstrument read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  ExpectSameSettings(read, stored);
  EXPECT_EQ(read.tuning.stringCount, 16);
  EXPECT_EQ(read.coloredFlags, 0);  // not part of the record
}

// A record of an older format, built item by item as such files hold it. With
// `sixThirtyFiveFonts` its fonts have the form of version 6.35 files: no micro-tuning in the
// text fonts, no colour in the flags font.
struct OldRecord {
  int32_t marker;
  std::string faceOfTabFont = "QX_Quintelle";
  std::string flagsFace = "OtherFlags";
  int32_t staveAdjustCy = 0;
  uint16_t opaqueWord = 0x11;
  int32_t baroqueStrumming = -4;
  bool sixThirtyFiveFonts = false;

  template <typename Record>
  void WriteRecord(ArchiveWriter& w, const Record& record, size_t newerBytes) const {
    ArchiveWriter part;
    record.Store(part);
    std::vector<uint8_t> bytes = part.TakeBytes();
    if (sixThirtyFiveFonts) bytes.resize(bytes.size() - newerBytes);
    w.WriteBytes(bytes);
  }

  std::vector<uint8_t> Bytes() const {
    ArchiveWriter w;
    w.WriteText("Old lute");
    w.WriteI32(6);
    w.WriteI32(0);
    w.WriteI32(0);
    w.WriteText("GDAFCG");
    w.WriteI32(1);
    w.WriteU16(opaqueWord);
    w.WriteI32(0);  // show first flag
    w.WriteI32(marker);
    w.WriteI32(35);
    w.WriteI32(0);
    dfLogFont font;
    font.logFont.lfFaceName = faceOfTabFont;
    font.staveAdjust = {40, staveAdjustCy};
    font.color = 0x123456;
    WriteRecord(w, font, 4);
    w.WriteI32(0x42);  // flag group
    w.WriteI32(5);     // flag style
    w.WriteI32(1);     // ornament style
    if (marker <= -12) w.WriteI32(1);  // show all flags
    nTuning tuning;
    tuning.SetTuning("GDAFCG");
    tuning.Store(w);
    WriteRecord(w, dfLogFont(), 4);  // the alfabeto chart: letter font, no chords, shown
    w.WriteCount(0);
    w.WriteU32(1);
    if (marker <= -10) WriteRecord(w, CNotationFont(flagsFace, 50.0), 4);
    const int32_t tail[] = {1, 0, baroqueStrumming, 1, 2, 0, 1, 7, -2, 95};  // items 20-29
    const int32_t thresholds[] = {-13, -14, -15, -16, -18, -18, -19, -20, -21, -22};
    for (size_t i = 0; i < std::size(tail); ++i) {
      if (marker <= thresholds[i]) w.WriteI32(tail[i]);
    }
    return w.TakeBytes();
  }
};

CTabInstrument LoadOld(const OldRecord& record, const char* version = "9.8.1.0") {
  const auto bytes = record.Bytes();
  ArchiveReader r(bytes, version);
  CTabInstrument read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd()) << "marker " << record.marker;
  return read;
}

TEST(TabInstrumentRecord, MarkerGatesOfOlderRecords) {
  {
    const CTabInstrument read = LoadOld(OldRecord{-9});
    EXPECT_EQ(read.flagGroup, 0);        // no flag group before -12
    EXPECT_EQ(read.showAllFlags, 0);
    EXPECT_EQ(read.showFirstFlag, 1);    // forced before -11
    EXPECT_EQ(read.flagsFont.face, "VornelTabFlags");
    EXPECT_EQ(read.flagsFont.interval, 60.0);  // no flags font in the record
    EXPECT_EQ(read.flagsHeight, 0x5640);       // lower bourdons by default
    EXPECT_EQ(read.drawOpaque, 0);             // the opaque word counts from -17
  }
  {
    const CTabInstrument read = LoadOld(OldRecord{-12});
    EXPECT_EQ(read.flagGroup, 0x42);
    EXPECT_EQ(read.showAllFlags, 1);
    EXPECT_EQ(read.showFirstFlag, 0);
    EXPECT_EQ(read.flagsFont.interval, 50.0);
    EXPECT_EQ(read.flagsFont.face, "VornelTabFlags");  // another face gives way
    EXPECT_EQ(read.rotateFlags, 0);
  }
  {
    const CTabInstrument read = LoadOld(OldRecord{-17});
    EXPECT_EQ(read.rotateFlags, 1);
    EXPECT_EQ(read.baroqueStrumming, 0);  // never negative
    EXPECT_EQ(read.shortSignature, 1);
    EXPECT_EQ(read.drawOpaque, 1);
    EXPECT_EQ(read.restsOnTab, 1);
    EXPECT_EQ(read.diapasonStyle, 0);
  }
  {
    const CTabInstrument read = LoadOld(OldRecord{-22});
    EXPECT_EQ(read.diapasonStyle, 2);
    EXPECT_EQ(read.lowerBourdons, 0);
    EXPECT_EQ(read.printTuning, 1);
    EXPECT_EQ(read.flagsHeight, 0x5600 + 4);  // converted before -23, the old value non-zero
    EXPECT_EQ(read.microTuning, -2);
    EXPECT_EQ(read.tabFont.microTuning, -2);
    EXPECT_EQ(read.signatureSize, 95);
  }
  {
    const CTabInstrument read = LoadOld(OldRecord{-23});
    EXPECT_EQ(read.flagsHeight, 7);
    EXPECT_EQ(read.tabFont.logFont.lfFaceName, "VN_Quintelle");
    EXPECT_EQ(read.tabFont.staveAdjust, (SizePair{40, 28}));
  }
}

TEST(TabInstrumentRecord, FaceFixesAfterLoading) {
  OldRecord record{-23};
  record.faceOfTabFont = "QX Baroque QX_";
  record.flagsFace = "vornelTabFlagsBold";  // the same first eight characters: kept
  record.staveAdjustCy = 30;
  const CTabInstrument read = LoadOld(record);
  EXPECT_EQ(read.tabFont.logFont.lfFaceName, "VN_Baroque VN_");
  EXPECT_EQ(read.flagsFont.face, "vornelTabFlagsBold");
  EXPECT_EQ(read.tabFont.staveAdjust.cy, 30);
}

TEST(TabInstrumentRecord, EmptyVersionReadsAsSixThirtyFive) {
  OldRecord record{-12};
  record.sixThirtyFiveFonts = true;
  const CTabInstrument read = LoadOld(record, "");
  // The whole record was read with the 6.35 gates: colour, no micro-tuning, no flags colour.
  EXPECT_EQ(read.tabFont.color, 0x123456u);
  EXPECT_EQ(read.flagsFont.interval, 50.0);
  EXPECT_EQ(read.showAllFlags, 1);
}

TEST(TabInstrumentRecord, RestsOnTablatureSurviveTheRecord) {
  CTabInstrument instrument;
  instrument.restsOnTab = 1;
  ArchiveWriter w;
  instrument.Store(w);
  ArchiveReader r(w.Bytes());
  CTabInstrument read;
  read.Load(r);
  EXPECT_EQ(read.restsOnTab, 1);
  EXPECT_EQ(read.drawOpaque, 0);
}

TEST(TabInstrumentXml, WritesTheDefinitionAndReadsItBack) {
  const CTabInstrument stored = Sample();
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = stored.WriteXml(doc);
  doc.InsertEndChild(element);
  EXPECT_STREQ(element->Attribute("version"), "-24");
  const tinyxml2::XMLElement* tuning = element->FirstChildElement("tuning");
  ASSERT_NE(tuning, nullptr);
  EXPECT_STREQ(tuning->Attribute("virtual-strings"), "10");
  EXPECT_STREQ(tuning->Attribute("tuning-string"), "A-1E-1BGDAGFEDCBAGFE");
  const tinyxml2::XMLElement* letters = element->FirstChildElement("fonts")->FirstChildElement();
  EXPECT_STREQ(letters->Name(), "track-font");
  EXPECT_STREQ(letters->Attribute("descriptor"), "tablature-font");
  EXPECT_STREQ(element->FirstChildElement("positions")->Attribute("rests-on-tab-ligatures"), "1");

  CTabInstrument read;
  EXPECT_EQ(read.ReadXml(element), nullptr);
  CTabInstrument expected = stored;
  expected.tuningText = stored.tuning.GetTuningText();  // rebuilt from the courses
  expected.name = read.name;                             // not part of the element
  ExpectSameSettings(read, expected);
  EXPECT_EQ(read.coloredFlags, 1);
  EXPECT_EQ(read.drawOpaque, stored.drawOpaque);
}

TEST(TabInstrumentXml, ShortRestsNameAndMissingParts) {
  CTabInstrument stored;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = stored.WriteXml(doc);
  doc.InsertEndChild(element);
  tinyxml2::XMLElement* positions = element->FirstChildElement("positions");
  positions->DeleteAttribute("rests-on-tab-ligatures");
  positions->SetAttribute("rests-on-tab", "1");
  CTabInstrument read;
  read.ReadXml(element);
  EXPECT_EQ(read.restsOnTab, 1);

  testing::ScriptedPrompts prompts;
  element->DeleteChild(element->FirstChildElement("options"));
  EXPECT_THROW(read.ReadXml(element), XmlTagMismatch);
  EXPECT_EQ(prompts.messages.back(), "Mismatch error on tag: <alfabeto> should be <options>");
  tinyxml2::XMLDocument bare;
  bare.Parse("<tablature-definition/>");
  EXPECT_THROW(read.ReadXml(bare.FirstChildElement()), XmlTagMismatch);
}

TEST(TabInstrumentCopies, StyleCopyKeepsTuningAndChart) {
  CTabInstrument source = Sample();
  CTabInstrument target;
  target.CopyStyleFrom(source);
  EXPECT_EQ(target.name, "Theorbo");
  EXPECT_EQ(target.flagStyle, 3);
  EXPECT_EQ(target.tuning.stringCount, 7);
  EXPECT_EQ(target.alfabeto.showAlfabeto, 1);

  target.CopyFrom(source);
  EXPECT_EQ(target.tuning, source.tuning);
  EXPECT_EQ(target.alfabeto.showAlfabeto, 0);
  EXPECT_EQ(target.tuningText, source.tuning.GetTuningText());
}

}  // namespace
}  // namespace vornel
