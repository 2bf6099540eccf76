#pragma once
// Reads TIFF images of 8 or 16 bits per sample (grey, grey + alpha, RGB, RGBA), in strips or
// tiles, with the samples interleaved or in separate planes, one storage unit (strip or tile)
// at a time into 32-bit pixels. 16-bit samples keep their high byte; alpha is kept as stored
// (unassociated alpha is not multiplied into the colour). Whole images, regions and reduced
// copies are all built from these units, so no more than one unit is decoded at a time.

#include <cstdint>
#include <string>
#include <vector>

#include <tiffio.h>

#include "image/bitmap/PLPixel32.h"

namespace vornel {

class PLTiffSamples {
 public:
  // One strip or tile: its place in the image (clipped to it).
  struct Unit {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
  };

  // True when the image's layout is one this reader takes (and its orientation top-left).
  static bool Handles(TIFF* tiff);

  // `tiff` must satisfy Handles and outlive the reader; `lastError` is the handle's error text.
  PLTiffSamples(TIFF* tiff, const std::string& lastError);

  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  bool HasAlpha() const { return samples_ == 2 || samples_ == 4; }
  size_t UnitCount() const { return units_.size(); }
  const Unit& UnitAt(size_t index) const { return units_[index]; }

  // Decodes unit `index` into `pixels` (width x height of the unit, rows top-down). A unit the
  // library cannot read throws PLTextException; `tolerant` leaves it transparent black instead.
  void ReadUnit(size_t index, std::vector<PLPixel32>& pixels, bool tolerant = false);

  // The bytes one unit takes decoded (for the callers' memory bounds).
  uint64_t UnitPixelBytes() const { return uint64_t(unitWidth_) * unitHeight_ * 4; }

 private:
  uint8_t Sample(const uint8_t* plane, size_t index) const;

  TIFF* tiff_;
  const std::string& lastError_;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  uint16_t bits_ = 8;
  uint16_t samples_ = 1;
  bool separate_ = false;
  bool tiled_ = false;
  bool whiteIsZero_ = false;
  uint32_t unitWidth_ = 0;   // a tile's width, or the image width for strips
  uint32_t unitHeight_ = 0;  // a tile's height, or the rows of a strip
  std::vector<Unit> units_;
  std::vector<uint8_t> raw_;  // one decoded unit of every plane, one after the other
};

}  // namespace vornel
