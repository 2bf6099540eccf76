// The PNG decoder (through its library) on hostile bytes.

#include "ImageFuzz.h"
#include "image/codec/external/PLPNGDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeFuzzInput<vornel::PLPNGDecoder>(data, size);
}
