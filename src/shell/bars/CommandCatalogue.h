#pragma once
// The commands the windows send that only another view of the document carries (or that need
// what this platform lacks), each with the reason, in the system's own words. The catalogue is
// one table added at the end of the command route: its entries are carried but never enabled,
// so their buttons show disabled; once any target registers a handler for an id, that target
// is asked first and the id simply works (`shell/commands/CommandRoute.h` tells which ids of
// the windows no handler reaches).

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::view {
class CommandTable;
}

namespace vornel::bars {

enum class Availability {
  kNotOnThisPlatform,   // what it needs does not exist here
  kOtherView,           // carried by another view of the document (the title page's)
};

struct PendingCommands {
  int first = 0;
  int last = 0;
  Availability availability = Availability::kOtherView;
  std::string_view reason;  // "carried by the title-page view", ...
};

std::span<const PendingCommands> PendingCommandCatalogue();
// The entry explaining `id`, or null.
const PendingCommands* FindPendingCommand(int id);
// Enters every catalogued id into `table` as carried but not available.
void AddPendingCommands(view::CommandTable& table);

}  // namespace vornel::bars
