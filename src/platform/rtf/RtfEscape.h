#pragma once
// Plain text placed into RTF. Every text that goes into an RTF string built by this system
// passes through EscapeRtfText, so the RTF stays well formed whatever the text holds.

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

// UTF-8 text as RTF text: '\', '{' and '}' escaped, tabs as \tab, other control characters
// as \'hh, and every character above 127 as \uN (signed 16-bit units, two for characters
// beyond the basic plane) followed by one fallback character: its Windows-1252 byte as \'hh
// where there is one, else '?'. Line feeds and carriage returns are kept.
std::string EscapeRtfText(std::string_view utf8);

// Appends "\'hh" (lower-case digits).
void AppendRtfHexByte(std::string& out, uint8_t byte);

}  // namespace vornel
