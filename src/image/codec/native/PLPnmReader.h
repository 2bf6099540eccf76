#pragma once
// The header grammar and the number reader that portable pixmaps and greymaps share.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "image/codec/io/PLDataSource.h"

namespace vornel {

class PLPnmReader {
 public:
  struct Header {
    int type = 0;  // 0 text samples, 1 binary samples
    int64_t width = 0;
    int64_t height = 0;
    int64_t maxValue = 0;  // 1 to 65535; above 255 binary samples take two bytes, high first

    int BytesPerSample() const { return maxValue > 255 ? 2 : 1; }
    // A sample as an 8-bit level: stretched or shrunk from 0..maxValue, rounded; samples
    // above the maximum count as the maximum.
    uint8_t Level(int64_t sample) const {
      return static_cast<uint8_t>((std::min(sample, maxValue) * 255 + maxValue / 2) / maxValue);
    }
  };

  explicit PLPnmReader(PLDataSource& source) : source_(source) {}

  // "P", then `textLetter` or `binaryLetter` (else code 2 with `wrongIdentifier`), then
  // width, height and maximum between white space and "#" comments. A maximum of 0 or
  // above 65535 becomes 255. After it, the one character that ended it has been consumed.
  Header ReadHeader(char textLetter, char binaryLetter, std::string_view wrongIdentifier);

  // A decimal number starting at the current character (0, nothing consumed, when that is
  // no digit). Numbers stop growing at 2^31 - 1; the end of the data ends a number.
  int64_t ReadNumber();
  bool AtNumber() const { return current_ >= '0' && current_ <= '9'; }
  // Passes over white space; the end of the data here is the end-of-data error.
  void SkipWhiteSpace();

  // Reads one line of `width` pixels of `perPixel` (1 or 3) samples, bytes (or big-endian
  // pairs of bytes) in a binary image, numbers after white space in a text one, and hands each pixel's samples to
  // `store(x, samples)`. A text sample that is no number is 0 and is not consumed, so it
  // and all samples after it are 0: then the line stops there and false is returned, for
  // the caller to leave the rest of the image as it was created (0) instead of reading
  // the same character for every pixel left.
  template <class Store>
  bool ReadLine(const Header& header, int width, int perPixel, Store store) {
    int64_t samples[3] = {};
    if (header.type == 1) {
      const int bytes = header.BytesPerSample();
      const uint8_t* in = source_.ReadNBytes(int64_t(width) * perPixel * bytes);
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < perPixel; ++c, in += bytes) samples[c] = bytes == 2 ? (in[0] << 8) | in[1] : in[0];
        store(x, samples);
      }
      return true;
    }
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < perPixel; ++c) {
        SkipWhiteSpace();
        if (!AtNumber()) return false;
        samples[c] = ReadNumber();
      }
      store(x, samples);
    }
    return true;
  }

 private:
  void Next();         // the next byte becomes current; past the end, code 11
  void NextOrEnd();    // the same, but the end of the data becomes -1

  PLDataSource& source_;
  int current_ = 0;
};

}  // namespace vornel
