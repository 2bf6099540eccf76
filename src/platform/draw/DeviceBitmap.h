#pragma once
// A bitmap the devices can draw: 32-bit pixels, 0xAARRGGBB with the colour premultiplied by
// alpha (the layout Cairo uses, so the Cairo backend draws it without converting).

#include <cstdint>
#include <vector>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceBitmap {
 public:
  // Larger bitmaps are refused (an allocation from a hostile size must stay bounded).
  static constexpr int32_t kMaxSide = 32768;
  static constexpr int64_t kMaxPixels = int64_t(1) << 28;

  DeviceBitmap() = default;
  // An opaque bitmap filled with `fill`; an invalid size gives an empty bitmap.
  DeviceBitmap(int32_t width, int32_t height, COLORREF fill = 0xFFFFFF);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }

  // Opaque pixels as COLORREF (0x00BBGGRR).
  void SetPixel(int32_t x, int32_t y, COLORREF colour);
  COLORREF GetPixel(int32_t x, int32_t y) const;

  const uint32_t* Data() const { return pixels_.data(); }
  uint32_t* Data() { return pixels_.data(); }
  int32_t Stride() const { return width_ * 4; }

  static bool ValidSize(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
  }

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint32_t> pixels_;
};

// 0xAARRGGBB opaque pixel from a COLORREF, and back.
constexpr uint32_t PixelFromColour(COLORREF c) {
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}
constexpr COLORREF ColourFromPixel(uint32_t p) {
  return RGB(static_cast<uint8_t>((p >> 16) & 0xFF), static_cast<uint8_t>((p >> 8) & 0xFF),
             static_cast<uint8_t>(p & 0xFF));
}

}  // namespace vornel
