#include "shell/commands/AreaCommands.h"

#include "document/CVornelTabDoc.h"
#include "view/commands/CommandTable.h"
#include "view/commands/ExportCommands.h"

namespace vornel {

void AddAreaApplicationCommands(view::CommandTable& /*application*/) {
  // One line per area, in the order of the layers.
}

void AddAreaDocumentCommands(view::CommandTable& document, CVornelTabDoc& doc) {
  // One line per area, in the order of the layers.
  view::RegisterExportCommands(document, doc);  // layout: TAB, Braille and MusicXML exports
}

}  // namespace vornel
