#include "platform/text/FormatText.h"

#include <cstdio>

namespace vornel {

void AppendFormatV(std::string& out, const char* format, va_list args) {
  // Short texts are formatted on the stack; a longer one is formatted again in place.
  va_list again;
  va_copy(again, args);
  char small[256];
  const int length = std::vsnprintf(small, sizeof small, format, args);
  if (length >= 0 && static_cast<size_t>(length) < sizeof small) {
    out.append(small, static_cast<size_t>(length));
  } else if (length >= 0) {
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(length) + 1);
    std::vsnprintf(out.data() + start, static_cast<size_t>(length) + 1, format, again);
    out.resize(start + static_cast<size_t>(length));
  }
  va_end(again);
}

void AppendFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendFormatV(out, format, args);
  va_end(args);
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20 || u == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

std::string FormatText(const char* format, ...) {
  std::string text;
  va_list args;
  va_start(args, format);
  AppendFormatV(text, format, args);
  va_end(args);
  return text;
}

}  // namespace vornel
