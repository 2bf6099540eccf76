#pragma once
// A picture read in parts: a rectangle of it at full resolution or reduced by a power of two,
// without ever holding the whole picture. Scans of 20,000 x 15,000 pixels and more are shown
// and printed through it: a reduced copy for the fitted view and full-resolution tiles on
// demand. JPEG is reduced by the library's DCT scaling; TIFF is read strip by strip or tile by
// tile, many at a time in parallel; PNG row by row (interlaced ones pass by pass, a reduced
// read stopping after the passes it samples); uncompressed BMP files and binary greymaps and
// pixmaps take only the rows they need from the file. Other formats are decoded whole, in
// their own depth, and reduced from memory.

#include <cstdint>
#include <memory>
#include <string>

#include "image/bitmap/PLBmp.h"

namespace vornel {

class IProgressNotification;

struct ImageRegion {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const ImageRegion&, const ImageRegion&) = default;
};

class LargeImageSource {
 public:
  // The largest reduction asked for (a power of two).
  static constexpr int kMaxFactor = 256;

  virtual ~LargeImageSource() = default;
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool HasAlpha() const { return hasAlpha_; }

  // `region` (clipped to the picture) reduced by `factor` (1, 2, 4 … kMaxFactor) into `out` as
  // 32 bits per pixel: each side becomes ceil(side / factor), each pixel the mean of its box,
  // or above a factor of 4 the mean of 4 x 4 samples of its box (BoxSampler).
  // An empty region or a bad factor throws PLTextException; so do damaged data and files that
  // changed since they were opened. `progress` hears how far the read has come, and may cancel
  // it (kPLErrCancelled; `out` then holds nothing of use).
  void Read(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress = nullptr);

 protected:
  LargeImageSource(int32_t width, int32_t height, bool hasAlpha) : width_(width), height_(height), hasAlpha_(hasAlpha) {}
  // `region` is inside the picture and `factor` valid; `progress` may be null.
  virtual void DoRead(const ImageRegion& region, int factor, PLBmp& out, IProgressNotification* progress) = 0;

 private:
  int32_t width_;
  int32_t height_;
  bool hasAlpha_;
};

// Pictures at or above this many pixels (or whose bitmap would pass PLBmp::kMaxBytes) are read
// in parts rather than whole.
inline constexpr int64_t kLargeImagePixels = int64_t(64) << 20;
bool IsLargeImage(int64_t width, int64_t height);

// Opens a picture file for reading in parts. Files of the formats and layouts above are read
// from the file as needed; any other is decoded whole at once. Failures throw PLTextException
// with the decoders' codes and texts.
std::unique_ptr<LargeImageSource> OpenLargeImageSource(const std::string& path);
// The same for files read from disk as needed, reading only their header; for other formats a
// picture whose header declares a large size (IsLargeImage) is decoded whole now, and nothing
// is given for a smaller one, which the caller decodes as it does any picture.
// `progress` hears of such a whole decoding, and may cancel it.
std::unique_ptr<LargeImageSource> OpenPartialImageSource(const std::string& path,
                                                         IProgressNotification* progress = nullptr);

// The largest power-of-two reduction (1 … kMaxFactor) that still gives at least one pixel per
// device pixel when the picture is drawn at `scale` device pixels per picture pixel.
int ReductionForScale(double scale);

}  // namespace vornel
