#include "image/bitmap/DeviceBitmapOf.h"

#include <vector>

namespace vornel {

DeviceBitmap DeviceBitmapOf(const PLBmp& bmp) { return DeviceBitmapOf(bmp, 0, 0, bmp.GetWidth(), bmp.GetHeight()); }

DeviceBitmap DeviceBitmapOf(const PLBmp& bmp, int left, int top, int width, int height) {
  if (!DeviceBitmap::ValidSize(width, height) || bmp.GetLineArray() == nullptr || left < 0 || top < 0 ||
      int64_t(left) + width > bmp.GetWidth() || int64_t(top) + height > bmp.GetHeight()) {
    return {};
  }
  DeviceBitmap bitmap(width, height);
  // Lines of 32-bit pixels are read where they are: a tile cut from a wide bitmap then costs
  // its own pixels, not the whole line's.
  const bool direct = bmp.GetBitsPerPixel() == 32;
  std::vector<PLPixel32> line(direct ? 0 : static_cast<size_t>(bmp.GetWidth()));
  const bool alpha = bmp.HasAlpha();
  for (int y = 0; y < height; ++y) {
    const PLPixel32* pixels = nullptr;
    if (direct) {
      pixels = reinterpret_cast<const PLPixel32*>(bmp.GetLineArray()[top + y]);
    } else {
      PLBmp::ExpandLine(bmp.GetLineArray()[top + y], bmp.GetBitsPerPixel(), bmp.GetPalette(), bmp.GetWidth(),
                        line.data());
      pixels = line.data();
    }
    uint32_t* out = bitmap.Data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      const PLPixel32 p = pixels[static_cast<size_t>(left + x)];
      const uint32_t a = alpha ? p.a : 255;
      if (a == 255) {
        out[x] = 0xFF000000u | (uint32_t(p.r) << 16) | (uint32_t(p.g) << 8) | p.b;
        continue;
      }
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
