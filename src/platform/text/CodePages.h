#pragma once
// 8-bit and double-byte texts of Windows code pages (the code page an RTF header names, or
// the one a font's character set implies) as UTF-8. Windows-1252 is decoded by our own table;
// the other code pages through the C library's converters.

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

// `bytes` in code page `codePage` as UTF-8. A code page the system cannot convert, or one
// whose control characters are not those of ASCII (EBCDIC), is read as Windows-1252; bytes
// that do not decode become U+FFFD, one for each. Every character decoded is kept, also the
// last one of a page that waits for a combining mark after it (1255, 1258).
std::string DecodeCodePage(std::string_view bytes, int32_t codePage);

// The code page of a font character set (\fcharsetN); 0 for the ANSI, default and symbol sets,
// whose text follows the document's code page.
int32_t CodePageOfCharset(int32_t charset);

}  // namespace vornel
