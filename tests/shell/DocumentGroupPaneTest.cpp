// The document group pane without its window: the three-level tree, opening at a section,
// adding the current document (and a failed copy), removing, retitling, reindexing and
// deleting groups, and the questions of the tree's menu.

#include "shell/library/DocumentGroupPane.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "model/score/CSystemArray.h"
#include "support/Bytes.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

// A document root with two groups: "Lute" (a document of two sections and a damaged one,
// indexed without sections) and "Songs" (one document), and a damaged group file.
struct TwoGroups {
  testing::ScriptedPrompts prompts;
  testing::RecordingLauncher launcher;
  testing::TempDir dir;
  std::string groups = dir.File("XML");
  std::string root = dir.File("Vornel");
  std::string suite = root + "/lute/suite.btxml";
  std::string empty = root + "/lute/empty.btxml";
  std::string song = root + "/songs/song.btxml";
  DocumentGroupPane pane{groups, root, "file:///site"};

  TwoGroups() {
    fs::create_directories(groups);
    fs::create_directories(root + "/lute");
    fs::create_directories(root + "/songs");
    CVornelTabDoc doc;
    doc.OnNewDocument();
    doc.sections.at(0)->Title().text = "Pavan\nfirst";
    doc.AppendNewSection()->Title().text = "Galliard";
    EXPECT_TRUE(SaveDocumentFile(doc, suite));
    EXPECT_TRUE(SaveDocumentFile(doc, song));
    // A member that does not read is indexed without sections.
    testing::WriteText(empty, "not a document");
    MakeGroup("a", "Lute", root + "/lute", {suite, empty});
    MakeGroup("b", "Songs", root + "/songs", {song});
    testing::WriteText(groups + "/c.vndb", "damaged");
    pane.RefreshGroups();
    prompts.messages.clear();
  }
  void MakeGroup(const std::string& name, const std::string& title, const std::string& folder,
                 const std::vector<std::string>& members) {
    CVornelDatabase group(root);
    group.rootPath = group.MakePortablePath(folder);
    group.title = title;
    group.SetPathName(groups + "/" + name + ".vndb");
    SilentProgress progress;
    for (const std::string& member : members) EXPECT_NE(group.AddDocument(member, progress), nullptr);
  }
};

TEST(DocumentGroupPaneTest, TwoGroupsGiveThreeLevels) {
  TwoGroups fixture;
  const auto& groups = fixture.pane.Groups();
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].title, "Lute");
  ASSERT_EQ(groups[0].documents.size(), 2u);
  EXPECT_EQ(groups[0].documents[0].text, "suite.btxml");
  ASSERT_EQ(groups[0].documents[0].sections.size(), 2u);
  EXPECT_EQ(groups[0].documents[0].sections[0].text, "Pavan first");
  EXPECT_EQ(groups[0].documents[0].sections[1].index, 1);
  EXPECT_TRUE(groups[0].documents[1].sections.empty());
  EXPECT_EQ(groups[1].title, "Songs");
  // A group file that does not load shows its name, with the loader's message.
  EXPECT_EQ(groups[2].title, "c.vndb");
  EXPECT_TRUE(groups[2].documents.empty());
}

TEST(DocumentGroupPaneTest, OpensADocumentAtASectionAndOneWithoutSectionsAtItsFirst) {
  TwoGroups fixture;
  std::vector<std::unique_ptr<CVornelTabDoc>> opened;
  const auto open = [&](const std::string& path) -> CVornelTabDoc* {
    // The damaged member stands for a document without sections: a new one takes its path.
    auto doc = std::make_unique<CVornelTabDoc>();
    if (!doc->OnOpenDocument(path)) {
      doc->OnNewDocument();
      doc->SetPathName(path);
    }
    opened.push_back(std::move(doc));
    return opened.back().get();
  };
  EXPECT_TRUE(fixture.pane.OpenAtSection({0, 0, 1}, open));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0]->GetPathName(), fixture.suite);
  EXPECT_EQ(opened[0]->sections.activeSection, 1);
  EXPECT_TRUE(fixture.pane.OpenAtSection({0, 1, -1}, open));  // a document leaf
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1]->GetPathName(), fixture.empty);
  EXPECT_FALSE(fixture.pane.OpenAtSection({0, -1, -1}, open));
  EXPECT_FALSE(fixture.pane.OpenAtSection({7, 0, 0}, open));
}

