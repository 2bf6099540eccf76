// The whole MusicXML import on hostile bytes: a score, or a compressed archive (by its zip
// signature), read, converted, walked and laid out into a section of a document. Refusing is
// the expected outcome for most inputs; any crash, hang or huge allocation is a fault.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <ostream>
#include <string>

#include "SilentPrompts.h"
#include "document/CBriotabDoc.h"
#include "document/zip/ZipBundle.h"
#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/MusicXMLImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  static std::ostream nowhere(nullptr);
  static vornel::ScopedImportWarnings quiet(nowhere);
  static vornel::TemporaryFolder folder;
  if (folder.Path().empty() && !folder.Create()) return 0;
  const std::string path = folder.Path() + "/input.score";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  vornel::CBriotabDoc doc;
  vornel::MusicXMLImport import;
  import.target = &doc;
  import.ImportFile(path);
  return 0;
}
