// The PSD decoder on hostile bytes.

#include "ImageFuzz.h"
#include "image/codec/native/PLPSDDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeFuzzInput<vornel::PLPSDDecoder>(data, size);
}
