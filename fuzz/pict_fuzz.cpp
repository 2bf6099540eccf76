// The PICT decoder on hostile bytes, with a JPEG decoder for pictures that hold JPEG data.

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/external/PLJPEGDecoder.h"
#include "image/codec/native/PLPictDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vornel::PLJPEGDecoder jpeg;
  vornel::PLPictDecoder decoder(&jpeg);
  vornel::PLAnyBmp bmp;
  try {
    decoder.MakeBmpFromMemory({data, size}, bmp);
  } catch (const vornel::PLTextException&) {
    // Refusing is the expected outcome for most inputs.
  }
  return 0;
}
