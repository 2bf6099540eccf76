#include "image/bitmap/PLWinBmp.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "image/bitmap/PLByteOrder.h"
#include "image/bitmap/PLClipboard.h"
#include "image/bitmap/PLTextException.h"

namespace vornel {

static_assert(std::endian::native == std::endian::little, "the DIB header is copied as it lies in memory");

PLWinBmp::PLWinBmp() { PLWinBmp::InternalCreate(16, 16, 8, false); }

PLWinBmp::~PLWinBmp() = default;

size_t PLWinBmp::GetBytesPerLine() const {
  return static_cast<size_t>(PaddedBytesPerLine(GetWidth(), GetBitsPerPixel()));
}

size_t PLWinBmp::HeaderAndPaletteSize() const {
  if (!block_) return 0;
  const int bits = GetBMI()->bitCount;
  return kHeaderSize + (bits < 16 ? sizeof(PLPixel32) << bits : 0);
}

size_t PLWinBmp::GetMemUsed() const {
  return sizeof(*this) + HeaderAndPaletteSize() + GetBytesPerLine() * static_cast<size_t>(GetHeight()) +
         lineArray_.size() * sizeof(uint8_t*);
}

void PLWinBmp::InternalCreate(int width, int height, int bitsPerPixel, bool hasAlpha) {
  const int64_t headerSize = kHeaderSize + (bitsPerPixel < 16 ? int64_t(4) << bitsPerPixel : 0);
  const int64_t total = headerSize + PaddedBytesPerLine(width, bitsPerPixel) * height;
  CheckAllocation(total);
  block_.reset(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(total), 1)));
  if (!block_) throw PLTextException(kPLErrNoMemory, "Out of memory creating bitmap.");
  PLBitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bitCount = static_cast<uint16_t>(bitsPerPixel);
  std::memcpy(block_.get(), &header, sizeof header);
  InitPointers();
  InitLocals(width, height, bitsPerPixel, hasAlpha);
}

void PLWinBmp::FreeMembers() {
  lineArray_.clear();
  block_.reset();
  bits_ = nullptr;
  palette_ = nullptr;
}

void PLWinBmp::InitPointers() {
  const bool indexed = GetBMI()->bitCount < 16;
  palette_ = indexed ? reinterpret_cast<PLPixel32*>(block_.get() + kHeaderSize) : nullptr;
  bits_ = block_.get() + HeaderAndPaletteSize();
}

void PLWinBmp::InitLineArray() {
  const size_t stride = GetBytesPerLine();
  const auto height = static_cast<size_t>(GetHeight());
  lineArray_.resize(height);
  for (size_t y = 0; y < height; ++y) lineArray_[y] = bits_ + (height - y - 1) * stride;
}

void PLWinBmp::CreateFromDIB(std::span<const uint8_t> dib) {
  if (dib.size() < kHeaderSize) throw PLTextException(kPLErrFormatUnknown, "Bitmap data is not valid.");
  const uint8_t* p = dib.data();
  const uint32_t headerSize = PLReadLE32(p);
  const auto width = static_cast<int32_t>(PLReadLE32(p + 4));
  const auto height = static_cast<int32_t>(PLReadLE32(p + 8));
  const int bits = PLReadLE16(p + 14);
  const uint32_t compression = PLReadLE32(p + 16);
  const uint32_t colorsUsed = PLReadLE32(p + 32);
  if (headerSize < kHeaderSize || headerSize > dib.size()) {
    throw PLTextException(kPLErrFormatUnknown, "Bitmap data is not valid.");
  }
  if (compression != 0) throw PLTextException(kPLErrFormatNotSupported, "Bitmap compression is not supported.");
  const bool topDown = height < 0;
  const int64_t rows = topDown ? -int64_t(height) : height;
  CheckFormat(width, rows, bits);

  // The data must hold what the header promises before any storage is taken for it.
  const int64_t fullPalette = bits < 16 ? int64_t(1) << bits : 0;
  const int64_t entries = colorsUsed > 0 && colorsUsed < fullPalette ? colorsUsed : fullPalette;
  const int64_t stride = PaddedBytesPerLine(width, bits);
  const int64_t bitsOffset = headerSize + entries * 4;
  if (bitsOffset + stride * rows > static_cast<int64_t>(dib.size())) {
    Allocate(16, 16, 8, false);
    throw PLTextException(kPLErrEndOfData, "End of file reached while decoding.\n");
  }
  Create(width, rows, bits, false);
  if (entries > 0) std::memcpy(palette_, p + headerSize, static_cast<size_t>(entries) * 4);
  const uint8_t* lines = p + bitsOffset;
  for (int row = 0; row < GetHeight(); ++row) {
    // Stored bottom-up unless the height was negative.
    const int y = topDown ? row : GetHeight() - 1 - row;
    std::memcpy(lineArray_[y], lines + row * stride, static_cast<size_t>(stride));
  }
}

void PLWinBmp::CreateFromDIBAndPalette(std::span<const uint8_t> dib, std::span<const uint8_t> logicalPalette) {
  CreateFromDIB(dib);
  if (palette_ == nullptr || GetBitsPerPixel() > 8 || logicalPalette.size() < 4) return;
  const size_t count = std::min<size_t>({PLReadLE16(logicalPalette.data() + 2), (logicalPalette.size() - 4) / 4,
                                         size_t(1) << GetBitsPerPixel()});
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = logicalPalette.data() + 4 + 4 * i;
    palette_[i] = PLPixel32{entry[2], entry[1], entry[0], 0};
  }
}

std::vector<uint8_t> PLWinBmp::CopyToGlobalMemory() const {
  const size_t total = HeaderAndPaletteSize() + GetBytesPerLine() * static_cast<size_t>(GetHeight());
  return std::vector<uint8_t>(block_.get(), block_.get() + total);
}

bool PLWinBmp::ToClipboard(PLClipboard& clipboard) const {
  if (!clipboard.Open()) return false;
  clipboard.Empty();
  const bool ok = clipboard.SetData(PLClipboard::kFormatDib, CopyToGlobalMemory());
  clipboard.Close();
  return ok;
}

bool PLWinBmp::FromClipboard(PLClipboard& clipboard, int format) {
  if (format != PLClipboard::kFormatBitmap && format != PLClipboard::kFormatDib) return false;
  if (!clipboard.IsFormatAvailable(format) || !clipboard.Open()) return false;
  bool ok = false;
  try {
    if (const auto data = clipboard.GetData(format)) {
      // Read into a scratch bitmap so that bad data leaves this one as it was.
      PLWinBmp incoming;
      if (format == PLClipboard::kFormatBitmap) {
        incoming.CreateFromDIB(*data);
        // A bitmap comes in the depths the image code handles: 1, 8 or 32 bits.
        const int bits = incoming.GetBitsPerPixel();
        CreateCopy(incoming, bits > 8 ? 32 : (bits == 1 ? 1 : 8));
      } else {
        std::vector<uint8_t> palette;
        if (clipboard.IsFormatAvailable(PLClipboard::kFormatPalette)) {
          palette = clipboard.GetData(PLClipboard::kFormatPalette).value_or(std::vector<uint8_t>{});
        }
        incoming.CreateFromDIBAndPalette(*data, palette);
        CreateCopy(incoming);
      }
      ok = true;
    }
  } catch (const PLTextException&) {
    ok = false;
  }
  clipboard.Close();
  return ok;
}

}  // namespace vornel
