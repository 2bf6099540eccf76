#pragma once
// A device-independent bitmap in one memory block: the 40-byte bitmap-info header, the
// palette (2^bits entries below 16 bits) and the pixel bits, lines bottom-up and padded to
// 4 bytes. It is what the clipboard and the drawing layer exchange.

#include <memory>
#include <span>
#include <vector>

#include "image/bitmap/PLBmp.h"
#include "platform/draw/DeviceBitmap.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceContext;
class PLClipboard;

// Any bitmap as the devices' 32-bit pixels (alpha premultiplied; opaque without an alpha
// channel). An image larger than a device bitmap may be gives an empty one.
DeviceBitmap ToDeviceBitmap(const PLBmp& bmp);

// The Windows bitmap-info header as it stands at the start of a packed DIB (little-endian).
struct PLBitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;  // positive: bottom-up
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};
static_assert(sizeof(PLBitmapInfoHeader) == 40);

class PLWinBmp : public PLBmp {
 public:
  static constexpr size_t kHeaderSize = 40;

  // A fresh bitmap is already a valid 16 x 16 image of 8 bits per pixel.
  PLWinBmp();
  ~PLWinBmp() override;

  size_t GetMemUsed() const override;
  // The data bytes of a line rounded up to a multiple of 4.
  size_t GetBytesPerLine() const override;
  // The same for any width and depth, as device-independent bitmaps store their lines.
  static int64_t PaddedBytesPerLine(int64_t width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

  // Takes a packed DIB: a header of at least 40 bytes, uncompressed, 1, 4, 8, 16, 24 or 32
  // bits, its palette (the colours-used count of entries when it is below 2^bits) and the
  // bits; a negative height means top-down lines. Anything else, or data shorter than the
  // header says, throws PLTextException.
  void CreateFromDIB(std::span<const uint8_t> dib);
  // CreateFromDIB, then for up to 8 bits the colours of a logical palette (as the clipboard
  // gives it) replace the palette's first entries, alpha 0.
  void CreateFromDIBAndPalette(std::span<const uint8_t> dib, std::span<const uint8_t> logicalPalette);

  // The packed DIB: header, palette, bits.
  std::vector<uint8_t> CopyToGlobalMemory() const;
  // Puts the packed DIB on the clipboard; false when the clipboard refuses.
  bool ToClipboard(PLClipboard& clipboard) const;
  // Reads a kFormatBitmap or kFormatDib image from the clipboard. False, with the bitmap
  // unchanged, when the format is absent, the clipboard cannot be opened, the data cannot
  // be read or the format is one that holds no image.
  bool FromClipboard(PLClipboard& clipboard, int format);

  // Drawing onto a device, every transfer a copy of the source: the whole image at its own
  // size with its top-left corner at (x, y), stretched into w × h there, or scaled by a
  // factor (the sizes truncated).
  virtual void Draw(DeviceContext& dc, int32_t x, int32_t y);
  virtual void DrawStretched(DeviceContext& dc, int32_t x, int32_t y, int32_t w, int32_t h);
  virtual void DrawScaled(DeviceContext& dc, int32_t x, int32_t y, double factor);

  const PLBitmapInfoHeader* GetBMI() const { return reinterpret_cast<const PLBitmapInfoHeader*>(block_.get()); }
  uint8_t* GetBits() { return bits_; }
  const uint8_t* GetBits() const { return bits_; }

 protected:
  void InternalCreate(int width, int height, int bitsPerPixel, bool hasAlpha) override;
  void FreeMembers() override;
  void InitLineArray() override;
  // Points the palette and the bits into the block.
  virtual void InitPointers();

 private:
  size_t HeaderAndPaletteSize() const;

  std::unique_ptr<uint8_t[], PLFreeDeleter> block_;
  uint8_t* bits_ = nullptr;
};

}  // namespace vornel
