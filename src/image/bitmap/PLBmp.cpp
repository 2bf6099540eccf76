#include "image/bitmap/PLBmp.h"

#include <cstdlib>
#include <cstring>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLFilterQuantize.h"
#include "image/bitmap/PLTextException.h"

namespace vornel {

namespace {

constexpr PLPixel32 kWhite = PLPixel32::FromRgba(255, 255, 255);
constexpr PLPixel32 kBlack = PLPixel32::FromRgba(0, 0, 0);

bool IsSupportedDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

void PLBmp::ExpandLine(const uint8_t* src, int bits, const PLPixel32* palette, int width, PLPixel32* out) {
  switch (bits) {
    case 1:
      for (int x = 0; x < width; ++x) out[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int x = 0; x < width; ++x) out[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
      break;
    case 8:
      for (int x = 0; x < width; ++x) out[x] = palette[src[x]];
      break;
    case 16:  // 5-5-5, as a 16-bit device-independent bitmap holds it
      for (int x = 0; x < width; ++x) out[x] = PLPixel32::From555(src[2 * x] | (src[2 * x + 1] << 8));
      break;
    case 24:
      for (int x = 0; x < width; ++x) out[x] = PLPixel32{src[3 * x], src[3 * x + 1], src[3 * x + 2], 255};
      break;
    default:
      std::memcpy(out, src, static_cast<size_t>(width) * 4);
      break;
  }
}

void PLBmp::UnpackIndices(const uint8_t* src, int bits, int64_t count, uint8_t* out) {
  switch (bits) {
    case 1:
      for (int64_t x = 0; x < count; ++x) out[x] = (src[x >> 3] >> (7 - (x & 7))) & 0x01;
      break;
    case 2:
      for (int64_t x = 0; x < count; ++x) out[x] = (src[x >> 2] >> (6 - 2 * (x & 3))) & 0x03;
      break;
    case 4:
      for (int64_t x = 0; x < count; ++x) out[x] = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
      break;
    default:
      std::memcpy(out, src, static_cast<size_t>(count));
      break;
  }
}

void PLFreeDeleter::operator()(void* block) const { std::free(block); }

void PLBmp::CheckFormat(int64_t width, int64_t height, int bitsPerPixel) {
  if (width < 1 || height < 1) throw PLTextException(kPLErrFormatUnknown, "Bitmap size is not valid.");
  if (width > kMaxDimension || height > kMaxDimension) {
    throw PLTextException(kPLErrNoMemory, "Out of memory creating bitmap.");
  }
  if (!IsSupportedDepth(bitsPerPixel)) {
    throw PLTextException(kPLErrFormatNotSupported, "Bitmap bit depth is not supported.");
  }
}

void PLBmp::Create(int64_t width, int64_t height, int bitsPerPixel, bool hasAlpha, PLPoint resolution) {
  CheckFormat(width, height, bitsPerPixel);
  Allocate(static_cast<int>(width), static_cast<int>(height), bitsPerPixel, hasAlpha);
  resolution_ = resolution;
}

void PLBmp::Allocate(int width, int height, int bitsPerPixel, bool hasAlpha) {
  FreeMembers();
  try {
    InternalCreate(width, height, bitsPerPixel, hasAlpha);
  } catch (...) {
    // Nothing is allocated: say so, so that no one walks lines that are gone.
    MakeEmpty();
    throw;
  }
}

void PLBmp::MakeEmpty() {
  FreeMembers();
  width_ = height_ = bitsPerPixel_ = 0;
  hasAlpha_ = false;
}

void PLBmp::CheckAllocation(int64_t bytes) {
  if (bytes > kMaxBytes) throw PLTextException(kPLErrNoMemory, "Out of memory creating bitmap.");
}

void PLBmp::InitLocals(int width, int height, int bitsPerPixel, bool hasAlpha) {
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bitsPerPixel;
  hasAlpha_ = hasAlpha;
  InitLineArray();
  if (bitsPerPixel < 16) SetGrayPalette();
}

int64_t PLBmp::GetNumColors() const {
  return bitsPerPixel_ == 32 ? int64_t(1) << 24 : int64_t(1) << bitsPerPixel_;
}

void PLBmp::SetPalette(const PLPixel32* entries) {
  if (palette_ != nullptr) std::memcpy(palette_, entries, static_cast<size_t>(GetNumColors()) * sizeof(PLPixel32));
}

void PLBmp::SetGrayPalette() {
  if (palette_ == nullptr) return;
  const int count = 1 << bitsPerPixel_;
  const int step = 255 / (count - 1);
  for (int i = 0; i < count; ++i) {
    const auto level = static_cast<uint8_t>(i * step);
    palette_[i] = PLPixel32{level, level, level, 255};
  }
}

void PLBmp::Lock(bool, bool) { ++lockCount_; }

void PLBmp::Unlock() { --lockCount_; }

void PLBmp::CreateCopy(const PLBmp& source, int wantedBitsPerPixel) {
  if (wantedBitsPerPixel == 0 || wantedBitsPerPixel == source.bitsPerPixel_) {
    if (&source != this && source.bitsPerPixel_ == 0) {
      // The empty bitmap a failed allocation leaves has no format to create: its copy is empty too.
      MakeEmpty();
    } else if (&source != this) {
      Allocate(source.width_, source.height_, source.bitsPerPixel_, source.hasAlpha_);
      const auto bytes = static_cast<size_t>(DataBytesPerLine(width_, bitsPerPixel_));
      for (int y = 0; y < height_; ++y) std::memcpy(lineArray_[y], source.lineArray_[y], bytes);
      if (palette_ != nullptr) SetPalette(source.palette_);
    }
    resolution_ = source.resolution_;
    return;
  }
  if (wantedBitsPerPixel != 1 && wantedBitsPerPixel != 8 && wantedBitsPerPixel != 24 && wantedBitsPerPixel != 32) {
    // A blank image of the wanted depth would pass for a converted one.
    throw PLTextException(kPLErrFormatNotSupported, "Image bit depth doesn't match request.");
  }
  if (&source == this) {
    // Creating the new image frees the old one: convert from a copy.
    PLAnyBmp original;
    original.CreateCopy(*this);
    ConvertFrom(original, wantedBitsPerPixel);
  } else {
    ConvertFrom(source, wantedBitsPerPixel);
  }
}

void PLBmp::ConvertFrom(const PLBmp& source, int wanted) {
  const int sourceBits = source.bitsPerPixel_;
  if (wanted == 8 && sourceBits > 8) {
    // Reducing true colour to a palette is the colour quantiser's work, with this bitmap's
    // palette and dithering methods. Other depths go through 32 bits first.
    PLAnyBmp trueColour;
    const PLBmp* from = &source;
    if (sourceBits != 32) {
      trueColour.CreateCopy(source, 32);
      from = &trueColour;
    }
    PLFilterQuantize quantize(ditherPaletteType_, ditherType_);
    quantize.Apply(*from, *this);
    resolution_ = source.resolution_;
    return;
  }
  Create(source.width_, source.height_, wanted, source.hasAlpha_ && wanted == 32);
  const int width = width_;
  const PLPixel32* palette = source.palette_;
  std::vector<PLPixel32> line(static_cast<size_t>(width));
  for (int y = 0; y < height_; ++y) {
    const uint8_t* in = source.lineArray_[y];
    uint8_t* out = lineArray_[y];
    switch (wanted) {
      case 1:
        ExpandLine(in, sourceBits, palette, width, line.data());
        for (int x = 0; x < width; ++x) {
          const PLPixel32 p = line[x];
          if (p.r < 128 && p.g < 128 && p.b < 128) out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
        break;
      case 8:  // from 1 or 4 bits: the same indices
        UnpackIndices(in, sourceBits, width, out);
        break;
      case 24:
        ExpandLine(in, sourceBits, palette, width, line.data());
        for (int x = 0; x < width; ++x) {
          out[3 * x] = line[x].b;
          out[3 * x + 1] = line[x].g;
          out[3 * x + 2] = line[x].r;
        }
        break;
      default:
        ExpandLine(in, sourceBits, palette, width, reinterpret_cast<PLPixel32*>(out));
        break;
    }
  }
  if (wanted == 1) {
    palette_[0] = kWhite;
    palette_[1] = kBlack;
  } else if (wanted == 8) {
    for (int i = 0; i < (1 << sourceBits); ++i) palette_[i] = PLPixel32{palette[i].b, palette[i].g, palette[i].r, 255};
  }
  resolution_ = source.resolution_;
}

}  // namespace vornel
