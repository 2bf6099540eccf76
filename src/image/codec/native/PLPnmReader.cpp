#include "image/codec/native/PLPnmReader.h"

#include <algorithm>
#include <limits>

#include "image/codec/PLPicDecoder.h"

namespace vornel {

namespace {

bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsWhite(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

void PLPnmReader::Next() { current_ = source_.ReadByte(); }

void PLPnmReader::NextOrEnd() { current_ = source_.GetBytesLeft() > 0 ? source_.ReadByte() : -1; }

PLPnmReader::Header PLPnmReader::ReadHeader(char textLetter, char binaryLetter, std::string_view wrongIdentifier) {
  Header header;
  if (source_.ReadByte() != 'P') PLPicDecoder::RaiseError(2, wrongIdentifier);
  const int letter = source_.ReadByte();
  if (letter == textLetter) header.type = 0;
  else if (letter == binaryLetter) header.type = 1;
  else PLPicDecoder::RaiseError(2, wrongIdentifier);

  Next();
  int numbers = 0;
  for (;;) {
    if (current_ == '#') {
      // A comment runs to the end of its line; the line end is read as white space.
      do Next();
      while (current_ != '\n' && current_ != '\r');
    } else if (IsDigit(current_)) {
      if (numbers == 2) break;
      (numbers++ == 0 ? header.width : header.height) = ReadNumber();
    } else {
      // White space, and any stray character, is passed over: every turn consumes a byte.
      Next();
    }
  }
  header.maxValue = ReadNumber();
  if (header.maxValue > 65535 || header.maxValue == 0) header.maxValue = 255;
  return header;
}

int64_t PLPnmReader::ReadNumber() {
  constexpr int64_t kLimit = std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  while (IsDigit(current_)) {
    value = std::min(value * 10 + (current_ - '0'), kLimit);
    NextOrEnd();
  }
  return value;
}

void PLPnmReader::SkipWhiteSpace() {
  if (current_ < 0) PLDataSource::RaiseEndOfData();
  while (IsWhite(current_)) Next();
}

}  // namespace vornel
