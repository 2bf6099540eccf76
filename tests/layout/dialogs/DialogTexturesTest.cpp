// The dialog textures are drawn by code: each tile must repeat without a visible seam and stay
// close to its face colour, and the option is off until the application installs its reader.

#include <gtest/gtest.h>

#include <cstdlib>

#include "layout/dialogs/DialogTextures.h"

namespace vornel {
namespace {

int Difference(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift : {0, 8, 16}) most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return most;
}

TEST(DialogTextures, TilesRepeatWithoutSeamsNearTheirFace) {
  for (auto [texture, face] : {std::pair{DialogTexture::kDialog, 0xF0EDE4u}, std::pair{DialogTexture::kSheet, 0xEBE6E6u}}) {
    const TextureTile tile = DrawTextureTile(texture);
    ASSERT_GT(tile.size, 16);
    ASSERT_EQ(tile.pixels.size(), size_t(tile.size * tile.size));
    EXPECT_EQ(tile.pixels, DrawTextureTile(texture).pixels);
    // Steps across the wrap are no larger than steps inside the tile.
    int inside = 0, across = 0;
    for (int i = 0; i < tile.size; ++i) {
      for (int j = 0; j + 1 < tile.size; ++j)
        inside = std::max({inside, Difference(tile.At(j, i), tile.At(j + 1, i)), Difference(tile.At(i, j), tile.At(i, j + 1))});
      across = std::max({across, Difference(tile.At(tile.size - 1, i), tile.At(0, i)),
                         Difference(tile.At(i, tile.size - 1), tile.At(i, 0))});
    }
    EXPECT_LE(across, inside);
    for (uint32_t pixel : tile.pixels) ASSERT_LE(Difference(pixel, face), 16);
  }
  EXPECT_NE(DrawTextureTile(DialogTexture::kDialog).pixels, DrawTextureTile(DialogTexture::kSheet).pixels);
}

TEST(DialogTextures, OptionFollowsTheInstalledReader) {
  SetTexturedBackgroundsReader(nullptr);
  EXPECT_FALSE(TexturedBackgrounds());
  int flag = 0;
  SetTexturedBackgroundsReader([&flag] { return flag != 0; });
  EXPECT_FALSE(TexturedBackgrounds());
  flag = 1;
  EXPECT_TRUE(TexturedBackgrounds());
  SetTexturedBackgroundsReader(nullptr);
}

}  // namespace
}  // namespace vornel
