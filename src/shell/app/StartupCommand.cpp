#include "shell/app/StartupCommand.h"

namespace vornel {

StartupCommand DecideStartupCommand(const std::vector<std::string>& commandLinePaths, bool openLastDocument,
                                    const std::string& lastFile, bool lastFileExists) {
  if (!commandLinePaths.empty()) return {StartupAction::kOpenFiles, commandLinePaths};
  if (!openLastDocument) return {};
  if (lastFile.empty()) return {StartupAction::kNewDocument, {}};
  if (!lastFileExists) return {};
  return {StartupAction::kOpenFiles, {lastFile}};
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument == "--no-splash") {
      line.showSplash = false;
    } else if (!optionsEnded && argument == "--report-startup") {
      line.reportStartup = true;
    } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      line.unknownOptions.push_back(argument);
    } else if (!argument.empty()) {
      line.paths.push_back(argument);
    }
  }
  return line;
}

}  // namespace vornel
