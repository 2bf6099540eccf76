// Packed device-independent bitmaps (as the clipboard hands them) on hostile bytes, then
// converted to the depths a pasted bitmap takes.

#include <cstddef>
#include <cstdint>

#include "image/bitmap/PLTextException.h"
#include "image/bitmap/PLWinBmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vornel::PLWinBmp bmp;
  try {
    bmp.CreateFromDIB({data, size});
    // Small images only: converting a large one measures memory bandwidth, not the code.
    if (int64_t(bmp.GetWidth()) * bmp.GetHeight() <= 1 << 16) {
      vornel::PLWinBmp copy;
      copy.CreateCopy(bmp, bmp.GetBitsPerPixel() > 8 ? 32 : (bmp.GetBitsPerPixel() == 1 ? 1 : 8));
      copy.CreateCopy(bmp, 24);
    }
  } catch (const vornel::PLTextException&) {
  }
  return 0;
}
