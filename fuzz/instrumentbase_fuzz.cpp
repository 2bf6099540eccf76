// The instrument base readers on hostile bytes: the binary form (with or without its version
// header) and the XML form, each into a base of its own.

#include <cstddef>
#include <cstdint>
#include <span>

#include "SilentPrompts.h"
#include "document/instruments/CInstrumentTemplates.h"
#include "platform/UserPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  const std::span<const uint8_t> bytes(data, size);
  {
    vornel::CInstrumentTemplates binary;
    binary.ReadBinaryBase(bytes);
    // What was read must write back.
    binary.BaseFileText("fuzz.btix");
  }
  {
    vornel::CInstrumentTemplates xml;
    xml.ReadBaseXml(bytes, "fuzz.btix");
  }
  return 0;
}
