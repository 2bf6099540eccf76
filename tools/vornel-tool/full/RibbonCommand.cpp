// ribbon [--unhandled]: the ribbon's table (page, panel, kind, id, label, menu), or with the
// option the command ids of the windows that no handler of the editor's command route reaches,
// with the reason.

#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "shell/bars/CommandCatalogue.h"
#include "shell/bars/RibbonTable.h"
#include "shell/commands/CommandRoute.h"
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
  const std::vector<const view::CommandTable*> route = targets.Route();
  const std::vector<int> ids = WindowCommandIds();
  int unexplained = 0;
  for (const UnreachedCommand& command : UnreachedCommands(route, ids)) {
    const std::string label = bars::CommandLabel(command.id);
    std::string reason = command.reason;
    if (reason.empty() && command.reach == Reach::kPlaceholder) reason = "NOT ACCOUNTED FOR: carried without a handler";
    if (reason.empty()) reason = "NOT ACCOUNTED FOR";
    std::printf("%d\t%s\t%s\n", command.id, label.c_str(), reason.c_str());
    if (command.reason.empty()) ++unexplained;
  }
  return unexplained == 0 ? 0 : 1;
}

const ToolCommand registration("ribbon", "ribbon [--unhandled]",
                               "print the ribbon's table, or the commands of the windows no handler reaches and why",
                               Ribbon);

}  // namespace

}  // namespace vornel::tool
