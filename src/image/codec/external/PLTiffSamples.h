#pragma once
// Reads the samples of TIFF images one storage unit (a tile, a strip, or a band of rows of a
// long strip) at a time: grey (1 to 16 bits, min-is-black or min-is-white), palette (1 to 8
// bits), RGB (8 or 16 bits) and CIE L*a*b* (8 bits); unsigned or signed samples; interleaved
// or in separate planes; with extra samples, of which the first gives the alpha when the file
// says it is one. Samples of 16 bits keep their high byte; signed ones show their positive
// range from black to white (below 0 is black); L*a*b* is converted to sRGB; associated alpha
// is divided out of the colour.
// Rows come out as 32-bit pixels (every `step`-th column, for reduced reading), or in the
// picture's own depth (1 or 8 bits with a palette) for grey and palette images of one sample.
// Whole images, regions and reduced copies are all built from these units. Strips of
// interleaved samples are read a line at a time, so no strip is ever held whole.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <tiffio.h>

#include "image/bitmap/PLPixel32.h"

namespace vornel {

class PLTiffSamples {
 public:
  // One storage unit: its place in the image (clipped to it).
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
  bool HasAlpha() const { return alpha_ >= 0; }
  size_t UnitCount() const { return units_.size(); }
  const Unit& UnitAt(size_t index) const { return units_[index]; }
  // Units of one group must be read in order, by one reader, for the reading to stay linear:
  // the bands of rows of one strip, which the library decodes from the strip's start. Every
  // tile, and every strip of separate planes, is a group of its own.
  uint32_t GroupOf(size_t index) const { return banded_ ? units_[index].y / stripRows_ : uint32_t(index); }

  // The depth rows keep in NativeRow: 1 or 8 bits with Palette(), or 32.
  int NativeBits() const { return nativeBits_; }
  const PLPixel32* Palette() const { return palette_.data(); }

  // Decodes unit `index`; its rows are then at hand for the row calls. A unit the library
  // cannot read throws PLTextException; `tolerant` leaves it zero instead and returns false.
  bool ReadUnit(size_t index, bool tolerant = false);
  // Row `r` of the unit read last: `count` pixels from unit column `x`, every `step`-th.
  void RowPixels(uint32_t r, uint32_t x, uint32_t step, uint32_t count, PLPixel32* out) const;
  // Row `r` of the unit read last in NativeBits (1 or 8) depth: the unit's width of pixels.
  void NativeRow(uint32_t r, uint8_t* out) const;

  // The bytes one unit takes decoded (for the callers' memory bounds).
  uint64_t UnitBytes() const { return raw_.size(); }

 private:
  enum class Kind { kGrey, kPalette, kRgb, kLab };

  // Sample `k` of pixel `x` in row `r` of the unit read, as 8 bits (palette images: the index).
  uint8_t Sample(uint32_t r, uint32_t x, uint32_t k) const;
  PLPixel32 Pixel(uint32_t r, uint32_t x) const;

  TIFF* tiff_;
  const std::string& lastError_;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  uint16_t bits_ = 8;
  uint16_t samples_ = 1;
  bool signed_ = false;
  bool separate_ = false;
  bool tiled_ = false;
  bool banded_ = false;      // units are bands of rows of strips, read line by line
  uint32_t stripRows_ = 1;   // rows of a strip
  Kind kind_ = Kind::kGrey;
  bool whiteIsZero_ = false;
  int alpha_ = -1;           // the sample that holds alpha, or none
  bool associated_ = false;  // the colour is multiplied by the alpha
  int nativeBits_ = 32;
  std::array<PLPixel32, 256> palette_{};  // grey levels or the colour map, by 8-bit sample
  uint32_t unitWidth_ = 0;   // a tile's width, or the image width for strips
  uint32_t unitHeight_ = 0;  // a tile's height, or the rows of a strip or band
  uint32_t current_ = 0;     // the unit read last
  size_t rowBytes_ = 0;      // of one row of one plane in raw_
  size_t planeBytes_ = 0;    // of one plane of one unit in raw_
  std::vector<Unit> units_;
  std::vector<uint8_t> raw_;  // one decoded unit of every plane, one after the other
};

}  // namespace vornel
