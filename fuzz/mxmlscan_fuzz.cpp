// The MusicXML scanner on hostile bytes: every token of the input, or its failure message.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "musicxml/reader/Scanner.h"
#include "musicxml/reader/ScannerInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static char empty = 0;
  FILE* input = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : fmemopen(&empty, 1, "rb");
  if (!input) return 0;
  if (size == 0) std::fgetc(input);  // a stream at its end
  try {
    size_t total = 0;
    for (const auto& token : vornel::libmxml::ScanAll(input)) total += token.text.size();
    (void)total;
  } catch (const vornel::libmxml::ScannerFailure&) {
    // A refusal is a possible outcome; a crash or a hang is not.
  }
  std::fclose(input);
  return 0;
}
