#pragma once
// Integer scaling with the rounding every metric-to-device conversion of the drawing code
// relies on.

#include <cstdint>

namespace vornel {

// number × numerator / denominator with a 64-bit intermediate, halves rounded away from
// zero. A zero denominator, or a result outside 32 bits, gives -1.
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

// Nearest integer, halves away from zero.
int32_t RoundHalfAway(double value);

}  // namespace vornel
