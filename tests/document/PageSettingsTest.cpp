#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CMIDIExportDlg.h"
#include "document/CPageDlg.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "document/RecordForms.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "support/XmlText.h"

namespace vornel {
namespace {

using testing::FontBytesFor;
using testing::HexBytes;
using testing::PrintXml;
using testing::TextBytesFor;
using testing::ToHex;

std::string Hex(const ArchiveWriter& w) { return ToHex(w.Bytes()); }

// What a copy of `font` holds: copying keeps the height as its absolute value.
dfLogFont Copied(const dfLogFont& font) {
  dfLogFont copy;
  copy = font;
  return copy;
}

TEST(PageSettings, DefaultsAndTheSixteenDocumentFonts) {
  const CPageDlg page;
  EXPECT_EQ(page.systemsPerPage, 8u);
  EXPECT_EQ(page.topMargin, 250u);
  EXPECT_EQ(page.pageNumberAlignment, CPageDlg::kBottomCenter);
  ASSERT_EQ(page.fonts.size(), kDocumentFontCount);

  const dfLogFont& generic = page.DocumentFont(kFontTitles);
  EXPECT_EQ(generic.logFont.lfFaceName, "Arial");
  EXPECT_EQ(generic.logFont.lfHeight, -12);
  EXPECT_EQ(generic.logFont.lfWeight, 300);
  EXPECT_EQ(generic.pointSize.cx, 120);
  EXPECT_EQ(generic.zoom, 100.0f);
  EXPECT_EQ(generic.color, 0u);

  const dfLogFont& continuo = page.DocumentFont(kFontContinuo);
  EXPECT_EQ(continuo.logFont.lfFaceName, "Vornelfg");
  EXPECT_EQ(continuo.pointSize.cx, 140);
  EXPECT_EQ(continuo.logFont.lfCharSet, 1);
  EXPECT_EQ(continuo.logFont.lfQuality, 1);
  EXPECT_EQ(continuo.logFont.lfPitchAndFamily, 1);
  EXPECT_EQ(continuo.zoom, 1.0f);

  dfLogFont signatures = Copied(continuo);
  signatures.pointSize.cx = 160;
  EXPECT_EQ(page.DocumentFont(kFontSignatures), signatures);

  struct Sized {
    size_t index;
    const char* face;
    int32_t size;
  };
  for (const Sized s : {Sized{kFontBarNumbers, "Arial", 90}, Sized{kFontFootnotes, "Arial", 80},
                        Sized{kFontEndings, "Arial", 80}, Sized{kFontSmall, "Calibri", 80},
                        Sized{kFontFingerings, "Vornelfg", 80}}) {
    EXPECT_EQ(page.DocumentFont(s.index).logFont.lfFaceName, s.face) << s.index;
    EXPECT_EQ(page.DocumentFont(s.index).pointSize.cx, s.size) << s.index;
  }
  EXPECT_EQ(page.pageNumberText.descriptor, "page-numbering");
  // Drawn with document font 12 from the start, as after every read and write.
  EXPECT_EQ(page.pageNumberText.font, Copied(page.DocumentFont(kFontPageNumbers)));
  EXPECT_EQ(page.systemNameText.descriptor, "system-name");
  EXPECT_THROW(page.DocumentFont(16), std::out_of_range);
  EXPECT_EQ(kDocumentFontRoles[kFontEndText], "End Text");
}

CPageDlg SamplePage() {
  CPageDlg page;
  page.cursorWidth = 0x11;
  page.topMargin = 0x12;
  page.proportionalSpacing = 0x13;
  page.tablineThickness = 0x14;
  page.systemsPerPage = 0x15;
  page.verticalJustification = 0x16;
  page.extraSpacing = 0x17;
  page.brailleColumns = 0x18;
  page.brailleLines = 0x19;
  page.brailleOrientation = 0x1A;
  page.alternateMargins = 0x1B;
  page.printAllSections = 0x1C;
  page.blanksBetweenSections = 0x1D;
  page.newPageOnSection = 0x1E;
  page.closedSystems = 0x1;
  page.centerLyrics = 1;
  page.skipTitles = 0x20;
  page.leftMargin = 0x21;
  page.rightMargin = 0x22;
  page.bottomMargin = 0x23;
  page.barNumberFlag = 3;
  page.barNumberHeight = 5;
  page.outlineBarNumbers = 1;
  page.printFacsimiles = 0x25;
  page.pageNumberAlignment = 5;
  page.pageText = "p%";
  page.landscape = 0x27;
  page.pageOffset = -2;
  page.noPageNumbers = 0x29;
  page.coloredSyntax = 0x2A;
  page.skipFirstPageNumber = 0x2B;
  page.paperFormat = 9;
  page.printComments = 2;
  page.commentsAtEnd = 3;
  page.placeHolder = 1;
  page.coloredVoices = 0;
  page.systemNameText.text = "System";
  for (size_t i = 0; i < kDocumentFontCount; ++i) page.DocumentFont(i).pointSize.cx = static_cast<int32_t>(200 + i);
  return page;
}

// The thirty-two fields of SamplePage in their groups, each group with the version gate that
// the record layout gives it.
struct HeadGroup {
  char name;
  const char* hex;
};
constexpr HeadGroup kHeadGroups[] = {
    {'A', "11 00 00 00 12 00 00 00 13 00 00 00 14 00 00 00 15 00 00 00 16 00 00 00 17 00 00 00"
          " 18 00 00 00 19 00 00 00 1A 00 00 00 1B 00 00 00 1C 00 00 00"},  // always
    {'B', " 1D 00 00 00"},                                                   // blanks: above "6.51"
    {'C', " 1E 00 00 00"},                                                   // new page: from "7.1"
    {'D', " 11 00 00 00"},                    // closed systems with center lyrics (0x10): from "7.12"
    {'E', " 20 00 00 00"},                    // skip titles: from "7.4"
    {'F', " 21 00 00 00 22 00 00 00"},        // left, right: from "8.1"
    {'G', " 23 00 00 00 53 01 00 00 25 00 00 00"},  // bottom, bar-number word, facsimiles: from "9.6.5.7"
    {'H', " 05 00 00 00 FF FE FF 02 70 00 25 00"},  // alignment, page text: above "9.166"
    {'I', " 27 00 00 00"},                          // landscape: above "9.22"
    {'J', " FE FF FF FF"},                          // page offset: from "9.42"
    {'K', " 29 00 00 00"},                          // no page numbers: from "9.6.7.0"
    {'L', " 2A 00 00 00 2B 00 00 00"},              // colored syntax, skip first: from "9.6.8.0"
    {'M', " 09 00 00 00"},                          // paper format: from "9.7.0"
    {'N', " 32 00 00 00 01 00"},                    // print-comments word, two bytes: from "9.7.2.0"
};

// The fonts and texts that follow, in their order, with their gates.
std::vector<std::pair<char, std::string>> TailRecords(const CPageDlg& page, std::string_view version) {
  auto font = [&](size_t i) { return ToHex(FontBytesFor(page.DocumentFont(i), version)); };
  auto text = [&](const CTrackText& t) { return ToHex(TextBytesFor(t, version)); };
  // The page-number text's record carries the page-number font.
  CTrackText pageNumbers = page.pageNumberText;
  pageNumbers.font = page.DocumentFont(kFontPageNumbers);
  return {{'a', font(kFontTitles)},      {'b', font(kFontLyrics)},          {'c', font(kFontComments)},
          {'d', font(kFontCaptions)},    {'e', font(kFontSignatures)},      {'f', text(pageNumbers)},
          {'g', text(page.systemNameText)}, {'h', font(kFontContinuo)},     {'i', font(kFontEndings)},
          {'j', font(kFontBarNumbers)},  {'k', font(kFontFootnotes)},       {'l', font(kFontChordNames)},
          {'m', font(kFontMidiEvents)}};
}

std::string RecordHex(const CPageDlg& page, std::string_view version, std::string_view head, std::string_view tail) {
  std::string hex;
  for (const HeadGroup& g : kHeadGroups) {
    if (head.find(g.name) != std::string_view::npos) hex += g.hex;
  }
  for (const auto& [name, record] : TailRecords(page, version)) {
    if (tail.find(name) != std::string_view::npos) hex += " " + record;
  }
  return hex;
}

TEST(PageSettingsRecord, StoresEveryFieldPackedThenTheFontsAndTexts) {
  const CPageDlg page = SamplePage();
  ArchiveWriter w;
  page.Store(w);
  EXPECT_EQ(Hex(w), ToHex(HexBytes(RecordHex(page, kCurrentFormatVersion, "ABCDEFGHIJKLMN", "abcdefghijklm"))));

  ArchiveReader r(w.Bytes());
  CPageDlg read;
  read.proportionalSpacingDialog = 7;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.closedSystems, 1);
  EXPECT_EQ(read.centerLyrics, 1);
  EXPECT_EQ(read.barNumberFlag, 3);
  EXPECT_EQ(read.barNumberHeight, 5);
  EXPECT_EQ(read.outlineBarNumbers, 1);
  EXPECT_EQ(read.printComments, 2);
  EXPECT_EQ(read.commentsAtEnd, 3);
  EXPECT_EQ(read.pageOffset, -2);
  EXPECT_EQ(read.pageText, "p%");
  EXPECT_EQ(read.proportionalSpacing, 0x13);
  EXPECT_EQ(read.proportionalSpacingDialog, 0);
  EXPECT_EQ(read.placeHolder, 1);
  EXPECT_EQ(read.systemNameText.text, "System");
  EXPECT_EQ(read.DocumentFont(kFontMidiEvents).pointSize.cx, 209);
  // The page-number font comes back from the page-number text's record; the fonts the record
  // does not hold keep their values.
  EXPECT_EQ(read.DocumentFont(kFontPageNumbers).pointSize.cx, 212);
  EXPECT_EQ(read.pageNumberText.font, Copied(read.DocumentFont(kFontPageNumbers)));
  EXPECT_EQ(read.DocumentFont(kFontSmall).pointSize.cx, CPageDlg().DocumentFont(kFontSmall).pointSize.cx);
}

struct GateCase {
  const char* version;
  const char* head;
  const char* tail;
  friend std::ostream& operator<<(std::ostream& os, const GateCase& c) { return os << c.version; }
};

class PageSettingsGates : public ::testing::TestWithParam<GateCase> {};

TEST_P(PageSettingsGates, ReadsExactlyTheFieldsOfItsVersion) {
  const GateCase& c = GetParam();
  const CPageDlg sample = SamplePage();
  const auto bytes = HexBytes(RecordHex(sample, c.version, c.head, c.tail));
  ArchiveReader r(bytes, c.version);
  CPageDlg read;
  read.pageText = "before";
  read.bottomMargin = 999;
  read.coloredVoices = 1;
  read.systemNameText.text = "before";
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  const std::string_view head(c.head);
  EXPECT_EQ(read.pageText, head.find('H') != std::string_view::npos ? "p%" : "before");
  EXPECT_EQ(read.bottomMargin, head.find('G') != std::string_view::npos ? 0x23u : 999u);
  EXPECT_EQ(read.coloredVoices, head.find('N') != std::string_view::npos ? 0 : 1);
  EXPECT_EQ(read.systemNameText.text, std::string_view(c.tail).find('g') != std::string_view::npos ? "System" : "before");
  // Below "6.2" there is no extra spacing, below "7.85" the tab lines are 3 wide.
  EXPECT_EQ(read.extraSpacing, VersionBelow(c.version, "6.2") ? 0u : 0x17u);
  EXPECT_EQ(read.tablineThickness, VersionBelow(c.version, "7.85") ? 3 : 0x14);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, PageSettingsGates,
    ::testing::Values(GateCase{"6.1", "A", "ab"}, GateCase{"6.51", "A", "abc"}, GateCase{"6.57", "AB", "abcd"},
                      GateCase{"7.1", "ABC", "abcd"}, GateCase{"7.12", "ABCD", "abcd"},
                      GateCase{"7.6", "ABCDE", "abcd"}, GateCase{"8.1", "ABCDEF", "abcde"},
                      GateCase{"9.16", "ABCDEF", "abcde"}, GateCase{"9.166", "ABCDEF", "abcde"},
                      GateCase{"9.17", "ABCDEFH", "abcdef"}, GateCase{"9.22", "ABCDEFH", "abcdefg"},
                      GateCase{"9.42", "ABCDEFHIJ", "abcdefg"}, GateCase{"9.53.2", "ABCDEFHIJ", "abcdefghl"},
                      GateCase{"9.6.5.7", "ABCDEFGHIJ", "abcdefghl"}, GateCase{"9.6.7", "ABCDEFGHIJ", "abcdefghlm"},
                      GateCase{"9.6.7.0", "ABCDEFGHIJK", "abcdefghlm"},
                      GateCase{"9.6.8.0", "ABCDEFGHIJKL", "abcdefghjlm"},
                      GateCase{"9.6.8.2", "ABCDEFGHIJKL", "abcdefghjklm"},
                      GateCase{"9.7.0", "ABCDEFGHIJKLM", "abcdefghjklm"},
                      GateCase{"9.7.1.0", "ABCDEFGHIJKLM", "abcdefghijklm"},
                      GateCase{"9.7.2.0", "ABCDEFGHIJKLMN", "abcdefghijklm"},
                      GateCase{"10.0", "A", "ab"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(PageSettingsRecord, SignatureFontNamedTabDefaultBecomesTheContinuoFont) {
  CPageDlg written = SamplePage();
  written.DocumentFont(kFontSignatures).logFont.lfFaceName = "TabDefault";
  written.DocumentFont(kFontContinuo).logFont.lfFaceName = "Old Continuo";
  ArchiveWriter w;
  written.Store(w);
  ArchiveReader r(w.Bytes());
  CPageDlg read;
  read.Load(r);
  dfLogFont expected = Copied(read.DocumentFont(kFontContinuo));
  expected.logFont.lfWeight = 300;
  expected.pointSize.cx = 160;
  EXPECT_EQ(read.DocumentFont(kFontSignatures), expected);
  EXPECT_EQ(read.DocumentFont(kFontSignatures).logFont.lfFaceName, "Old Continuo");
}

TEST(PageSettingsRecord, CenterLyricsSwitchedOffStaysOff) {
  CPageDlg page;
  page.centerLyrics = 1;
  page.closedSystems = 0x11;  // the bit is the member's only while stored
  page.centerLyrics = 0;
  ArchiveWriter w;
  page.Store(w);
  ArchiveReader r(w.Bytes());
  CPageDlg read;
  read.centerLyrics = 1;
  read.Load(r);
  EXPECT_EQ(read.centerLyrics, 0);
  EXPECT_EQ(read.closedSystems, 1);
}

TEST(PageSettingsRecord, TruncatedRecordIsAnArchiveError) {
  ArchiveWriter w;
  SamplePage().Store(w);
  std::vector<uint8_t> bytes = w.Bytes();
  bytes.resize(bytes.size() - 3);
  ArchiveReader r(bytes);
  CPageDlg read;
  EXPECT_THROW(read.Load(r), ArchiveError);
}

TEST(PageSettingsXml, WritesTheLayoutElementInItsOrder) {
  CPageDlg page = SamplePage();
  page.pageRect = {0, 0, 2100, 2970};
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* layout = page.WriteXml(doc);
  std::vector<std::string> names;
  for (const tinyxml2::XMLElement* e = layout->FirstChildElement(); e; e = e->NextSiblingElement()) {
    names.push_back(e->Name());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"margins", "print-setup", "pagination", "section-options", "format",
                                             "font-stack", "braille-settings", "track-text", "track-text"}));
  const tinyxml2::XMLElement* margins = layout->FirstChildElement();
  EXPECT_EQ(PrintXml(margins),
            "<margins top=\"18\" left=\"33\" bottom=\"35\" right=\"34\" alternate-margins=\"27\" "
            "vertical-justification=\"22\"/>");
  const tinyxml2::XMLElement* printSetup = margins->NextSiblingElement();
  EXPECT_EQ(PrintXml(printSetup),
            "<print-setup landscape=\"39\" paper-format=\"9\">"
            "<printing-area top=\"0\" left=\"0\" bottom=\"2970\" right=\"2100\"/></print-setup>");
  const tinyxml2::XMLElement* pagination = printSetup->NextSiblingElement();
  EXPECT_EQ(PrintXml(pagination),
            "<pagination print-all-bar-numbers=\"3\" alignment=\"5\" page-text=\"p%\" number-height=\"5\" "
            "skip-first-page=\"43\" page-offset=\"4294967294\" no-page-numbers=\"41\"/>");
  const tinyxml2::XMLElement* sections = pagination->NextSiblingElement();
  EXPECT_EQ(PrintXml(sections),
            "<section-options print-all-sections=\"28\" new-page=\"30\" print-comments=\"2\" comments-at-end=\"3\" "
            "print-facsimiles=\"37\" blanks-between-sections=\"29\" skip-titles=\"32\"/>");
  const tinyxml2::XMLElement* format = sections->NextSiblingElement();
  EXPECT_EQ(PrintXml(format),
            "<format cursor-width=\"17\" proportional-spacing=\"19\" manual-stave=\"21\" extra-spacing=\"23\" "
            "place-holder=\"1\" colored-voices=\"0\" tabline-thickness=\"20\" closed-systems=\"1\" "
            "center-lyrics=\"1\" colored-syntax=\"42\" staffline-color=\"0\" barline-color=\"0\"/>");
  const tinyxml2::XMLElement* fonts = format->NextSiblingElement();
  EXPECT_STREQ(fonts->Attribute("target"), "document-fonts");
  EXPECT_STREQ(fonts->Attribute("count"), "16");
  EXPECT_EQ(PrintXml(fonts->NextSiblingElement()), "<braille-settings columns=\"24\" lines=\"25\" orientation=\"26\"/>");
  // The page-number text carries document font 12 from now on.
  EXPECT_EQ(page.pageNumberText.font, Copied(page.DocumentFont(kFontPageNumbers)));
  EXPECT_STREQ(layout->LastChildElement()->Attribute("descriptor"), "system-name");
}

TEST(PageSettingsXml, ReadBackEqualsWhatWasWritten) {
  CPageDlg page = SamplePage();
  page.stafflineColor = 0xFFFFFFFF;
  page.pageText = "Page % of the book";
  page.noPageNumbers = 1;  // flags read as booleans
  page.coloredSyntax = 1;
  tinyxml2::XMLDocument doc;
  doc.InsertEndChild(page.WriteXml(doc));
  doc.InsertEndChild(doc.NewElement("title-page"));
  const std::string written = PrintXml(&doc);

  tinyxml2::XMLDocument parsed;
  ASSERT_EQ(parsed.Parse(written.c_str()), tinyxml2::XML_SUCCESS);
  CPageDlg read;
  EXPECT_STREQ(read.ReadXml(parsed.FirstChildElement())->Name(), "title-page");
  EXPECT_EQ(read.stafflineColor, 0xFFFFFFFFu);
  EXPECT_EQ(read.pageOffset, -2);
  tinyxml2::XMLDocument again;
  again.InsertEndChild(read.WriteXml(again));
  again.InsertEndChild(again.NewElement("title-page"));
  EXPECT_EQ(PrintXml(&again), written);
}

std::string FontStackXml(int count) {
  CPageDlg fonts;
  for (size_t i = 0; i < kDocumentFontCount; ++i) fonts.DocumentFont(i).pointSize.cx = static_cast<int32_t>(300 + i);
  while (fonts.fonts.size() > static_cast<size_t>(count)) fonts.fonts.erase(fonts.fonts.size() - 1);
  tinyxml2::XMLDocument doc;
  return PrintXml(fonts.fonts.WriteXml(doc, "document-fonts"));
}

TEST(PageSettingsXml, EmptyChildrenReadZeroButDivisorsStayPositive) {
  tinyxml2::XMLDocument doc;
  doc.Parse(("<layout><margins top=\"300\" left=\"200\" bottom=\"100\" right=\"50\"/><print-setup/><pagination/>"
             "<section-options/><format/>" +
             FontStackXml(16) + "<braille-settings/><track-text/><track-text/></layout>")
                .c_str());
  CPageDlg page;
  page.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(page.topMargin, 300u);
  EXPECT_EQ(page.rightMargin, 50u);
  EXPECT_EQ(page.pageText, "");
  EXPECT_EQ(page.pageNumberAlignment, 0);
  EXPECT_EQ(page.printFacsimiles, 0);
  EXPECT_EQ(page.closedSystems, 0);
  EXPECT_EQ(page.coloredSyntax, 0);
  EXPECT_EQ(page.tablineThickness, 0);
  EXPECT_EQ(page.systemsPerPage, 1u);
  EXPECT_EQ(page.cursorWidth, 1u);
  EXPECT_EQ(page.brailleColumns, 1);
  EXPECT_EQ(page.brailleLines, 1);
  EXPECT_EQ(page.DocumentFont(kFontFingerings).pointSize.cx, 315);
  EXPECT_EQ(page.pageNumberText.font.pointSize.cx, 312);
}

TEST(PageSettingsXml, FifteenFontsGiveTheFingeringsTheSmallFont) {
  tinyxml2::XMLDocument doc;
  doc.Parse(("<layout><margins/><print-setup/><pagination/><section-options/><format colored-syntax=\"true\"/>" +
             FontStackXml(15) + "<braille-settings/><track-text/></layout>")
                .c_str());
  CPageDlg page;
  page.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(page.DocumentFont(kFontFingerings), Copied(page.DocumentFont(kFontSmall)));
  EXPECT_EQ(page.DocumentFont(kFontFingerings).pointSize.cx, 314);
  EXPECT_EQ(page.coloredSyntax, 1);
}

TEST(PageSettingsXml, MisplacedChildrenAbandonTheRead) {
  struct Case {
    std::string xml;
    const char* message;  // empty when the child is missing altogether
  };
  const std::string fonts = FontStackXml(16);
  const std::vector<Case> cases = {
      {"<page-layout/>", "Mismatch error on tag: <page-layout> should be <layout>"},
      {"<layout><print-setup/></layout>", "Mismatch error on tag: <print-setup> should be <margins>"},
      {"<layout><margins/><print-setup/><pagination/><format/></layout>",
       "Mismatch error on tag: <format> should be <section-options>"},
      {"<layout><margins/><print-setup/><pagination/><section-options/><formats/></layout>",
       "Mismatch error on tag: <formats> should be <format>"},
      {"<layout><margins/><print-setup/><pagination/><section-options/><format/><fonts/></layout>",
       "Mismatch error on tag: <fonts> should be <font-stack>"},
      {"<layout><margins/><print-setup/><pagination/><section-options/><format/>" + fonts +
           "<braille-settings/><text/></layout>",
       "Mismatch error on tag: <text> should be <track-text>"},
      {"<layout><margins/><print-setup/><pagination/><section-options/><format/>" + fonts + "</layout>", ""},
      {"<layout><margins/></layout>", ""},
  };
  for (const Case& c : cases) testing::ExpectXmlReadRefused<CPageDlg>(c.xml, c.message);
}

TEST(PageSettings, CopySettingsLeavesCenterLyricsOutlineAndTexts) {
  CPageDlg source = SamplePage();
  source.stafflineColor = 0xFF;
  source.pageNumberText.text = "7";
  CPageDlg target;
  target.CopySettings(source);
  EXPECT_EQ(target.cursorWidth, 0x11u);
  EXPECT_EQ(target.pageText, "p%");
  EXPECT_EQ(target.bottomMargin, 0x23u);
  EXPECT_EQ(target.commentsAtEnd, 3);
  EXPECT_EQ(target.stafflineColor, 0xFFu);
  EXPECT_EQ(target.DocumentFont(kFontFingerings).pointSize.cx, 215);
  EXPECT_EQ(target.centerLyrics, 0);
  EXPECT_EQ(target.outlineBarNumbers, 0);
  EXPECT_EQ(target.systemNameText.text, "");
  EXPECT_EQ(target.pageNumberText.text, "");
}

TEST(MidiExportRecord, TwelveFieldsInOrder) {
  CMIDIExportDlg settings;
  settings.expandRepeats = 1;
  settings.text = "ab";
  ArchiveWriter w;
  settings.Store(w);
  EXPECT_EQ(Hex(w), ToHex(HexBytes("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 06 00 00 00 01 00 00 00"
                                   " 00 00 00 00 3C 00 00 00 00 00 00 00 FF FE FF 02 61 00 62 00"
                                   " 00 00 00 00 01 00 00 00")));
  ArchiveReader r(w.Bytes());
  CMIDIExportDlg read;
  read.option5 = 0;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read, settings);
}

}  // namespace
}  // namespace vornel
