#include "layout/dialogs/SectionTree.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/score/CSectionArray.h"
#include "model/score/CSystemArray.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

class SectionTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* title : {"A", "B", "C", "D"}) {
      auto section = std::make_unique<CSystemArray>();
      section->Title().text = title;
      sections.push_back(std::move(section));
    }
    sections.Renumber();
    tree.Fill(sections, "Suite");
  }

  std::string Titles() const {
    std::string titles;
    for (size_t i = 0; i < sections.size(); ++i) {
      titles += sections.at(i)->Title().text;
      EXPECT_EQ(sections.at(i)->index, static_cast<int32_t>(i));
    }
    return titles;
  }

  CSectionArray sections;
  SectionTree tree;
  testing::ScriptedPrompts prompts;
  ScopedPrompts scope{prompts};
};

TEST_F(SectionTreeTest, DropMovesTheSectionAndRenumbers) {
  ASSERT_EQ(tree.root.text, "Suite");
  ASSERT_TRUE(tree.Drop({0}, {2}, sections));
  EXPECT_EQ(Titles(), "BCAD");
  ASSERT_EQ(tree.root.children.size(), 3u);
  EXPECT_EQ(tree.root.children[1].text, "C");
  ASSERT_EQ(tree.root.children[1].children.size(), 1u);
  EXPECT_EQ(tree.root.children[1].children[0].text, "A");
  EXPECT_EQ(tree.DisplayOrder(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(prompts.beeps.empty());
  // Later onto an earlier one.
  ASSERT_TRUE(tree.Drop({2}, {0}, sections));
  EXPECT_EQ(Titles(), "BDCA");
}

TEST_F(SectionTreeTest, DropsOnItselfADescendantOrTheParentBeep) {
  ASSERT_TRUE(tree.Drop({1}, {0}, sections));  // B under A
  const std::string before = Titles();
  for (const auto& [dragged, target] : std::vector<std::pair<SectionTree::Path, SectionTree::Path>>{
           {{0}, {0}}, {{0}, {0, 0}}, {{0, 0}, {0}}, {{0}, {}}, {{7}, {1}}, {{1}, {9}}}) {
    EXPECT_FALSE(tree.Drop(dragged, target, sections));
  }
  EXPECT_EQ(prompts.beeps.size(), 6u);
  EXPECT_EQ(Titles(), before);
}

TEST_F(SectionTreeTest, NewChapterIsAHeadingOnly) {
  tree.AddChapter();
  ASSERT_EQ(tree.root.children.back().text, "NEW CHAPTER");
  ASSERT_TRUE(tree.Drop({3}, {4}, sections));  // D under the chapter
  EXPECT_EQ(Titles(), "ABCD");
  ASSERT_TRUE(tree.Drop({3}, {0}, sections));  // the chapter, with D, under A
  EXPECT_EQ(Titles(), "ADBC");
  EXPECT_EQ(sections.size(), 4u);
  tree.Sort(true);
  EXPECT_TRUE(tree.ApplyOrder(sections));
  EXPECT_EQ(Titles(), "ADBC");
}

TEST_F(SectionTreeTest, SortedOrderIsAppliedOnlyFromAPermutation) {
  std::swap(tree.root.children[0], tree.root.children[3]);
  ASSERT_TRUE(tree.ApplyOrder(sections));
  EXPECT_EQ(Titles(), "DBCA");
  tree.root.children[1].section = 0;  // two items for one section
  EXPECT_FALSE(tree.ApplyOrder(sections));
  EXPECT_EQ(Titles(), "DBCA");
}

}  // namespace
}  // namespace vornel
