#pragma once
// The importer of Guitar Pro files (".gp3", ".gp4", ".gp5", and any file that starts with a
// Guitar Pro signature): each file becomes one new section of the document.

#include "import/Importer.h"

namespace vornel {

class GuitarProImporter : public Importer {
 public:
  std::string_view Name() const override { return "Guitar Pro"; }
  std::span<const std::string_view> Extensions() const override;
  bool TakesSignature(std::span<const uint8_t> head) const override;
  std::string_view PromptTitle() const override;
  std::string_view FilePattern() const override;

 protected:
  size_t ImportSections(const std::string& path, CBriotabDoc& doc) const override;
};

}  // namespace vornel
