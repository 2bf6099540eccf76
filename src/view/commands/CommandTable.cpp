#include "view/commands/CommandTable.h"

#include <algorithm>
#include <exception>
#include <string>

#include "platform/UserPrompts.h"

namespace vornel::view {

CommandTable& CommandTable::Add(int id, Run run, Rule enabled, Rule checked) {
  IdRule enabledById;
  IdRule checkedById;
  if (enabled) enabledById = [rule = std::move(enabled)](int) { return rule(); };
  if (checked) checkedById = [rule = std::move(checked)](int) { return rule(); };
  return AddRange(id, id, std::move(run), std::move(enabledById), std::move(checkedById));
}

CommandTable& CommandTable::AddRange(int first, int last, Run run, IdRule enabled, IdRule checked) {
  if (first > last) std::swap(first, last);
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [&](const Entry& e) { return e.first == first && e.last == last; }),
                 entries_.end());
  entries_.push_back(Entry{first, last, std::move(run), std::move(enabled), std::move(checked)});
  return *this;
}

const CommandTable::Entry* CommandTable::Find(int id) const {
  // Later entries win, so an Add after a range overrides one id of it.
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (id >= it->first && id <= it->last) return &*it;
  }
  return nullptr;
}

std::vector<int> CommandTable::Ids() const {
  std::vector<int> ids;
  for (const Entry& e : entries_) {
    for (int id = e.first; id <= e.last; ++id) ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

CommandState CommandTable::State(int id) const {
  CommandState state;
  const Entry* entry = Find(id);
  if (entry == nullptr) return state;
  state.handled = true;
  state.enabled = entry->run && (!entry->enabled || entry->enabled(id));
  if (entry->checked) state.checked = entry->checked(id);
  return state;
}

bool CommandTable::Execute(const CommandEvent& event) const {
  const Entry* entry = Find(event.id);
  if (entry == nullptr || !State(event.id).enabled) return false;
  const Run& run = entry->run;
  const auto call = [&run, &event] { run(event); };
  if (guard_) {
    // A guard that throws must not take the window down either.
    ReportCommandFailures(event, [&] { guard_(event, call); });
  } else {
    ReportCommandFailures(event, call);
  }
  return true;
}

void ReportCommandFailures(const CommandEvent&, const std::function<void()>& run) {
  try {
    run();
  } catch (const std::exception& e) {
    Prompts().ShowMessage(e.what(), MessageKind::kError);
  } catch (...) {
    Prompts().ShowMessage("An unexpected error occurred.", MessageKind::kError);
  }
}

const CommandTable* CommandRouter::Owner(int id) const {
  for (const CommandTable* table : route_) {
    if (table != nullptr && table->Contains(id)) return table;
  }
  return nullptr;
}

bool CommandRouter::Dispatch(const CommandEvent& event) const {
  const CommandTable* owner = Owner(event.id);
  return owner != nullptr && owner->Execute(event);
}

CommandState CommandRouter::State(int id) const {
  const CommandTable* owner = Owner(id);
  return owner != nullptr ? owner->State(id) : CommandState{};
}

}  // namespace vornel::view
