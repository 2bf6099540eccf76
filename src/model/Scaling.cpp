#include "model/Scaling.h"

#include <limits>

namespace vornel {

namespace {

int32_t Clamp32(__int128 v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace

int32_t ScaleTruncated(int64_t value, int64_t numerator, int64_t denominator) {
  if (denominator == 0) return 0;
  return Clamp32(static_cast<__int128>(value) * numerator / denominator);
}

int32_t ScaleRounded(int64_t value, int64_t numerator, int64_t denominator) {
  if (denominator == 0) return 0;
  __int128 product = static_cast<__int128>(value) * numerator;
  __int128 den = denominator;
  if (den < 0) {
    den = -den;
    product = -product;
  }
  const __int128 half = den / 2;
  const __int128 rounded = product >= 0 ? (product + half) / den : -((-product + half) / den);
  return Clamp32(rounded);
}

}  // namespace vornel
