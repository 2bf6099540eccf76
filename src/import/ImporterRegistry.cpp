#include <cstdio>

#include "import/ImportedDocument.h"
#include "import/Importer.h"
#include "import/ft2/Ft2Importer.h"
#include "import/guitarpro/GuitarProImporter.h"
#include "import/musicxml/MusicXmlImporter.h"
#include "import/tab/TabImporter.h"
#include "import/tabrite/TabriteImporter.h"
#include "import/text/AbcImporter.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"

namespace vornel {

namespace {

// The first bytes of a regular file; empty when it cannot be read.
std::vector<uint8_t> FileHead(const std::string& path) {
  std::vector<uint8_t> head(Importer::kSignatureBytes);
  std::FILE* file = OpenFileForReading(path);
  if (file == nullptr) return {};
  head.resize(std::fread(head.data(), 1, head.size(), file));
  std::fclose(file);
  return head;
}

}  // namespace

const std::vector<std::unique_ptr<Importer>>& Importers() {
  static const std::vector<std::unique_ptr<Importer>> importers = [] {
    std::vector<std::unique_ptr<Importer>> list;
    // One line per format.
    list.push_back(MakeMusicXmlImporter());
    list.push_back(std::make_unique<AbcImporter>());
    list.push_back(std::make_unique<TabImporter>());
    list.push_back(std::make_unique<TabriteImporter>());
    list.push_back(std::make_unique<Ft2Importer>());
    list.push_back(std::make_unique<GuitarProImporter>());
    return list;
  }();
  return importers;
}

const Importer* FindImporter(const std::string& path) {
  for (const auto& importer : Importers()) {
    for (const std::string_view extension : importer->Extensions()) {
      if (EndsWithNoCase(path, extension)) return importer.get();
    }
  }
  const std::vector<uint8_t> head = FileHead(path);
  if (head.empty()) return nullptr;
  for (const auto& importer : Importers()) {
    if (importer->TakesSignature(head)) return importer.get();
  }
  return nullptr;
}

size_t ImportFile(const Importer& importer, const std::string& path, CBriotabDoc& doc) {
  const size_t added = importer.Import(path, doc);
  TitleImportedDocument(doc, added, path);
  return added;
}

size_t PromptAndImport(const Importer& importer, CBriotabDoc& doc) {
  const std::optional<std::string> path = Prompts().PromptOpenFile(importer.PromptTitle(), importer.FilePattern());
  if (!path) return 0;
  return ImportFile(importer, *path, doc);
}

}  // namespace vornel
