#pragma once
// Integer scaling of stored positions and sizes: value × numerator / denominator with a
// 64-bit intermediate, the result clamped to 32 bits. A zero denominator gives 0, so a
// zoom or resolution of 0 read from a file can never divide by zero.

#include <cstdint>

namespace vornel {

// Truncating toward zero, as the stored positions are computed.
int32_t ScaleTruncated(int64_t value, int64_t numerator, int64_t denominator);

// Rounding halves away from zero, as device sizes are computed.
int32_t ScaleRounded(int64_t value, int64_t numerator, int64_t denominator);

}  // namespace vornel
