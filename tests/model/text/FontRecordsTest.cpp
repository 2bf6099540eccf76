#include <gtest/gtest.h>

#include "model/text/CNotationFont.h"
#include "model/text/FontStack.h"
#include "model/text/dfLogFont.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "model/XmlTestText.h"

namespace vornel {
namespace {

using testing::CompactXml;
using testing::HexBytes;
using testing::ToHex;

dfLogFont SampleFont() {
  dfLogFont f;
  f.SetDefaults();
  f.staveAdjust = {50, 25};
  f.microTuning = -5;
  f.parentSize = {700, 300};
  return f;
}

// The sample's record: LOGFONT (height -12, weight 300, quality 2, pitch 0x12, "Arial"),
// stave adjustment 50/25, zoom (here 1.0f, the defaults'), point size 120/0, zoom scale
// 100/100.
#define SAMPLE_RECORD_HEAD(zoom)                                    \
  "F4 FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 2C 01 00 00"     \
  " 00 00 00 00 00 00 02 12"                                        \
  " FF FE FF 05 41 00 72 00 69 00 61 00 6C 00"                      \
  " 32 00 00 00 19 00 00 00" zoom " 78 00 00 00 00 00 00 00"        \
  " 64 00 00 00 64 00 00 00"
constexpr const char* kSampleRecordHead = SAMPLE_RECORD_HEAD(" 00 00 80 3F");
constexpr const char* kNaNZoomRecordHead = SAMPLE_RECORD_HEAD(" 00 00 C0 7F");
#undef SAMPLE_RECORD_HEAD
constexpr const char* kSampleColor = " 00 64 00 00";
constexpr const char* kSampleMicroTuning = " FB FF FF FF";

TEST(FontRecord, FreshAndDefaultDescriptions) {
  const dfLogFont fresh;
  EXPECT_EQ(fresh.color, 0u);
  EXPECT_EQ(fresh.zoom, 100.0f);
  EXPECT_EQ(fresh.logFont.lfFaceName, "Arial");
  EXPECT_EQ(fresh.pointSize, (SizePair{120, 0}));
  dfLogFont defaults = fresh;
  defaults.SetDefaults();
  EXPECT_EQ(defaults.color, 0x006400u);
  EXPECT_EQ(defaults.zoom, 1.0f);
  EXPECT_EQ(defaults.GetDescription(), "Arial - Size 12");
}

TEST(FontRecord, AssignmentTakesTheDescriptionButNotTheParentSize) {
  dfLogFont source = SampleFont();
  source.logFont.lfHeight = -40;
  dfLogFont target;
  target.parentSize = {1, 2};
  target = source;
  EXPECT_EQ(target.logFont.lfHeight, -40);  // as stored: a copy changes no font
  EXPECT_EQ(target.parentSize, (SizePair{1, 2}));
  EXPECT_EQ(target.staveAdjust, source.staveAdjust);
  EXPECT_EQ(target.microTuning, -5);
  EXPECT_EQ(target.color, 0x006400u);
}

TEST(FontRecord, StoresEveryFieldInRecordOrder) {
  ArchiveWriter w;
  SampleFont().Store(w);
  EXPECT_EQ(ToHex(w.Bytes()), ToHex(HexBytes(std::string(kSampleRecordHead) + kSampleColor + kSampleMicroTuning)));
}

struct FontGateCase {
  const char* version;
  bool hasColor;
  bool hasMicroTuning;
  friend std::ostream& operator<<(std::ostream& os, const FontGateCase& c) { return os << c.version; }
};

class FontRecordGates : public ::testing::TestWithParam<FontGateCase> {};

TEST_P(FontRecordGates, ColourAboveSixThreeMicroTuningFromNineFiftyThree) {
  const FontGateCase& c = GetParam();
  std::string hex = kSampleRecordHead;
  if (c.hasColor) hex += kSampleColor;
  if (c.hasMicroTuning) hex += kSampleMicroTuning;
  const auto bytes = HexBytes(hex);
  ArchiveReader r(bytes, c.version);
  dfLogFont font;
  font.color = 0x123456;
  font.microTuning = 7;
  font.Load(r);
  EXPECT_TRUE(r.AtEnd()) << c.version;
  EXPECT_EQ(font.color, c.hasColor ? 0x006400u : 0x123456u);
  EXPECT_EQ(font.microTuning, c.hasMicroTuning ? -5 : 7);
  EXPECT_EQ(font.staveAdjust, (SizePair{50, 25}));
  EXPECT_EQ(font.zoom, 1.0f);  // kept as stored, as the XML form keeps it
  EXPECT_EQ(font.logFont.lfHeight, -12);
}

TEST(FontRecord, AZoomNoDrawingCanHaveReadsAsAHundred) {
  const auto bytes = HexBytes(std::string(kNaNZoomRecordHead) + kSampleColor + kSampleMicroTuning);
  ArchiveReader r(bytes, "9.8.1.0");
  dfLogFont font;
  font.Load(r);
  EXPECT_EQ(font.zoom, 100.0f);
}

INSTANTIATE_TEST_SUITE_P(Versions, FontRecordGates,
                         ::testing::Values(FontGateCase{"6.3", false, false}, FontGateCase{"6.30", true, false},
                                           FontGateCase{"9.0", true, false}, FontGateCase{"9.53", true, true},
                                           FontGateCase{"9.6", true, true}, FontGateCase{"9.8.1.0", true, true}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(FontRecord, StoredTabDefaultNeverSurvivesALoad) {
  struct Case {
    const char* stored;
    const char* before;
    const char* after;
  };
  for (const Case& c : {Case{"TabDefault", "Times New Roman", "Times New Roman"},
                        Case{"tabdefault", "Garamond", "Garamond"}, Case{"TabDefault", "TabDefault", "Vornelfg"},
                        Case{"VN_Quintelle", "Garamond", "VN_Quintelle"}}) {
    dfLogFont stored = SampleFont();
    stored.logFont.lfFaceName = c.stored;
    stored.logFont.lfWidth = 9;
    ArchiveWriter w;
    stored.Store(w);
    ArchiveReader r(w.Bytes());
    dfLogFont font;
    font.logFont.lfFaceName = c.before;
    font.Load(r);
    EXPECT_EQ(font.logFont.lfFaceName, c.after) << c.stored << " over " << c.before;
    EXPECT_EQ(font.logFont.lfWidth, 0);
  }
}

TEST(FontRecord, ShortRecordLeavesTheFontWhole) {
  const auto bytes = HexBytes(std::string(kSampleRecordHead) + " 00 64");
  ArchiveReader r(bytes);
  dfLogFont font;
  font.logFont.lfFaceName = "Garamond";
  const dfLogFont before = font;
  EXPECT_THROW(font.Load(r), ArchiveError);
  EXPECT_EQ(font, before);
}

TEST(FontRecord, LongFaceNamesAreCutToTheFaceField) {
  EXPECT_EQ(FitFaceName("Short"), "Short");
  EXPECT_EQ(FitFaceName(std::string(40, 'x')), std::string(31, 'x'));
  // A character outside the basic plane is never cut in half.
  const std::string clef = "\xF0\x9D\x84\x9E";  // U+1D11E, two UTF-16 units
  EXPECT_EQ(FitFaceName(std::string(30, 'a') + clef), std::string(30, 'a'));
  EXPECT_TRUE(SameFaceName("Vornelfg", "VornelFg"));
  EXPECT_FALSE(SameFaceName("Vornelfg", "Vornelf"));
}

TEST(FontXml, TrackFontWritesEveryAttributeInOrder) {
  dfLogFont font = SampleFont();
  font.zoom = 150.75f;
  font.logFont.lfItalic = 1;
  font.logFont.lfCharSet = 200;
  tinyxml2::XMLDocument doc;
  EXPECT_EQ(CompactXml(doc, font.WriteXml(doc, "track-font", "Title")),
            "<track-font descriptor=\"Title\" stave-adjust-cx=\"50\" stave-adjust-cy=\"25\" zoom=\"150.75\" "
            "pointsize-cx=\"120\" zm-scale-cx=\"100\" zm-scale-cy=\"100\" color=\"25600\" micro-tuning=\"-5\" "
            "parent.cx=\"700\" parent.cy=\"300\">"
            "<mlf lfWeight=\"300\" lfHeight=\"-12\" lfEscapement=\"0\" lfOrientation=\"0\" lfCharset=\"200\" "
            "lfClipPrecision=\"0\" lfItalic=\"1\" lfOutPrecision=\"0\" lfPitchAndFamily=\"18\" lfQuality=\"2\" "
            "lfStrikeOut=\"0\" lfUnderline=\"0\" typeface=\"Arial\"/></track-font>");
}

TEST(FontXml, ReadBackKeepsAllButWidthAndTheZoomFraction) {
  dfLogFont font = SampleFont();
  font.zoom = 150.75f;
  font.color = 0xFFFFFFFF;
  font.logFont.lfWidth = 8;
  font.logFont.lfFaceName = "VN_Quintelle";
  font.pointSize.cy = 33;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = font.WriteXml(doc);
  doc.InsertEndChild(element);

  dfLogFont read;
  EXPECT_EQ(read.ReadXml(element), nullptr);
  dfLogFont expected = font;
  expected.zoom = 150.0f;
  expected.logFont.lfWidth = read.logFont.lfWidth;  // not written
  expected.pointSize.cy = read.pointSize.cy;        // not written
  EXPECT_EQ(read, expected);
  EXPECT_EQ(read.color, 0xFFFFFFFFu);
}

TEST(FontXml, MissingAttributesReadZero) {
  tinyxml2::XMLDocument doc;
  doc.Parse("<track-font color=\"25600.4\"><mlf typeface=\"Garamond\"/></track-font><next/>");
  dfLogFont font;
  EXPECT_STREQ(font.ReadXml(doc.FirstChildElement())->Name(), "next");
  EXPECT_EQ(font.pointSize.cx, 0);
  EXPECT_EQ(font.zoomScale, (SizePair{0, 0}));
  EXPECT_EQ(font.logFont.lfWeight, 0);
  EXPECT_EQ(font.logFont.lfFaceName, "Garamond");
  EXPECT_EQ(font.color, 25600u);
}

FontStack ThreeFonts() {
  FontStack stack;
  for (int i = 0; i < 3; ++i) {
    auto font = std::make_unique<dfLogFont>(SampleFont());
    font->pointSize.cx = 100 + 10 * i;
    stack.push_back(std::move(font));
  }
  return stack;
}

TEST(FontStackRecord, ArchivedAsAnObjectArrayWithTheClassNameOnce) {
  const FontStack stack = ThreeFonts();
  ArchiveWriter w;
  stack.Store(w);
  const std::string hex = ToHex(w.Bytes());
  EXPECT_EQ(hex.substr(0, 3 * 17 - 1), "03 00 FF FF 00 00 09 00 64 66 4C 6F 67 46 6F 6E 74");
  EXPECT_NE(hex.find("01 80 F4 FF FF FF"), std::string::npos);  // second font: 0x8000 | class 1

  ArchiveReader r(w.Bytes());
  FontStack read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[2]->pointSize.cx, 120);
  EXPECT_EQ(read[1]->staveAdjust, (SizePair{50, 25}));
}

TEST(FontStackRecord, NullEntryBecomesADefaultFont) {
  const auto bytes = HexBytes("01 00 00 00");
  ArchiveReader r(bytes);
  FontStack read;
  read.Load(r);
  ASSERT_EQ(read.size(), 1u);
  ASSERT_NE(read[0], nullptr);
  EXPECT_EQ(read[0]->logFont.lfFaceName, "Arial");
}

TEST(FontStackXml, WritesIndexedFontsAndReadsThemIntoTheStack) {
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = ThreeFonts().WriteXml(doc, "page-fonts");
  doc.InsertEndChild(element);
  EXPECT_STREQ(element->Attribute("target"), "page-fonts");
  EXPECT_STREQ(element->Attribute("count"), "3");
  EXPECT_STREQ(element->LastChildElement()->Attribute("index"), "2");
  EXPECT_EQ(element->FirstChildElement()->Attribute("descriptor"), nullptr);

  FontStack read;
  for (int i = 0; i < 3; ++i) read.push_back(std::make_unique<dfLogFont>());
  EXPECT_EQ(read.ReadXml(element), nullptr);
  EXPECT_EQ(read.target, "page-fonts");
  EXPECT_EQ(read[2]->pointSize.cx, 120);
  EXPECT_EQ(read[0]->microTuning, -5);
}

TEST(FontStackXml, CountBeyondTheStackOrTheElementsIsIgnored) {
  tinyxml2::XMLDocument doc;
  doc.Parse(
      "<font-stack target=\"t\" count=\"5\">"
      "<track-font pointsize-cx=\"90\"><mlf/></track-font>"
      "<track-font pointsize-cx=\"91\"><mlf/></track-font>"
      "<track-font pointsize-cx=\"92\"><mlf/></track-font>"
      "</font-stack>");
  FontStack two;
  two.push_back(std::make_unique<dfLogFont>());
  two.push_back(std::make_unique<dfLogFont>());
  two.ReadXml(doc.FirstChildElement());
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1]->pointSize.cx, 91);

