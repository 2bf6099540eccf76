#include "view/commands/ExportCommands.h"

#include "layout/export/DocumentExports.h"

namespace vornel::view {

void RegisterExportCommands(CommandTable& table, CBriotabDoc& doc) {
  table.Add(kExportTabFormatCommand, [&doc](const CommandEvent&) { OnExportTabFormat(doc); });
  table.Add(kExportBrailleTabCommand, [&doc](const CommandEvent&) { OnExportBrailleTab(doc); });
  table.Add(kExportSectionMusicXmlCommand, [&doc](const CommandEvent&) { OnExportSectionMusicXml(doc); });
}

}  // namespace vornel::view
