#pragma once
// The rows of a plain PNG (not interlaced, 8-bit samples: grey, grey and alpha, RGB, RGBA or a
// palette) inflated with zlib and unfiltered here rather than through libpng, for the large
// picture reader: the checksums are not computed (a scan is shown, not verified; damaged data
// still ends in an error), a row is converted only in the columns a reduced read samples, and
// the state of the inflation is kept every so many rows, so that a later read starts near its
// region instead of at the top of the picture.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "image/bitmap/PLPixel32.h"

namespace vornel {

struct PlainPng {
  uint32_t width = 0;
  uint32_t height = 0;
  int colour = 0;    // the header's colour type
  int channels = 0;  // samples per pixel
  size_t stride = 0;  // bytes of a row without its filter byte
  std::vector<PLPixel32> palette;
  std::vector<std::pair<size_t, size_t>> data;  // offset and length of each IDAT chunk, in order
};

// True and `png` filled when `bytes` is a PNG of the kinds above; false for any other (which
// libpng reads). A damaged header or palette throws PLTextException. Chunks past the end of the
// file are left out: their rows then fail as the data runs out.
bool FindPlainPng(const uint8_t* bytes, size_t size, PlainPng& png);

// Undoes filter `type` (0 … 4) of row `in` into `out` against the unfiltered row above it,
// `prior` (zeros for the first row); `bpp` is the bytes per pixel. False for an unknown filter.
bool UnfilterPngRow(int type, const uint8_t* in, uint8_t* out, const uint8_t* prior, size_t stride, int bpp);

// `count` pixels of an unfiltered row, the first at column `x`, the others `step` columns
// apart, as blue, green, red, alpha (opaque without alpha; grey as all three).
void ConvertPngPixels(const PlainPng& png, const uint8_t* row, int64_t x, int step, int32_t count, PLPixel32* out);

}  // namespace vornel
