#include "image/codec/native/PLBmpDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "image/bitmap/PLByteOrder.h"
#include "image/bitmap/PLWinBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/io/PLMemSource.h"
#include "image/codec/PLRowLayout.h"

namespace vornel {

namespace {

struct BmpHeaders {
  PLBitmapInfoHeader info;  // an OS/2 1.x header fills only size, width, height, planes, bits
  int64_t dataOffset = 0;  // of the pixel data, from the start of the file
  bool headerMasks = false;  // headers of 52 bytes and more carry the colour masks
  std::array<uint32_t, 3> masks{};
};

constexpr uint16_t kArraySignature = 0x4142;  // "BA"

bool IsBitmapSignature(uint16_t signature) {
  // "BM", "BA", "CI", "CP", "IC"
  return signature == 0x4D42 || signature == 0x4142 || signature == 0x4943 || signature == 0x5043 ||
         signature == 0x4349;
}

// Resolution in dots per inch from pixels per metre; 150 when the field says nothing useful.
int DotsPerInch(int32_t pixelsPerMetre) {
  if (pixelsPerMetre <= 0) return 150;
  const int dpi = static_cast<int>(pixelsPerMetre / 39.370121002197266 + 0.5);
  return dpi < 2 ? 150 : dpi;
}

class BmpReader {
 public:
  BmpReader(PLDataSource& source, PLBmp& bmp, int64_t height, bool topDown)
      : source_(source), bmp_(bmp), width_(bmp.GetWidth()), height_(height), topDown_(topDown) {}

  // Row `row` of the file, counted from its first line (the bottom one unless top-down).
  uint8_t* Line(int64_t row) const {
    return bmp_.GetLineArray()[topDown_ ? row : height_ - 1 - row];
  }

  void ReadIndexed(int bits) {
    const int64_t stride = PLWinBmp::PaddedBytesPerLine(width_, bits);
    for (int64_t row = 0; row < height_; ++row) {
      PLBmp::UnpackIndices(source_.ReadNBytes(stride), bits, width_, Line(row));
    }
  }

  void ReadTrueColor(int bits, bool sixBitGreen) {
    const int64_t stride = PLWinBmp::PaddedBytesPerLine(width_, bits);
    for (int64_t row = 0; row < height_; ++row) {
      const uint8_t* in = source_.ReadNBytes(stride);
      auto* out = reinterpret_cast<PLPixel32*>(Line(row));
      if (bits == 16 && sixBitGreen) {
        for (int x = 0; x < width_; ++x) out[x] = PLPixel32::From565(in[2 * x] | (in[2 * x + 1] << 8));
      } else {
        PLBmp::ExpandLine(in, bits, nullptr, width_, out);
      }
    }
  }

  // Run-length data, RLE8 (`nibbles` false) or RLE4. Runs and absolute runs are cut at the
  // end of the line they start in. Pixels the data never sets (passed over by a delta, after
  // an early end of line or of the bitmap, or after the data ran out) are left undefined by
  // the format: they are marked in `set` as not set and become transparent. A file that ends
  // early keeps what it set.
  void ReadRle(bool nibbles, std::vector<uint8_t>& set) {
    set.assign(static_cast<size_t>((int64_t(width_) * height_ + 7) / 8), 0);
    int64_t row = 0;
    int x = 0;
    const auto put = [&](int index) {
      if (x >= width_) return;
      Line(row)[x] = static_cast<uint8_t>(index);
      const int64_t at = (topDown_ ? row : height_ - 1 - row) * width_ + x;
      set[static_cast<size_t>(at >> 3)] |= static_cast<uint8_t>(0x80 >> (at & 7));
      ++x;
    };
    while (row < height_ && source_.GetBytesLeft() >= 2) {
      const int count = source_.ReadByte();
      const int second = source_.ReadByte();
      if (count != 0) {
        // A run: one index repeated, or two indices taking turns.
        const int first = nibbles ? second >> 4 : second;
        const int other = nibbles ? second & 0x0F : second;
        for (int i = 0; i < count && x < width_; ++i) put((i & 1) ? other : first);
        continue;
      }
      if (second == 0) {
        ++row;
        x = 0;
      } else if (second == 1) {
        return;
      } else if (second == 2) {
        // A delta: right dx, and dy lines on in the order the lines are stored.
        if (source_.GetBytesLeft() < 2) return;
        const int dx = source_.ReadByte();
        const int dy = source_.ReadByte();
        x = std::min(x + dx, width_);
        row += dy;
      } else {
        // An absolute run of `second` indices, padded to a whole number of 16-bit words.
        const int bytes = nibbles ? (second + 1) / 2 : second;
        const int64_t padded = bytes + (bytes & 1);
        if (source_.GetBytesLeft() < bytes) return;
        const uint8_t* in = source_.ReadNBytes(std::min<int64_t>(padded, source_.GetBytesLeft()));
        for (int i = 0; i < second && x < width_; ++i) put(nibbles ? ((i & 1) ? in[i >> 1] & 0x0F : in[i >> 1] >> 4) : in[i]);
      }
    }
  }

