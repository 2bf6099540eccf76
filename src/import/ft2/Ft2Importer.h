#pragma once
// ".ft2" files and their gzip-compressed ".ft3" form as an importer (a section per piece), and
// the import of a folder of ".ft2" files.

#include <string>
#include <vector>

#include "import/Importer.h"

namespace vornel {

class Ft2Importer : public Importer {
 public:
  std::string_view Name() const override { return "ft2"; }
  std::span<const std::string_view> Extensions() const override;
  bool TakesSignature(std::span<const uint8_t> head) const override;
  std::string_view PromptTitle() const override;
  std::string_view FilePattern() const override;

 protected:
  size_t ImportSections(const std::string& path, CBriotabDoc& doc) const override;
};

// The files in turn, each into sections of its own, stopping at the first file that fails.
// Returns the sections added.
size_t ImportFt2Files(const std::vector<std::string>& files, CBriotabDoc& doc);

}  // namespace vornel
