#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CTitlePage.h"
#include "document/RecordForms.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
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

void Append(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
}

CTitlePage SampleTitlePage() {
  CTitlePage page;
  page.Text(CTitlePage::kTitle).text = "Pièces de luth";
  page.Text(CTitlePage::kAuthor).text = "Anonymous";
  page.Text(CTitlePage::kContentsHeader).text = "Contents";
  page.picture.path = "C:\\Images\\title.bmp";
  page.picture.sizePercent = 50;
  page.formattedTitle.text = "{\\rtf1 Title}";
  page.formattedTitle.storedRect = {200, 200, 600, 300};
  page.preface.text = "{\\rtf1 Preface}";
  page.imageList.AddImage("C:\\Scans\\f1r.jpg");
  page.imageList.captions[0] = "{\\rtf1 f. 1r}";
  page.titleFont.pointSize.cx = 240;
  page.dateStamp = 1;
  page.alternateMargins = 2;
  page.printContents = 1;
  page.printTitlepage = 17;
  page.frameStyle = 3;
  page.columns = 1;
  page.printPreface = 1;
  page.origin = {7, 8};
  page.pageNumbers = 1;
  page.sectionPosition = 1;
  page.useRtf = 1;
  page.maxLines = 40;
  return page;
}

TEST(TitlePage, FourTextsInTheirOrder) {
  const CTitlePage page;
  ASSERT_EQ(page.texts.size(), 4u);
  EXPECT_EQ(page.Text(CTitlePage::kTitle).descriptor, "tp-title");
  EXPECT_EQ(page.Text(CTitlePage::kAuthor).descriptor, "tp-author");
  EXPECT_EQ(page.Text(CTitlePage::kPublisher).descriptor, "tp-publisher");
  EXPECT_EQ(page.Text(CTitlePage::kContentsHeader).descriptor, "contents-table");
  EXPECT_EQ(page.Text(CTitlePage::kContentsHeader).text, "Table of Contents");
  EXPECT_EQ(page.maxLines, 100);
  EXPECT_EQ(page.picture.mode, DIBornament::kModeNew);
  EXPECT_EQ(page.preface.name, "RTF Text");
}

// The record of a file of `version`, with the fields its gates give it.
struct TitleGateCase {
  const char* version;
  bool origin;
  bool pageNumbers;
  bool sectionPosition;
  bool captions;
  bool formattedTitle;
  friend std::ostream& operator<<(std::ostream& os, const TitleGateCase& c) { return os << c.version; }
};

std::vector<uint8_t> TitleRecordFor(const CTitlePage& page, const TitleGateCase& c) {
  // useRTF travels in bit 4 of print-contents: 1 | 16.
  std::vector<uint8_t> bytes = HexBytes(
      "01 00 00 00 02 00 00 00 11 00 00 00 11 00 00 00 03 00 00 00 01 00 00 00 01 00 00 00");
  if (c.origin) Append(bytes, HexBytes("07 00 00 00 08 00 00 00"));
  if (c.pageNumbers) Append(bytes, HexBytes("01 00 00 00"));
  if (c.sectionPosition) Append(bytes, HexBytes("01 00 00 00"));
  for (const auto i : {CTitlePage::kTitle, CTitlePage::kAuthor, CTitlePage::kPublisher, CTitlePage::kContentsHeader}) {
    Append(bytes, TextBytesFor(page.Text(i), c.version));
  }
  Append(bytes, TextBytesFor(page.picture, c.version));
  ArchiveWriter list;
  if (c.captions) {
    page.imageList.Store(list);
  } else {  // the path array alone
    list.WriteCount(page.imageList.size());
    for (const std::string& path : page.imageList.imagePaths) list.WriteText(path);
  }
  Append(bytes, list.Bytes());
  ArchiveWriter preface;
  preface.WriteText(page.preface.text);
  Append(bytes, preface.Bytes());
  Append(bytes, FontBytesFor(page.titleFont, c.version));
  if (c.formattedTitle) Append(bytes, TextBytesFor(page.formattedTitle, c.version));
  return bytes;
}

