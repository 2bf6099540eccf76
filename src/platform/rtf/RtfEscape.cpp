#include "platform/rtf/RtfEscape.h"

#include <cstdint>

#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendUnicodeUnit(std::string& out, char16_t unit) {
  // \uN takes a signed 16-bit number.
  out += "\\u";
  out += std::to_string(static_cast<int16_t>(unit));
}

}  // namespace

void AppendRtfHexByte(std::string& out, uint8_t byte) {
  out += "\\'";
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

std::string EscapeRtfText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + utf8.size() / 8);
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = DecodeUtf8(utf8, pos);
    if (cp < 0x80) {
      const char c = static_cast<char>(cp);
      if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += c;
      } else if (c == '\t') {
        out += "\\tab ";
      } else if (c == '\n' || c == '\r' || (c >= 0x20 && c < 0x7F)) {
        out += c;
      } else {
        AppendRtfHexByte(out, static_cast<uint8_t>(c));
      }
      continue;
    }
    if (cp <= 0xFFFF) {
      AppendUnicodeUnit(out, static_cast<char16_t>(cp));
      // The fallback for readers without \u; C1 controls are shown by none.
      const auto fallback = cp >= 0xA0 ? Cp1252ByteOf(cp) : std::nullopt;
      if (fallback) {
        AppendRtfHexByte(out, *fallback);
      } else {
        out += '?';
      }
    } else {
      const char32_t v = cp - 0x10000;
      AppendUnicodeUnit(out, static_cast<char16_t>(0xD800 + (v >> 10)));
      out += '?';
      AppendUnicodeUnit(out, static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
      out += '?';
    }
  }
  return out;
}

}  // namespace vornel
