#pragma once
// The document's export commands in a command table: 33119 (TAB text), 33045 (Braille text)
// and 33046 (the active section as MusicXML), always enabled.

#include "view/commands/CommandTable.h"

namespace vornel {
class CBriotabDoc;
}

namespace vornel::view {

// `doc` must outlive the table's use of these entries.
void RegisterExportCommands(CommandTable& table, CBriotabDoc& doc);

}  // namespace vornel::view
