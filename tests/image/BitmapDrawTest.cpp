// Bitmaps drawn onto our devices: the conversion to device pixels, and the drawing calls of
// the bitmap classes.

#include <gtest/gtest.h>

#include "image/bitmap/PLWinBmp.h"
#include "image/bitmap/PLWinBmpEx.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"

namespace vornel {
namespace {

TEST(BitmapDraw, PalettesAndAlphaBecomeDevicePixels) {
  PLWinBmp grey;
  grey.Create(3, 2, 8, false);
  grey.GetLineArray()[0][1] = 255;  // white through the grey palette
  const DeviceBitmap g = ToDeviceBitmap(grey);
  ASSERT_EQ(g.Width(), 3);
  EXPECT_EQ(g.GetPixel(0, 0), 0x000000u);
  EXPECT_EQ(g.GetPixel(1, 0), 0xFFFFFFu);

  PLWinBmp rgba;
  rgba.Create(1, 1, 32, true);
  auto* p = reinterpret_cast<PLPixel32*>(rgba.GetLineArray()[0]);
  *p = PLPixel32::FromRgba(200, 100, 0, 128);
  const DeviceBitmap a = ToDeviceBitmap(rgba);
  // Premultiplied: each channel times 128 / 255.
  EXPECT_EQ(a.Data()[0], (128u << 24) | (100u << 16) | (50u << 8) | 0u);
}

TEST(BitmapDraw, WholeStretchedAndScaled) {
  PLWinBmp bmp;
  bmp.Create(10, 4, 24, false);
  RecordingDevice dc(96);
  bmp.Draw(dc, 5, 6);
  bmp.DrawStretched(dc, 0, 0, 30, 8);
  bmp.DrawScaled(dc, 1, 2, 2.5);
  EXPECT_EQ(dc.Log(),
            "StretchBlt 5 6 15 10 10x4 0 0 10 4\n"
            "StretchBlt 0 0 30 8 10x4 0 0 10 4\n"
            "StretchBlt 1 2 26 12 10x4 0 0 10 4\n");
}

TEST(BitmapDraw, StretchDrawTakesTheWholeImageWithoutRectangles) {
  PLWinBmpEx bmp;
  bmp.Create(8, 6, 8, false);
  RecordingDevice dc(96);
  EXPECT_TRUE(bmp.StretchDraw(dc, true, nullptr, nullptr));
  const Rect source{2, 2, 6, 4};
  const Rect destination{10, 10, 50, 30};
  EXPECT_TRUE(bmp.StretchDraw(dc, false, &destination, &source));
  EXPECT_EQ(dc.Log(),
            "StretchBlt 0 0 8 6 8x6 0 0 8 6\n"
            "StretchBlt 10 10 50 30 8x6 2 2 6 4\n");
  // A new image replaces what was drawn before.
  bmp.Create(2, 2, 24, false);
  dc.ClearLog();
  bmp.Draw(dc, 0, 0);
  EXPECT_EQ(dc.Log(), "StretchBlt 0 0 2 2 2x2 0 0 2 2\n");
}

// Pixels reach the Cairo device's surface.
TEST(BitmapDraw, PixelsReachTheSurface) {
  PLWinBmpEx bmp;
  bmp.Create(2, 2, 24, false);
  for (int y = 0; y < 2; ++y) {
    uint8_t* line = bmp.GetLineArray()[y];
    for (int x = 0; x < 2; ++x) {
      line[3 * x] = 0;        // blue
      line[3 * x + 1] = 0;    // green
      line[3 * x + 2] = 255;  // red
    }
  }
  ImageDevice device(10, 10, 96, 0xFFFFFF);
  const Rect destination{2, 2, 6, 6};
  bmp.StretchDraw(device, true, &destination, nullptr);
  const DeviceBitmap surface = device.ToBitmap();
  EXPECT_EQ(surface.GetPixel(4, 4), 0x0000FFu);
  EXPECT_EQ(surface.GetPixel(8, 8), 0xFFFFFFu);
}

}  // namespace
}  // namespace vornel
