#pragma once
// Menus built from the ribbon's table: the menus buttons open, a button's sub-items and the
// recent documents. Their items send commands through the main window's menu ids; a heading
// is a disabled line and a command that shows a check mark is a check item.

#include <memory>
#include <vector>

#include "shell/bars/RibbonTable.h"

class wxMenu;

namespace vornel {

class BarCommands;

std::unique_ptr<wxMenu> BuildCommandMenu(const std::vector<bars::RibbonItem>& items, BarCommands& commands);
// The recent documents, "&1 path" first; an empty list gives one disabled line.
std::unique_ptr<wxMenu> BuildRecentFilesMenu(BarCommands& commands);

}  // namespace vornel
