#include "shell/bars/CommandCatalogue.h"

#include <array>

#include "view/commands/CommandTable.h"

namespace vornel::bars {

namespace {

constexpr std::string_view kTitlePageView = "carried by the title-page view";

// Carried while the title-page view is the active view, disabled beside the score.
constexpr PendingCommands TitlePageView(int id) { return {id, id, Availability::kOtherView, kTitlePageView}; }

// By id. Only the title-page view's commands wait here: every other id the windows send has
// its handler (a test of the command route holds that).
constexpr auto kCatalogue = std::to_array<PendingCommands>({
    TitlePageView(33178),
    TitlePageView(34076),
    TitlePageView(34078),
});

}  // namespace

std::span<const PendingCommands> PendingCommandCatalogue() { return kCatalogue; }

const PendingCommands* FindPendingCommand(int id) {
  for (const PendingCommands& entry : kCatalogue) {
    if (id >= entry.first && id <= entry.last) return &entry;
  }
  return nullptr;
}

void AddPendingCommands(view::CommandTable& table) {
  for (const PendingCommands& entry : kCatalogue) table.AddRange(entry.first, entry.last, {});
}

}  // namespace vornel::bars