 private:
  PLDataSource& source_;
  PLBmp& bmp_;
  int width_;
  int64_t height_;
  bool topDown_;
};

void ReadPalette(PLDataSource& source, const BmpHeaders& headers, int entrySize, PLPixel32* palette) {
  PLPicDecoder::Trace(3, "Reading palette.\n");
  const PLBitmapInfoHeader& info = headers.info;
  int64_t entries = info.clrUsed != 0 ? int64_t(info.clrUsed) : int64_t(1) << info.bitCount;
  // A palette never reaches into the pixel data when the file says where that starts.
  const int64_t paletteStart = source.GetBytesRead();
  if (headers.dataOffset > paletteStart) entries = std::min(entries, (headers.dataOffset - paletteStart) / entrySize);
  const uint8_t* in = source.ReadNBytes(entries * entrySize);
  // The bitmap's palette holds 256 entries; further ones are read past.
  for (int64_t i = 0; i < std::min<int64_t>(entries, 256); ++i) {
    const uint8_t* entry = in + i * entrySize;
    palette[i] = PLPixel32{entry[0], entry[1], entry[2], 255};
  }
}

BmpHeaders ReadHeaders(PLDataSource& source, PLPixel32* palette) {
  BmpHeaders headers;
  uint16_t signature = source.ReadLE16();
  while (signature == kArraySignature) {
    // A bitmap array: skip its header and read the first image's. The pixel-data offset
    // counts from the start of the file, array headers included.
    source.ReadNBytes(12);
    signature = source.ReadLE16();
  }
  source.ReadLE32();  // file size
  source.ReadLE16();
  source.ReadLE16();
  headers.dataOffset = source.ReadLE32();
  if (!IsBitmapSignature(signature)) PLPicDecoder::RaiseError(1, "Bitmap decoder: This isn't a bitmap.");
  PLPicDecoder::Trace(2, "Bitmap file signature found\n");

  PLBitmapInfoHeader& info = headers.info;
  info.size = source.ReadLE32();
  int entrySize = 4;
  if (info.size == 12) {
    // OS/2 1.x: 16-bit sizes and 3-byte palette entries.
    info.width = source.ReadLE16();
    info.height = source.ReadLE16();
    info.planes = source.ReadLE16();
    info.bitCount = source.ReadLE16();
    entrySize = 3;
  } else {
    info.width = static_cast<int32_t>(source.ReadLE32());
    info.height = static_cast<int32_t>(source.ReadLE32());
    info.planes = source.ReadLE16();
    info.bitCount = source.ReadLE16();
    info.compression = source.ReadLE32();
    info.sizeImage = source.ReadLE32();
    info.xPelsPerMeter = static_cast<int32_t>(source.ReadLE32());
    info.yPelsPerMeter = static_cast<int32_t>(source.ReadLE32());
    info.clrUsed = source.ReadLE32();
    info.clrImportant = source.ReadLE32();
    // Longer headers (OS/2 2.x, later Windows versions) carry more; shorter ones than 40
    // bytes make this a backwards skip, which the source refuses.
    const uint8_t* extra = source.ReadNBytes(int64_t(info.size) - 40);
    if (info.size >= 52) {
      headers.headerMasks = true;
      for (int i = 0; i < 3; ++i) headers.masks[i] = PLReadLE32(extra + 4 * i);
    }
  }
  if (info.bitCount <= 8) ReadPalette(source, headers, entrySize, palette);
  PLPicDecoder::Trace(2, "Bitmap header is ok.\n");
  return headers;
}

// Pixels run-length data left unset become transparent: the image takes 32 bits with alpha.
void MakeUnsetTransparent(PLBmp& bmp, const std::vector<uint8_t>& set) {
  const int64_t width = bmp.GetWidth();
  const int64_t pixels = width * bmp.GetHeight();
  const auto isSet = [&](int64_t at) { return (set[static_cast<size_t>(at >> 3)] & (0x80 >> (at & 7))) != 0; };
  int64_t at = 0;
  while (at + 8 <= pixels && set[static_cast<size_t>(at >> 3)] == 0xFF) at += 8;
  while (at < pixels && isSet(at)) ++at;
  if (at == pixels) return;
  bmp.CreateCopy(bmp, 32);
  bmp.SetHasAlpha(true);
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    auto* line = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
    for (int64_t x = 0; x < width; ++x) {
      if (!isSet(int64_t(y) * width + x)) line[x] = PLPixel32{};
    }
  }
}

}  // namespace

void PLBmpDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  // Entries the file does not give are the grey of their index, as the bitmap's own palette
  // starts: pixels that name them show as other readers show them.
  std::array<PLPixel32, 256> palette;
  for (int i = 0; i < 256; ++i) palette[i] = PLPixel32::FromRgba(uint8_t(i), uint8_t(i), uint8_t(i));
  BmpHeaders headers = ReadHeaders(source, palette.data());
  const PLBitmapInfoHeader& info = headers.info;
  const int bits = info.bitCount;
  const bool compressed = info.compression != 0;
  const bool runLength = compressed && (bits == 4 || bits == 8);

  // A negative height stores the lines top first, run-length data as well.
  const bool topDown = info.height < 0;
  const int64_t height = topDown ? -int64_t(info.height) : info.height;

  const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!runLength && knownDepth && info.width > 0) {
    RequireLines(source, PLWinBmp::PaddedBytesPerLine(info.width, bits), height);
  }
  // Two bytes of run-length data set at most 255 pixels: a few bytes that declare a huge
  // picture are refused before a bitmap is made for it.
  if (runLength) RequirePixels(source.GetBytesLeft(), info.width, height, 128);

  const int depth = bits == 32 ? 32 : (bits <= 8 ? 8 : 32);
  bmp.Create(info.width, height, depth, bits == 32);
  if (depth == 8) bmp.SetPalette(palette.data());
  PLBmpLock lock(bmp, false, true);

  bool sixBitGreen = false;
  if (bits == 16 && compressed) {
    if (!headers.headerMasks) {
      for (auto& mask : headers.masks) mask = source.ReadLE32();
    }
    sixBitGreen = headers.masks[1] != 0x3E0;
  }
  // The pixel data starts where the file header says, when that lies ahead in the file.
  const int64_t position = source.GetBytesRead();
  if (headers.dataOffset > position && headers.dataOffset <= source.GetFileSize()) {
    source.ReadNBytes(headers.dataOffset - position);
  }

  BmpReader reader(source, bmp, height, topDown);
  std::vector<uint8_t> set;
  switch (bits) {
    case 1:
      Trace(2, "Decoding 1 bit per pixel bitmap.\n");
      reader.ReadIndexed(1);
      break;
    case 4:
      if (compressed) {
        Trace(2, "Decoding RLE4-compressed bitmap.\n");
        reader.ReadRle(true, set);
      } else {
        Trace(2, "Decoding uncompressed 4 bit per pixel bitmap.\n");
        reader.ReadIndexed(4);
      }
      break;
    case 8:
      if (compressed) {
        Trace(2, "Decoding RLE8-compressed bitmap.\n");
        reader.ReadRle(false, set);
      } else {
        Trace(2, "Decoding uncompressed 8 bit per pixel bitmap.\n");
        reader.ReadIndexed(8);
      }
      break;
    case 16:
    case 24:
    case 32:
      Trace(2, "Decoding true-color bitmap.\n");
      reader.ReadTrueColor(bits, sixBitGreen);
      break;
    default:
      RaiseError(2, "Decoding bmp: Illegal bpp value.");
  }
  if (runLength) MakeUnsetTransparent(bmp, set);
  bmp.SetResolution({DotsPerInch(info.xPelsPerMeter), DotsPerInch(info.yPelsPerMeter)});
  Trace(3, "Decoding finished.\n");
}

bool FindBmpRowLayout(const uint8_t* data, int64_t size, PLRowLayout& layout) {
  try {
    PLMemSource source;
    source.Open(data, size);
    for (int i = 0; i < 256; ++i) layout.palette[i] = PLPixel32::FromRgba(uint8_t(i), uint8_t(i), uint8_t(i));
    BmpHeaders headers = ReadHeaders(source, layout.palette.data());
    const PLBitmapInfoHeader& info = headers.info;
    const int bits = info.bitCount;
    const bool masks = info.compression == 3 && (bits == 16 || bits == 32);
    if ((info.compression != 0 && !masks) || info.width <= 0 || info.height == 0) return false;
    using Pixels = PLRowLayout::Pixels;
    switch (bits) {
      case 1:
      case 4:
      case 8:
        layout.pixels = Pixels::kIndexed;
        break;
      case 16:
        if (masks && !headers.headerMasks) {
          for (auto& mask : headers.masks) mask = source.ReadLE32();
        }
        layout.pixels = masks && headers.masks[1] != 0x3E0 ? Pixels::kBgr565 : Pixels::kBgr555;
        break;
      case 24:
        layout.pixels = Pixels::kBgr;
        break;
      case 32:
        layout.pixels = Pixels::kBgra;
        layout.alpha = true;
        break;
      default:
        return false;
    }
    layout.bits = bits;
    layout.width = info.width;
    layout.height = info.height < 0 ? -int64_t(info.height) : info.height;
    layout.bottomUp = info.height > 0;
    layout.stride = PLWinBmp::PaddedBytesPerLine(info.width, bits);
    const int64_t position = source.GetBytesRead();
    layout.offset = headers.dataOffset > position && headers.dataOffset <= size ? headers.dataOffset : position;
    // Every row must be in the file.
    return layout.stride <= (size - layout.offset) / layout.height;
  } catch (const PLTextException&) {
    return false;
  }
}

}  // namespace vornel
