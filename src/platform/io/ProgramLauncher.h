#pragma once
// Programs outside the editor (the TAB typesetter, an ABC converter, the MIDI-to-WAVE player,
// the desktop's viewers) are started with argument lists, never through a shell. The window
// layer starts them and reports their end on the window thread; tests install a fake.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class ProgramLauncher {
 public:
  using ExitHandler = std::function<void(int exitCode)>;
  virtual ~ProgramLauncher() = default;
  // Starts `arguments[0]` with the other arguments in `workingFolder`; `onExit` runs later, on
  // the window thread, with the exit code. False when the program could not be started.
  virtual bool Start(const std::vector<std::string>& arguments, const std::string& workingFolder,
                     ExitHandler onExit) = 0;
  // Opens a file or a web address with the desktop's default program (xdg-open).
  virtual bool OpenWithDefault(const std::string& target) = 0;
};

// Starts nothing: the launcher of tools and headless runs.
class NoProgramLauncher : public ProgramLauncher {
 public:
  bool Start(const std::vector<std::string>&, const std::string&, ExitHandler) override { return false; }
  bool OpenWithDefault(const std::string&) override { return false; }
};

// True when `program` names an executable file, or (without a '/') one in the PATH folders.
bool FindProgram(const std::string& program);

// The words of a command line: blanks separate them, double quotes group blanks into one.
std::vector<std::string> SplitCommandLine(std::string_view line);

// The launcher in force.
ProgramLauncher& Programs();

class ScopedPrograms {
 public:
  explicit ScopedPrograms(ProgramLauncher& launcher);
  ~ScopedPrograms();
  ScopedPrograms(const ScopedPrograms&) = delete;
  ScopedPrograms& operator=(const ScopedPrograms&) = delete;

 private:
  ProgramLauncher* previous_;
};

}  // namespace vornel
