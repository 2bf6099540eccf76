#include "platform/text/NumberText.h"

#include <charconv>
#include <cmath>

namespace vornel {

namespace {

template <typename T, typename... Args>
const char* ToChars(NumberBuffer& buffer, T value, Args... args) {
  const auto result = std::to_chars(buffer.text, buffer.text + sizeof buffer.text - 1, value, args...);
  *result.ptr = '\0';
  return buffer.text;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

const char* FormatInt(int32_t value, NumberBuffer& buffer) { return ToChars(buffer, value); }

const char* FormatUnsigned(uint32_t value, NumberBuffer& buffer) { return ToChars(buffer, value); }

const char* FormatReal(double value, NumberBuffer& buffer) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  return ToChars(buffer, value, std::chars_format::general, 17);
}

std::string FormatInt(int32_t value) {
  NumberBuffer buffer;
  return FormatInt(value, buffer);
}

std::string FormatUnsigned(uint32_t value) {
  NumberBuffer buffer;
  return FormatUnsigned(value, buffer);
}

std::string FormatReal(double value) {
  NumberBuffer buffer;
  return FormatReal(value, buffer);
}

bool ScanInt(std::string_view text, uint32_t& value) {
  size_t pos = 0;
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  uint32_t accumulated = 0;
  bool anyDigit = false;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    accumulated = accumulated * 10u + static_cast<uint32_t>(text[pos] - '0');
    anyDigit = true;
    ++pos;
  }
  if (!anyDigit) return false;
  value = negative ? 0u - accumulated : accumulated;
  return true;
}

bool ScanReal(std::string_view text, double& value) {
  size_t pos = 0;
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  if (pos < text.size() && text[pos] == '+') ++pos;  // from_chars refuses a leading '+'
  double parsed = 0;
  const auto result = std::from_chars(text.data() + pos, text.data() + text.size(), parsed);
  if (result.ec == std::errc::invalid_argument) return false;
  if (result.ec == std::errc::result_out_of_range) {
    // Like strtod: overflow gives infinity, underflow zero, with the sign of the text.
    const bool negative = pos < text.size() && text[pos] == '-';
    const std::string_view rest = text.substr(pos + (negative ? 1 : 0));
    const size_t e = rest.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-';
    parsed = tiny ? 0.0 : HUGE_VAL;
    if (negative) parsed = -parsed;
  }
  value = parsed;
  return true;
}

}  // namespace vornel
