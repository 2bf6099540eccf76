// Bitmaps drawn onto our devices.

#include <algorithm>
#include <vector>

#include "image/bitmap/PLWinBmp.h"
#include "image/bitmap/PLWinBmpEx.h"
#include "platform/draw/DeviceContext.h"

namespace vornel {

DeviceBitmap ToDeviceBitmap(const PLBmp& bmp) {
  const int width = bmp.GetWidth();
  const int height = bmp.GetHeight();
  if (!DeviceBitmap::ValidSize(width, height)) return {};
  DeviceBitmap out(width, height);
  std::vector<PLPixel32> line(static_cast<size_t>(width));
  const bool alpha = bmp.HasAlpha() && bmp.GetBitsPerPixel() == 32;
  uint32_t* pixels = out.Data();
  for (int y = 0; y < height; ++y) {
    PLBmp::ExpandLine(bmp.GetLineArray()[y], bmp.GetBitsPerPixel(), bmp.GetPalette(), width, line.data());
    uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      const PLPixel32 p = line[static_cast<size_t>(x)];
      const uint32_t a = alpha ? p.a : 255;
      const auto pre = [a](uint8_t c) { return static_cast<uint32_t>((c * a + 127) / 255); };
      row[x] = (a << 24) | (pre(p.r) << 16) | (pre(p.g) << 8) | pre(p.b);
    }
  }
  return out;
}

void PLWinBmp::Draw(DeviceContext& dc, int32_t x, int32_t y) {
  DrawStretched(dc, x, y, GetWidth(), GetHeight());
}

void PLWinBmp::DrawStretched(DeviceContext& dc, int32_t x, int32_t y, int32_t w, int32_t h) {
  const DeviceBitmap bitmap = ToDeviceBitmap(*this);
  if (bitmap.IsEmpty() || w == 0 || h == 0) return;
  dc.StretchBlt({x, y, x + w, y + h}, bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
}

void PLWinBmp::DrawScaled(DeviceContext& dc, int32_t x, int32_t y, double factor) {
  DrawStretched(dc, x, y, static_cast<int32_t>(GetWidth() * factor), static_cast<int32_t>(GetHeight() * factor));
}

const DeviceBitmap& PLWinBmpEx::DeviceForm() {
  if (!deviceForm_) deviceForm_ = ToDeviceBitmap(*this);
  return *deviceForm_;
}

void PLWinBmpEx::FreeMembers() {
  deviceForm_.reset();
  PLWinBmp::FreeMembers();
}

bool PLWinBmpEx::StretchDraw(DeviceContext& dc, bool, const Rect* destination, const Rect* source, int) {
  const DeviceBitmap& bitmap = DeviceForm();
  if (bitmap.IsEmpty()) return false;
  const Rect src = source != nullptr ? *source : Rect{0, 0, bitmap.Width(), bitmap.Height()};
  Rect dst = destination != nullptr ? *destination : src;
  if (src.IsEmpty() || dst.Width() == 0 || dst.Height() == 0) return false;
  dc.StretchBlt(dst, bitmap, src);
  return true;
}

void PLWinBmpEx::Draw(DeviceContext& dc, int32_t x, int32_t y) {
  const Rect dst{x, y, x + GetWidth(), y + GetHeight()};
  StretchDraw(dc, true, &dst, nullptr);
}

void PLWinBmpEx::DrawStretched(DeviceContext& dc, int32_t x, int32_t y, int32_t w, int32_t h) {
  const Rect dst{x, y, x + w, y + h};
  const Rect src{0, 0, GetWidth(), GetHeight()};
  StretchDraw(dc, true, &dst, &src);
}

void PLWinBmpEx::DrawScaled(DeviceContext& dc, int32_t x, int32_t y, double factor) {
  DrawStretched(dc, x, y, static_cast<int32_t>(GetWidth() * factor), static_cast<int32_t>(GetHeight() * factor));
}

}  // namespace vornel