TEST(TitlePageRecord, StoresTheFieldsThenTheTextsPictureListPrefaceFontAndTitle) {
  const CTitlePage page = SampleTitlePage();
  ArchiveWriter w;
  page.Store(w);
  const TitleGateCase current{"9.8.1.0", true, true, true, true, true};
  EXPECT_EQ(ToHex(w.Bytes()), ToHex(TitleRecordFor(page, current)));
  // Only the stored word carries useRTF; the member stays as it was.
  EXPECT_EQ(page.printContents, 1);
}

class TitlePageGates : public ::testing::TestWithParam<TitleGateCase> {};

TEST_P(TitlePageGates, ReadsExactlyTheFieldsOfItsVersion) {
  const TitleGateCase& c = GetParam();
  const CTitlePage sample = SampleTitlePage();
  const std::vector<uint8_t> bytes = TitleRecordFor(sample, c);
  ArchiveReader r(bytes, c.version);
  CTitlePage read;
  read.origin = {-1, -1};
  read.pageNumbers = 5;
  read.sectionPosition = 5;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.origin, c.origin ? (Point{7, 8}) : (Point{-1, -1}));
  EXPECT_EQ(read.pageNumbers, c.pageNumbers ? 1 : 5);
  EXPECT_EQ(read.sectionPosition, c.sectionPosition ? 1 : 5);
  EXPECT_EQ(read.imageList.imagePaths, (std::vector<std::string>{"C:\\Scans\\f1r.jpg"}));
  EXPECT_EQ(read.imageList.captions.at(0), c.captions ? "{\\rtf1 f. 1r}" : "");
  EXPECT_EQ(read.formattedTitle.text, c.formattedTitle ? "{\\rtf1 Title}" : "");
  EXPECT_EQ(read.Text(CTitlePage::kContentsHeader).text,
            VersionBelow(c.version, "6.57") ? "Table of Contents" : "Contents");
  EXPECT_EQ(read.Text(CTitlePage::kTitle).text, "Pièces de luth");
  EXPECT_EQ(read.picture.path, "C:\\Images\\title.bmp");
  EXPECT_EQ(read.picture.mode, DIBornament::kModeLoaded);
  EXPECT_EQ(read.preface.text, "{\\rtf1 Preface}");
  EXPECT_EQ(read.titleFont.pointSize.cx, 240);
  EXPECT_EQ(read.printContents, 17);
  EXPECT_EQ(read.useRtf, 1);
}

