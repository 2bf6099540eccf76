// ribbon [--unhandled]: the ribbon's table (page, panel, kind, id, label, menu), or with the
// option the command ids of the windows that no command target carries, with the reason.

#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "shell/bars/CommandCatalogue.h"
#include "shell/bars/RibbonTable.h"
#include "shell/commands/HeadlessCommandTargets.h"

namespace vornel::tool {

namespace {

int Ribbon(const CommandArguments& args) {
  if (args.empty()) {
    std::fputs(bars::RibbonDump().c_str(), stdout);
    return 0;
  }
  if (args.size() != 1 || args[0] != "--unhandled") return PrintUsage("ribbon");
  const HeadlessCommandTargets targets;
  const auto carriers = targets.Targets();
  int unexplained = 0;
  for (const bars::UncarriedCommand& command : bars::UncarriedCommands(carriers)) {
    const std::string label = bars::CommandLabel(command.id);
    std::printf("%d\t%s\t%s\n", command.id, label.c_str(),
                command.reason.empty() ? "NOT ACCOUNTED FOR" : command.reason.c_str());
    if (command.reason.empty()) ++unexplained;
  }
  return unexplained == 0 ? 0 : 1;
}

const ToolCommand registration("ribbon", "ribbon [--unhandled]",
                               "print the ribbon's table, or the commands of the windows without a handler and why",
                               Ribbon);

}  // namespace

}  // namespace vornel::tool
