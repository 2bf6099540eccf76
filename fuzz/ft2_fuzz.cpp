// The ".ft2" reader on hostile bytes: the header, strings and their escapes, tracks, bar
// headers, event records of every kind, the tuning and the trailer, then the finishing of
// each piece's section.

#include <cstddef>
#include <cstdint>
#include <span>

#include "SilentPrompts.h"
#include "document/CVornelTabDoc.h"
#include "import/ft2/Ft2Import.h"
#include "platform/UserPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  vornel::CVornelTabDoc doc;
  doc.OnNewDocument();
  vornel::Ft2Import ft2(doc);
  ft2.ReadBytes(std::span(data, size), "fuzz.ft2");
  return 0;
}