  FontStack six;
  for (int i = 0; i < 6; ++i) six.push_back(std::make_unique<dfLogFont>());
  six.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(six[2]->pointSize.cx, 92);
  EXPECT_EQ(six[3]->pointSize.cx, 120);  // no element for it
}

TEST(FontStackXml, OtherElementIsRefusedWithTheMismatchMessage) {
  testing::ScriptedPrompts prompts;
  tinyxml2::XMLDocument doc;
  doc.Parse("<fonts/>");
  FontStack stack;
  EXPECT_THROW(stack.ReadXml(doc.FirstChildElement()), XmlTagMismatch);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "Mismatch error on tag: <fonts> should be <font-stack>");
}

TEST(FontStackRecord, CopyFromAssignsIndexByIndex) {
  FontStack target;
  target.push_back(std::make_unique<dfLogFont>());
  target[0]->parentSize = {5, 5};
  target.CopyFrom(ThreeFonts());
  ASSERT_EQ(target.size(), 1u);
  EXPECT_EQ(target[0]->pointSize.cx, 100);
  EXPECT_EQ(target[0]->parentSize, (SizePair{5, 5}));
}

// Notation font record: face "VornelNotation", interval 62.5, point size 160/0, colour 0x0000FF.
constexpr const char* kNotationHead =
    "FF FE FF 0E 56 00 6F 00 72 00 6E 00 65 00 6C 00 4E 00 6F 00 74 00 61 00 74 00 69 00 6F 00 6E 00"
    " 00 00 00 00 00 40 4F 40"
    " A0 00 00 00 00 00 00 00";
