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
  if (factor_ > 1) sums_.assign(size_t(out.GetWidth()) * size_t(outRows_) * 4, 0);
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
  const auto to = static_cast<int32_t>(std::min<int64_t>(count, from + (limitX_ - x + step_ - 1) / step_));
  if (to <= from) return;
  if (factor_ == 1) {
    std::memcpy(out_.GetLineArray()[y] + size_t(x) * 4, pixels + from, size_t(to - from) * 4);
    return;
  }
  const int64_t outRow = y / factor_ - firstOutRow_;
  if (outRow < 0 || outRow >= outRows_) return;
  // The samples of one box along a row, and how many of them are still to come in the first.
  const int perBox = factor_ / step_;
  int left = perBox - static_cast<int>(x % factor_) / step_;
  uint16_t* s = sums_.data() + (size_t(outRow) * size_t(out_.GetWidth()) + size_t(x / factor_)) * 4;
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

BoxSampler::BoxSampler(const BoxSampler& whole, int64_t firstOutRow, int64_t outRows)
    : out_(whole.out_),
      factor_(whole.factor_),
      step_(whole.step_),
      limitX_(whole.limitX_),
      limitY_(whole.limitY_),
      firstOutRow_(static_cast<int32_t>(firstOutRow)),
      outRows_(static_cast<int32_t>(outRows)) {
  if (factor_ > 1) sums_.assign(size_t(out_.GetWidth()) * size_t(outRows_) * 4, 0);
}

BoxSampler BoxSampler::Part(int64_t firstRow, int64_t endRow) const {
  if (factor_ == 1) return BoxSampler(*this, 0, 0);
  const int64_t first = std::clamp<int64_t>(firstRow / factor_, 0, out_.GetHeight());
  const int64_t end = std::clamp<int64_t>((endRow + factor_ - 1) / factor_, first, out_.GetHeight());
  return BoxSampler(*this, first, end - first);
}

void BoxSampler::Merge(const BoxSampler& part) {
  if (factor_ == 1) return;
  const size_t rowValues = size_t(out_.GetWidth()) * 4;
  uint16_t* into = sums_.data() + size_t(part.firstOutRow_ - firstOutRow_) * rowValues;
  for (size_t i = 0; i < size_t(part.outRows_) * rowValues; ++i) into[i] = static_cast<uint16_t>(into[i] + part.sums_[i]);
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
    const uint16_t* s = sums_.data() + size_t(oy) * size_t(w) * 4;
    for (int32_t ox = 0; ox < w; ++ox, s += 4) {
      const uint32_t n = std::max(1u, rows * samples(int64_t(ox) * factor_, limitX_));
      for (int k = 0; k < 4; ++k) line[4 * ox + k] = static_cast<uint8_t>((s[k] + n / 2) / n);
    }
  }
}

}  // namespace vornel
