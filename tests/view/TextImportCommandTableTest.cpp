// The import commands of text and tablature files reach their handlers through the document's
// command table, ask for their file or folder and refresh the section list.

#include <gtest/gtest.h>

#include "document/CVornelTabDoc.h"
#include "import/text/TextImportCommands.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "view/commands/TextImportCommands.h"

namespace vornel::view {
namespace {

class SectionListWatcher : public DocumentObserver {
 public:
  void OnUpdate(const CBriotabDoc&, int, const CStaveArray*) override {}
  void OnSectionListChanged(const std::vector<std::string>& lines, int32_t) override { last = lines; }
  std::vector<std::string> last;
};

TEST(TextImportCommandTable, CommandsAskImportAndRefresh) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  SectionListWatcher watcher;
  doc.AddObserver(&watcher);
  CommandTable table;
  RegisterTextImportCommands(table, doc);
  EXPECT_EQ(table.Ids(), (std::vector<int>{33087, 33174, 33280, 33281, 33419}));
  for (const int id : table.Ids()) EXPECT_TRUE(table.State(id).enabled) << id;
  CommandRouter router;
  router.SetRoute({&table});

  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  testing::WriteText(dir.File("tune.abc"), "X:1\nT:Bransle\nK:C\nABc\n");
  testing::WriteText(dir.File("piece.tab"), "{Galliard}\nb\n1a\nb\n");
  testing::WriteText(dir.File("song.bjo"), "1,7,0\n0,0,0,0\n0\n\"0\"\n\"\"\n\"\"\n\"\"\n\"\"\n\"\"\n");
  prompts.QueueFile(dir.File("tune.abc"));
  prompts.QueueFile(dir.File("piece.tab"));
  prompts.QueueFile(dir.File("song.bjo"));
  prompts.QueueFile(std::nullopt);
  EXPECT_TRUE(router.Dispatch(kImportAbcFileCommand));
  EXPECT_TRUE(router.Dispatch(kImportTabFileCommand));
  EXPECT_TRUE(router.Dispatch(kImportTabriteCommand));
  EXPECT_TRUE(router.Dispatch(kImportTabFileCommand));  // cancelled
  EXPECT_EQ(prompts.filePrompts, (std::vector<std::string>{"Import abc file|*.abc||",
                                                           "Select a Z.U. tab format file|*.tab||",
                                                           "Select a tabrite file|*.bjo||",
                                                           "Select a Z.U. tab format file|*.tab||"}));
  ASSERT_EQ(doc.sections.size(), 4u);
  EXPECT_EQ(watcher.last.size(), 4u);
  EXPECT_EQ(doc.sections.at(1)->Title().text, "Bransle");
  EXPECT_EQ(doc.sections.at(2)->Title().text, "Galliard");
  EXPECT_TRUE(doc.IsModified());

  prompts.QueueFolder(dir.path());
  prompts.QueueFolder(dir.path());
  EXPECT_TRUE(router.Dispatch(kImportTabFolderCommand));
  EXPECT_EQ(doc.sections.size(), 5u);
  EXPECT_TRUE(router.Dispatch(kImportFt2FolderCommand));
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{"No files found to import"}));
  EXPECT_EQ(doc.sections.size(), 5u);
  doc.RemoveObserver(&watcher);
}

}  // namespace
}  // namespace vornel::view
