#pragma once
// Tabrite files (".bjo") as an importer: the file fills a section the add-section wizard adds.

#include "import/Importer.h"

namespace vornel {

class TabriteImporter : public Importer {
 public:
  std::string_view Name() const override { return "Tabrite"; }
  std::span<const std::string_view> Extensions() const override;
  bool TakesSignature(std::span<const uint8_t> head) const override;
  std::string_view PromptTitle() const override;
  std::string_view FilePattern() const override;

 protected:
  size_t ImportSections(const std::string& path, CBriotabDoc& doc) const override;
};

// Opens the file, adds a section through the wizard and reads the file into it; returns 1, or
// 0 after the message (or the wizard's cancel) with the document as it was.
size_t ImportTabriteFile(const std::string& path, CBriotabDoc& doc);

}  // namespace vornel
