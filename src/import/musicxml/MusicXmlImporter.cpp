#include "import/musicxml/MusicXmlImporter.h"

#include <array>

#include "import/ImportWarnings.h"
#include "import/musicxml/MusicXMLImport.h"
#include "import/musicxml/MxlContainer.h"

namespace vornel {

namespace {

class MusicXmlImporter : public Importer {
 public:
  std::string_view Name() const override { return "MusicXML"; }
  std::span<const std::string_view> Extensions() const override { return kExtensions; }
  // Compressed MusicXML is a zip archive.
  bool TakesSignature(std::span<const uint8_t> head) const override { return HasZipSignature(head); }
  std::string_view PromptTitle() const override { return MusicXMLImport::kPromptTitle; }
  std::string_view FilePattern() const override { return MusicXMLImport::kFilePattern; }

 protected:
  size_t ImportSections(const std::string& path, CBriotabDoc& doc) const override {
    const ImportReport report(path);
    MusicXMLImport import;
    import.target = &doc;
    return import.ImportFile(path) ? 1 : 0;
  }

 private:
  static constexpr std::array<std::string_view, 3> kExtensions = {".xml", ".musicxml", ".mxl"};
};

}  // namespace

std::unique_ptr<Importer> MakeMusicXmlImporter() { return std::make_unique<MusicXmlImporter>(); }

}  // namespace vornel
