#pragma once
// Cuts RTF text into its tokens: group starts and ends, control words with their numeric
// parameter, control symbols, \'hh escapes, runs of text and the data of \binN. Both the
// rich-text reader and the RTF-to-HTML converter read through it, so they agree on what is
// a word, a symbol and text.
//
// The input is hostile: every token is bounded by what remains, a parameter of any length
// saturates instead of overflowing, and a \bin that promises more than remains takes what
// there is and marks the input as truncated. Nothing is allocated per token.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vornel {

struct RtfToken {
  enum class Kind : uint8_t {
    kEnd,            // no more input
    kGroupStart,     // "{"
    kGroupEnd,       // "}"
    kControlWord,    // "\word" or "\word-12"; one space after it is part of the word
    kControlSymbol,  // "\" and one character that is not a letter: "\*", "\~", "\{", "\\" ...
    kHexByte,        // "\'hh"; `validHex` is false when the two characters are not hex digits
    kText,           // bytes up to the next "\", "{" or "}", line ends included
    kBinary,         // the bytes of "\binN"
  };

  Kind kind = Kind::kEnd;
  std::string_view word;     // kControlWord: the letters; kControlSymbol: the one character
  bool hasParameter = false;
  int32_t parameter = 0;     // saturated to the range of int32_t
  uint8_t byte = 0;          // kHexByte
  bool validHex = false;     // kHexByte
  std::string_view text;     // kText and kBinary
  size_t offset = 0;         // where the token starts in the input

  bool Is(std::string_view name) const { return kind == Kind::kControlWord && word == name; }
  bool IsSymbol(char c) const { return kind == Kind::kControlSymbol && word.size() == 1 && word[0] == c; }
};

class RtfTokenizer {
 public:
  explicit RtfTokenizer(std::string_view input) : input_(input) {}

  RtfToken Next();

  size_t Position() const { return pos_; }
  bool AtEnd() const { return pos_ >= input_.size(); }
  // A \bin asked for more bytes than remained.
  bool Truncated() const { return truncated_; }

 private:
  std::string_view input_;
  size_t pos_ = 0;
  bool truncated_ = false;
};

}  // namespace vornel
