// The ".bmp" reader of backgrounds and ornaments on hostile bytes: it decodes or refuses,
// and what it decodes is a bitmap of the size its header gave.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "view/draw/GraphicUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vornel::DeviceBitmap bitmap;
  if (vornel::DecodeBitmapFile(std::span(data, size), bitmap)) {
    if (bitmap.IsEmpty()) std::abort();
    (void)bitmap.GetPixel(bitmap.Width() - 1, bitmap.Height() - 1);
  }
  return 0;
}
