#pragma once
// printf-style formatting into a std::string, for texts of any length (call logs, the XML
// printer), and texts quoted so that they stay on one line.

#include <cstdarg>
#include <string>
#include <string_view>

namespace vornel {

// Appends the text of `format` with `args`; `args` is consumed. Nothing is appended when the
// format is refused.
void AppendFormatV(std::string& out, const char* format, va_list args) __attribute__((format(printf, 2, 0)));
// Appends the text of `format` with the arguments that follow it.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The text of `format` with the arguments that follow it.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends `text` in double quotes with C escapes: \" \\ \n \r \t, and \xHH for the other
// control characters.
void AppendQuoted(std::string& out, std::string_view text);

}  // namespace vornel
