#include <gtest/gtest.h>

#include "document/XmlDocumentCheck.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

// The smallest document the check accepts, with one section, one instrument and one system.
constexpr const char* kInstrument =
    "<instrument><track-text/><track-font/><tablature-definition/><midi-controllers/><key/>"
    "<notation-font/><ornament-table/><options/><clefs/></instrument>";

std::string Document(const std::string& sectionsAttributes, const std::string& sections,
                     const std::string& root = "<VornelTabXML version=\"1.0\">") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + root +
         "<document-settings><identity><track-texts/></identity><layout/><preliminaries/><associations/>"
         "<metadata-fonts/><section-fonts/></document-settings>"
         "<sections " + sectionsAttributes + ">" + sections + "</sections></VornelTabXML>";
}

std::string Section(const std::string& instrument = kInstrument) {
  return "<section><section-texts/><section-layout/><midi-options/><section-settings/>"
         "<instruments count=\"1\">" + instrument + "</instruments><accessories/>"
         "<systems count=\"1\"><system/></systems></section>";
}

struct CheckCase {
  const char* name;
  std::string xml;
  bool accepted;
  std::string message;  // the one message shown, or empty for none
};

class DocumentCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(DocumentCheck, AcceptsOrRefusesWithItsMessage) {
  testing::ScriptedPrompts prompts;
  tinyxml2::XMLDocument doc;
  ASSERT_EQ(doc.Parse(GetParam().xml.c_str()), tinyxml2::XML_SUCCESS);
  EXPECT_EQ(CheckDocumentXml(doc), GetParam().accepted);
  if (GetParam().message.empty()) {
    EXPECT_TRUE(prompts.messages.empty());
  } else {
    EXPECT_EQ(prompts.messages, std::vector<std::string>{GetParam().message});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentCheck,
    ::testing::Values(
        CheckCase{"good", Document("count=\"1\"", Section()), true, ""},
        CheckCase{"name_font_as_our_earlier_files_call_it",
                  Document("count=\"1\"", Section("<instrument><track-text/><name-font/><tablature-definition/>"
                                                  "<midi-controllers/><key/><notation-font/><ornament-table/>"
                                                  "<options/><clefs/></instrument>")),
                  true, ""},
        CheckCase{"count_zero_ignores_children", Document("count=\"0\"", "<junk/>"), true, ""},
        CheckCase{"count_absent", Document("", ""), true, ""},
        CheckCase{"extra_children_not_looked_at", Document("count=\"1\"", Section() + "<extra/>"), true, ""},
        CheckCase{"wrong_root", "<VornelTab version=\"1\"/>", false, "This is not a VornelTabXML document!"},
        CheckCase{"no_version", Document("count=\"0\"", "", "<VornelTabXML>"), false,
                  "No XML version given: is this a valid VornelTabXML file?"},
        CheckCase{"empty_version", Document("count=\"0\"", "", "<VornelTabXML version=\"\">"), false,
                  "No XML version given: is this a valid VornelTabXML file?"},
        CheckCase{"fewer_sections_than_count", Document("count=\"3\"", Section() + Section()), false, ""},
        CheckCase{"case_differs", Document("count=\"1\"", "<Section/>"), false,
                  "Mismatch error on tag: <Section> should be <section>"},
        CheckCase{"instrument_child_out_of_order",
                  Document("count=\"1\"", Section("<instrument><track-font/></instrument>")), false,
                  "Mismatch error on tag: <track-font> should be <track-text>"},
        CheckCase{"comment_where_element_belongs", Document("count=\"1\"", "<!-- s -->"), false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseXmlFile, LoadsChecksOrSaysItCannotParse) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  testing::WriteText(dir.File("good.btxml"), Document("count=\"1\"", Section()));
  testing::WriteText(dir.File("bad.btxml"), "<VornelTabXML version=\"1\"><unclosed>");

  XMLWriter good;
  good.SetPath(dir.File("good.btxml"));
  EXPECT_TRUE(ParseXmlFile(good));
  EXPECT_TRUE(prompts.messages.empty());

  // Every refusal says why: the parser's complaint, the system's, or the part that is missing.
  testing::WriteText(dir.File("short.btxml"), Document("count=\"1000000\"", Section() + Section()));
  for (const char* name : {"bad.btxml", "missing.btxml", "short.btxml"}) {
    XMLWriter bad;
    bad.SetPath(dir.File(name));
    EXPECT_FALSE(ParseXmlFile(bad));
  }
  ASSERT_EQ(prompts.messages.size(), 3u);
  EXPECT_EQ(prompts.messages[0],
            "Unable to parse this XML file!\nError=XML_ERROR_MISMATCHED_ELEMENT ErrorID=14 (0xe) Line number=1: "
            "XMLElement name=unclosed");
  EXPECT_EQ(prompts.messages[1], "Unable to parse this XML file!\n" + dir.File("missing.btxml") + ":\nNo such file or directory");
  EXPECT_EQ(prompts.messages[2], "Unable to parse this XML file!\n<sections> counts 1000000 <section> but holds 2.");
}

TEST(PromptAndParseXmlFile, CancelReadsNothing) {
  testing::ScriptedPrompts prompts;
  prompts.QueueFile(std::nullopt);
  XMLWriter writer;
  EXPECT_FALSE(PromptAndParseXmlFile(writer));
  EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace vornel
