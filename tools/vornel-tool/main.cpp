// vornel-tool COMMAND ARGS...: developer commands for tests and reviews.
//
// The commands live in two programs so that each starts without loading libraries it does not
// use: this one, when built with VORNEL_TOOL_NEXT, holds the commands of the document, import,
// export and drawing libraries, and hands every other command line (and the usage, which
// lists all commands) to the program of that name beside it, which holds them all.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

#include "ToolCommand.h"
#include "platform/text/NumberText.h"
#include "platform/UserPrompts.h"
#include "shell/app/AutoSave.h"

namespace vornel::tool {

namespace {

std::vector<RegisteredCommand>& Registry() {
  static std::vector<RegisteredCommand> commands;
  return commands;
}

int Usage() {
  std::fprintf(stderr, "usage: vornel-tool COMMAND [ARGS...]\n\ncommands:\n");
  auto commands = Registry();
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  for (const auto& c : commands) std::fprintf(stderr, "  %-40s %s\n", c.usage.c_str(), c.summary.c_str());
  return 2;
}

}  // namespace

ToolCommand::ToolCommand(std::string name, std::string usage, std::string summary, CommandFunction run) {
  Registry().push_back({std::move(name), std::move(usage), std::move(summary), std::move(run)});
}

const std::vector<RegisteredCommand>& Commands() { return Registry(); }

bool ReadNumberOption(const CommandArguments& args, size_t& i, int32_t low, int32_t high, int32_t& value) {
  if (i + 1 >= args.size()) return false;
  uint32_t scanned = 0;
  if (!ScanInt(args[++i], scanned)) return false;
  value = static_cast<int32_t>(scanned);
  return value >= low && value <= high;
}

int PrintUsage(std::string_view name) {
  for (const auto& command : Commands()) {
    if (command.name == name) std::fprintf(stderr, "usage: vornel-tool %s\n", command.usage.c_str());
  }
  return 2;
}

}  // namespace vornel::tool

#ifdef VORNEL_TOOL_NEXT
namespace {

// Runs the program that holds every command, from the folder of this one, with the same
// arguments; returns only when it cannot be started.
int RunNext(char** argv) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::string next = (self.parent_path() / VORNEL_TOOL_NEXT).string();
  argv[0] = const_cast<char*>(next.c_str());
  execv(next.c_str(), argv);
  std::fprintf(stderr, "vornel-tool: cannot start %s: %s\n", next.c_str(), std::strerror(errno));
  return 2;
}

}  // namespace
#endif

int main(int argc, char** argv) {
  using namespace vornel::tool;
#ifdef VORNEL_TOOL_NEXT
  const bool held = argc >= 2 && std::any_of(Commands().begin(), Commands().end(),
                                             [&](const RegisteredCommand& c) { return c.name == argv[1]; });
  if (!held) return RunNext(argv);
#endif
  if (argc < 2) return Usage();
  vornel::StartTemporaryJournal();
  const std::string name = argv[1];
  for (const auto& command : Commands()) {
    if (command.name != name) continue;
    try {
      return command.run(CommandArguments(argv + 2, argv + argc));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "vornel-tool %s: %s\n", name.c_str(), e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "vornel-tool: unknown command '%s'\n\n", name.c_str());
  return Usage();
}
