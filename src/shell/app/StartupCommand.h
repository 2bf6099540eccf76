#pragma once
// What the editor opens when it starts: the documents named on the command line, else (when
// the "Open last document" option is set) the newest recent file, a new document from a
// template when the list is empty, or nothing. Decided from plain values, so that every case
// is tested without a window.

#include <string>
#include <vector>

namespace vornel {

enum class StartupAction {
  kOpenFiles,  // each path in its own tab
  kNewDocument,
  kNothing,
};

struct StartupCommand {
  StartupAction action = StartupAction::kNothing;
  std::vector<std::string> paths;
};

// `lastFile` is the recent list's "File1" (empty when there is none) and `lastFileExists`
// whether it names an existing file.
StartupCommand DecideStartupCommand(const std::vector<std::string>& commandLinePaths, bool openLastDocument,
                                    const std::string& lastFile, bool lastFileExists);

// The editor's command line: switches and the documents to open.
struct CommandLine {
  bool showSplash = true;       // --no-splash clears it
  bool reportStartup = false;   // --report-startup: print the start-up times and quit
  std::vector<std::string> paths;
  std::vector<std::string> unknownOptions;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace vornel
