#pragma once
// The text exports for the DOS typesetter and for Braille transcription are written as a
// Windows text-mode file: Windows-1252 bytes (a character the code page lacks becomes '?')
// and a carriage return before every line feed. Form feeds pass as they are.

#include <string>
#include <string_view>

namespace vornel {

std::string ToWindowsTextFile(std::string_view utf8);

// Writes that form of `utf8` to `path` through a temporary file; false, with the old file
// untouched and `error` (when given) saying why, when it could not be written.
bool WriteWindowsTextFile(const std::string& path, std::string_view utf8, std::string* error = nullptr);

}  // namespace vornel
