#pragma once
// The keyboard console's editing buttons and the output pane's fixed lists. The console's
// buttons act on the active score view only: its own command table runs them and gives the
// check marks of "Overwrite mode" and "Cursor auto-advance"; without a view they do nothing.

#include <optional>
#include <span>
#include <string_view>

namespace vornel::view {
class CommandTable;
}

namespace vornel::console {

struct ConsoleCommand {
  int id;
  std::string_view label;
};

inline constexpr int kFirstConsoleCommand = 32784;
inline constexpr int kLastConsoleCommand = 32798;
inline constexpr int kOverwriteMode = 32789;
inline constexpr int kCursorAutoAdvance = 32792;

// The console bar's fourteen buttons, left to right.
std::span<const ConsoleCommand> ConsoleButtons();
// The name of a console command (32784-32798); empty for 32788 and other ids.
std::string_view ConsoleCommandLabel(int id);

// Runs a console command through the view's own commands; false when there is no view, the
// id is not a console command or the view does not run it.
bool RunConsoleCommand(const view::CommandTable* viewCommands, int id);
// The check mark a console button shows: the view's for 32789 and 32792; nothing otherwise or
// without a view (the button keeps what it shows).
std::optional<bool> ConsoleCheckState(const view::CommandTable* viewCommands, int id);

// The output pane: three lists, each with its fixed lines.
struct OutputList {
  int id;                  // the list's window id
  std::string_view name;   // its tab
  std::span<const std::string_view> lines;
};
std::span<const OutputList> OutputLists();
// The output lists' context menu.
inline constexpr int kOutputCopy = 57634;
inline constexpr int kOutputClear = 57632;
inline constexpr int kOutputHide = 149;

}  // namespace vornel::console
