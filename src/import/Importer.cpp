#include "import/Importer.h"

#include <vector>

#include "document/CBriotabDoc.h"
#include "import/text/TextImportSupport.h"
#include "platform/BuildBudget.h"
#include "platform/UserPrompts.h"

namespace vornel {

size_t Importer::Import(const std::string& path, CBriotabDoc& doc) const {
  BuildBudget budget = BuildBudget::OfFile(path);
  const size_t sectionsBefore = doc.sections.size();
  const CSystemArray* activeBefore = ActiveSectionOf(doc);
  try {
    const ScopedBuildBudget scope(budget);
    return ImportSections(path, doc);
  } catch (const BuildBudgetExceeded& exceeded) {
    // What the reading appended goes again; the document is as it was.
    std::vector<CSystemArray*> added;
    for (size_t i = sectionsBefore; i < doc.sections.size(); ++i) added.push_back(doc.sections.at(i));
    RemoveSections(doc, added, activeBefore);
    doc.UpdateSectionList();
    Prompts().ShowMessage(path + ":\n" + exceeded.what(), MessageKind::kError);
    return 0;
  }
}

}  // namespace vornel
