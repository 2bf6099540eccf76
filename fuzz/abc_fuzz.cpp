// The ABC reader on hostile text: tunes, header fields, voices, note and tablature lines, then
// the finishing of every section it made.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SilentPrompts.h"
#include "document/CVornelTabDoc.h"
#include "import/text/CAbcImport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "platform/UserPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  static const vornel::CInstrumentDlg lute = [] {
    vornel::CInstrumentDlg definition;
    definition.EnsureStave();
    return vornel::CInstrumentDlg(definition);
  }();
  vornel::CVornelTabDoc doc;
  doc.OnNewDocument();
  vornel::CAbcImport abc(doc);
  abc.ReadAbcText(std::string_view(reinterpret_cast<const char*>(data), size), lute);
  return 0;
}
