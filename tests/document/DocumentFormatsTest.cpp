#include <gtest/gtest.h>

#include <string>

#include "document/DocumentFiles.h"
#include "document/DocumentFixtures.h"
#include "document/OldDocumentRecords.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::ScriptedPrompts;
using testing::TempDir;

TEST(DocumentForms, EveryFieldBothFormsKeepSurvivesEachForm) {
  ScriptedPrompts prompts;
  auto doc = testing::RichDocument();
  // Reading gives the section its stored shape (bars numbered, tables normalised).
  const auto shaped = testing::ThroughBinary(*doc);
  const std::string dump = DumpDocument(*shaped);
  EXPECT_TRUE(DumpDocument(*testing::ThroughBinary(*shaped)) == dump);
  EXPECT_TRUE(DumpDocument(*testing::ThroughXml(*shaped)) == dump);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(DocumentForms, BinaryToXmlToBinaryToXmlKeepsEverything) {
  ScriptedPrompts prompts;
  TempDir dir;
  const std::vector<uint8_t> bytes = testing::SampleDocument("9.8.1.0").Bytes();
  testing::WriteText(dir.File("a.btb"), std::string(bytes.begin(), bytes.end()));

  std::string previous;
  const auto step = [&](const std::string& from, const std::string& to) {
    OpenedDocument opened = OpenDocumentFile(dir.File(from));
    ASSERT_NE(opened.document, nullptr) << from << ": " << opened.message;
    const std::string dump = DumpDocument(*opened.document);
    if (!previous.empty()) {
      EXPECT_TRUE(dump == previous) << from;
    }
    previous = dump;
    if (!to.empty()) {
      ASSERT_TRUE(SaveDocumentFile(*opened.document, dir.File(to))) << to;
    }
  };
  step("a.btb", "b.btxml");
  step("b.btxml", "c.btb");
  step("c.btb", "d.btxml");
  step("d.btxml", "");
  EXPECT_EQ(testing::ReadText(dir.File("b.btxml")), testing::ReadText(dir.File("d.btxml")));
  EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace vornel
