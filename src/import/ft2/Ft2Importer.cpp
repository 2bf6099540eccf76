#include "import/ft2/Ft2Importer.h"

#include <array>
#include <filesystem>

#include "import/ImportWarnings.h"
#include "import/ft2/Ft2Import.h"

namespace vornel {

namespace {
constexpr std::array<std::string_view, 2> kExtensions = {".ft2", ".ft3"};
}  // namespace

std::span<const std::string_view> Ft2Importer::Extensions() const { return kExtensions; }

bool Ft2Importer::TakesSignature(std::span<const uint8_t>) const { return false; }

std::string_view Ft2Importer::PromptTitle() const { return "Select an ft2 file"; }

std::string_view Ft2Importer::FilePattern() const { return "*.ft2;*.ft3"; }

size_t Ft2Importer::ImportSections(const std::string& path, CBriotabDoc& doc) const {
  const ImportReport report(path);
  Ft2Import ft2(doc);
  return ft2.ReadFile(path);
}

size_t ImportFt2Files(const std::vector<std::string>& files, CBriotabDoc& doc) {
  const ImportReport report(files.empty() ? std::string() : std::filesystem::path(files.front()).parent_path().string());
  size_t added = 0;
  for (const std::string& path : files) {
    Ft2Import ft2(doc);
    const size_t read = ft2.ReadFile(path);
    added += read;
    if (read == 0 || !ft2.Completed()) break;
  }
  return added;
}

}  // namespace vornel
