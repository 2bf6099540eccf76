#include "shell/ui/MenuCommandIds.h"

#include <wx/window.h>

namespace vornel {

namespace {

constexpr int kLargestMenuId = 0x7FFE;

}  // namespace

MenuCommandIds::~MenuCommandIds() {
  for (const auto& [command, windowId] : windowIds_) wxWindow::UnreserveControlId(windowId);
}

int MenuCommandIds::ToWindowId(int command) {
  if (command >= 0 && command <= kLargestMenuId) return command;
  if (const auto found = windowIds_.find(command); found != windowIds_.end()) return found->second;
  const int windowId = wxWindow::NewControlId();
  windowIds_.emplace(command, windowId);
  commands_.emplace(windowId, command);
  return windowId;
}

int MenuCommandIds::ToCommand(int windowId) const {
  const auto found = commands_.find(windowId);
  return found == commands_.end() ? windowId : found->second;
}

}  // namespace vornel
