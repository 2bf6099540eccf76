#pragma once
// Points and rectangles as the text and page records keep them: 32-bit device or metric
// coordinates, left/top/right/bottom.

#include <cstdint>
#include <utility>

namespace vornel {

struct StoredPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const StoredPoint&) const = default;
};

struct StoredRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  // Left no further right than right, top no lower than bottom.
  void Normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  bool operator==(const StoredRect&) const = default;
};

}  // namespace vornel
