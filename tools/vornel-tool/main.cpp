// vornel-tool COMMAND ARGS...: developer commands for tests and reviews.

#include <algorithm>
#include <cstdio>
#include <exception>

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

int main(int argc, char** argv) {
  using namespace vornel::tool;
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
