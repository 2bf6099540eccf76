// The PCX decoder on hostile bytes.

#include "ImageFuzz.h"
#include "image/codec/native/PLPCXDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeFuzzInput<vornel::PLPCXDecoder>(data, size);
}
