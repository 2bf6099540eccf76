#pragma once
// Locale-independent number texts in the forms the XML files use: "%d", "%u", "%.17g" when
// writing, and a C-style scan when reading.

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

std::string FormatInt(int32_t value);       // "%d"
std::string FormatUnsigned(uint32_t value);  // "%u"
std::string FormatReal(double value);        // "%.17g"

// The same forms written into a buffer of the caller, ended by a NUL, without allocating: for
// writers that put out one number after another.
struct NumberBuffer {
  char text[64];
};
const char* FormatInt(int32_t value, NumberBuffer& buffer);
const char* FormatUnsigned(uint32_t value, NumberBuffer& buffer);
const char* FormatReal(double value, NumberBuffer& buffer);

// Scans an integer the way "%d" and "%u" did: leading white space, an optional sign, then
// decimal digits up to the first other character ("3.9" gives 3). The digits accumulate
// modulo 2^32, so "4294967295" and "-1" both give 0xFFFFFFFF. Returns false when no digit
// was found (the caller keeps its zero).
bool ScanInt(std::string_view text, uint32_t& value);

// Scans a real number the way "%lf" did (leading white space, longest valid prefix).
bool ScanReal(std::string_view text, double& value);

}  // namespace vornel
