#pragma once
// The body shared by the image decoders' fuzz targets: decode from memory and let refusals go.

#include <cstddef>
#include <cstdint>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"

template <class Decoder>
int DecodeFuzzInput(const uint8_t* data, size_t size) {
  vornel::PLAnyBmp bmp;
  Decoder decoder;
  try {
    decoder.MakeBmpFromMemory({data, size}, bmp);
  } catch (const vornel::PLTextException&) {
    // Refusing is the expected outcome for most inputs.
  }
  return 0;
}
