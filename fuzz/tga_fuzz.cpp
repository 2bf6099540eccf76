// The TGA decoder on hostile bytes.

#include "ImageFuzz.h"
#include "image/codec/native/PLTGADecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeFuzzInput<vornel::PLTGADecoder>(data, size);
}
