#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/CBriotabDoc.h"
#include "document/DocumentDump.h"
#include "document/DocumentFixtures.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::ScriptedPrompts;
using testing::TempDir;

// The XML text of the rich document with `edit` applied to its parsed tree.
template <typename Edit>
std::string EditedXml(Edit edit) {
  auto doc = testing::RichDocument();
  const std::string text = testing::XmlText(*doc);
  tinyxml2::XMLDocument parsed;
  parsed.Parse(text.c_str(), text.size());
  edit(parsed);
  tinyxml2::XMLPrinter printer;
  parsed.Print(&printer);
  return printer.CStr();
}

bool Read(CBriotabDoc& doc, const std::string& text) {
  tinyxml2::XMLDocument parsed;
  EXPECT_EQ(parsed.Parse(text.c_str(), text.size()), tinyxml2::XML_SUCCESS);
  return doc.ReadXml(parsed);
}

const nNotes& FirstNote(const CBriotabDoc& doc) { return *doc.sections.at(0)->System(0)->Line(0)->firstVoice.at(0)->notes.at(0); }

TEST(XmlDocument, RootCarriesTheProgramsVersionThenSettingsAndSections) {
  ScriptedPrompts prompts;
  auto doc = testing::RichDocument();
  tinyxml2::XMLDocument parsed;
  const std::string text = testing::XmlText(*doc);
  ASSERT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VornelTabXML version=\"1.0\" major=\"6\" minor=\"0\">", 0), 0u);
  parsed.Parse(text.c_str());
  const tinyxml2::XMLElement* root = parsed.RootElement();
  const tinyxml2::XMLElement* settings = root->FirstChildElement();
  EXPECT_STREQ(settings->Name(), "document-settings");
  EXPECT_STREQ(settings->LastChildElement()->Name(), "section-fonts");
  EXPECT_STREQ(settings->NextSiblingElement()->Name(), "sections");
  EXPECT_EQ(settings->NextSiblingElement()->NextSiblingElement(), nullptr);

  // A file of other numbers is remembered as read and written with the program's.
  const std::string older = EditedXml([](tinyxml2::XMLDocument& d) {
    d.RootElement()->SetAttribute("major", 2);
    d.RootElement()->SetAttribute("minor", 5);
  });
  CBriotabDoc read;
  ASSERT_TRUE(Read(read, older));
  EXPECT_EQ(read.xmlVersionText, "1.2.5");
  EXPECT_EQ(read.xmlFlag, 1);
  EXPECT_NE(testing::XmlText(read).find("major=\"6\" minor=\"0\""), std::string::npos);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(XmlDocument, TextPrintedASectionAtATimeIsTheWholeTreesText) {
  ScriptedPrompts prompts;
  auto doc = testing::RichDocument();
  doc->sections.push_back(std::make_unique<CSystemArray>());
  doc->sections.at(1)->Title().text = "Galliard <&> \"Pavan\"";
  for (size_t count : {2u, 1u}) {
    while (doc->sections.size() > count) doc->sections.erase(doc->sections.size() - 1);
    XMLWriter whole;
    doc->BuildXml(whole);
    EXPECT_TRUE(doc->XmlText() == whole.ToXmlText()) << count;
  }
}

