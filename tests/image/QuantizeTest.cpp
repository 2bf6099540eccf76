// The colour quantiser: palettes by median cut, popularity and the default table, and the
// three ways of mapping pixels onto them.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLFilterQuantize.h"

namespace vornel {
namespace {

// A 32-bit image whose pixels are given row by row.
std::unique_ptr<PLAnyBmp> TrueColour(int width, int height, const std::function<PLPixel32(int, int)>& pixel) {
  auto bmp = std::make_unique<PLAnyBmp>();
  bmp->Create(width, height, 32, false);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) reinterpret_cast<PLPixel32*>(bmp->GetLineArray()[y])[x] = pixel(x, y);
  }
  return bmp;
}

TEST(Quantize, TheDefaultTableMapsPureColoursToTheirFirstExactEntries) {
  const auto source = TrueColour(3, 1, [](int x, int) {
    return x == 0 ? PLPixel32::FromRgba(255, 0, 0) : x == 1 ? PLPixel32::FromRgba(0, 0, 255) : PLPixel32::FromRgba(0, 0, 0);
  });
  PLFilterQuantize quantize(PLFilterQuantize::kDefaultPalette, PLFilterQuantize::kNoDither);
  PLAnyBmp result;
  quantize.Apply(*source, result);
  ASSERT_EQ(result.GetBitsPerPixel(), 8);
  EXPECT_EQ(result.GetLineArray()[0][0], 190);
  EXPECT_EQ(result.GetLineArray()[0][1], 249);
  EXPECT_EQ(result.GetLineArray()[0][2], 0);
  EXPECT_EQ(result.GetPalette()[9], (PLPixel32{0xA6, 0xCA, 0xF0, 0}));  // the table gives blue, green, red
}

TEST(Quantize, PopularityTakesEveryCellOfASmallImageAndZerosAfterThem) {
  // Three cells, counted 3, 2 and 1 times.
  const PLPixel32 colours[] = {PLPixel32::FromRgba(80, 80, 80), PLPixel32::FromRgba(80, 80, 80),
                               PLPixel32::FromRgba(80, 80, 80), PLPixel32::FromRgba(160, 40, 200),
                               PLPixel32::FromRgba(160, 40, 200), PLPixel32::FromRgba(255, 120, 8)};
  const auto source = TrueColour(6, 1, [&](int x, int) { return colours[x]; });
  PLFilterQuantize quantize(PLFilterQuantize::kPopularity, PLFilterQuantize::kNoDither);
  PLAnyBmp result;
  quantize.Apply(*source, result);
  const PLPixel32* p = result.GetPalette();
  EXPECT_EQ(p[1], PLPixel32::FromRgba(255, 0, 0, 0));  // the corners first
  EXPECT_EQ(p[7], PLPixel32::FromRgba(255, 255, 255, 0));
  EXPECT_EQ(p[8], PLPixel32::FromRgba(10 * 255 / 31, 10 * 255 / 31, 10 * 255 / 31, 0));
  EXPECT_EQ(p[9], PLPixel32::FromRgba(20 * 255 / 31, 5 * 255 / 31, 25 * 255 / 31, 0));
  EXPECT_EQ(p[10], PLPixel32::FromRgba(255, 15 * 255 / 31, 255 / 31, 0));  // a cell at level 31
  for (int i = 11; i < 256; ++i) ASSERT_EQ(p[i], PLPixel32{}) << i;
  EXPECT_EQ(result.GetLineArray()[0][0], 8);
  EXPECT_EQ(result.GetLineArray()[0][3], 9);
  EXPECT_EQ(result.GetLineArray()[0][5], 10);
}

TEST(Quantize, MedianCutOfOneColourGivesTheCornersOneBoxAndZeros) {
  const auto source = TrueColour(4, 4, [](int, int) { return PLPixel32::FromRgba(100, 150, 200); });
  PLFilterQuantize quantize(PLFilterQuantize::kMedianCut, PLFilterQuantize::kNoDither);
  PLAnyBmp result;
  quantize.Apply(*source, result);
  const PLPixel32* p = result.GetPalette();
  EXPECT_EQ(p[0], PLPixel32{});
  EXPECT_EQ(p[4], PLPixel32::FromRgba(255, 255, 0, 0));
  // The colour's cell (12, 18, 25) as the centre of a box of one cell.
  EXPECT_EQ(p[8], PLPixel32::FromRgba(24 * 255 / 62, 36 * 255 / 62, 50 * 255 / 62, 0));
  for (int i = 9; i < 256; ++i) ASSERT_EQ(p[i], PLPixel32{}) << i;
  for (int x = 0; x < 4; ++x) EXPECT_EQ(result.GetLineArray()[3][x], 8);
}

