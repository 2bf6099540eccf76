// The score view's moves between systems, pages and sections, finding a bar, the linear mode
// and the commands that add and delete systems, pages and sections.

#include <gtest/gtest.h>

#include "ViewFixtures.h"

namespace vornel {
namespace {

using testing::ViewDocument;
using testing::ViewRig;

TEST(ScoreViewNavigation, GoToSystem) {
  ViewRig rig(ViewDocument(1, 8, 4));
  // The active system: nothing scrolls and nothing is repainted.
  EXPECT_EQ(rig.view.GoToSystem(0), 0);
  EXPECT_TRUE(rig.window.invalidated.empty());
  EXPECT_TRUE(rig.window.scrolledTo.empty());

  // A system of the next page: the page turns, to its top.
  rig.window.scroll = {0, 300};
  EXPECT_EQ(rig.view.GoToSystem(5), 1);
  EXPECT_EQ(rig.Section().activeSystem, 5);
  EXPECT_EQ(rig.view.State().pageIndex, 1);
  ASSERT_FALSE(rig.window.scrolledTo.empty());
  EXPECT_EQ(rig.window.scrolledTo.front(), (Point{0, 0}));
  EXPECT_TRUE(rig.window.WholeInvalidated());

  // A system on the same page: no turn, no scroll to the top.
  rig.window.Forget();
  EXPECT_EQ(rig.view.GoToSystem(6), 1);
  EXPECT_TRUE(rig.window.scrolledTo.empty());
}

TEST(ScoreViewNavigation, PagesTurnWithinTheSectionOnly) {
  ViewRig rig(ViewDocument(1, 8, 4));
  const view::CommandTable& commands = rig.view.Commands();
  EXPECT_FALSE(commands.State(view::kPageUp).enabled);
  EXPECT_TRUE(commands.State(view::kPageDown).enabled);

  ASSERT_TRUE(commands.Execute({view::kPageDown, {}, {}}));
  EXPECT_EQ(rig.view.State().pageIndex, 1);
  EXPECT_EQ(rig.Section().activeSystem, 4);
  EXPECT_EQ(rig.view.LastPageIndex(), 1);
  // The last page: page down is off, and does nothing when called all the same.
  EXPECT_FALSE(commands.State(view::kPageDown).enabled);
  rig.window.Forget();
  rig.view.PageDown();
  EXPECT_EQ(rig.view.State().pageIndex, 1);
  EXPECT_TRUE(rig.window.invalidated.empty());

  // While a play runs neither way is open.
  rig.view.State().playing = true;
  EXPECT_FALSE(commands.State(view::kPageUp).enabled);
  EXPECT_FALSE(commands.State(view::kNextSystem).enabled);
  rig.view.State().playing = false;

  ASSERT_TRUE(commands.Execute({view::kPageUp, {}, {}}));
  EXPECT_EQ(rig.view.State().pageIndex, 0);
  EXPECT_EQ(rig.Section().activeSystem, 0);
  EXPECT_EQ(rig.window.scroll, (Point{0, 0}));

  // Next and previous system follow the active one.
  ASSERT_TRUE(commands.Execute({view::kNextSystem, {}, {}}));
  EXPECT_EQ(rig.Section().activeSystem, 1);
  ASSERT_TRUE(commands.Execute({view::kPreviousSystem, {}, {}}));
  EXPECT_EQ(rig.Section().activeSystem, 0);
  EXPECT_FALSE(commands.State(view::kPreviousSystem).enabled);
}

TEST(ScoreViewNavigation, SectionsChangeAndTheOnlyOneStays) {
  ViewRig rig(ViewDocument(3, 8, 4));
  view::CommandTable& commands = rig.view.Commands();
  EXPECT_FALSE(commands.State(view::kPreviousSection).enabled);
  rig.view.PageDown();
  ASSERT_TRUE(commands.Execute({view::kNextSection, {}, {}}));
  EXPECT_EQ(rig.doc->sections.activeSection, 1);
  EXPECT_EQ(rig.view.State().pageIndex, 0);
  // The sections list's choice.
  ASSERT_TRUE(commands.Execute({view::kSectionsListDoubleClick, 2, {}}));
  EXPECT_EQ(rig.doc->sections.activeSection, 2);
  EXPECT_FALSE(commands.State(view::kNextSection).enabled);

  // Deleting asks first; No keeps it.
  rig.prompts.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(commands.Execute({view::kDeleteSection, {}, {}}));
  EXPECT_EQ(rig.doc->sections.size(), 3u);
  EXPECT_EQ(rig.prompts.questions, (std::vector<std::string>{"OK to delete this entire section?"}));
  EXPECT_EQ(rig.prompts.captions.back(), "This data will be lost!");
  rig.prompts.QueueAnswer(Answer::kYes);
  rig.prompts.QueueAnswer(Answer::kYes);
  commands.Execute({view::kDeleteSection, {}, {}});
  commands.Execute({view::kDeleteSection, {}, {}});
  ASSERT_EQ(rig.doc->sections.size(), 1u);
  EXPECT_EQ(rig.view.State().pageIndex, 0);

  // The only section: refused without a word.
  rig.prompts.questions.clear();
  commands.Execute({view::kDeleteSection, {}, {}});
  EXPECT_EQ(rig.doc->sections.size(), 1u);
  EXPECT_TRUE(rig.prompts.questions.empty());
}

TEST(ScoreViewNavigation, FindBar) {
  struct Case {
    std::optional<long> bar;
    int32_t system;
  };
  // Three bars to a system, eight systems: 24 bars. The last bar, and any past it, land on
  // the last system.
  const Case cases[] = {{1, 0}, {4, 1}, {12, 3}, {24, 7}, {99, 7}, {std::nullopt, 0}};
  for (const Case& c : cases) {
    ViewRig rig(ViewDocument(1, 8, 4));
    rig.prompts.QueueNumber(c.bar);
    const int page = rig.view.FindBar();
    EXPECT_EQ(rig.prompts.numberPrompts, (std::vector<std::string>{"Find bar number:|Find bar number:|1|24|1"}));
    EXPECT_EQ(rig.Section().activeSystem, c.system) << c.bar.value_or(-1);
    EXPECT_EQ(page, c.system / 4);
  }
}

TEST(ScoreViewNavigation, SystemsPagesAndLinearMode) {
  ViewRig rig(ViewDocument(1, 8, 4));
  view::CommandTable& commands = rig.view.Commands();
  ASSERT_TRUE(commands.Execute({view::kInsertSystemAfter, {}, {}}));
  EXPECT_EQ(rig.Section().systems.size(), 9u);
  ASSERT_TRUE(commands.Execute({view::kDeleteSystem, {}, {}}));
  EXPECT_EQ(rig.Section().systems.size(), 8u);
  ASSERT_TRUE(commands.Execute({view::kAddNewPage, {}, {}}));
  EXPECT_EQ(rig.Section().systems.size(), 12u);
  EXPECT_EQ(rig.view.LastPageIndex(), 2);

  // "Reset bars per staff": one value between 1 and 24; cancelled, nothing changes.
  rig.prompts.QueueNumber(std::nullopt);
  commands.Execute({view::kResetBarsPerStave, {}, {}});
  EXPECT_EQ(rig.prompts.numberPrompts.back(), "Reset bars per staff|Reset bars per staff|1|24|4");
  EXPECT_EQ(rig.Section().systems.size(), 12u);
  rig.prompts.QueueNumber(6);
  const size_t snapshots = rig.doc->undoStack.size();
  commands.Execute({view::kResetBarsPerStave, {}, {}});
  // The music re-barred into fewer, longer systems (the empty ones go), after a snapshot.
  EXPECT_LT(rig.Section().systems.size(), 8u);
  EXPECT_EQ(rig.doc->undoStack.size(), snapshots + 1);

  // Linear mode: page 0, the page as wide as the music.
  rig.view.PageDown();
  ASSERT_TRUE(commands.Execute({view::kLinearMode, {}, {}}));
  EXPECT_EQ(rig.view.State().pageIndex, 0);
  EXPECT_TRUE(commands.State(view::kLinearMode).checked.value_or(false));
  EXPECT_EQ(rig.view.State().pageRect.Height(), rig.window.client.cy);

  // The sections tree opens through the main window.
  EXPECT_TRUE(commands.State(view::kViewSectionsTree).enabled);

  // "Add section" runs the section wizard (the default builds a section like the active one)
  // and makes the new section active after it.
  const size_t before = rig.view.Document().sections.size();
  ASSERT_TRUE(commands.Execute({view::kAddSection, {}, {}}));
  EXPECT_EQ(rig.view.Document().sections.size(), before + 1);
  EXPECT_EQ(rig.view.Document().sections.activeSection, 1);
}

TEST(ScoreViewNavigation, AFailingCommandPutsTheSectionBack) {
  ViewRig rig(ViewDocument(2, 4, 4));
  view::CommandTable& commands = rig.view.Commands();
  commands.Add(40000, [&](const view::CommandEvent&) {
    rig.doc->sections.activeSection = 1;
    (void)rig.doc->sections.at(7);
  });
  ASSERT_TRUE(commands.Execute({40000, {}, {}}));
  EXPECT_EQ(rig.doc->sections.activeSection, 0);
  EXPECT_EQ(rig.prompts.messages, (std::vector<std::string>{"Encountered an improper argument."}));
}

}  // namespace
}  // namespace vornel
