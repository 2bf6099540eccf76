#include "musicxml/tree/TextNumbers.h"

#include <limits>

#include "platform/text/NumberText.h"

namespace vornel::MusicXML2 {

int32_t AtoI(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  // Accumulated in 64 bits and held at 2^31, so that INT32_MIN itself is reachable.
  int64_t value = 0;
  constexpr int64_t kLimit = -int64_t(std::numeric_limits<int32_t>::min());
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) return static_cast<int32_t>(-value);
  return value > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                      : static_cast<int32_t>(value);
}

double AtoF(std::string_view text) {
  double value = 0;
  return ScanReal(text, value) ? value : 0.0;
}

}  // namespace vornel::MusicXML2
