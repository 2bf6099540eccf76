#include "platform/draw/DeviceBitmap.h"

namespace vornel {

DeviceBitmap::DeviceBitmap(int32_t width, int32_t height, COLORREF fill) {
  if (!ValidSize(width, height)) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), PixelFromColour(fill));
}

void DeviceBitmap::SetPixel(int32_t x, int32_t y, COLORREF colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = PixelFromColour(colour);
}

COLORREF DeviceBitmap::GetPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return ColourFromPixel(pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
}

}  // namespace vornel
