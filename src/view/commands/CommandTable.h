#pragma once
// Commands are reached by their numeric ids from menus, the ribbon, tool bars, keys, context
// menus, tools and tests alike. Each command target (the active view, its document, the child
// frame, the main frame, the application) keeps a table of the ids it carries, with a handler,
// an enable rule and a check rule; a router asks the targets in that order, as the windows
// route their commands, so every entry point reaches the same code.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vornel::view {

// One command as it arrives: its id, and the value or text a slider, spin box or combo box
// sends with it.
struct CommandEvent {
  int id = 0;
  std::optional<long> value;
  std::string text;
};

// What a menu item, button or check box shows for a command.
struct CommandState {
  bool handled = false;          // some target carries the id
  bool enabled = false;
  std::optional<bool> checked;   // nothing: the command has no check mark
};

class CommandTable {
 public:
  using Run = std::function<void(const CommandEvent&)>;
  using Rule = std::function<bool()>;
  // Wraps every handler of the table: reports failures, restores state, takes snapshots.
  using Guard = std::function<void(const CommandEvent&, const std::function<void()>& run)>;

  using IdRule = std::function<bool(int id)>;

  struct Entry {
    int first = 0;  // an entry covers the ids first..last; the handler reads the id from the event
    int last = 0;
    Run run;        // empty: carried but not available (shown disabled)
    IdRule enabled; // empty: always enabled
    IdRule checked; // empty: no check mark
  };

  // Adds a command; a later entry for the same id replaces the earlier one.
  CommandTable& Add(int id, Run run, Rule enabled = {}, Rule checked = {});
  // One handler for a run of ids (palette buttons, ornament kinds ...); rules take the id.
  CommandTable& AddRange(int first, int last, Run run, IdRule enabled = {}, IdRule checked = {});
  void SetGuard(Guard guard) { guard_ = std::move(guard); }

  const Entry* Find(int id) const;
  bool Contains(int id) const { return Find(id) != nullptr; }
  // Every id the table carries, ascending.
  std::vector<int> Ids() const;

  // The state of a carried id; `handled` is false for one the table does not carry.
  CommandState State(int id) const;
  // Runs the command when the table carries it and it is enabled; returns whether it ran.
  // The guard, or without one the default guard, sees every exception of the handler.
  bool Execute(const CommandEvent& event) const;

 private:
  std::vector<Entry> entries_;
  Guard guard_;
};

// The default guard: runs the handler and shows any exception it throws as an error message
// through the prompts, so no exception leaves a command.
void ReportCommandFailures(const CommandEvent& event, const std::function<void()>& run);

// Asks the targets in routing order; the first table that carries an id owns it.
class CommandRouter {
 public:
  void SetRoute(std::vector<const CommandTable*> route) { route_ = std::move(route); }
  const std::vector<const CommandTable*>& Route() const { return route_; }

  // Runs the command on the first target that carries it; false when none carries it or it
  // is disabled there.
  bool Dispatch(const CommandEvent& event) const;
  bool Dispatch(int id) const { return Dispatch(CommandEvent{id, std::nullopt, {}}); }
  CommandState State(int id) const;

 private:
  const CommandTable* Owner(int id) const;
  std::vector<const CommandTable*> route_;
};

}  // namespace vornel::view
