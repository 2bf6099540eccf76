#pragma once
// printf-style formatting into a std::string, for texts of any length (call logs, the XML
// printer).

#include <cstdarg>
#include <string>

namespace vornel {

// Appends the text of `format` with `args`; `args` is consumed. Nothing is appended when the
// format is refused.
void AppendFormatV(std::string& out, const char* format, va_list args) __attribute__((format(printf, 2, 0)));

// The text of `format` with the arguments that follow it.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vornel
