#pragma once
// Writes bitmaps as TIFF through libtiff, PackBits-compressed by default: 1-bit images as
// black and white, 8-bit images with their palette, 24- and 32-bit images as 8-bit RGB.

#include <tiffio.h>

#include "image/codec/PLPicEncoder.h"

namespace vornel {

class PLTIFFEncoder : public PLPicEncoder {
 public:
  void SetCompression(uint16_t compression) { compression_ = compression; }
  uint16_t GetCompression() const { return compression_; }

 protected:
  void DoEncode(PLBmp& bmp, PLDataSink& sink) override;
  virtual void WriteLines(PLBmp& bmp, TIFF* tiff);

 private:
  uint16_t compression_ = COMPRESSION_PACKBITS;
};

}  // namespace vornel
