#include "model/text/RtfText.h"

namespace vornel {

namespace {

bool IsEscapedAt(std::string_view s, size_t i) {
  size_t backslashes = 0;
  while (i > backslashes && s[i - backslashes - 1] == '\\') ++backslashes;
  return backslashes % 2 == 1;
}

size_t LastUnescapedBrace(std::string_view s) {
  for (size_t i = s.size(); i-- > 0;) {
    if (s[i] == '}' && !IsEscapedAt(s, i)) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::string RtfTrailingBody(std::string_view rtf) {
  const size_t last = LastUnescapedBrace(rtf);
  std::string_view body = last == std::string_view::npos ? std::string_view() : rtf.substr(0, last);
  while (!body.empty() && body.back() == '}' && !IsEscapedAt(body, body.size() - 1)) body.remove_suffix(1);
  const size_t groupEnd = LastUnescapedBrace(body);
  if (groupEnd != std::string_view::npos) body.remove_prefix(groupEnd + 1);
  return std::string(body);
}

}  // namespace vornel
