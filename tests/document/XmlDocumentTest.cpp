#include <gtest/gtest.h>

#include <algorithm>
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

bool Read(CBriotabDoc& doc, const std::string& text) { return doc.ReadXmlText(text); }

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
  for (const auto& [text, message] : {std::pair<std::string, std::string>{withoutSections,
                                                                         "Unable to parse this XML file!\nThe element "
                                                                         "<sections> is missing."},
                                     {tooManyTexts,
                                      "Unable to parse this XML file!\ntrack-texts count 99 beyond the 7 texts held"},
                                     {notOurs, "This is not a VornelTabXML document!"}}) {
    ScriptedPrompts prompts;
    auto doc = testing::RichDocument();
    doc->xmlFlag = 0;
    const std::string before = DumpDocument(*doc);
    EXPECT_FALSE(Read(*doc, text));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{message});
    EXPECT_EQ(DumpDocument(*doc), before);
    EXPECT_EQ(doc->xmlFlag, 0);
  }
}

// The document is read a part at a time: what the check passes over (comments, blank text,
// elements after the counted ones, after the sections and after the root) is still checked to
// be well-formed XML but never read, and a systems element may be written empty.
TEST(XmlDocument, PartsAtATimeReadWhatTheWholeTreeHolds) {
  ScriptedPrompts prompts;
  auto doc = testing::RichDocument();
  const std::string text = testing::XmlText(*doc);
  const std::string expected = DumpDocument(*testing::ThroughXml(*doc));
  std::string padded = text;
  const auto insertAfter = [&padded](const std::string& mark, const std::string& what) {
    const size_t at = padded.find(mark);
    ASSERT_NE(at, std::string::npos) << mark;
    padded.insert(at + mark.size(), what);
  };
  insertAfter("</systems>", "<!-- after the systems --><extra a=\"1\"><more/></extra>");
  padded.insert(padded.find("</systems>"), "<!-- after the last system --><system/>");
  insertAfter("</sections>", "\n<trailer/>\n");
  padded += "<!-- after the root -->\n";
  CBriotabDoc read;
  ASSERT_TRUE(read.ReadXmlText(padded)) << (prompts.messages.empty() ? "" : prompts.messages[0]);
  EXPECT_EQ(DumpDocument(read), expected);

  // A comment in place of a counted element is no element.
  std::string commented = text;
  commented.replace(commented.find("<system "), 0, "<!-- -->");
  EXPECT_FALSE(read.ReadXmlText(commented));
  EXPECT_EQ(prompts.messages.back(), "Unable to parse this XML file!\nThe element <system> is missing.");

  // Junk after the last counted part must still be well-formed.
  EXPECT_FALSE(read.ReadXmlText(text + "<tail>"));
  EXPECT_EQ(DumpDocument(read), expected);
}

// A fault deep in a long document is reported at its line in the whole file, and an element
// with more attributes than any of ours is refused before tinyxml2 would spend minutes on it.
TEST(XmlDocument, ParseFaultsNameTheirLineInTheWholeFile) {
  auto doc = testing::RichDocument();
  const std::string text = testing::XmlText(*doc);
  const size_t system = text.rfind("<system ");
  const size_t line = 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<long>(system), '\n'));
  std::string duplicated = text;
  duplicated.insert(duplicated.find(' ', system), " index=\"9\"");
  std::string crowded = text;
  std::string attributes;
  for (int i = 0; i < 300; ++i) attributes += " a" + std::to_string(i) + "=\"0\"";
  crowded.insert(crowded.find(' ', system), attributes);
  for (const auto& [broken, fault] :
       {std::pair<std::string, std::string>{duplicated, "Error=XML_ERROR_PARSING_ATTRIBUTE ErrorID=7 (0x7) Line number=" +
                                                            std::to_string(line) + ": XMLElement name=system"},
        {crowded, "Error=XML_ERROR_PARSING_ATTRIBUTE ErrorID=7 (0x7) Line number=" + std::to_string(line) +
                      ": XMLElement name=system carries more than 256 attributes"}}) {
    ScriptedPrompts prompts;
    CBriotabDoc read;
    EXPECT_FALSE(read.ReadXmlText(broken));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Unable to parse this XML file!\n" + fault});
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
