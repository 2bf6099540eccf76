#include "shell/commands/ExternalPrograms.h"

#include <stdlib.h>
#include <unistd.h>

#include <string_view>

#include "platform/UserPrompts.h"
#include "shell/files/PathHelpers.h"

namespace vornel {

bool RunAndOpenOutput(const std::vector<std::string>& arguments, const std::string& scratchFolder,
                      std::string_view outputName, std::string_view settingKey) {
  if (arguments.empty()) return false;
  const std::string& program = arguments.front();
  std::string cannotStart = "Cannot start ";
  cannotStart.append(program).append(".\nCheck the setting \"").append(settingKey).append("\".");
  if (!FindProgram(program)) {
    Prompts().ShowMessage(cannotStart, MessageKind::kError);
    return false;
  }
  // A folder for this run alone: an output left by an earlier run is never taken for this one.
  std::string pattern = WithTrailingSeparator(scratchFolder) + "vornel-run-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    Prompts().ShowMessage("Unable to create a working folder in " + scratchFolder, MessageKind::kError);
    return false;
  }
  const std::string folder = pattern + "/";
  const std::string output = folder + std::string(outputName);
  const bool started = Programs().Start(arguments, folder, [program, output](int exitCode) {
    if (exitCode != 0) {
      Prompts().ShowMessage(program + " ended with exit code " + std::to_string(exitCode) + ".", MessageKind::kError);
    } else if (!FileExists(output)) {
      Prompts().ShowMessage(program + " wrote no " + GetPathFileName(output) + ".", MessageKind::kWarning);
    } else {
      Programs().OpenWithDefault(output);
    }
  });
  if (!started) {
    ::rmdir(pattern.c_str());
    Prompts().ShowMessage(cannotStart, MessageKind::kError);
  }
  return started;
}

}  // namespace vornel
