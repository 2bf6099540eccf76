#pragma once
// Golden files of the recording device: tests/<area>/golden/<name>.log (the view's unless
// another area is named). With the environment variable VORNEL_UPDATE_GOLDEN set, a test
// writes its log there instead of comparing.

#include <string>

#include "support/GoldenFile.h"

namespace vornel::testing {

inline void ExpectGoldenLog(const std::string& name, const std::string& actual, const std::string& area = "view") {
  ExpectGoldenAt("tests/" + area + "/golden/" + name + ".log", actual);
}

}  // namespace vornel::testing
