#pragma once
// Golden files of the recording device: tests/<area>/golden/<name>.log (the view's unless
// another area is named). With the environment variable VORNEL_UPDATE_GOLDEN set, a test
// writes its log there instead of comparing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/Bytes.h"

namespace vornel::testing {

inline void ExpectGoldenLog(const std::string& name, const std::string& actual, const std::string& area = "view") {
  const std::string path = std::string(VORNEL_SOURCE_DIR) + "/tests/" + area + "/golden/" + name + ".log";
  if (std::getenv("VORNEL_UPDATE_GOLDEN") != nullptr) {
    WriteText(path, actual);
    return;
  }
  EXPECT_EQ(ReadText(path), actual) << "golden log " << path;
}

}  // namespace vornel::testing
