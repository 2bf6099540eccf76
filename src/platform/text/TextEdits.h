#pragma once
// Small edits of UTF-8 text that several records share.

#include <string>
#include <string_view>

namespace vornel {

// The blanks of the C locale: space, tab, line feed, carriage return, vertical tab, form feed.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The text without leading and trailing blanks.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Replaces every occurrence of `from`, left to right and without overlaps, in one pass.
inline void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  size_t pos = text.find(from);
  if (pos == std::string::npos) return;
  std::string out;
  size_t done = 0;
  while (pos != std::string::npos) {
    out.append(text, done, pos - done);
    out.append(to);
    done = pos + from.size();
    pos = text.find(from, done);
  }
  out.append(text, done, std::string::npos);
  text = std::move(out);
}

}  // namespace vornel
