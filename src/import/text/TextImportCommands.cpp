#include "import/text/TextImportCommands.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "document/CBriotabDoc.h"
#include "import/ImportedDocument.h"
#include "import/ft2/Ft2Import.h"
#include "import/ft2/Ft2Importer.h"
#include "import/tab/TabImport.h"
#include "import/tab/TabImporter.h"
#include "import/tabrite/TabriteImport.h"
#include "import/tabrite/TabriteImporter.h"
#include "import/text/CAbcImport.h"
#include "import/text/TextImportSupport.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

constexpr std::string_view kTabFolderTitle = "Select a folder of tab files";

// The end of every import command: an untitled document takes a title, and the sections pane
// and the views show the new sections.
size_t Refresh(CBriotabDoc& doc, size_t added, const std::string& path) {
  TitleImportedDocument(doc, added, path);
  if (added > 0) doc.SetModifiedFlag();
  doc.UpdateSectionList();
  doc.UpdateAllViews(kHintRepaintAll);
  return added;
}

std::optional<std::vector<std::string>> PromptFolderFiles(std::string_view title, std::string_view extension) {
  const std::optional<std::string> folder = Prompts().PromptFolder(title);
  if (!folder) return std::nullopt;
  std::vector<std::string> files = ListFolderFiles(*folder, extension);
  if (files.empty()) {
    Prompts().ShowMessage(kNoFilesMessage, MessageKind::kInformation);
    return std::nullopt;
  }
  return files;
}

}  // namespace

size_t OnImportAbcFile(CBriotabDoc& doc) {
  const std::optional<std::string> path = Prompts().PromptOpenFile(CAbcImport::kPromptTitle, CAbcImport::kFilePattern);
  if (!path) return 0;
  CAbcImport abc(doc);
  return Refresh(doc, abc.ReadAbcFile(*path), *path);
}

size_t OnImportTabFile(CBriotabDoc& doc) {
  const std::optional<std::string> path = Prompts().PromptOpenFile(TabImport::kPromptTitle, TabImport::kFilePattern);
  if (!path) return 0;
  return Refresh(doc, ImportTabFile(*path, doc), *path);
}

size_t OnImportTabFolder(CBriotabDoc& doc) {
  const std::optional<std::vector<std::string>> files = PromptFolderFiles(kTabFolderTitle, ".tab");
  if (!files) return 0;
  return Refresh(doc, ImportTabFiles(*files, doc), std::filesystem::path(files->front()).parent_path().string());
}

size_t OnImportTabrite(CBriotabDoc& doc) {
  const std::optional<std::string> path =
      Prompts().PromptOpenFile(TabriteImport::kPromptTitle, TabriteImport::kFilePattern);
  if (!path) return 0;
  return Refresh(doc, ImportTabriteFile(*path, doc), *path);
}

size_t OnImportFt2Folder(CBriotabDoc& doc) {
  const std::optional<std::vector<std::string>> files = PromptFolderFiles(Ft2Import::kPromptTitle, ".ft2");
  if (!files) return 0;
  return Refresh(doc, ImportFt2Files(*files, doc), std::filesystem::path(files->front()).parent_path().string());
}

size_t ImportFolder(const std::string& folder, CBriotabDoc& doc) {
  if (const std::vector<std::string> tabs = ListFolderFiles(folder, ".tab"); !tabs.empty()) {
    return ImportTabFiles(tabs, doc);
  }
  if (const std::vector<std::string> ft2 = ListFolderFiles(folder, ".ft2"); !ft2.empty()) {
    return ImportFt2Files(ft2, doc);
  }
  Prompts().ShowMessage(kNoFilesMessage, MessageKind::kInformation);
  return 0;
}

}  // namespace vornel
