// The BMP decoder on hostile bytes.

#include "ImageFuzz.h"
#include "image/codec/native/PLBmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeFuzzInput<vornel::PLBmpDecoder>(data, size);
}
