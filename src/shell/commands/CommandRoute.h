#pragma once
// The editor's command route, filled in one place for the main frame and its tabs and for the
// tools that ask what the windows reach: the application's table, the main frame's (its own
// commands, the palettes' and the document groups'), each document's (the framework's and the
// areas') and, last, the catalogue of commands still to come. The router asks the active view
// first, then the document, the tab, the main frame and the application.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "view/commands/CommandTable.h"

namespace vornel {

class CVornelTabApp;
class CVornelTabDoc;
class DocumentWindows;
class FrameControls;
class Metronome;
class MidiOutStream;

namespace palettes {
class PaletteTarget;
}

// What the main frame's commands act on.
struct FrameTargets {
  DocumentWindows& windows;
  FrameControls& controls;
  CVornelTabApp& app;
  Metronome& metronome;
  palettes::PaletteTarget& palettes;
  // The document groups pane's commands, run on its selection.
  std::function<void(int id)> documentGroups;
};

void FillFrameTables(view::CommandTable& application, view::CommandTable& frame, const FrameTargets& targets);
// A document's table; `viewPlayer` is the player of its score view, when it has one.
void FillDocumentTable(view::CommandTable& document, CVornelTabApp& app, DocumentWindows& windows,
                       CVornelTabDoc& doc, MidiOutStream* viewPlayer);

// How a command is reached on a route (its targets in routing order, the catalogue last):
// nobody carries it; the first target that does only shows it (disabled, no handler: the
// catalogue's entries, a palette button whose view is not routed); or a handler runs it.
enum class Reach { kNotCarried, kPlaceholder, kHandled };
Reach ReachOf(std::span<const view::CommandTable* const> route, int id);

// Every command id a user sends from the windows: the ribbon and its menus, the tool bars and
// their menus, the bars' context menu and the score view's context menus; ascending, each once.
std::vector<int> WindowCommandIds();

struct UnreachedCommand {
  int id = 0;
  Reach reach = Reach::kNotCarried;
  std::string reason;  // the catalogue's; empty when it says nothing of the id
};
// The ids of `ids` that no handler of `route` runs, with the reason.
std::vector<UnreachedCommand> UnreachedCommands(std::span<const view::CommandTable* const> route,
                                                std::span<const int> ids);

}  // namespace vornel
