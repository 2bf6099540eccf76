#pragma once
// Golden files of the tests: the expected text lives in the source tree. With the environment
// variable VORNEL_UPDATE_GOLDEN set, a test writes its text there instead of comparing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/Bytes.h"

namespace vornel::testing {

// `path` relative to the source tree ("tests/midi/golden/two_lines.log").
inline void ExpectGoldenAt(const std::string& path, const std::string& actual) {
  const std::string full = std::string(VORNEL_SOURCE_DIR) + "/" + path;
  if (std::getenv("VORNEL_UPDATE_GOLDEN") != nullptr) {
    WriteText(full, actual);
    return;
  }
  EXPECT_EQ(ReadText(full), actual) << "golden file " << full;
}

}  // namespace vornel::testing
