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

// A transposition read from a file, kept within what moves a pitch across the MIDI range and
// no further (±127 half steps), so that adding it to a pitch can never overflow.
inline constexpr int32_t kMaxTransposition = 127;
inline int32_t ClampTransposition(int32_t semitones) {
  return semitones < -kMaxTransposition ? -kMaxTransposition
                                        : (semitones > kMaxTransposition ? kMaxTransposition : semitones);
}

}  // namespace vornel
