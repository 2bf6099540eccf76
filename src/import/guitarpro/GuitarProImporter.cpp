#include "import/guitarpro/GuitarProImporter.h"

#include <array>

#include "import/guitarpro/GuitarProDoc.h"

namespace vornel {

namespace {
constexpr std::array<std::string_view, 3> kExtensions = {".gp3", ".gp4", ".gp5"};
}  // namespace

std::span<const std::string_view> GuitarProImporter::Extensions() const { return kExtensions; }

bool GuitarProImporter::TakesSignature(std::span<const uint8_t> head) const { return gp_import::HasSignature(head); }

std::string_view GuitarProImporter::PromptTitle() const { return GuitarProDoc::kPromptTitle; }

std::string_view GuitarProImporter::FilePattern() const { return GuitarProDoc::kFilePattern; }

size_t GuitarProImporter::ImportSections(const std::string& path, CBriotabDoc& doc) const {
  GuitarProDoc importer;
  importer.target = &doc;
  return importer.ImportInto(path) ? 1 : 0;
}

}  // namespace vornel
