#pragma once
// External programs: a file handed to the desktop's program for it (xdg-open), or a program
// started with its arguments, both detached from us. Commands reach them through Launcher(),
// so that tests record what would have started instead.

#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // Opens the file with the program the desktop associates with it; false when that could
  // not be started.
  virtual bool OpenWithDefault(const std::string& path);
  // Starts argv[0] (looked up on PATH) with the other words as its arguments; false when it
  // could not be started.
  virtual bool Run(const std::vector<std::string>& argv);
};

ProgramLauncher& Launcher();

class ScopedLauncher {
 public:
  explicit ScopedLauncher(ProgramLauncher& launcher);
  ~ScopedLauncher();
  ScopedLauncher(const ScopedLauncher&) = delete;
  ScopedLauncher& operator=(const ScopedLauncher&) = delete;

 private:
  ProgramLauncher* previous_;
};

// The words of a command line: blanks separate them, double quotes group blanks into one.
std::vector<std::string> SplitCommandLine(std::string_view line);
// The program a command names: the name itself when it holds a '/', else the first
// executable of that name on PATH; empty when there is none.
std::string FindProgram(const std::string& name);

}  // namespace vornel
