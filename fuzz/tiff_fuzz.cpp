// The TIFF decoder (through its library) on hostile bytes.

#include "ImageFuzz.h"
#include "image/codec/external/PLTIFFDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return DecodeFuzzInput<vornel::PLTIFFDecoder>(data, size);
}
