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

// Scans an integer the way "%d" and "%u" did: leading white space, an optional sign, then
// decimal digits up to the first other character ("3.9" gives 3). The digits accumulate
// modulo 2^32, so "4294967295" and "-1" both give 0xFFFFFFFF. Returns false when no digit
// was found (the caller keeps its zero).
bool ScanInt(std::string_view text, uint32_t& value);

// Scans a real number the way "%lf" did (leading white space, longest valid prefix).
bool ScanReal(std::string_view text, double& value);

}  // namespace vornel