// "9.16" sorts before "9.6.5.9", "9.6.5.6" and "9.7.0.0"; "6.3" is not newer than itself.
INSTANTIATE_TEST_SUITE_P(Versions, TitlePageGates,
                         ::testing::Values(TitleGateCase{"6.3", false, false, false, false, false},
                                           TitleGateCase{"6.56", true, false, false, false, false},
                                           TitleGateCase{"6.57", true, false, false, false, false},
                                           TitleGateCase{"9.16", true, false, false, false, false},
                                           TitleGateCase{"9.6.5.6", true, false, false, false, false},
                                           TitleGateCase{"9.6.5.9", true, false, false, false, true},
                                           TitleGateCase{"9.6.6", true, true, false, false, true},
                                           TitleGateCase{"9.7.0.0", true, true, false, true, true},
                                           TitleGateCase{"9.7.2.1", true, true, false, true, true},
                                           TitleGateCase{"9.7.2.2", true, true, true, true, true},
                                           TitleGateCase{"9.8.1.0", true, true, true, true, true}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(TitlePageRecord, ShortOriginBlockIsAnArchiveError) {
  const auto bytes = HexBytes("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 07 00");
  ArchiveReader r(bytes);
  CTitlePage read;
  EXPECT_THROW(read.Load(r), ArchiveError);
}

TEST(TitlePageXml, WritesThePreliminariesInTheirOrderAndReadsThemBack) {
  CTitlePage page = SampleTitlePage();
  page.secondFont.pointSize.cx = 999;  // never written
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = page.WriteXml(doc);
  doc.InsertEndChild(element);
  doc.InsertEndChild(doc.NewElement("associations"));

  EXPECT_TRUE(PrintXml(element).starts_with(
      "<preliminaries print-titlepage=\"17\" print-preface=\"1\" date-stamp=\"1\" alternate-margins=\"2\" "
      "frame-style=\"3\"><title-elements><track-texts count=\"4\">"));
  std::vector<std::string> names;
  for (const tinyxml2::XMLElement* e = element->FirstChildElement(); e; e = e->NextSiblingElement()) {
    names.push_back(e->Name());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"title-elements", "preface", "facsimiles", "contents"}));
  names.clear();
  for (const tinyxml2::XMLElement* e = element->FirstChildElement()->FirstChildElement(); e;
       e = e->NextSiblingElement()) {
    names.push_back(e->Name());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"track-texts", "titlepage-fonts", "rtf-track-text", "dib-image"}));
  EXPECT_STREQ(element->FirstChildElement()->FirstChildElement("rtf-track-text")->Attribute("name"), "rtf-title");
  EXPECT_EQ(PrintXml(element->LastChildElement()),
            "<contents print-contents=\"1\" useRTF=\"1\" columns=\"1\" section-position=\"1\" page-numbers=\"1\" "
            "offset-cx=\"7\" offset-cy=\"8\" max-lines=\"40\"/>");

  const std::string written = PrintXml(&doc);
  tinyxml2::XMLDocument parsed;
  ASSERT_EQ(parsed.Parse(written.c_str()), tinyxml2::XML_SUCCESS);
  CTitlePage read;
  EXPECT_STREQ(read.ReadXml(parsed.FirstChildElement())->Name(), "associations");
  EXPECT_EQ(read.secondFont, CTitlePage().secondFont);
  EXPECT_EQ(read.Text(CTitlePage::kTitle).text, "Pièces de luth");
  EXPECT_EQ(read.formattedTitle.drawnRect, (Rect{200, 200, 600, 300}));
  EXPECT_EQ(read.imageList.captions.at(0), "{\\rtf1 f. 1r}");
  tinyxml2::XMLDocument again;
  again.InsertEndChild(read.WriteXml(again));
  again.InsertEndChild(again.NewElement("associations"));
  EXPECT_EQ(PrintXml(&again), written);
}

std::string PreliminariesWith(const std::string& contents) {
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = CTitlePage().WriteXml(doc);
  element->DeleteChild(element->LastChildElement());
  doc.InsertEndChild(element);
  std::string xml = PrintXml(&doc);
  return xml.insert(xml.size() - std::string("</preliminaries>").size(), contents);
}

TEST(TitlePageXml, ContentsValuesAreNormalisedOnReading) {
  struct Case {
    const char* contents;
    int32_t maxLines;
    int32_t useRtf;
  };
  for (const Case c : {Case{"<contents max-lines=\"0\"/>", 100, 0},
                       Case{"<contents print-contents=\"17\" useRTF=\"0\" max-lines=\"30\"/>", 30, 1},
                       Case{"<contents print-contents=\"1\" useRTF=\"true\"/>", 100, 1},
                       Case{"<contents useRTF=\"false\" max-lines=\"-5\"/>", -5, 0}}) {
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(PreliminariesWith(c.contents).c_str()), tinyxml2::XML_SUCCESS);
    CTitlePage page;
    page.ReadXml(doc.FirstChildElement());
    EXPECT_EQ(page.maxLines, c.maxLines) << c.contents;
    EXPECT_EQ(page.useRtf, c.useRtf) << c.contents;
  }
}

TEST(TitlePageXml, MisplacedElementsAbandonTheRead) {
  struct Case {
    std::string xml;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"<title-page/>", "Mismatch error on tag: <title-page> should be <preliminaries>"},
      {PreliminariesWith("<content/>"), "Mismatch error on tag: <content> should be <contents>"},
      {PreliminariesWith(""), ""},
      {"<preliminaries><title-elements><texts/></title-elements></preliminaries>",
       "Mismatch error on tag: <texts> should be <track-texts>"},
      {"<preliminaries/>", ""},
  };
  for (const Case& c : cases) testing::ExpectXmlReadRefused<CTitlePage>(c.xml, c.message);
}

}  // namespace
}  // namespace vornel