TEST(DocumentGroupPaneTest, AddingTheCurrentDocumentSavesACopyUnderTheGroup) {
  TwoGroups fixture;
  CVornelTabDoc doc;
  const std::string original = fixture.dir.File("elsewhere/new.btxml");
  fs::create_directories(fs::path(original).parent_path());
  doc.OnNewDocument();
  ASSERT_TRUE(SaveDocumentFile(doc, original));
  doc.SetPathName(original);

  // Declined: nothing changes.
  fixture.prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(fixture.pane.AddDocumentToGroup({1, -1, -1}, doc));
  EXPECT_EQ(doc.GetPathName(), original);

  // A copy that cannot be saved (a folder stands where the file goes) leaves the document
  // on its own file.
  const std::string target = fixture.root + "/songs/new.btxml/new.btxml";
  fs::create_directories(target);
  fixture.prompts.QueueAnswer(Answer::kOk);
  fixture.prompts.QueueAnswer(Answer::kYes);  // overwrite
  EXPECT_FALSE(fixture.pane.AddDocumentToGroup({1, -1, -1}, doc));
  EXPECT_EQ(doc.GetPathName(), original);
  EXPECT_EQ(fixture.prompts.messages.back(), DocumentGroupPane::kSaveCopyFailed);
  EXPECT_EQ(fixture.pane.Groups()[1].documents.size(), 1u);

  // Refusing to overwrite: "Operation cancelled".
  fixture.prompts.QueueAnswer(Answer::kOk);
  fixture.prompts.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(fixture.pane.AddDocumentToGroup({1, -1, -1}, doc));
  EXPECT_EQ(fixture.prompts.messages.back(), "Operation cancelled");
  EXPECT_EQ(doc.GetPathName(), original);

  fs::remove(target);
  fixture.prompts.QueueAnswer(Answer::kOk);
  fixture.prompts.QueueAnswer(Answer::kCancel);  // keep the original
  EXPECT_TRUE(fixture.pane.AddDocumentToGroup({1, -1, -1}, doc));
  EXPECT_EQ(doc.GetPathName(), target);
  EXPECT_TRUE(fs::is_regular_file(target));
  EXPECT_TRUE(fs::exists(original));
  EXPECT_EQ(fixture.prompts.questions.back(), DocumentGroupPane::kRecycleOriginalQuestion);
  ASSERT_EQ(fixture.pane.Groups()[1].documents.size(), 2u);
  EXPECT_EQ(fixture.pane.Groups()[1].documents[1].text, "new.btxml");
  // The group file holds the new member.
  EXPECT_TRUE(fixture.pane.OpenGroup(1));
  EXPECT_TRUE(fixture.pane.Group().IsDocumentInGroup(target));
}

TEST(DocumentGroupPaneTest, RemoveRetitleReindexAndDelete) {
  TwoGroups fixture;
  auto& pane = fixture.pane;
  EXPECT_FALSE(pane.RemoveDocumentFromGroup({0, -1, -1}));
  EXPECT_EQ(fixture.prompts.messages.back(), DocumentGroupPane::kNoDocumentMessage);

  fixture.prompts.QueueAnswer(Answer::kOk);      // remove
  fixture.prompts.QueueAnswer(Answer::kCancel);  // keep the file
  EXPECT_TRUE(pane.RemoveDocumentFromGroup({0, 1, -1}));
  EXPECT_EQ(fixture.prompts.questions[0], "Are you sure you want to remove empty.btxml from the document group: Lute");
  EXPECT_EQ(pane.Groups()[0].documents.size(), 1u);
  EXPECT_TRUE(fs::exists(fixture.empty));

  fixture.prompts.QueueText("Lute & voice");
  EXPECT_TRUE(pane.SetGroupTitle({0, -1, -1}));
  EXPECT_EQ(pane.Groups()[0].title, "Lute_+_voice");

  // A reindex moves only that group to the end.
  EXPECT_TRUE(pane.ReindexGroup({0, -1, -1}));
  EXPECT_EQ(pane.Groups().back().title, "Lute_+_voice");
  EXPECT_EQ(pane.Groups().front().title, "Songs");

  // Deleting from the menu asks twice.
  fixture.prompts.QueueAnswer(Answer::kOk);
  EXPECT_EQ(DocumentGroupPane::TreeCommand(DocumentGroupPane::kDeleteGroup), DocumentGroupPane::kDeleteGroup);
  fixture.prompts.QueueAnswer(Answer::kOk);
  EXPECT_TRUE(pane.DeleteGroup({1, -1, -1}));
  EXPECT_EQ(fixture.prompts.questions.back(), "Are you sure you want to delete the document group: b.vndb");
  EXPECT_FALSE(fs::exists(fixture.groups + "/b.vndb"));
  EXPECT_EQ(pane.Groups().size(), 2u);

  fixture.prompts.QueueAnswer(Answer::kCancel);
  EXPECT_EQ(DocumentGroupPane::TreeCommand(DocumentGroupPane::kReindex), 0);
  EXPECT_EQ(DocumentGroupPane::TreeCommand(DocumentGroupPane::kExportHtml), DocumentGroupPane::kExportHtmlPage);

  EXPECT_FALSE(pane.ExportGroupToHtml({}));
  EXPECT_EQ(fixture.prompts.messages.back(), DocumentGroupPane::kNoGroupMessage);
  EXPECT_TRUE(pane.OpenRootFolder({0, -1, -1}));
  EXPECT_EQ(fixture.launcher.opened.back(), fixture.root + "/lute");
}

}  // namespace
}  // namespace vornel
