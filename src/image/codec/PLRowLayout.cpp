#include "image/codec/PLRowLayout.h"

#include "image/bitmap/PLTextException.h"
#include "image/codec/io/PLMemSource.h"
#include "image/codec/native/PLPnmReader.h"

namespace vornel {

void PLRowLayout::Convert(const uint8_t* row, int64_t x, int step, int32_t count, PLPixel32* out) const {
  for (int32_t i = 0; i < count; ++i, x += step) {
    switch (pixels) {
      case Pixels::kIndexed: {
        const int64_t bit = x * bits;
        out[i] = palette[(row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1 << bits) - 1)];
        break;
      }
      case Pixels::kBgr555:
        out[i] = PLPixel32::From555(row[2 * x] | (row[2 * x + 1] << 8));
        break;
      case Pixels::kBgr565:
        out[i] = PLPixel32::From565(row[2 * x] | (row[2 * x + 1] << 8));
        break;
      case Pixels::kBgr:
        out[i] = PLPixel32{row[3 * x], row[3 * x + 1], row[3 * x + 2], 255};
        break;
      case Pixels::kBgra:
        out[i] = PLPixel32{row[4 * x], row[4 * x + 1], row[4 * x + 2], alpha ? row[4 * x + 3] : uint8_t(255)};
        break;
      case Pixels::kRgb:
        out[i] = PLPixel32{row[3 * x + 2], row[3 * x + 1], row[3 * x], 255};
        break;
    }
  }
}

bool FindPnmRowLayout(const uint8_t* data, int64_t size, PLRowLayout& layout) {
  if (size < 2 || data[0] != 'P' || (data[1] != '5' && data[1] != '6')) return false;
  try {
    PLMemSource source;
    source.Open(data, size);
    PLPnmReader reader(source);
    const bool colour = data[1] == '6';
    const auto header = reader.ReadHeader(colour ? '3' : '2', colour ? '6' : '5', "");
    if (header.maxValue != 255 || header.width <= 0 || header.height <= 0) return false;
    layout.pixels = colour ? PLRowLayout::Pixels::kRgb : PLRowLayout::Pixels::kIndexed;
    layout.bits = colour ? 24 : 8;
    layout.width = header.width;
    layout.height = header.height;
    layout.offset = source.GetBytesRead();
    layout.stride = header.width * (colour ? 3 : 1);
    layout.bottomUp = false;
    for (int i = 0; i < 256; ++i) layout.palette[i] = PLPixel32::FromRgba(uint8_t(i), uint8_t(i), uint8_t(i));
    // Every row must be in the file.
    return layout.stride <= (size - layout.offset) / layout.height;
  } catch (const PLTextException&) {
    return false;
  }
}

}  // namespace vornel
