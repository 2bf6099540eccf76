#include "import/ImportedDocument.h"

#include <filesystem>

#include "document/CBriotabDoc.h"
#include "model/score/CSystemArray.h"
#include "platform/text/TextEdits.h"

namespace vornel {

void TitleImportedDocument(CBriotabDoc& doc, size_t added, const std::string& path) {
  std::string& title = doc.settings.Text(CDocumentSettings::kTitle).text;
  if (added == 0 || added > doc.sections.size() || !TrimBlanks(title).empty()) return;
  const std::string& first = doc.sections.at(doc.sections.size() - added)->Title().text;
  if (!TrimBlanks(first).empty() && first != CSystemArray::kNewTitle && first != "Section title") {
    title = first;
    return;
  }
  std::filesystem::path name(path);
  if (!name.has_filename()) name = name.parent_path();  // a folder given with its last slash
  title = name.stem().string();
}

}  // namespace vornel
