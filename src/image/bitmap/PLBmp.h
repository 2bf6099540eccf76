#pragma once
// A decoded raster image in memory: size, bit depth, palette, resolution and one pointer per
// line (line 0 at the top). Concrete classes decide where the pixels live and in which order.
//
// Layouts shared by all bitmaps and codecs: a palette entry and a 32-bit pixel are blue,
// green, red, alpha; a 24-bit pixel is blue, green, red; an 8-bit pixel is a palette index;
// a 1-bit line packs eight pixels a byte, most significant bit first (a set bit selects
// entry 1).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/bitmap/PLObject.h"
#include "image/bitmap/PLPixel32.h"

namespace vornel {

class PLBmp : public PLObject {
 public:
  // Bounds beyond which a size is taken as hostile rather than tried: no real image is
  // wider or taller than 2^20 pixels, and one bitmap never takes more than 1 GiB.
  static constexpr int64_t kMaxDimension = int64_t(1) << 20;
  static constexpr int64_t kMaxBytes = int64_t(1) << 30;

  PLBmp(const PLBmp&) = delete;
  PLBmp& operator=(const PLBmp&) = delete;
  ~PLBmp() override = default;

  // Makes a new, cleared image; images of up to 8 bits get a grey palette. Sizes below 1 or
  // above kMaxDimension and depths other than 1, 4, 8, 16, 24 and 32 throw PLTextException
  // and leave the old image; when the storage cannot be had (above kMaxBytes) the bitmap is
  // left empty, 0 x 0, and the exception thrown.
  virtual void Create(int64_t width, int64_t height, int bitsPerPixel, bool hasAlpha, PLPoint resolution = {});

  // Copies `source` into this bitmap. A wanted depth of 0 or the source's own copies
  // everything; 1, 8, 24 and 32 convert (alpha survives only into 32 bits); other depths throw.
  void CreateCopy(const PLBmp& source, int wantedBitsPerPixel = 0);

  // Copies 2^bits entries; does nothing for images without a palette.
  void SetPalette(const PLPixel32* entries);
  // Entry i = i * (255 / (2^bits - 1)) in all three colours, alpha 255.
  void SetGrayPalette();

  PLPoint GetSize() const { return {width_, height_}; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetBitsPerPixel() const { return bitsPerPixel_; }
  // 2^bits, and 2^24 for 32 bits.
  int64_t GetNumColors() const;
  // Null for 16 or more bits per pixel.
  PLPixel32* GetPalette() { return palette_; }
  const PLPixel32* GetPalette() const { return palette_; }
  uint8_t* const* GetLineArray() { return lineArray_.data(); }
  const uint8_t* const* GetLineArray() const { return lineArray_.data(); }
  bool HasAlpha() const { return hasAlpha_; }
  void SetHasAlpha(bool hasAlpha) { hasAlpha_ = hasAlpha; }
  // Dots per inch; 0, 0 when unknown.
  PLPoint GetResolution() const { return resolution_; }
  void SetResolution(PLPoint resolution) { resolution_ = resolution; }

  // Handed to the colour quantiser when a copy reduces true colour to 8 bits.
  int GetDitherType() const { return ditherType_; }
  void SetDitherType(int type) { ditherType_ = type; }
  int GetDitherPaletteType() const { return ditherPaletteType_; }
  void SetDitherPaletteType(int type) { ditherPaletteType_ = type; }

  virtual size_t GetMemUsed() const = 0;
  virtual size_t GetBytesPerLine() const = 0;

  // Pixel access is bracketed by these; only a nesting count is kept.
  virtual void Lock(bool readable, bool writable);
  virtual void Unlock();
  int GetLockCount() const { return lockCount_; }

  // Expands one line of `bitsPerPixel` (1, 4 and 8 through `palette`, 16 as 5-5-5, 24, 32)
  // into `width` 32-bit pixels.
  static void ExpandLine(const uint8_t* src, int bitsPerPixel, const PLPixel32* palette, int width, PLPixel32* out);

  // Unpacks `count` pixels of 1, 2 or 4 bits, packed most significant bits first, into one
  // index byte each; 8-bit indices are copied.
  static void UnpackIndices(const uint8_t* src, int bitsPerPixel, int64_t count, uint8_t* out);

  // Bytes of pixel data in one line, without padding.
  static int64_t DataBytesPerLine(int64_t width, int bitsPerPixel) { return (width * bitsPerPixel + 7) / 8; }

 protected:
  PLBmp() = default;

  // Allocate storage for an image whose format Create has checked.
  virtual void InternalCreate(int width, int height, int bitsPerPixel, bool hasAlpha) = 0;
  virtual void FreeMembers() = 0;
  virtual void InitLineArray() = 0;

  // The end of every InternalCreate: stores the format, points the lines and, for up to
  // 8 bits, sets the grey palette.
  void InitLocals(int width, int height, int bitsPerPixel, bool hasAlpha);
  // FreeMembers, then InternalCreate; a failure leaves an empty 0 x 0 bitmap.
  void Allocate(int width, int height, int bitsPerPixel, bool hasAlpha);
  // Frees the image and leaves the empty 0 x 0 bitmap of no depth.
  void MakeEmpty();
  // Throws the out-of-memory error when `bytes` is more than a bitmap may take.
  static void CheckAllocation(int64_t bytes);
  // Throws what Create throws for a size or depth it refuses; nothing is changed.
  static void CheckFormat(int64_t width, int64_t height, int bitsPerPixel);

  std::vector<uint8_t*> lineArray_;
  PLPixel32* palette_ = nullptr;

 private:
  void ConvertFrom(const PLBmp& source, int wantedBitsPerPixel);

  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  PLPoint resolution_;
  bool hasAlpha_ = false;
  int lockCount_ = 0;
  int ditherType_ = 0;
  int ditherPaletteType_ = 2;
};

// Keeps a bitmap locked for the length of a scope, also when decoding throws.
class PLBmpLock {
 public:
  PLBmpLock(PLBmp& bmp, bool readable, bool writable) : bmp_(bmp) { bmp_.Lock(readable, writable); }
  ~PLBmpLock() { bmp_.Unlock(); }
  PLBmpLock(const PLBmpLock&) = delete;
  PLBmpLock& operator=(const PLBmpLock&) = delete;

 private:
  PLBmp& bmp_;
};

// Frees a block taken with calloc: bitmaps take their pixels that way so that lines a
// decoder never reaches cost no memory.
struct PLFreeDeleter {
  void operator()(void* block) const;
};

}  // namespace vornel
