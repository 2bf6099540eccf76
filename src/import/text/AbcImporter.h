#pragma once
// ABC files (".abc") as an importer: a section per tune.

#include "import/Importer.h"

namespace vornel {

class AbcImporter : public Importer {
 public:
  std::string_view Name() const override { return "ABC"; }
  std::span<const std::string_view> Extensions() const override;
  // A file that starts with an "X:" field or an "%abc" line.
  bool TakesSignature(std::span<const uint8_t> head) const override;
  std::string_view PromptTitle() const override;
  std::string_view FilePattern() const override;

 protected:
  size_t ImportSections(const std::string& path, CBriotabDoc& doc) const override;
};

}  // namespace vornel
