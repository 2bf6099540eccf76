#include "platform/draw/MulDiv.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace vornel {

int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  // Work on magnitudes so that halves round away from zero whatever the signs.
  const bool negative = (product < 0) != (denominator < 0);
  const uint64_t magnitude = static_cast<uint64_t>(product < 0 ? -product : product);
  const uint64_t divisor = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(denominator)));
  const uint64_t quotient = (magnitude + divisor / 2) / divisor;
  if (quotient > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return -1;
  const int64_t result = negative ? -static_cast<int64_t>(quotient) : static_cast<int64_t>(quotient);
  return static_cast<int32_t>(result);
}

int32_t RoundHalfAway(double value) {
  if (!std::isfinite(value)) return 0;
  const double rounded = std::round(value);  // std::round already rounds halves away from zero
  if (rounded >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (rounded <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(rounded);
}

}  // namespace vornel
