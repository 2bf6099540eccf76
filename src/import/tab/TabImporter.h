#pragma once
// TAB text files (".tab") as an importer, and the import of a folder of them. Each file fills
// a section that the add-section wizard adds, and every further piece of a file one more.

#include <string>
#include <vector>

#include "import/Importer.h"

namespace vornel {

class TabImporter : public Importer {
 public:
  std::string_view Name() const override { return "TAB text"; }
  std::span<const std::string_view> Extensions() const override;
  bool TakesSignature(std::span<const uint8_t> head) const override;
  std::string_view PromptTitle() const override;
  std::string_view FilePattern() const override;

 protected:
  size_t ImportSections(const std::string& path, CBriotabDoc& doc) const override;
};

// Opens the file, adds a section through the wizard and reads the file into it; returns the
// sections added (0 after the message, with the document as it was).
size_t ImportTabFile(const std::string& path, CBriotabDoc& doc);

// The files in turn: the first into a section the wizard adds, each further one into a section
// appended at the end of the list with a copy of that section's instrument. A file that cannot
// be read leaves no section behind. Returns the sections added.
size_t ImportTabFiles(const std::vector<std::string>& files, CBriotabDoc& doc);

}  // namespace vornel
