#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "document/CDocumentSettings.h"
#include "document/OldDocumentRecords.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "support/ScriptedPrompts.h"
#include "support/XmlText.h"

namespace vornel {
namespace {

using testing::PrintXml;

TEST(DocumentSettings, SevenMetadataTextsOfWhichTheRecordKeepsSix) {
  const CDocumentSettings settings;
  ASSERT_EQ(settings.texts.size(), 7u);
  const std::vector<std::string> descriptors = {"document-title",     "document-author",   "document-source",
                                                "document-transcriber", "document-copyright", "document-comments",
                                                "system-titles"};
  for (size_t i = 0; i < descriptors.size(); ++i) EXPECT_EQ(settings.texts.at(i)->descriptor, descriptors[i]);
  const auto placed = [&](CDocumentSettings::TextIndex i) {
    return std::make_pair(settings.Text(i).x, settings.Text(i).y);
  };
  EXPECT_EQ(placed(CDocumentSettings::kTitle), std::make_pair(200, 200));
  EXPECT_EQ(placed(CDocumentSettings::kAuthor), std::make_pair(200, 100));
  EXPECT_EQ(placed(CDocumentSettings::kSource), std::make_pair(200, 300));
  EXPECT_EQ(placed(CDocumentSettings::kCopyright), std::make_pair(200, 400));
  EXPECT_EQ(placed(CDocumentSettings::kTranscriber), std::make_pair(200, 500));
  EXPECT_EQ(settings.editTexts[CDocumentSettings::kEditAuthor], "Anonymous");
  EXPECT_EQ(settings.editTexts[CDocumentSettings::kEditTitle], "Untitled");

  // Six texts, then the records of the settings they hold: the system titles are not stored.
  CDocumentSettings named;
  named.Text(CDocumentSettings::kSystemTitles).text = "not stored";
  named.Text(CDocumentSettings::kComments).text = "stored";
  ArchiveWriter w;
  named.Store(w);
  ArchiveReader r(w.Bytes());
  CDocumentSettings read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.Text(CDocumentSettings::kComments).text, "stored");
  EXPECT_EQ(read.Text(CDocumentSettings::kSystemTitles).text, "");
}

TEST(DocumentSettings, RecordBuiltFieldByFieldEqualsTheOneStored) {
  CDocumentSettings settings;
  settings.Text(CDocumentSettings::kTitle).text = "Title";
  settings.pageSettings.pageText = "Header";
  settings.titlePage.Text(CTitlePage::kAuthor).text = "Author";
  settings.associations["pdf-rendition"] = "C:\\a.pdf";
  ArchiveWriter stored;
  settings.Store(stored);
  ArchiveWriter built;
  testing::WriteDocumentSettingsAt(built, settings, kCurrentFormatVersion);
  EXPECT_TRUE(stored.Bytes() == built.Bytes());
}

struct AssociationGate {
  const char* version;
  std::map<std::string, std::string> read;
};

class AssociationGates : public ::testing::TestWithParam<AssociationGate> {};

TEST_P(AssociationGates, ReadAsFarAsTheVersionHoldsThem) {
  const AssociationGate& c = GetParam();
  CDocumentSettings settings;
  settings.associations = {{"images-path", "C:\\img\\a.png"}, {"pdf-rendition", "b.pdf"}, {"html-table", "c.html"}};
  ArchiveWriter w(c.version);
  testing::WriteDocumentSettingsAt(w, settings, c.version);
  ArchiveReader r(w.Bytes(), c.version);
  CDocumentSettings read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.associations, c.read);
}

INSTANTIATE_TEST_SUITE_P(Versions, AssociationGates,
                         ::testing::Values(AssociationGate{"6.57", {}},
                                           AssociationGate{"6.58", {{"images-path", "C:\\img\\a.png"}}},
                                           AssociationGate{"9.27",
                                                           {{"images-path", "C:\\img\\a.png"},
                                                            {"pdf-rendition", "b.pdf"},
                                                            {"html-table", "c.html"}}}));

