// Command lines of external programs and the programs they name.

#include <gtest/gtest.h>

#include "platform/io/ProgramLauncher.h"

namespace vornel {
namespace {

TEST(ProgramLauncherTest, CommandLinesAndPrograms) {
  EXPECT_EQ(SplitCommandLine("  timidity -c \"/etc/my config.cfg\"  -Ow \"\" x"),
            (std::vector<std::string>{"timidity", "-c", "/etc/my config.cfg", "-Ow", "", "x"}));
  EXPECT_TRUE(SplitCommandLine(" \t ").empty());
  EXPECT_TRUE(FindProgram("sh"));
  EXPECT_FALSE(FindProgram("no-such-program-here"));
  EXPECT_FALSE(FindProgram("/nonexistent/sh"));
}

}  // namespace
}  // namespace vornel
