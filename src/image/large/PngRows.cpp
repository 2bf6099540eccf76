#include "image/large/PngRows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "image/bitmap/PLBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLPicDecoder.h"

namespace vornel {

namespace {

uint32_t Be32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

int ChannelsOf(int colour) {
  switch (colour) {
    case 0:
    case 3:
      return 1;
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 0;
  }
}

uint8_t Paeth(int a, int b, int c) {
  const int p = b - c;
  const int q = a - c;
  const int pa = std::abs(p);
  const int pb = std::abs(q);
  const int pc = std::abs(p + q);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Byte by byte: the compiler keeps the chain from one pixel to the next in registers, which
// beats working a pixel at a time in vector lanes.
void UnfilterChained(int type, const uint8_t* in, uint8_t* out, const uint8_t* prior, size_t stride, size_t bpp) {
  const size_t head = std::min(bpp, stride);
  switch (type) {
    case 1:
      std::memcpy(out, in, head);
      for (size_t i = bpp; i < stride; ++i) out[i] = static_cast<uint8_t>(in[i] + out[i - bpp]);
      break;
    case 3:
      for (size_t i = 0; i < head; ++i) out[i] = static_cast<uint8_t>(in[i] + (prior[i] >> 1));
      for (size_t i = bpp; i < stride; ++i) out[i] = static_cast<uint8_t>(in[i] + ((out[i - bpp] + prior[i]) >> 1));
      break;
    default:
      for (size_t i = 0; i < head; ++i) out[i] = static_cast<uint8_t>(in[i] + prior[i]);
      for (size_t i = bpp; i < stride; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + Paeth(out[i - bpp], prior[i], prior[i - bpp]));
      }
      break;
  }
}

}  // namespace

bool FindPlainPng(const uint8_t* bytes, size_t size, PlainPng& png) {
  if (size < 8 + 25 || std::memcmp(bytes, kSignature, 8) != 0) return false;
  if (Be32(bytes + 8) != 13 || std::memcmp(bytes + 12, "IHDR", 4) != 0) return false;
  const uint8_t* header = bytes + 16;
  png.width = Be32(header);
  png.height = Be32(header + 4);
  const int depth = header[8];
  png.colour = header[9];
  png.channels = ChannelsOf(png.colour);
  // Other depths, methods and interlaced pictures go through libpng, which also turns away
  // the unknown ones with its message.
  if (depth != 8 || png.channels == 0 || header[10] != 0 || header[11] != 0 || header[12] != 0) return false;
  if (png.width == 0 || png.height == 0 || png.width > uint32_t(PLBmp::kMaxDimension) ||
      png.height > uint32_t(PLBmp::kMaxDimension)) {
    return false;
  }
  png.stride = size_t(png.width) * size_t(png.channels);
  png.palette.clear();
  png.data.clear();
  size_t at = 8 + 25;
  while (size - at >= 12) {
    const uint32_t length = Be32(bytes + at);
    const uint8_t* type = bytes + at + 4;
    const uint8_t* body = bytes + at + 8;
    if (length > size - at - 12) {
      // Cut short: what the data holds is read, the rows past it are missing.
      if (std::memcmp(type, "IDAT", 4) == 0 && size - at > 8) png.data.emplace_back(size_t(body - bytes), size - at - 8);
      break;
    }
    if (std::memcmp(type, "IDAT", 4) == 0) {
      if (length > 0) png.data.emplace_back(size_t(body - bytes), length);
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      if (length % 3 != 0 || length > 768 || !png.data.empty()) {
        PLPicDecoder::RaiseError(kPLErrFormatUnknown, "Invalid palette chunk in the PNG file.");
      }
      png.palette.clear();
      for (uint32_t i = 0; i < length; i += 3) png.palette.push_back(PLPixel32::FromRgba(body[i], body[i + 1], body[i + 2]));
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      break;
    }
    at += size_t(length) + 12;
  }
  if (png.colour == 3 && png.palette.empty()) {
    PLPicDecoder::RaiseError(kPLErrFormatUnknown, "Missing palette in the PNG file.");
  }
  // Indices past the palette's end are black, as libpng leaves them.
  if (png.colour == 3) png.palette.resize(256, PLPixel32::FromRgba(0, 0, 0));
  return true;
}

bool UnfilterPngRow(int type, const uint8_t* in, uint8_t* out, const uint8_t* prior, size_t stride, int bpp) {
  switch (type) {
    case 0:
      std::memcpy(out, in, stride);
      return true;
    case 2:
      for (size_t i = 0; i < stride; ++i) out[i] = static_cast<uint8_t>(in[i] + prior[i]);
      return true;
    case 1:
    case 3:
    case 4:
      UnfilterChained(type, in, out, prior, stride, static_cast<size_t>(bpp));
      return true;
    default:
      return false;
  }
}

void ConvertPngPixels(const PlainPng& png, const uint8_t* row, int64_t x, int step, int32_t count, PLPixel32* out) {
  const size_t channels = size_t(png.channels);
  const uint8_t* p = row + size_t(x) * channels;
  const size_t advance = size_t(step) * channels;
  switch (png.colour) {
    case 0:
      for (int32_t i = 0; i < count; ++i, p += advance) out[i] = PLPixel32::FromRgba(p[0], p[0], p[0]);
      break;
    case 2:
      for (int32_t i = 0; i < count; ++i, p += advance) out[i] = PLPixel32::FromRgba(p[0], p[1], p[2]);
      break;
    case 3:
      for (int32_t i = 0; i < count; ++i, p += advance) out[i] = png.palette[p[0]];
      break;
    case 4:
      for (int32_t i = 0; i < count; ++i, p += advance) out[i] = PLPixel32::FromRgba(p[0], p[0], p[0], p[1]);
      break;
    default:
      for (int32_t i = 0; i < count; ++i, p += advance) out[i] = PLPixel32::FromRgba(p[0], p[1], p[2], p[3]);
      break;
  }
}

}  // namespace vornel
