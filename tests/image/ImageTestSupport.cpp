#include "ImageTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "image/bitmap/PLTextException.h"

namespace vornel::testing {

ByteWriter& ByteWriter::U8(unsigned v) {
  bytes_.push_back(static_cast<uint8_t>(v));
  return *this;
}

ByteWriter& ByteWriter::LE16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }

ByteWriter& ByteWriter::LE32(uint32_t v) { return LE16(v & 0xFFFF).LE16(v >> 16); }

ByteWriter& ByteWriter::BE16(unsigned v) { return U8((v >> 8) & 0xFF).U8(v & 0xFF); }

ByteWriter& ByteWriter::BE32(uint32_t v) { return BE16(v >> 16).BE16(v & 0xFFFF); }

ByteWriter& ByteWriter::Text(std::string_view text) {
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

ByteWriter& ByteWriter::Bytes(const std::vector<uint8_t>& more) {
  bytes_.insert(bytes_.end(), more.begin(), more.end());
  return *this;
}

ByteWriter& ByteWriter::Fill(size_t count, uint8_t value) {
  bytes_.insert(bytes_.end(), count, value);
  return *this;
}

PLPixel32 PixelAt(const PLBmp& bmp, int x, int y) {
  const uint8_t* line = bmp.GetLineArray()[y];
  switch (bmp.GetBitsPerPixel()) {
    case 1:
      return bmp.GetPalette()[(line[x >> 3] >> (7 - (x & 7))) & 1];
    case 8:
      return bmp.GetPalette()[line[x]];
    case 24:
      return PLPixel32{line[3 * x], line[3 * x + 1], line[3 * x + 2], 255};
    default:
      return reinterpret_cast<const PLPixel32*>(line)[x];
  }
}

std::string ColorAt(const PLBmp& bmp, int x, int y, bool withAlpha) {
  const PLPixel32 p = PixelAt(bmp, x, y);
  char text[16];
  if (withAlpha) std::snprintf(text, sizeof text, "#%02X%02X%02X/%02X", p.r, p.g, p.b, p.a);
  else std::snprintf(text, sizeof text, "#%02X%02X%02X", p.r, p.g, p.b);
  return text;
}

int CodeOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const PLTextException& e) {
    return e.GetCode();
  }
  return 0;
}

int DecodeCode(PLPicDecoder& decoder, const std::vector<uint8_t>& bytes, PLBmp& bmp, std::string* text) {
  try {
    decoder.MakeBmpFromMemory(bytes, bmp);
  } catch (const PLTextException& e) {
    if (text != nullptr) *text = e.GetText();
    return e.GetCode();
  }
  return 0;
}

std::vector<uint8_t> Encode(PLPicEncoder& encoder, PLBmp& bmp) {
  MemorySink sink(PLPicEncoder::SinkSizeFor(bmp));
  encoder.SaveBmp(bmp, sink);
  return sink.Bytes();
}

void FillGradient(PLBmp& bmp, int width, int height) {
  bmp.Create(width, height, 32, false);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
    for (int x = 0; x < width; ++x) {
      line[x] = PLPixel32::FromRgba(static_cast<uint8_t>(x * 255 / std::max(width - 1, 1)),
                                    static_cast<uint8_t>(y * 255 / std::max(height - 1, 1)), 128);
    }
  }
}

std::string PillowPython() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string probe = std::string(python) + " -c 'import PIL' >/dev/null 2>&1";
    if (std::system(probe.c_str()) == 0) return python;
  }
  return {};
}

}  // namespace vornel::testing
