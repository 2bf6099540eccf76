#pragma once
// A program launcher for tests, installed for its lifetime: records the programs it would
// start (with their folders and exit handlers) and the files it would open, and starts
// nothing. With `starts` false every start fails.

#include <string>
#include <vector>

#include "platform/io/ProgramLauncher.h"

namespace vornel::testing {

class RecordingLauncher : public ProgramLauncher {
 public:
  RecordingLauncher() : scope_(*this) {}
  bool Start(const std::vector<std::string>& arguments, const std::string& workingFolder,
             ExitHandler onExit) override {
    if (!starts) return false;
    started.push_back(arguments);
    folders.push_back(workingFolder);
    exits.push_back(std::move(onExit));
    return true;
  }
  bool OpenWithDefault(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  bool starts = true;
  std::vector<std::vector<std::string>> started;
  std::vector<std::string> folders;
  std::vector<ExitHandler> exits;
  std::vector<std::string> opened;

 private:
  ScopedPrograms scope_;
};

}  // namespace vornel::testing
