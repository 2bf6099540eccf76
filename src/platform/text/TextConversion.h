#pragma once
// Conversions between the UTF-8 text of the core, the UTF-16 text of binary archives and
// the 8-bit Windows-1252 text of old files.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vornel {

// UTF-16 code units to UTF-8. Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::u16string_view wide);

// UTF-8 to UTF-16 code units. Malformed sequences become U+FFFD.
std::u16string Utf8ToWide(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes to UTF-8 (the five undefined bytes map to their C1 controls).
std::string Cp1252ToUtf8(std::string_view bytes);

// The Windows-1252 byte of a code point (the five undefined bytes stand for their C1 controls);
// nothing for a character the code page lacks.
std::optional<uint8_t> Cp1252ByteOf(char32_t codePoint);

// Windows-1252 bytes of a UTF-8 text; characters outside it become '?'.
std::string Utf8ToCp1252(std::string_view text);

// 8-bit text of unknown origin: kept when it is valid UTF-8, otherwise read as Windows-1252.
std::string Decode8BitText(std::string_view bytes);

// Appends the UTF-8 form of one code point (invalid ones as U+FFFD).
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the code point at `pos` and advances it; malformed input yields U+FFFD and
// advances by one byte.
char32_t DecodeUtf8(std::string_view text, size_t& pos);

}  // namespace vornel
