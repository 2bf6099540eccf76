#pragma once
// File-format version texts ("9.8.1.0") and the gates that compare them. The comparison is on
// text, character by character, not on numbers: "9.16" sorts before "9.5".

#include <string_view>

namespace vornel {

inline constexpr std::string_view kCurrentFormatVersion = "9.8.1.0";

// Negative, zero or positive as `version` sorts before, equal to or after `literal`.
int CompareVersionText(std::string_view version, std::string_view literal);

// The four gate tests, named as the record layouts state them.
inline bool VersionAbove(std::string_view v, std::string_view literal) { return CompareVersionText(v, literal) > 0; }
inline bool VersionAtLeast(std::string_view v, std::string_view literal) { return CompareVersionText(v, literal) >= 0; }
inline bool VersionBelow(std::string_view v, std::string_view literal) { return CompareVersionText(v, literal) < 0; }
inline bool VersionAtMost(std::string_view v, std::string_view literal) { return CompareVersionText(v, literal) <= 0; }

}  // namespace vornel
