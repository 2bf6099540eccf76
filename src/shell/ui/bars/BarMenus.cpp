#include "shell/ui/bars/BarMenus.h"

#include <wx/menu.h>

#include "shell/commands/CommandIds.h"
#include "shell/ui/bars/BarCommands.h"
#include "view/commands/Accelerators.h"

namespace vornel {

namespace {

wxString MenuText(const std::string& label, int id = 0) {
  // The menu shows the label itself with its mnemonic, and the command's keys; a tool tip part
  // does not belong there.
  const std::string shown = view::WithAcceleratorKeys(id, label.substr(0, label.find('\n')));
  return wxString::FromUTF8(shown.data(), shown.size());
}

void AddItems(wxMenu& menu, const std::vector<bars::RibbonItem>& items, BarCommands& commands) {
  for (const bars::RibbonItem& item : items) {
    if (item.IsSeparator()) {
      menu.AppendSeparator();
    } else if (!item.submenu.empty()) {
      auto* sub = new wxMenu;
      AddItems(*sub, item.submenu, commands);
      menu.AppendSubMenu(sub, MenuText(item.label));
    } else if (item.id == 0) {
      menu.Append(wxID_ANY, MenuText(item.label))->Enable(false);
    } else if (commands.StateOf(item.id).checked) {
      menu.AppendCheckItem(commands.MenuId(item.id), MenuText(item.label, item.id));
    } else {
      menu.Append(commands.MenuId(item.id), MenuText(item.label, item.id));
    }
  }
}

}  // namespace

std::unique_ptr<wxMenu> BuildCommandMenu(const std::vector<bars::RibbonItem>& items, BarCommands& commands) {
  auto menu = std::make_unique<wxMenu>();
  AddItems(*menu, items, commands);
  return menu;
}

std::unique_ptr<wxMenu> BuildRecentFilesMenu(BarCommands& commands) {
  auto menu = std::make_unique<wxMenu>();
  const std::vector<std::string> paths = commands.RecentFiles();
  for (size_t i = 0; i < paths.size() && i < 12; ++i) {
    wxString path = wxString::FromUTF8(paths[i].data(), paths[i].size());
    path.Replace("&", "&&", true);
    menu->Append(commands.MenuId(commands::kFirstRecentFile + static_cast<int>(i)),
                 wxString::Format("&%zu ", i + 1) + path);
  }
  if (paths.empty()) menu->Append(wxID_ANY, "Recent Documents")->Enable(false);
  return menu;
}

}  // namespace vornel
