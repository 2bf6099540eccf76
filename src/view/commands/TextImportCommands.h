#pragma once
// The document's commands that import text and tablature files, in a command table: 33174
// (ABC), 33280 (TAB file), 33419 (TAB folder), 33281 (Tabrite) and 33087 (folder of ".ft2"
// files), always enabled.

#include "view/commands/CommandTable.h"

namespace vornel {
class CBriotabDoc;
}

namespace vornel::view {

// `doc` must outlive the table's use of these entries.
void RegisterTextImportCommands(CommandTable& table, CBriotabDoc& doc);

}  // namespace vornel::view
