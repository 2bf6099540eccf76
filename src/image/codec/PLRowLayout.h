#pragma once
// Where the rows of an uncompressed picture lie in its file, so that a reader in parts can
// take any row, or every n-th one, straight from the mapped file: BMP files of 1 to 32 bits
// and binary greymaps and pixmaps of 8-bit samples.

#include <array>
#include <cstdint>

#include "image/bitmap/PLPixel32.h"

namespace vornel {

struct PLRowLayout {
  enum class Pixels {
    kIndexed,  // 1, 4 or 8 bits through the palette (greymaps: the grey ramp)
    kBgr555,   // 16 bits
    kBgr565,   // 16 bits, the lowest green bit dropped
    kBgr,      // 24 bits
    kBgra,     // 32 bits, alpha when `alpha`, else the fourth byte is ignored
    kRgb,      // 24 bits, red first
  };
  Pixels pixels = Pixels::kIndexed;
  int bits = 8;
  int64_t width = 0;
  int64_t height = 0;
  int64_t offset = 0;     // of the first row stored
  int64_t stride = 0;     // from one stored row to the next
  bool bottomUp = false;  // the first row stored is the picture's last
  bool alpha = false;
  std::array<PLPixel32, 256> palette{};

  // The stored data of picture row `y`.
  int64_t RowOffset(int64_t y) const { return offset + (bottomUp ? height - 1 - y : y) * stride; }
  // `count` pixels of a stored row from column `x` on, every `step`-th, as 32-bit pixels.
  void Convert(const uint8_t* row, int64_t x, int step, int32_t count, PLPixel32* out) const;
};

// The rows of a BMP file of `size` bytes at `data`, when they are stored uncompressed and the
// file holds them all; false for anything else (which is decoded whole).
bool FindBmpRowLayout(const uint8_t* data, int64_t size, PLRowLayout& layout);
// The same for binary greymaps (P5) and pixmaps (P6) of samples up to 255.
bool FindPnmRowLayout(const uint8_t* data, int64_t size, PLRowLayout& layout);

}  // namespace vornel
