#include "shell/console/ConsoleTable.h"

#include <array>

#include "view/commands/CommandTable.h"

namespace vornel::console {

namespace {

constexpr std::array<ConsoleCommand, 15> kLabels = {{
    {32784, "Format staff"},
    {32785, "Delete chord"},
    {32786, "Insert dynamic space"},
    {32787, "Insert static space across the system"},
    {32788, ""},
    {32789, "Overwrite mode"},
    {32790, "Go to previous system"},
    {32791, "Go to next system"},
    {32792, "Cursor auto-advance"},
    {32793, "Chord chart"},
    {32794, "Cursor step right"},
    {32795, "Cursor step back"},
    {32796, "Increase flag value"},
    {32797, "Decrease flag value"},
    {32798, "Dotted note or group of notes"},
}};

constexpr std::array<ConsoleCommand, 14> kButtons = {{
    {32792, "Cursor auto-advance"},
    {32789, "Overwrite mode"},
    {32790, "Go to previous system"},
    {32791, "Go to next system"},
    {32795, "Cursor step back"},
    {32794, "Cursor step right"},
    {32786, "Insert dynamic space"},
    {32787, "Insert static space across the system"},
    {32785, "Delete chord"},
    {32796, "Increase flag value"},
    {32797, "Decrease flag value"},
    {32798, "Dotted note or group of notes"},
    {32793, "Chord chart"},
    {32784, "Format staff"},
}};

constexpr std::string_view kMoreLines[] = {"The output is being displayed in rows of a list view",
                                          "but you can change the way it is displayed as you wish..."};
constexpr std::array<std::string_view, 3> kBuildLines = {"Build output is being displayed here.", kMoreLines[0],
                                                         kMoreLines[1]};
constexpr std::array<std::string_view, 3> kDebugLines = {"Debug output is being displayed here.", kMoreLines[0],
                                                         kMoreLines[1]};
constexpr std::array<std::string_view, 3> kFindLines = {"Find output is being displayed here.", kMoreLines[0],
                                                        kMoreLines[1]};
constexpr std::array<OutputList, 3> kOutputLists = {{
    {2, "Build", kBuildLines},
    {3, "Debug", kDebugLines},
    {4, "Find", kFindLines},
}};

bool IsConsoleCommand(int id) { return id >= kFirstConsoleCommand && id <= kLastConsoleCommand; }

}  // namespace

std::span<const ConsoleCommand> ConsoleButtons() { return kButtons; }

std::string_view ConsoleCommandLabel(int id) {
  for (const ConsoleCommand& command : kLabels) {
    if (command.id == id) return command.label;
  }
  return {};
}

bool RunConsoleCommand(const view::CommandTable* viewCommands, int id) {
  if (viewCommands == nullptr || !IsConsoleCommand(id)) return false;
  return viewCommands->Execute(view::CommandEvent{id, std::nullopt, {}});
}

std::optional<bool> ConsoleCheckState(const view::CommandTable* viewCommands, int id) {
  if (viewCommands == nullptr || (id != kOverwriteMode && id != kCursorAutoAdvance)) return std::nullopt;
  return viewCommands->State(id).checked;
}

std::span<const OutputList> OutputLists() { return kOutputLists; }

}  // namespace vornel::console
