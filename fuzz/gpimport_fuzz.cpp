// The Guitar Pro reader on hostile bytes, followed by the import of what it read into a
// finished section (systems, re-barring, respelling, reflow). Refusing is the expected outcome for most inputs; any crash, hang or huge
// allocation is a fault.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "SilentPrompts.h"
#include "import/guitarpro/GuitarProDoc.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  vornel::GuitarProDoc doc;
  if (!doc.reader().readBytes(std::span(data, size))) return 0;
  const std::unique_ptr<vornel::CSystemArray> section = doc.BuildSection();
  vornel::GuitarProDoc::FinishSection(*section);
  return 0;
}
