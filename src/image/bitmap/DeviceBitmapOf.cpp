#include "image/bitmap/DeviceBitmapOf.h"

#include <vector>

namespace vornel {

DeviceBitmap DeviceBitmapOf(const PLBmp& bmp) {
  const int width = bmp.GetWidth();
  const int height = bmp.GetHeight();
  if (!DeviceBitmap::ValidSize(width, height) || bmp.GetLineArray() == nullptr) return {};
  DeviceBitmap bitmap(width, height);
  std::vector<PLPixel32> line(static_cast<size_t>(width));
  const bool alpha = bmp.HasAlpha();
  for (int y = 0; y < height; ++y) {
    PLBmp::ExpandLine(bmp.GetLineArray()[y], bmp.GetBitsPerPixel(), bmp.GetPalette(), width, line.data());
    uint32_t* out = bitmap.Data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      const PLPixel32 p = line[static_cast<size_t>(x)];
      const uint32_t a = alpha ? p.a : 255;
      // Premultiplied, as the devices keep their pixels.
      const uint32_t r = p.r * a / 255;
      const uint32_t g = p.g * a / 255;
      const uint32_t b = p.b * a / 255;
      out[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  return bitmap;
}

}  // namespace vornel
