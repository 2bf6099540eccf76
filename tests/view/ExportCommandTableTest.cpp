// The export commands reach their handlers through the document's command table.

#include <gtest/gtest.h>

#include "document/CVornelTabDoc.h"
#include "layout/export/DocumentExports.h"
#include "support/MissingService.h"
#include "support/ScriptedPrompts.h"
#include "view/commands/ExportCommands.h"

namespace vornel::view {
namespace {

TEST(ExportCommandTable, CommandsAreEnteredAndAlwaysEnabled) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  doc.SetTitle("suite.btz");
  CommandTable table;
  RegisterExportCommands(table, doc);
  EXPECT_EQ(table.Ids(), (std::vector<int>{33045, 33046, 33119}));
  for (const int id : table.Ids()) EXPECT_TRUE(table.State(id).enabled) << id;

  testing::ScriptedPrompts prompts;
  prompts.QueueFile(std::nullopt);
  CommandRouter router;
  router.SetRoute({&table});
  EXPECT_TRUE(router.Dispatch(kExportSectionMusicXmlCommand));
  EXPECT_EQ(prompts.filePrompts, std::vector<std::string>{"Create an XML file|*.xml|suite.btz-section_1.xml|"});
  // Without a window there is no options dialog: the TAB export says so and stops before asking.
  EXPECT_MISSING_SERVICE(prompts, EXPECT_TRUE(router.Dispatch(kExportTabFormatCommand)), "TAB options dialog");
  EXPECT_EQ(prompts.filePrompts.size(), 1u);
}

}  // namespace
}  // namespace vornel::view
