#pragma once
// The commands the windows send whose work is not in this build yet, or that only another view
// of the document carries, each with the reason, in the system's own words. The catalogue is one table added at the end of the command route:
// its entries are carried but never enabled, so their buttons show disabled; once any target
// registers a handler for an id, that target is asked first and the id simply works. The
// coverage check lists every id of the windows that no target carries and that the
// catalogue does not explain.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::view {
class CommandTable;
}

namespace vornel::bars {

enum class Availability {
  kLater,               // its feature is built later
  kNotOnThisPlatform,   // what it needs does not exist here
  kOtherView,           // carried by another view of the document (the title page's)
};

struct PendingCommands {
  int first = 0;
  int last = 0;
  Availability availability = Availability::kLater;
  std::string_view reason;  // "comes with the score view", ...
};

std::span<const PendingCommands> PendingCommandCatalogue();
// The entry explaining `id`, or null.
const PendingCommands* FindPendingCommand(int id);
// Enters every catalogued id into `table` as carried but not available.
void AddPendingCommands(view::CommandTable& table);

// Every command id the windows send: the ribbon and its menus, the tool bars, the keyboard
// console and the tool bars' context menu; ascending, each once.
std::vector<int> WindowCommandIds();

struct UncarriedCommand {
  int id = 0;
  std::string reason;  // empty: neither carried nor explained
};
// The ids of the windows that none of `targets` carries, each with the catalogue's reason.
std::vector<UncarriedCommand> UncarriedCommands(std::span<const view::CommandTable* const> targets);

}  // namespace vornel::bars