TEST(XmlDocument, OlderAndForeignFilesAreConvertedByTheirMajorNumber) {
  const auto withMajor = [](const char* major) {
    return EditedXml([major](tinyxml2::XMLDocument& d) {
      tinyxml2::XMLElement* root = d.RootElement();
      root->DeleteAttribute("major");
      root->DeleteAttribute("minor");
      if (major != nullptr) root->SetAttribute("major", major);
      // The first note's flags with bit 6 set, its slur word in the foreign packing.
      tinyxml2::XMLElement* note = root->FirstChildElement("sections")->FirstChildElement("section");
      for (const char* name : {"systems", "system", "instruments", "instrument", "staff", "event", "notes", "note"}) {
        note = note->FirstChildElement(name);
      }
      note->SetAttribute("flags", 0xC0);
    });
  };
  {
    ScriptedPrompts prompts;
    CBriotabDoc doc;
    ASSERT_TRUE(Read(doc, withMajor(nullptr)));
    EXPECT_EQ(doc.xmlVersionText, "1.0.0");
    EXPECT_EQ(FirstNote(doc).flags, 0x80);
    EXPECT_EQ(FirstNote(doc).slur, 0x710u);
    EXPECT_TRUE(prompts.messages.empty());
  }
  {
    ScriptedPrompts prompts;
    CBriotabDoc doc;
    ASSERT_TRUE(Read(doc, withMajor("3")));
    EXPECT_EQ(FirstNote(doc).flags, 0xC0);
    EXPECT_TRUE(prompts.messages.empty());
  }
  {
    ScriptedPrompts prompts;
    CBriotabDoc doc;
    ASSERT_TRUE(Read(doc, withMajor("7")));
    EXPECT_EQ(FirstNote(doc).flags, 0xC0);
    EXPECT_EQ(FirstNote(doc).slur, 0xC8u);  // bits 4-6 down to 3-5, bits 8-9 down to 6-7
    EXPECT_EQ(prompts.messages, std::vector<std::string>{
                                    "You are reading a file created with Gavotta. There is a high probability of loss "
                                    "of data"});
  }
}

TEST(XmlDocument, ARefusedOrFailedReadChangesNothing) {
  const std::string withoutSections = EditedXml([](tinyxml2::XMLDocument& d) {
    d.RootElement()->DeleteChild(d.RootElement()->FirstChildElement("sections"));
  });
  const std::string tooManyTexts = EditedXml([](tinyxml2::XMLDocument& d) {
    d.RootElement()->FirstChildElement()->FirstChildElement("identity")->FirstChildElement()->SetAttribute("count", 99);
  });
  const std::string notOurs = "<?xml version=\"1.0\"?><score-partwise/>";
  for (const auto& [text, message] : {std::pair<std::string, std::string>{withoutSections, ""},
                                     {tooManyTexts,
                                      "Unable to parse this XML file!\ntrack-texts count 99 beyond the 7 texts held"},
                                     {notOurs, "This is not a VornelTabXML document!"}}) {
    ScriptedPrompts prompts;
    auto doc = testing::RichDocument();
    doc->xmlFlag = 0;
    const std::string before = DumpDocument(*doc);
    EXPECT_FALSE(Read(*doc, text));
    EXPECT_EQ(prompts.messages, message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
    EXPECT_EQ(DumpDocument(*doc), before);
    EXPECT_EQ(doc->xmlFlag, 0);
  }
}

// A document read from a binary file is written as an XML document packed into the bundle of
// its name; only the final extension counts.
TEST(XmlDocument, BinaryDocumentsAreWrittenIntoTheirBundle) {
  ScriptedPrompts prompts;
  TempDir dir;
  std::filesystem::create_directory(dir.File("old.btb"));
  auto doc = testing::RichDocument();
  doc->xmlFlag = 0;  // read from a binary file
  doc->SetPathName(dir.File("old.btb/song.btb"));
  doc->SetModifiedFlag(true);
  const auto written = doc->WriteXml();
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, dir.File("old.btb/song.btz"));
  EXPECT_TRUE(std::filesystem::exists(*written));
  EXPECT_FALSE(std::filesystem::exists(dir.File("old.btb/song.btxml")));
  EXPECT_FALSE(doc->IsModified());

  // A save that fails keeps the document modified.
  doc->SetPathName(dir.File("missing/song.btxml"));
  doc->SetModifiedFlag(true);
  EXPECT_FALSE(doc->WriteXml().has_value());
  EXPECT_TRUE(doc->IsModified());
}

}  // namespace
}  // namespace vornel
