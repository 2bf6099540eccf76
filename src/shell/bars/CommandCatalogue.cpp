#include "shell/bars/CommandCatalogue.h"

#include <array>

#include "view/commands/CommandTable.h"

namespace vornel::bars {

namespace {

constexpr std::string_view kScoreView = "comes with the score view";
constexpr std::string_view kMidi = "comes with MIDI playback";
constexpr std::string_view kDocumentCommands = "comes with the document files, groups and associations";
constexpr std::string_view kSettingsDialogs = "comes with the book, page and instrument dialogs";
constexpr std::string_view kTitlePageView = "carried by the title-page view";

constexpr PendingCommands Later(int first, int last, std::string_view reason) {
  return {first, last, Availability::kLater, reason};
}
constexpr PendingCommands Later(int id, std::string_view reason) { return Later(id, id, reason); }
// Carried while the title-page view is the active view, disabled beside the score.
constexpr PendingCommands TitlePageView(int id) { return {id, id, Availability::kOtherView, kTitlePageView}; }

// By id; a range may hold ids the windows never send.
constexpr auto kCatalogue = std::to_array<PendingCommands>({
    Later(32826, kMidi),
    Later(32980, 32986, kScoreView),
    Later(33000, 33001, kScoreView),
    Later(33003, kScoreView),
    Later(33006, 33007, kScoreView),
    Later(33010, kSettingsDialogs),
    Later(33064, kScoreView),
    Later(33108, kScoreView),
    Later(33176, kScoreView),
    TitlePageView(33178),
    Later(33181, kSettingsDialogs),
    Later(33182, kScoreView),
    Later(33192, 33193, kScoreView),
    Later(33206, 33209, kScoreView),
    Later(33256, 33257, kScoreView),
    Later(33291, kScoreView),
    Later(33297, 33298, kScoreView),
    Later(33301, kScoreView),
    Later(33632, 33633, kScoreView),
    Later(33805, 33811, kScoreView),
    Later(33986, kScoreView),
    TitlePageView(34076),
    TitlePageView(34078),
    Later(34086, kScoreView),
    Later(34088, kScoreView),
    Later(34090, kScoreView),
    Later(34254, kScoreView),
    Later(34262, kScoreView),
    Later(34275, kScoreView),
    Later(34305, 34306, kScoreView),
    Later(57612, kDocumentCommands),
    Later(57636, kScoreView),
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
