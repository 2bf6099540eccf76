#include "image/large/BoxSampler.h"

#include <algorithm>
#include <cstring>

namespace vornel {

BoxSampler::BoxSampler(PLBmp& out, const ImageRegion& region, int factor)
    : out_(out), factor_(factor), step_(std::max(1, factor / 4)) {
  // Pixels beyond what the bitmap holds (a region cut at other boundaries) are dropped.
  limitX_ = std::min<int64_t>(region.width, int64_t(out.GetWidth()) * factor);
  limitY_ = std::min<int64_t>(region.height, int64_t(out.GetHeight()) * factor);
  outRows_ = out.GetHeight();
  outColumns_ = out.GetWidth();
  if (factor_ > 1) sums_.assign(size_t(outColumns_) * size_t(outRows_) * 4, 0);
}

int32_t BoxSampler::ColumnCount(int64_t x, int64_t end) const {
  const int64_t first = FirstColumn(std::max<int64_t>(x, 0));
  const int64_t last = std::min(end, limitX_);
  return last > first ? static_cast<int32_t>((last - first + step_ - 1) / step_) : 0;
}

void BoxSampler::Add(int64_t y, int64_t x, const PLPixel32* pixels, int32_t count) {
  if (!WantsRow(y)) return;
  // Pixels left of the region or beyond what the bitmap holds are dropped.
  int32_t from = 0;
  if (x < 0) {
    from = static_cast<int32_t>((-x + step_ - 1) / step_);
    x += int64_t(from) * step_;
  }
  auto to = static_cast<int32_t>(std::min<int64_t>(count, from + (limitX_ - x + step_ - 1) / step_));
  if (to <= from) return;
  if (factor_ == 1) {
    std::memcpy(out_.GetLineArray()[y] + size_t(x) * 4, pixels + from, size_t(to - from) * 4);
    return;
  }
  const int64_t outRow = y / factor_ - firstOutRow_;
  const int64_t outColumn = x / factor_ - firstOutColumn_;
  if (outRow < 0 || outRow >= outRows_ || outColumn < 0) return;
  // Nothing is added beyond the columns held.
  const int perBox = factor_ / step_;
  const int64_t held = (int64_t(outColumns_) - outColumn) * perBox - (x % factor_) / step_;
  to = static_cast<int32_t>(std::min<int64_t>(to, from + held));
  // The samples of one box along a row, and how many of them are still to come in the first.
  int left = perBox - static_cast<int>(x % factor_) / step_;
  uint16_t* s = sums_.data() + (size_t(outRow) * size_t(outColumns_) + size_t(outColumn)) * 4;
  for (int32_t i = from; i < to; ++i) {
    const PLPixel32 p = pixels[i];
    s[0] = static_cast<uint16_t>(s[0] + p.b);
    s[1] = static_cast<uint16_t>(s[1] + p.g);
    s[2] = static_cast<uint16_t>(s[2] + p.r);
    s[3] = static_cast<uint16_t>(s[3] + p.a);
    if (--left == 0) {
      s += 4;
      left = perBox;
    }
  }
}

void BoxSampler::AddSpaced(int64_t y, int64_t x, const PLPixel32* pixels, int32_t count, int spacing) {
  if (!WantsRow(y) || count <= 0) return;
  if (step_ == 1 && spacing == 1) {
    Add(y, x, pixels, count);
    return;
  }
  // The pixels on columns that count, each added by itself.
  for (int32_t i = 0; i < count; ++i) {
    const int64_t column = x + int64_t(i) * spacing;
    if (column >= 0 && column % step_ == 0) Add(y, column, pixels + i, 1);
  }
}

BoxSampler::BoxSampler(const BoxSampler& whole, int64_t firstOutRow, int64_t outRows, int64_t firstOutColumn,
                       int64_t outColumns)
    : out_(whole.out_),
      factor_(whole.factor_),
      step_(whole.step_),
      limitX_(whole.limitX_),
      limitY_(whole.limitY_),
      firstOutRow_(static_cast<int32_t>(firstOutRow)),
      outRows_(static_cast<int32_t>(outRows)),
      firstOutColumn_(static_cast<int32_t>(firstOutColumn)),
      outColumns_(static_cast<int32_t>(outColumns)) {
  if (factor_ > 1) sums_.assign(size_t(outColumns_) * size_t(outRows_) * 4, 0);
}

BoxSampler BoxSampler::Part(int64_t firstRow, int64_t endRow, int64_t firstColumn, int64_t endColumn) const {
  if (factor_ == 1) return BoxSampler(*this, 0, 0, 0, 0);
  const auto span = [this](int64_t first, int64_t end, int64_t size) {
    const int64_t from = std::clamp<int64_t>(first / factor_, 0, size);
    return std::pair(from, std::clamp<int64_t>((end + factor_ - 1) / factor_, from, size) - from);
  };
  const auto [row, rows] = span(firstRow, endRow, out_.GetHeight());
  const auto [column, columns] = span(firstColumn, endColumn, out_.GetWidth());
  return BoxSampler(*this, row, rows, column, columns);
}

void BoxSampler::Merge(const BoxSampler& part) {
  if (factor_ == 1) return;
  for (int32_t r = 0; r < part.outRows_; ++r) {
    uint16_t* into = sums_.data() +
                     (size_t(part.firstOutRow_ - firstOutRow_ + r) * size_t(outColumns_) +
                      size_t(part.firstOutColumn_ - firstOutColumn_)) * 4;
    const uint16_t* from = part.sums_.data() + size_t(r) * size_t(part.outColumns_) * 4;
    for (size_t i = 0; i < size_t(part.outColumns_) * 4; ++i) into[i] = static_cast<uint16_t>(into[i] + from[i]);
  }
}

void BoxSampler::Finish() {
  if (factor_ == 1) return;
  const int32_t w = out_.GetWidth();
  // A box's samples: its rows and columns that are multiples of the step (boxes start on one).
  const auto samples = [this](int64_t start, int64_t limit) {
    return static_cast<uint32_t>((std::min<int64_t>(factor_, limit - start) + step_ - 1) / step_);
  };
  for (int32_t oy = 0; oy < outRows_; ++oy) {
    const uint32_t rows = samples(int64_t(firstOutRow_ + oy) * factor_, limitY_);
    uint8_t* line = out_.GetLineArray()[firstOutRow_ + oy];
    const uint16_t* s = sums_.data() + size_t(oy) * size_t(outColumns_) * 4;
    for (int32_t ox = 0; ox < w; ++ox, s += 4) {
      const uint32_t n = std::max(1u, rows * samples(int64_t(ox) * factor_, limitX_));
      for (int k = 0; k < 4; ++k) line[4 * ox + k] = static_cast<uint8_t>((s[k] + n / 2) / n);
    }
  }
}

}  // namespace vornel
