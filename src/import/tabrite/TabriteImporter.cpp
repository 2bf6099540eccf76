#include "import/tabrite/TabriteImporter.h"

#include <array>

#include "document/SectionWizard.h"
#include "import/tabrite/TabriteImport.h"
#include "import/text/TextImportSupport.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {
constexpr std::array<std::string_view, 1> kExtensions = {".bjo"};
}  // namespace

std::span<const std::string_view> TabriteImporter::Extensions() const { return kExtensions; }

bool TabriteImporter::TakesSignature(std::span<const uint8_t>) const { return false; }

std::string_view TabriteImporter::PromptTitle() const { return TabriteImport::kPromptTitle; }

std::string_view TabriteImporter::FilePattern() const { return TabriteImport::kFilePattern; }

size_t TabriteImporter::ImportSections(const std::string& path, CBriotabDoc& doc) const { return ImportTabriteFile(path, doc); }

size_t ImportTabriteFile(const std::string& path, CBriotabDoc& doc) {
  const ImportReport report(path);
  const std::optional<std::string> bytes = OpenImportFile(path, TabriteImport::kOpenFailedMessage);
  if (!bytes) return 0;
  if (AddSectionWithWizard(doc) == nullptr) return 0;
  TabriteImport tabrite(doc);
  tabrite.SetSource(path);
  tabrite.ReadText(*bytes);
  return 1;
}

}  // namespace vornel
