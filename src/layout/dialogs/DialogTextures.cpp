#include "layout/dialogs/DialogTextures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr int kTileSize = 96;

// A per-pixel hash in [0, 1): grain that does not depend on neighbours tiles by itself.
double Grain(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<double>(h & 0xFFFF) / 65536.0;
}

uint8_t Channel(double value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

// Base colour plus soft waves whose periods divide the tile (so the edges meet) and fine grain.
TextureTile Draw(uint32_t base, double waveDepth, double grainDepth, int waves, uint32_t seed) {
  TextureTile tile;
  tile.size = kTileSize;
  tile.pixels.resize(static_cast<size_t>(kTileSize * kTileSize));
  const double r0 = (base >> 16) & 0xFF, g0 = (base >> 8) & 0xFF, b0 = base & 0xFF;
  const double turn = 2 * std::numbers::pi / kTileSize;
  for (int y = 0; y < kTileSize; ++y) {
    for (int x = 0; x < kTileSize; ++x) {
      const double wave = std::sin(turn * (waves * x + y)) * 0.6 + std::sin(turn * (x - 2 * y)) * 0.4;
      const double shade = wave * waveDepth + (Grain(x, y, seed) - 0.5) * grainDepth;
      const uint32_t r = Channel(r0 + shade), g = Channel(g0 + shade), b = Channel(b0 + shade * 0.8);
      tile.pixels[static_cast<size_t>(y * kTileSize + x)] = r << 16 | g << 8 | b;
    }
  }
  return tile;
}

HookSlot<std::function<bool()>> g_reader("dialog texture option");

}  // namespace

TextureTile DrawTextureTile(DialogTexture texture) {
  if (texture == DialogTexture::kSheet) return Draw(0xEBE6E6, 5.0, 7.0, 2, 713);
  return Draw(0xF0EDE4, 4.0, 9.0, 3, 709);
}

bool TexturedBackgrounds() { return g_reader.Get() && g_reader.Get()(); }

void SetTexturedBackgroundsReader(std::function<bool()> reader) { g_reader.Exchange(std::move(reader)); }

}  // namespace vornel
