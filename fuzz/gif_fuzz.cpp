// The GIF decoder (through its library) on hostile bytes.

#include "ImageFuzz.h"
#include "image/codec/external/PLGIFDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeFuzzInput<vornel::PLGIFDecoder>(data, size);
}
