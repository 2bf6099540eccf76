#pragma once
// A default of a window service used where none is installed: in a debug build it fails its
// check, so the statement dies; otherwise the statement runs and the last message names the
// service ("no rich-text editor is installed").

#include <gtest/gtest.h>

#include <string>

#ifdef NDEBUG
#define EXPECT_MISSING_SERVICE(prompts, statement, what)                                    \
  do {                                                                                      \
    statement;                                                                              \
    ASSERT_FALSE((prompts).messages.empty());                                               \
    EXPECT_EQ((prompts).messages.back(), std::string("no ") + (what) + " is installed");   \
  } while (false)
#else
#define EXPECT_MISSING_SERVICE(prompts, statement, what) \
  EXPECT_DEATH(statement, "a service of the window layer")
#endif