TEST(DocumentSettingsXml, AssociationsKeepFolderAndNameApart) {
  CDocumentSettings settings;
  settings.associations = {{"pdf-rendition", "C:\\scores\\piece.pdf"}, {"images-path", "/home/me/images/"},
                           {"html-table", ""}};
  tinyxml2::XMLDocument doc;
  EXPECT_EQ(PrintXml(settings.WriteAssociationsXml(doc)),
            "<associations count=\"3\">"
            "<association type=\"html-table\" root-path=\"\"/>"
            "<association type=\"images-path\" root-path=\"/home/me/images/\"/>"
            "<association type=\"pdf-rendition\" root-path=\"C:\\scores\\\">piece.pdf</association>"
            "</associations>");

  // A path that ends in its folder comes back whole (it used to come back empty).
  tinyxml2::XMLDocument parsed;
  parsed.Parse(PrintXml(settings.WriteAssociationsXml(doc)).c_str());
  CDocumentSettings read;
  read.ReadAssociationsXml(parsed.FirstChildElement());
  EXPECT_EQ(read.associations, settings.associations);
}

TEST(DocumentSettingsXml, AssociationsWithoutCountReadThree) {
  tinyxml2::XMLDocument doc;
  doc.Parse(
      "<associations><association type=\"a\" root-path=\"/x/\">1</association>"
      "<association type=\"b\" root-path=\"\">2</association><association type=\"c\">3</association>"
      "<association type=\"d\">4</association></associations>");
  CDocumentSettings read;
  read.ReadAssociationsXml(doc.FirstChildElement());
  EXPECT_EQ(read.associations, (std::map<std::string, std::string>{{"a", "/x/1"}, {"b", "2"}, {"c", "3"}}));
}

TEST(DocumentSettingsXml, MisplacedIdentityOrAssociationsAbandonTheRead) {
  testing::ExpectXmlReadRefused<CDocumentSettings>(
      "<document-settings><layout/></document-settings>", "Mismatch error on tag: <layout> should be <identity>");
  // A whole settings element from which "associations" is taken out.
  CDocumentSettings settings;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = settings.WriteXml(doc);
  element->DeleteChild(element->FirstChildElement("associations"));
  testing::ExpectXmlReadRefused<CDocumentSettings>(PrintXml(element),
                                                   "Mismatch error on tag: <metadata-fonts> should be <associations>");
}

TEST(DocumentSettings, ClearTextsEmptiesEveryTextAndLeavesLinearMode) {
  CDocumentSettings settings;
  settings.Text(CDocumentSettings::kTitle).text = "T";
  settings.titlePage.Text(CTitlePage::kTitle).text = "TP";
  settings.linearMode = 1;
  settings.ClearTexts();
  EXPECT_EQ(settings.Text(CDocumentSettings::kTitle).text, "");
  EXPECT_EQ(settings.titlePage.Text(CTitlePage::kTitle).text, "");
  EXPECT_EQ(settings.editTexts[CDocumentSettings::kEditAuthor], "");
  EXPECT_EQ(settings.linearMode, 0);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

// Cursor steps per page: the paper's width in tenths of a millimetre by the cursor width, for
// the orientation; a cursor width of 0 counts as 1.
TEST(DocumentSettingsTest, CursorStepsPerPage) {
  CDocumentSettings settings;
  CPageDlg& page = settings.pageSettings;
  page.cursorWidth = 100;
  const Size paper = page.PaperSizeTenths();
  EXPECT_EQ(settings.GetCursorStepsPerPage(), paper.cx / 100);
  page.landscape = 1;
  EXPECT_EQ(settings.GetCursorStepsPerPage(), paper.cy / 100);
  page.cursorWidth = 0;
  EXPECT_EQ(settings.GetCursorStepsPerPage(), paper.cy);
}

}  // namespace
}  // namespace vornel
