#pragma once
// The C runtime's text-to-number rules as the MusicXML tree applies them, without the locale:
// leading white space, an optional sign, the longest number that follows; text without a
// leading number gives 0. Integers saturate at the 32-bit limits instead of wrapping.

#include <cstdint>
#include <string_view>

namespace vornel::MusicXML2 {

int32_t AtoI(std::string_view text);  // atoi, atol and strtol in base 10
double AtoF(std::string_view text);   // atof

}  // namespace vornel::MusicXML2
