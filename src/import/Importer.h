#pragma once
// Importers of other programs' files. Each reads one family of formats and appends what it
// reads to an open document as new sections; it never makes a document of its own. The
// registry lists them in a fixed order, and a file goes to the first one that takes its
// extension or, failing that, its first bytes. The document commands, the tool's "import"
// command and the tests reach every importer through this one interface.
//
// A new format adds one class deriving from Importer in its own folder below src/import/ and
// one line to the list in ImporterRegistry.cpp.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class CBriotabDoc;

class Importer {
 public:
  // How many bytes of a file FindImporter hands to TakesSignature, at most.
  static constexpr size_t kSignatureBytes = 64;

  virtual ~Importer() = default;

  // A short name of the format, for listings ("MusicXML").
  virtual std::string_view Name() const = 0;
  // The extensions taken, lower case with their dot (".xml").
  virtual std::span<const std::string_view> Extensions() const = 0;
  // True when a file whose extension no importer takes starts like this importer's files.
  virtual bool TakesSignature(std::span<const uint8_t> head) const = 0;
  // The title and the pattern of the open-file prompt ("*.xml;*.mxl").
  virtual std::string_view PromptTitle() const = 0;
  virtual std::string_view FilePattern() const = 0;
  // Appends the sections read from `path` to `doc`, makes the last of them active and returns
  // how many there are. 0 when nothing was imported: the system's message has been shown
  // through Prompts(), and the document is as it was. The reading may build what the file's
  // size allows (BuildBudget); a file that would build more is refused with that limit.
  size_t Import(const std::string& path, CBriotabDoc& doc) const;

 protected:
  // The format's own reading, as Import describes it.
  virtual size_t ImportSections(const std::string& path, CBriotabDoc& doc) const = 0;
};

// Every importer, in the order files are offered to them.
const std::vector<std::unique_ptr<Importer>>& Importers();

// The importer of a file: the first whose extension it has (without regard to case), else the
// first that takes its first bytes; null when none does or the file cannot be read.
const Importer* FindImporter(const std::string& path);

// Imports the file with the importer, and gives an untitled document a title
// (TitleImportedDocument): what every command that imports a file calls.
size_t ImportFile(const Importer& importer, const std::string& path, CBriotabDoc& doc);

// Asks for a file with the importer's prompt and imports it: 0 when the prompt was cancelled
// or nothing was imported.
size_t PromptAndImport(const Importer& importer, CBriotabDoc& doc);

}  // namespace vornel
