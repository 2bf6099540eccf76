#pragma once
// Starts programs through wxExecute with argument lists (no shell) and reports their end on
// the window thread; opens files and web addresses with the desktop's default programs.

#include "shell/commands/ExternalPrograms.h"

namespace vornel {

class WxProgramLauncher : public ProgramLauncher {
 public:
  bool Start(const std::vector<std::string>& arguments, const std::string& workingFolder,
             ExitHandler onExit) override;
  bool OpenWithDefault(const std::string& target) override;
};

}  // namespace vornel
