// The document group pane in the frame: two groups give three levels of the tree, a
// double-click on a section opens its document there, and the frame's group commands act on
// the tree's selection.

#include <gtest/gtest.h>
#include <wx/menu.h>

#include <filesystem>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "model/score/CSystemArray.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/panes/DatabaseBar.h"
#include "shell/ui/panes/FramePaneContents.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

// The children of a tree item.
std::vector<wxTreeItemId> Children(const wxTreeCtrl& tree, const wxTreeItemId& item) {
  std::vector<wxTreeItemId> children;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(item, cookie); child.IsOk(); child = tree.GetNextChild(item, cookie)) {
    children.push_back(child);
  }
  return children;
}

TEST(DocumentGroupPaneWindow, TwoGroupsGiveThreeLevelsAndASectionOpensItsDocument) {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  fs::create_directories(home.Path() + "Documents/VornelFiles");
  EditorRun run(home);
  Settle();
  CVornelTabApp& app = run.App();
  CDatabaseBar* bar = run.Frame().PaneContents()->DocumentGroups();
  ASSERT_NE(bar, nullptr);

  // Two groups of the XML folder: "Lute" with a document of two sections, "Songs" with one.
  const std::string root = app.dataFolder + "pieces";
  fs::create_directories(root);
  fs::create_directories(app.xmlFolder);
  const std::string suite = root + "/suite.btxml";
  CVornelTabDoc doc;
  doc.OnNewDocument();
  doc.sections.at(0)->Title().text = "Pavan";
  doc.AppendNewSection()->Title().text = "Galliard";
  ASSERT_TRUE(SaveDocumentFile(doc, suite));
  ASSERT_TRUE(SaveDocumentFile(doc, root + "/song.btxml"));
  for (const auto& [name, title, member] : {std::tuple{"a", "Lute", suite}, std::tuple{"b", "Songs", root + "/song.btxml"}}) {
    CVornelDatabase group(app.dataFolder);
    group.rootPath = group.MakePortablePath(root);
    group.title = title;
    group.SetPathName(app.xmlFolder + name + ".vndb");
    SilentProgress progress;
    ASSERT_NE(group.AddDocument(member, progress), nullptr);
  }
  bar->RefreshGroups();

  CDatabaseTreeCtrl& tree = *bar->Tree();
  const std::vector<wxTreeItemId> groups = Children(tree, tree.GetRootItem());
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(tree.GetItemText(groups[0]), "Lute");
  EXPECT_EQ(tree.GetItemText(groups[1]), "Songs");
  const std::vector<wxTreeItemId> documents = Children(tree, groups[0]);
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(tree.GetItemText(documents[0]), "suite.btxml");
  const std::vector<wxTreeItemId> sections = Children(tree, documents[0]);
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(tree.GetItemText(sections[1]), "Galliard");
  EXPECT_EQ(tree.GetItemImage(groups[0]), CDatabaseTreeCtrl::kGroupImage);
  EXPECT_EQ(tree.GetItemImage(sections[1]), CDatabaseTreeCtrl::kSectionImage);
  EXPECT_EQ(bar->ToolBar()->GetToolsCount(), 8u);
  const std::unique_ptr<wxMenu> menu = CDatabaseTreeCtrl::BuildContextMenu();
  EXPECT_EQ(menu->GetMenuItemCount(), 11u);  // eight commands, three separators
  EXPECT_EQ(CDatabaseTreeCtrl::CommandOfMenuItem(menu->FindItemByPosition(0)->GetId()), 33078);
  EXPECT_EQ(CDatabaseTreeCtrl::CommandOfMenuItem(menu->FindItemByPosition(10)->GetId()), 33079);

  // A double-click on the second section opens the document at that section.
  wxTreeEvent activated(wxEVT_TREE_ITEM_ACTIVATED, &tree, sections[1]);
  tree.ProcessWindowEvent(activated);
  Settle();
  CChildFrame* child = run.Frame().ActiveChild();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->Document().GetPathName(), suite);
  EXPECT_EQ(child->Document().sections.activeSection, 1);
  EXPECT_EQ(tree.lastSection, 1);
  EXPECT_EQ(tree.lastDocument, 0);

  // A group command of the frame acts on the selection: the title changes in place.
  tree.SelectItem(groups[1]);
  prompts.QueueText("Airs");
  EXPECT_TRUE(run.Frame().DispatchCommand(33072));
  const std::vector<wxTreeItemId> after = Children(tree, tree.GetRootItem());
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(tree.GetItemText(after[1]), "Airs");
}

}  // namespace
}  // namespace vornel