constexpr const char* kNotationColor = " FF 00 00 00";

TEST(NotationFontRecord, DefaultsAndTheTemporaryFont) {
  const CNotationFont font;
  EXPECT_EQ(font.face, "VornelNotation");
  EXPECT_EQ(font.interval, 60.0);
  EXPECT_EQ(font.logFont.lfCharSet, 2);
  EXPECT_EQ(font.GetDescription(), "VornelNotation - Size 16 - Weight 400");
  const CNotationFont temporary("VornelTabFlags", 45.0);
  EXPECT_EQ(temporary.logFont.lfFaceName, "VornelTabFlags");
  EXPECT_EQ(temporary.pointSize.cx, 120);
  EXPECT_EQ(temporary.logFont.lfCharSet, 0);
}

TEST(NotationFontRecord, StoresFaceIntervalPointSizeAndColour) {
  CNotationFont font;
  font.interval = 62.5;
  font.color = 0xFF;
  font.microTuning = 9;  // not archived
  ArchiveWriter w;
  font.Store(w);
  EXPECT_EQ(ToHex(w.Bytes()), ToHex(HexBytes(std::string(kNotationHead) + kNotationColor)));
}

TEST(NotationFontRecord, ColourFromNineFiftyThreeOne) {
  for (const auto& [version, hasColor] : {std::pair{"9.53", false}, {"9.53.1", true}, {"9.6", true}}) {
    const auto bytes = HexBytes(std::string(kNotationHead) + (hasColor ? kNotationColor : ""));
    ArchiveReader r(bytes, version);
    CNotationFont font;
    font.color = 0x77;
    font.Load(r);
    EXPECT_TRUE(r.AtEnd()) << version;
    EXPECT_EQ(font.color, hasColor ? 0xFFu : 0x77u) << version;
    EXPECT_EQ(font.interval, 62.5);
  }
}

