#include "import/text/AbcImporter.h"

#include <array>

#include "import/text/CAbcImport.h"

namespace vornel {

namespace {
constexpr std::array<std::string_view, 1> kExtensions = {".abc"};
}  // namespace

std::span<const std::string_view> AbcImporter::Extensions() const { return kExtensions; }

bool AbcImporter::TakesSignature(std::span<const uint8_t> head) const {
  const std::string_view text(reinterpret_cast<const char*>(head.data()), head.size());
  return text.starts_with("X:") || text.starts_with("%abc") || text.starts_with("%!abc");
}

std::string_view AbcImporter::PromptTitle() const { return CAbcImport::kPromptTitle; }

std::string_view AbcImporter::FilePattern() const { return CAbcImport::kFilePattern; }

size_t AbcImporter::ImportSections(const std::string& path, CBriotabDoc& doc) const {
  CAbcImport abc(doc);
  return abc.ReadAbcFile(path);
}

}  // namespace vornel
