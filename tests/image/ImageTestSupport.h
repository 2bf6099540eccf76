#pragma once
// Helpers for the image tests: little byte writers for fixtures, decoding from memory and
// reading pixels back whatever the bitmap's depth.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/bitmap/PLBmp.h"
#include "image/codec/io/PLDataSink.h"
#include "image/codec/PLPicDecoder.h"
#include "image/codec/PLPicEncoder.h"

namespace vornel::testing {

class ByteWriter {
 public:
  ByteWriter& U8(unsigned v);
  ByteWriter& LE16(unsigned v);
  ByteWriter& LE32(uint32_t v);
  ByteWriter& BE16(unsigned v);
  ByteWriter& BE32(uint32_t v);
  ByteWriter& Text(std::string_view text);
  ByteWriter& Bytes(const std::vector<uint8_t>& more);
  ByteWriter& Fill(size_t count, uint8_t value);
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  size_t size() const { return bytes_.size(); }

 private:
  std::vector<uint8_t> bytes_;
};

// The colour of pixel (x, y), through the palette for indexed bitmaps.
PLPixel32 PixelAt(const PLBmp& bmp, int x, int y);
// Pixel (x, y) as "#RRGGBB" (and "/AA" when `withAlpha`), for readable expectations.
std::string ColorAt(const PLBmp& bmp, int x, int y, bool withAlpha = false);

// The code of the PLTextException `action` throws, or 0 when it throws none.
int CodeOf(const std::function<void()>& action);

// Decodes `bytes` from memory; returns the exception's code, or 0 when decoding worked.
int DecodeCode(PLPicDecoder& decoder, const std::vector<uint8_t>& bytes, PLBmp& bmp, std::string* text = nullptr);

// A sink of its own memory, for encoders in tests.
class MemorySink : public PLDataSink {
 public:
  explicit MemorySink(int64_t maxSize) : buffer_(static_cast<size_t>(maxSize)) {
    Open("Memory", buffer_.data(), maxSize);
  }
  std::vector<uint8_t> Bytes() const { return {GetBufferStart(), GetBufferStart() + GetBytesWritten()}; }

 private:
  std::vector<uint8_t> buffer_;
};

// A Python that has Pillow ("/usr/bin/python3" or "python3"), or "" when there is none.
std::string PillowPython();

// Encodes `bmp` into memory with the encoder's own sink size.
std::vector<uint8_t> Encode(PLPicEncoder& encoder, PLBmp& bmp);

// A 32-bit image of smooth colour gradients (pixel (x, y) from its coordinates).
void FillGradient(PLBmp& bmp, int width, int height);

}  // namespace vornel::testing
