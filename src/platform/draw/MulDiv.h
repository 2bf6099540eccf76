#pragma once
// Integer scaling with the rounding every metric-to-device conversion of the drawing code
// relies on.

#include <cstdint>

namespace vornel {

// number × numerator / denominator with a 64-bit intermediate, halves rounded away from
// zero. A zero denominator, or a result outside 32 bits, gives -1.
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

// A length or position read from a document (hundredths of a millimetre), kept within a metre
// either way: the drawing adds such values to places on the page, and a stored value beyond any
// page must not carry those sums past 32 bits.
inline constexpr int64_t kMaxStoredLength = 100000;
constexpr int32_t SaneStoredLength(int64_t value) {
  return static_cast<int32_t>(value < -kMaxStoredLength ? -kMaxStoredLength
                              : value > kMaxStoredLength ? kMaxStoredLength
                                                         : value);
}

// Nearest integer, halves away from zero.
int32_t RoundHalfAway(double value);

}  // namespace vornel
