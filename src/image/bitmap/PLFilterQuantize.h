#pragma once
// Reduces a 32-bit image to 8 bits per pixel with a palette of 256 colours. The palette comes
// from median cut, from popularity, from the fixed default table or from a palette the
// caller supplies; pixels are mapped to it plainly, with ordered dithering or with
// Floyd-Steinberg error diffusion. Colours are counted in 32,768 cells of 5 bits per
// channel, and the nearest palette entry is searched once per cell.

#include <array>
#include <memory>
#include <vector>

#include "image/bitmap/PLFilter.h"

namespace vornel {

class PLFilterQuantize : public PLFilter {
 public:
  enum PaletteType { kMedianCut = 0, kPopularity = 1, kDefaultPalette = 2, kUserPalette = 3 };
  enum DitherType { kNoDither = 0, kOrderedDither = 1, kFloydSteinberg = 2 };

  // The 256 entries of the default table.
  static const std::array<PLPixel32, 256>& DefaultPalette();

  PLFilterQuantize(int paletteType, int ditherType);
  ~PLFilterQuantize() override;

  // The palette of palette type 3 (256 entries); none at construction.
  void SetUserPalette(const PLPixel32* entries);

  // `source` must have 32 bits per pixel. The histogram stays filled afterwards: a second
  // Apply with the same filter counts on top of the first and reuses the cells' indices.
  void Apply(const PLBmp& source, PLBmp& destination) override;

 private:
  // A box of colour cells for median cut; corners and mean in 5-bit cell units.
  struct Box {
    uint8_t low[3] = {};   // red, green, blue
    uint8_t high[3] = {};
    uint8_t mean[3] = {};
    uint32_t count = 0;
  };
  static constexpr uint32_t kNoIndex = 0xFFFFFFFF;
  struct Cell {
    uint32_t index = kNoIndex;
    uint32_t count = 0;
  };

  static int CellOf(int red, int green, int blue) { return ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3); }

  void CountColours(const PLBmp& source);
  void MakeMedianCutPalette(PLPixel32* palette);
  void MakePopularityPalette(PLPixel32* palette);
  void ComputeBoxStatistics(Box& box) const;
  void MapPixels(const PLBmp& source, PLBmp& destination);
  uint8_t LookUp(int red, int green, int blue, const PLPixel32* palette);

  int paletteType_;
  int ditherType_;
  std::unique_ptr<std::array<PLPixel32, 256>> userPalette_;
  std::vector<Cell> histogram_;  // 32,768 cells; one not met yet has count 0 and no index
  std::vector<Box> boxes_;                        // 256
};

}  // namespace vornel
