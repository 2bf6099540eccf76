#pragma once
// Writes 32-bit bitmaps as JPEG through libjpeg, into the sink's memory.

#include <memory>

#include "image/codec/PLPicEncoder.h"

namespace vornel {

struct PLJpegCompressState;

class PLJPEGEncoder : public PLPicEncoder {
 public:
  PLJPEGEncoder();
  ~PLJPEGEncoder() override;

  // 0 keeps the library's default quality; else 1-100 with baseline tables.
  void SetQuality(int quality) { quality_ = quality; }
  void SetOptimizeCoding(bool optimize) { optimizeCoding_ = optimize; }
  void SetSmoothingFactor(int factor) { smoothingFactor_ = factor; }
  // Non-zero densities are written as dots per inch.
  void SetDensity(int x, int y) {
    densityX_ = x;
    densityY_ = y;
  }

 protected:
  void DoEncode(PLBmp& bmp, PLDataSink& sink) override;

 private:
  std::unique_ptr<PLJpegCompressState> state_;
  int quality_ = 0;
  bool optimizeCoding_ = false;
  int smoothingFactor_ = 0;
  int densityX_ = 0;
  int densityY_ = 0;
};

}  // namespace vornel
