// Command lines of external programs and the programs they name.

#include <gtest/gtest.h>

#include "platform/io/ProgramLauncher.h"

namespace vornel {
namespace {

TEST(ProgramLauncherTest, CommandLinesAndPrograms) {
  EXPECT_EQ(SplitCommandLine("  timidity -c \"/etc/my config.cfg\"  -Ow \"\" x"),
            (std::vector<std::string>{"timidity", "-c", "/etc/my config.cfg", "-Ow", "", "x"}));
  EXPECT_TRUE(SplitCommandLine(" \t ").empty());
  EXPECT_FALSE(FindProgram("sh").empty());
  EXPECT_TRUE(FindProgram("no-such-program-here").empty());
  EXPECT_TRUE(FindProgram("/nonexistent/sh").empty());
  EXPECT_FALSE(Launcher().Run({"no-such-program-here"}));
  EXPECT_TRUE(Launcher().Run({"true"}));
}

}  // namespace
}  // namespace vornel
