// The TAB text reader on hostile bytes: the title scan, the meter detection, chord lines and
// their slurs, pieces (each further one through the add-section wizard), then the finishing.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SilentPrompts.h"
#include "document/CVornelTabDoc.h"
#include "import/tab/TabImport.h"
#include "platform/UserPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  vornel::CVornelTabDoc doc;
  doc.OnNewDocument();
  vornel::TabImport tab(doc);
  tab.ReadText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.tab");
  return 0;
}
