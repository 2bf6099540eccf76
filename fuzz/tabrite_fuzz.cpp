// The Tabrite reader on hostile bytes: records of nine lines, their numbers, side texts and
// course texts, then the finishing of the section.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SilentPrompts.h"
#include "document/CVornelTabDoc.h"
#include "import/tabrite/TabriteImport.h"
#include "platform/UserPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  vornel::CVornelTabDoc doc;
  doc.OnNewDocument();
  vornel::TabriteImport tabrite(doc);
  tabrite.ReadText(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
