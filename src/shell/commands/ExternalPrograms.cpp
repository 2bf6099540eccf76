#include "shell/commands/ExternalPrograms.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/UserPrompts.h"
#include "shell/files/PathHelpers.h"

namespace vornel {

namespace {

NoProgramLauncher g_noLauncher;
ProgramLauncher* g_launcher = &g_noLauncher;

}  // namespace

bool FindProgram(const std::string& program) {
  if (program.empty()) return false;
  if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
  while (!folders.empty()) {
    const size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    // An empty entry stands for the current folder.
    const std::filesystem::path candidate = std::filesystem::path(folder.empty() ? "." : folder) / program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
  }
  return false;
}

ProgramLauncher& Programs() { return *g_launcher; }

ScopedPrograms::ScopedPrograms(ProgramLauncher& launcher) : previous_(g_launcher) { g_launcher = &launcher; }

ScopedPrograms::~ScopedPrograms() { g_launcher = previous_; }

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
