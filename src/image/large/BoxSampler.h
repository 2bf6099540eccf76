#pragma once
// Reduces a region of a picture by a power of two into a 32-bit bitmap, fed rows of pixels in
// any order: each output pixel is the mean of its box of factor x factor pixels, or, above a
// factor of 4, of a grid of 4 x 4 samples of its box (every factor / 4-th row and column), so
// that a reduced read converts and adds a sixteenth of the pixels or fewer. With a factor of 1
// the pixels go straight into the bitmap.
//
// Readers that work in parallel each add into a part of their own (Part), covering the output
// rows of what they read, and merge it into the whole under a lock; the pixels of a factor of
// 1 go straight into the bitmap from any part, as different parts write different pixels.

#include <cstdint>
#include <vector>

#include "image/bitmap/PLBmp.h"
#include "image/large/LargeImageSource.h"

namespace vornel {

class BoxSampler {
 public:
  // `region` is the part of the picture being read, clipped to it; `out` has been created at
  // its reduced size.
  BoxSampler(PLBmp& out, const ImageRegion& region, int factor);

  // The rows and columns (relative to the region) that count: multiples of Step().
  int Step() const { return step_; }
  bool WantsRow(int64_t y) const { return y >= 0 && y < limitY_ && y % step_ == 0; }
  // The first column at or after `x` that counts.
  int64_t FirstColumn(int64_t x) const { return (x + step_ - 1) / step_ * step_; }
  // How many of the columns [x, end) count, from FirstColumn(x) on.
  int32_t ColumnCount(int64_t x, int64_t end) const;

  // `count` pixels of region row `y`, the first at region column `x` (a column that counts),
  // the others Step() columns apart.
  void Add(int64_t y, int64_t x, const PLPixel32* pixels, int32_t count);
  // `count` neighbouring pixels of region row `y` from region column `x` on, of which the
  // columns that count are taken.
  void AddRun(int64_t y, int64_t x, const PLPixel32* pixels, int32_t count) { AddSpaced(y, x, pixels, count, 1); }
  // The same for pixels `spacing` columns apart (the rows of an interlaced pass).
  void AddSpaced(int64_t y, int64_t x, const PLPixel32* pixels, int32_t count, int spacing);

  // A part for the output pixels that region rows [firstRow, endRow) and columns
  // [firstColumn, endColumn) fall into, to add into without a lock and merge into this sampler.
  BoxSampler Part(int64_t firstRow, int64_t endRow, int64_t firstColumn, int64_t endColumn) const;
  void Merge(const BoxSampler& part);

  // Writes the means into the bitmap.
  void Finish();

 private:
  // A part of `whole` holding the output pixels of rows [firstOutRow, firstOutRow + outRows)
  // and columns [firstOutColumn, firstOutColumn + outColumns).
  BoxSampler(const BoxSampler& whole, int64_t firstOutRow, int64_t outRows, int64_t firstOutColumn,
             int64_t outColumns);

  PLBmp& out_;
  int factor_;
  int step_;
  int64_t limitX_ = 0;  // region pixels the bitmap holds
  int64_t limitY_ = 0;
  int32_t firstOutRow_ = 0;  // of the sums held
  int32_t outRows_ = 0;
  int32_t firstOutColumn_ = 0;
  int32_t outColumns_ = 0;
  std::vector<uint16_t> sums_;  // blue, green, red, alpha per output pixel held, row by row
};

}  // namespace vornel
