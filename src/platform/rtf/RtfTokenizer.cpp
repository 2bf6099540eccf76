#include "platform/rtf/RtfTokenizer.h"

#include <limits>

namespace vornel {

namespace {

constexpr bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

RtfToken RtfTokenizer::Next() {
  RtfToken token;
  token.offset = pos_;
  if (pos_ >= input_.size()) return token;
  const char c = input_[pos_];
  if (c == '{') {
    ++pos_;
    token.kind = RtfToken::Kind::kGroupStart;
    return token;
  }
  if (c == '}') {
    ++pos_;
    token.kind = RtfToken::Kind::kGroupEnd;
    return token;
  }
  if (c != '\\') {
    const size_t end = input_.find_first_of("\\{}", pos_);
    const size_t stop = end == std::string_view::npos ? input_.size() : end;
    token.kind = RtfToken::Kind::kText;
    token.text = input_.substr(pos_, stop - pos_);
    pos_ = stop;
    return token;
  }

  // A backslash: a control word, a symbol or an escape. A backslash at the very end is dropped.
  ++pos_;
  if (pos_ >= input_.size()) return token;
  const char first = input_[pos_];
  if (!IsLetter(first)) {
    if (first == '\'') {
      ++pos_;
      token.kind = RtfToken::Kind::kHexByte;
      // Two characters are taken unless one of them would start a group, end one or start
      // another control: those stay for the next token.
      int value = 0;
      int digits = 0;
      bool valid = true;
      while (digits < 2 && pos_ < input_.size()) {
        const char h = input_[pos_];
        if (h == '\\' || h == '{' || h == '}') break;
        const int v = HexValue(h);
        if (v < 0) valid = false;
        value = value * 16 + (v < 0 ? 0 : v);
        ++digits;
        ++pos_;
      }
      token.validHex = valid && digits == 2;
      token.byte = static_cast<uint8_t>(value);
      return token;
    }
    token.kind = RtfToken::Kind::kControlSymbol;
    token.word = input_.substr(pos_, 1);
    ++pos_;
    return token;
  }

  const size_t wordStart = pos_;
  while (pos_ < input_.size() && IsLetter(input_[pos_])) ++pos_;
  token.kind = RtfToken::Kind::kControlWord;
  token.word = input_.substr(wordStart, pos_ - wordStart);
  bool negative = false;
  if (pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1])) {
    negative = true;
    ++pos_;
  }
  if (pos_ < input_.size() && IsDigit(input_[pos_])) {
    token.hasParameter = true;
    // Every digit belongs to the word; the value stops growing at the bound.
    int64_t value = 0;
    constexpr int64_t kBound = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    while (pos_ < input_.size() && IsDigit(input_[pos_])) {
      if (value < kBound) value = value * 10 + (input_[pos_] - '0');
      ++pos_;
    }
    if (value > kBound) value = kBound;
    if (negative) {
      value = -value;
    } else if (value > std::numeric_limits<int32_t>::max()) {
      value = std::numeric_limits<int32_t>::max();
    }
    token.parameter = static_cast<int32_t>(value);
  }
  if (pos_ < input_.size() && input_[pos_] == ' ') ++pos_;

  if (token.word == "bin" && token.hasParameter) {
    const size_t wanted = token.parameter > 0 ? static_cast<size_t>(token.parameter) : 0;
    const size_t available = input_.size() - pos_;
    if (wanted > available) truncated_ = true;
    const size_t taken = wanted < available ? wanted : available;
    token.kind = RtfToken::Kind::kBinary;
    token.text = input_.substr(pos_, taken);
    pos_ += taken;
  }
  return token;
}

}  // namespace vornel
