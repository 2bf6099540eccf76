#pragma once
// "Edit title page" (32966), a command of the document: the page zoom goes back to 100, the
// document's title-page view opens beside its score through the main frame (FramePanes) and
// the document counts as changed.

#include "view/commands/CommandTable.h"

namespace vornel {

class CBriotabDoc;

namespace view {

// `doc` must outlive the table's use of the entry.
void RegisterTitlePageCommands(CommandTable& table, CBriotabDoc& doc);

}  // namespace view
}  // namespace vornel
