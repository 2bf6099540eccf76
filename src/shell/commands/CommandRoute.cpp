#include "shell/commands/CommandRoute.h"

#include <algorithm>

#include "shell/bars/CommandCatalogue.h"
#include "shell/bars/RibbonTable.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/commands/AreaCommands.h"
#include "shell/commands/CommandIds.h"
#include "shell/commands/FrameCommands.h"
#include "shell/library/DocumentGroupPane.h"
#include "shell/palettes/PaletteCommands.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewIds.h"

namespace vornel {

namespace {

void AddMenuIds(const std::vector<view::MenuItem>& items, std::vector<int>& ids) {
  for (const view::MenuItem& item : items) {
    if (item.id != 0) ids.push_back(item.id);
    AddMenuIds(item.items, ids);
  }
}

}  // namespace

void FillFrameTables(view::CommandTable& application, view::CommandTable& frame, const FrameTargets& targets) {
  AddApplicationCommands(application, targets.app, targets.windows);
  AddAreaApplicationCommands(application);
  AddFrameCommands(frame, targets.controls, targets.app, targets.metronome);
  palettes::AddPaletteCommands(frame, targets.palettes);
  AddDocumentGroupCommands(frame, targets.documentGroups);
}

void FillDocumentTable(view::CommandTable& document, CVornelTabApp& app, DocumentWindows& windows,
                       CVornelTabDoc& doc, MidiOutStream* viewPlayer) {
  AddDocumentCommands(document, app, windows, doc);
  AddAreaDocumentCommands(document, app, doc, viewPlayer);
}

Reach ReachOf(std::span<const view::CommandTable* const> route, int id) {
  for (const view::CommandTable* table : route) {
    if (table == nullptr) continue;
    if (const view::CommandTable::Entry* entry = table->Find(id)) {
      return entry->run ? Reach::kHandled : Reach::kPlaceholder;
    }
  }
  return Reach::kNotCarried;
}

std::vector<int> WindowCommandIds() {
  std::vector<int> ids = bars::RibbonCommandIds();
  for (const int id : bars::ToolbarCommandIds()) ids.push_back(id);
  // The tool bars' context menu.
  for (const int id : {commands::kPropertiesView, commands::kOutputView, commands::kCustomize}) ids.push_back(id);
  // The score view's selection and score menus.
  for (const int menu : {view::kSelectionMenu, view::kScoreMenu}) AddMenuIds(view::CBriotabView::ContextMenu(menu), ids);
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

std::vector<UnreachedCommand> UnreachedCommands(std::span<const view::CommandTable* const> route,
                                                std::span<const int> ids) {
  std::vector<UnreachedCommand> unreached;
  for (const int id : ids) {
    const Reach reach = ReachOf(route, id);
    if (reach == Reach::kHandled) continue;
    const bars::PendingCommands* entry = bars::FindPendingCommand(id);
    unreached.push_back({id, reach, entry != nullptr ? std::string(entry->reason) : std::string()});
  }
  return unreached;
}

}  // namespace vornel
