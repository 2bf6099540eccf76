#include "view/commands/TextImportCommands.h"

#include "import/text/TextImportCommands.h"

namespace vornel::view {

void RegisterTextImportCommands(CommandTable& table, CBriotabDoc& doc) {
  table.Add(kImportAbcFileCommand, [&doc](const CommandEvent&) { OnImportAbcFile(doc); });
  table.Add(kImportTabFileCommand, [&doc](const CommandEvent&) { OnImportTabFile(doc); });
  table.Add(kImportTabFolderCommand, [&doc](const CommandEvent&) { OnImportTabFolder(doc); });
  table.Add(kImportTabriteCommand, [&doc](const CommandEvent&) { OnImportTabrite(doc); });
  table.Add(kImportFt2FolderCommand, [&doc](const CommandEvent&) { OnImportFt2Folder(doc); });
}

}  // namespace vornel::view
