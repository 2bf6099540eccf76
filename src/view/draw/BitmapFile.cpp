// LoadBitmapFromFile: the ".bmp" files of backgrounds and ornaments. A hostile file: every
// size, count and offset is checked against what the file holds before it is used.

#include <cstring>

#include "platform/io/FileIO.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;
constexpr size_t kMaxFile = size_t(1) << 30;

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// The value of a masked field scaled to 0-255. Taken in 64 bits: a file's mask may be
// wider than 24 bits, where value × 255 no longer fits 32.
uint8_t MaskedChannel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const uint64_t max = mask >> shift;
  const uint64_t value = (pixel & mask) >> shift;
  return static_cast<uint8_t>((value * 255 + max / 2) / max);
}

}  // namespace

bool LoadBitmapFromFile(const std::string& path, DeviceBitmap& bitmap) {
  const auto file = ReadFileBytes(path, kMaxFile);
  return file && DecodeBitmapFile(*file, bitmap);
}

bool DecodeBitmapFile(std::span<const uint8_t> file, DeviceBitmap& bitmap) {
  if (file.size() < kFileHeader + kInfoHeader) return false;
  const uint8_t* data = file.data();
  if (data[0] != 'B' || data[1] != 'M') return false;
  const uint8_t* info = data + kFileHeader;
  const size_t rest = file.size() - kFileHeader;

  // The bits are taken right after the info header and the colour table, whatever offset
  // the file header gives. Newer info headers are longer than 40 bytes: their own length
  // counts, or their pixels would be read from inside the header.
  const uint32_t headerSize = U32(info);
  if (headerSize < kInfoHeader || headerSize > rest) return false;
  const int32_t width = static_cast<int32_t>(U32(info + 4));
  const int32_t rawHeight = static_cast<int32_t>(U32(info + 8));
  const uint16_t bitCount = U16(info + 14);
  const uint32_t compression = U32(info + 16);
  const uint32_t coloursUsed = U32(info + 32);
  if (rawHeight == INT32_MIN) return false;
  const bool topDown = rawHeight < 0;
  const int32_t height = topDown ? -rawHeight : rawHeight;
  if (!DeviceBitmap::ValidSize(width, height)) return false;
  if (compression != kRgb && compression != kBitFields) return false;
  if (compression == kBitFields && bitCount != 16 && bitCount != 32) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return false;
  }

  uint64_t tableEntries = 0;
  if (bitCount <= 8) {
    tableEntries = coloursUsed != 0 ? coloursUsed : (uint64_t(1) << bitCount);
  } else {
    tableEntries = coloursUsed;
  }
  uint64_t offset = headerSize + tableEntries * 4;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // 16 bits: 5-5-5
  if (bitCount == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
  if (compression == kBitFields) {
    const uint8_t* maskAt = nullptr;
    if (headerSize == kInfoHeader) {
      if (offset + 12 > rest) return false;
      maskAt = info + offset;
      offset += 12;
    } else if (headerSize >= kInfoHeader + 12) {
      maskAt = info + kInfoHeader;
    } else {
      return false;
    }
    for (int i = 0; i < 3; ++i) masks[i] = U32(maskAt + 4 * i);
  }
  if (tableEntries > 256 && bitCount <= 8) return false;
  if (offset > rest) return false;
  const uint8_t* palette = info + headerSize;
  const uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
  if (offset + stride * uint64_t(height) > rest) return false;
  const uint8_t* bits = info + offset;

  DeviceBitmap result(width, height);
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* line = bits + stride * static_cast<uint64_t>(row);
    const int32_t y = topDown ? row : height - 1 - row;
    for (int32_t x = 0; x < width; ++x) {
      uint8_t r = 0;
      uint8_t g = 0;
      uint8_t b = 0;
      if (bitCount <= 8) {
        const uint64_t bitPos = uint64_t(x) * bitCount;
        const uint8_t byte = line[bitPos / 8];
        const int shift = 8 - bitCount - static_cast<int>(bitPos % 8);
        const uint32_t index = (byte >> shift) & ((1u << bitCount) - 1);
        if (index < tableEntries) {
          b = palette[index * 4];
          g = palette[index * 4 + 1];
          r = palette[index * 4 + 2];
        }
      } else if (bitCount == 24) {
        b = line[x * 3];
        g = line[x * 3 + 1];
        r = line[x * 3 + 2];
      } else {
        const uint32_t pixel = bitCount == 16 ? U16(line + x * 2) : U32(line + x * 4);
        r = MaskedChannel(pixel, masks[0]);
        g = MaskedChannel(pixel, masks[1]);
        b = MaskedChannel(pixel, masks[2]);
      }
      result.SetPixel(x, y, RGB(r, g, b));
    }
  }
  bitmap = std::move(result);
  return true;
}

}  // namespace vornel
