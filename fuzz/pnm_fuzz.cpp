// The pixmap and greymap decoders on hostile bytes: each refuses the other's identifiers at
// once, so both run on every input.

#include "ImageFuzz.h"
#include "image/codec/native/PLPGMDecoder.h"
#include "image/codec/native/PLPPMDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodeFuzzInput<vornel::PLPPMDecoder>(data, size);
  return DecodeFuzzInput<vornel::PLPGMDecoder>(data, size);
}
