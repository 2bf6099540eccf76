#pragma once
// A program launcher for tests: records the files it would open and the programs it would
// start, and starts nothing.

#include <string>
#include <vector>

#include "platform/io/ProgramLauncher.h"

namespace vornel::testing {

class RecordingLauncher : public ProgramLauncher {
 public:
  RecordingLauncher() : scope_(*this) {}
  bool OpenWithDefault(const std::string& path) override {
    opened.push_back(path);
    return true;
  }
  bool Run(const std::vector<std::string>& argv) override {
    runs.push_back(argv);
    return true;
  }
  std::vector<std::string> opened;
  std::vector<std::vector<std::string>> runs;

 private:
  ScopedLauncher scope_;
};

}  // namespace vornel::testing
