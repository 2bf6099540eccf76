// Every reading of a file keeps within what the file's size allows it to build: each importer
// and each document form, given a budget it cannot keep, refuses with the limit named and leaves
// the document as it was; within the budget the same files read.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/CVornelTabDoc.h"
#include "import/Importer.h"
#include "platform/BuildBudget.h"
#include "platform/io/TemporaryFiles.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

// A budget far smaller than any of these files builds, installed around the reading as an
// outer reading's would be: the reading's own budget cannot widen it.
constexpr uint64_t kTinyBudget = 1024;

bool RefusedForItsSize(const testing::ScriptedPrompts& prompts) {
  return !prompts.messages.empty() && prompts.messages.back().find("too large to read") != std::string::npos;
}

class ImportWithinBudget : public ::testing::TestWithParam<const char*> {};

TEST_P(ImportWithinBudget, RefusesBeyondItAndLeavesTheDocumentAsItWas) {
  const fs::path path = fs::path(VORNEL_CORPUS_DIR) / GetParam();
  if (!fs::exists(path)) GTEST_SKIP() << "no corpus file " << path;
  const Importer* importer = FindImporter(path.string());
  ASSERT_NE(importer, nullptr);
  {
    testing::ScriptedPrompts prompts;
    CVornelTabDoc doc;
    doc.OnNewDocument();
    BuildBudget tiny(0, kTinyBudget);
    const ScopedBuildBudget scope(tiny);
    EXPECT_EQ(importer->Import(path.string(), doc), 0u);
    EXPECT_TRUE(RefusedForItsSize(prompts)) << ::testing::PrintToString(prompts.messages);
    EXPECT_EQ(doc.sections.size(), 1u);
    EXPECT_EQ(doc.sections.activeSection, 0);
    EXPECT_EQ(tiny.Held(), 0u) << "what the refused reading built was let go";
  }
  testing::ScriptedPrompts prompts;
  CVornelTabDoc doc;
  doc.OnNewDocument();
  EXPECT_GT(importer->Import(path.string(), doc), 0u) << ::testing::PrintToString(prompts.messages);
}

INSTANTIATE_TEST_SUITE_P(Corpus, ImportWithinBudget,
                         ::testing::Values("abc/regnart.abc", "tab/t.tab", "guitarpro/Demo v5.gp5",
                                           "musicxml/41a-MultiParts-Partorder.xml",
                                           "musicxml/90a-Compressed-MusicXML.mxl"));

TEST(OpenWithinBudget, EachDocumentFormRefusesBeyondItAndOpensWithinIt) {
  const fs::path source = fs::path(VORNEL_CORPUS_DIR) / "tab/t.tab";
  if (!fs::exists(source)) GTEST_SKIP() << "no corpus file " << source;
  const fs::path folder = MakeTemporaryFolder();
  CVornelTabDoc imported;
  {
    testing::ScriptedPrompts prompts;
    imported.OnNewDocument();
    ASSERT_GT(FindImporter(source.string())->Import(source.string(), imported), 0u);
  }
  for (const char* name : {"t.btxml", "t.btz", "t.btb"}) {
    SCOPED_TRACE(name);
    const std::string path = (folder / name).string();
    {
      testing::ScriptedPrompts prompts;
      const bool binary = path.ends_with(".btb");
      ASSERT_TRUE(binary ? imported.SaveBinary(path) : imported.OnSaveDocument(path));
    }
    {
      testing::ScriptedPrompts prompts;
      CVornelTabDoc doc;
      BuildBudget tiny(0, kTinyBudget);
      const ScopedBuildBudget scope(tiny);
      EXPECT_FALSE(doc.OnOpenDocument(path));
      EXPECT_TRUE(RefusedForItsSize(prompts)) << ::testing::PrintToString(prompts.messages);
      EXPECT_EQ(tiny.Held(), 0u);
    }
    testing::ScriptedPrompts prompts;
    CVornelTabDoc doc;
    EXPECT_TRUE(doc.OnOpenDocument(path)) << ::testing::PrintToString(prompts.messages);
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vornel
