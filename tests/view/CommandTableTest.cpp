#include "view/commands/CommandTable.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/ScriptedPrompts.h"

namespace vornel::view {
namespace {

TEST(CommandTable, RulesAndRangesDecideStateAndExecution) {
  CommandTable table;
  std::vector<int> ran;
  bool allowed = false;
  table.Add(100, [&](const CommandEvent& e) { ran.push_back(e.id); }, [&] { return allowed; }, [] { return true; });
  table.AddRange(200, 205, [&](const CommandEvent& e) { ran.push_back(e.id); }, [](int id) { return id % 2 == 0; });
  table.Add(203, {});  // carried, not available: shown disabled

  EXPECT_FALSE(table.Execute({100, {}, {}}));
  allowed = true;
  EXPECT_TRUE(table.Execute({100, {}, {}}));
  EXPECT_EQ(table.State(100).checked, std::optional<bool>(true));
  EXPECT_TRUE(table.Execute({204, {}, {}}));
  EXPECT_FALSE(table.Execute({201, {}, {}}));
  EXPECT_FALSE(table.State(203).enabled);
  EXPECT_TRUE(table.State(203).handled);
  EXPECT_FALSE(table.State(206).handled);
  EXPECT_EQ(ran, (std::vector<int>{100, 204}));
  EXPECT_EQ(table.Ids().size(), 7u);
}

TEST(CommandRouter, FirstTargetOnTheRouteOwnsAnIdAndFailuresAreReported) {
  testing::ScriptedPrompts prompts;
  CommandTable view;
  CommandTable frame;
  std::string who;
  view.Add(1, [&](const CommandEvent&) { who = "view"; }, [] { return false; });
  frame.Add(1, [&](const CommandEvent&) { who = "frame"; });
  frame.Add(2, [](const CommandEvent&) { throw std::runtime_error("Cannot do that"); });
  CommandRouter router;
  router.SetRoute({&view, &frame});

  EXPECT_FALSE(router.Dispatch(1));  // the view owns 1 and disables it; the frame is not asked
  EXPECT_EQ(who, "");
  router.SetRoute({&frame});
  EXPECT_TRUE(router.Dispatch(1));
  EXPECT_EQ(who, "frame");
  EXPECT_TRUE(router.Dispatch(2));
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{"Cannot do that"}));
  EXPECT_FALSE(router.State(3).handled);
}

TEST(CommandTable, GuardWrapsEveryHandler) {
  testing::ScriptedPrompts prompts;
  CommandTable table;
  std::vector<std::string> log;
  table.SetGuard([&](const CommandEvent&, const std::function<void()>& run) {
    log.push_back("before");
    try {
      run();
    } catch (...) {
      log.push_back("restored");
      throw;
    }
  });
  table.Add(7, [](const CommandEvent&) { throw std::runtime_error("bad"); });
  EXPECT_TRUE(table.Execute({7, {}, {}}));
  EXPECT_EQ(log, (std::vector<std::string>{"before", "restored"}));
  EXPECT_EQ(prompts.messages.size(), 1u);
}

}  // namespace
}  // namespace vornel::view