TEST(Quantize, MedianCutSplitsAlongTheWidestAxis) {
  // Two colours far apart in red only: the first split separates them.
  const auto source = TrueColour(8, 1, [](int x, int) {
    return x < 4 ? PLPixel32::FromRgba(40, 128, 128) : PLPixel32::FromRgba(216, 128, 128);
  });
  PLFilterQuantize quantize(PLFilterQuantize::kMedianCut, PLFilterQuantize::kNoDither);
  PLAnyBmp result;
  quantize.Apply(*source, result);
  const uint8_t low = result.GetLineArray()[0][0];
  const uint8_t high = result.GetLineArray()[0][7];
  EXPECT_NE(low, high);
  // Cells (5, 16, 16) and (27, 16, 16), each the centre of a box of its own.
  EXPECT_EQ(result.GetPalette()[low], PLPixel32::FromRgba(10 * 255 / 62, 32 * 255 / 62, 32 * 255 / 62, 0));
  EXPECT_EQ(result.GetPalette()[high], PLPixel32::FromRgba(54 * 255 / 62, 32 * 255 / 62, 32 * 255 / 62, 0));
}

TEST(Quantize, OrderedDitheringTurnsGreyIntoARepeatingPatternOfNearbyEntries) {
  const auto source = TrueColour(8, 8, [](int, int) { return PLPixel32::FromRgba(128, 128, 128); });
  PLFilterQuantize quantize(PLFilterQuantize::kDefaultPalette, PLFilterQuantize::kOrderedDither);
  PLAnyBmp result;
  quantize.Apply(*source, result);
  std::set<int> used;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const uint8_t index = result.GetLineArray()[y][x];
      used.insert(index);
      EXPECT_EQ(index, result.GetLineArray()[(y + 4) % 8][(x + 4) % 8]) << x << "," << y;
      const PLPixel32 c = result.GetPalette()[index];
      EXPECT_LE(std::abs(c.r - 128) + std::abs(c.g - 128) + std::abs(c.b - 128), 3 * 48) << int(index);
    }
  }
  EXPECT_GT(used.size(), 1u);
}

TEST(Quantize, FloydSteinbergRunsSerpentineAndKeepsTheAverage) {
  // On a black-and-white palette: a black row (no error to pass on), then a mid-grey row.
  // The grey row is scanned from its right end, where its first pixel rounds to white.
  std::array<PLPixel32, 256> palette{};
  palette[1] = PLPixel32::FromRgba(255, 255, 255);
  const auto source = TrueColour(16, 2, [](int, int y) { return y == 0 ? PLPixel32{} : PLPixel32::FromRgba(128, 128, 128); });
  PLFilterQuantize quantize(PLFilterQuantize::kUserPalette, PLFilterQuantize::kFloydSteinberg);
  quantize.SetUserPalette(palette.data());
  PLAnyBmp result;
  quantize.Apply(*source, result);
  const uint8_t* grey = result.GetLineArray()[1];
  EXPECT_EQ(grey[15], 1);
  EXPECT_EQ(grey[14], 0);
  EXPECT_EQ(grey[0], 0);
  int white = 0;
  for (int x = 0; x < 16; ++x) white += grey[x];
  EXPECT_EQ(white, 8);
}

TEST(Quantize, CopyingTrueColourToEightBitsUsesTheBitmapsMethods) {
  auto source = TrueColour(2, 1, [](int x, int) { return x == 0 ? PLPixel32::FromRgba(255, 0, 0) : PLPixel32::FromRgba(0, 0, 255); });
  source->SetResolution({300, 300});
  PLAnyBmp copy;
  copy.CreateCopy(*source, 8);
  EXPECT_EQ(copy.GetBitsPerPixel(), 8);
  EXPECT_EQ(copy.GetLineArray()[0][0], 190);
  EXPECT_EQ(copy.GetLineArray()[0][1], 249);
  EXPECT_EQ(copy.GetResolution(), (PLPoint{300, 300}));
}

}  // namespace
}  // namespace vornel