TEST(NotationFontRecord, OldFaceNameIsRenamedOnLoad) {
  CNotationFont old;
  old.SetFace("VornelNote");
  ArchiveWriter w;
  old.Store(w);
  ArchiveReader r(w.Bytes());
  CNotationFont font("Other", 1.0);
  font.Load(r);
  EXPECT_EQ(font.face, "VornelNotation");
  EXPECT_EQ(font.logFont.lfFaceName, "VornelNotation");
}

TEST(NotationFontXml, RoundTripKeepsTheRealIntervalAndTheFace) {
  CNotationFont font("VornelTabFlags", 62.5);
  font.pointSize = {170, 3};
  font.color = 0xFFFFFFFF;
  font.microTuning = -4;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = font.WriteXml(doc);
  EXPECT_EQ(CompactXml(doc, element),
            "<notation-font interval=\"62.5\" point-size-cx=\"170\" point-size-cy=\"3\" color=\"4294967295\" "
            "micro-tuning=\"-4\">VornelTabFlags</notation-font>");
  CNotationFont read;
  EXPECT_EQ(read.ReadXml(element), nullptr);
  EXPECT_EQ(read.interval, 62.5);
  EXPECT_EQ(read.face, "VornelTabFlags");
  EXPECT_EQ(read.logFont.lfFaceName, "VornelTabFlags");
  EXPECT_EQ(read.pointSize, font.pointSize);
  EXPECT_EQ(read.color, font.color);
  EXPECT_EQ(read.microTuning, -4);
}

TEST(NotationFontXml, HostileIntervalStaysWithinBounds) {
  tinyxml2::XMLDocument doc;
  doc.Parse("<notation-font interval=\"nan\"/><notation-font interval=\"1e300\"/>");
  CNotationFont font;
  const tinyxml2::XMLElement* next = font.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(font.interval, 60.0);
  EXPECT_EQ(font.face, "VornelNotation");  // no text: the face stays
  font.ReadXml(next);
  EXPECT_LE(font.interval, 10000.0);
}

}  // namespace
}  // namespace vornel
