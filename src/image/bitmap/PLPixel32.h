#pragma once
// Pixel, palette entry and point types shared by every bitmap and codec.

#include <cstdint>

namespace vornel {

// A 32-bit pixel or palette entry, laid out in memory as blue, green, red, alpha.
struct PLPixel32 {
  uint8_t b = 0;
  uint8_t g = 0;
  uint8_t r = 0;
  uint8_t a = 0;

  static constexpr PLPixel32 FromRgba(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255) {
    return PLPixel32{blue, green, red, alpha};
  }
  // A 16-bit pixel of 5-bit blue (bits 0-4), green and red (bit 15 unused), each shifted
  // up to 8 bits.
  static constexpr PLPixel32 From555(unsigned v, uint8_t alpha = 255) {
    return PLPixel32{static_cast<uint8_t>((v & 31) << 3), static_cast<uint8_t>((v >> 2) & 0xF8),
                     static_cast<uint8_t>((v >> 7) & 0xF8), alpha};
  }
  // The same with 6 bits of green, whose lowest bit is dropped.
  static constexpr PLPixel32 From565(unsigned v) {
    return PLPixel32{static_cast<uint8_t>((v & 31) << 3), static_cast<uint8_t>((v >> 3) & 0xF8),
                     static_cast<uint8_t>((v >> 8) & 0xF8), 255};
  }

  friend constexpr bool operator==(const PLPixel32&, const PLPixel32&) = default;
};
static_assert(sizeof(PLPixel32) == 4 && alignof(PLPixel32) == 1, "a pixel is four packed bytes");

struct PLPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend constexpr bool operator==(const PLPoint&, const PLPoint&) = default;
};

}  // namespace vornel
