#pragma once
// Decodes TIFF images (classic and BigTIFF) through libtiff. Grey, palette, RGB and L*a*b*
// images are read sample by sample (PLTiffSamples): grey and palette images of one sample
// become 1- or 8-bit bitmaps with their palette, the others 32 bits with their alpha. Pictures
// stored turned or mirrored, and everything else (CMYK, YCbCr, floating point) go through the
// library's RGBA reading into 32 bits.

#include <tiffio.h>

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLTIFFDecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
  virtual void DoTiffDecode(PLBmp& bmp, PLDataSource& source, TIFF* tiff);

 private:
  void DecodeSamples(PLBmp& bmp, TIFF* tiff);
  void DecodePalette(PLBmp& bmp, TIFF* tiff);
  void DecodeRgba(PLBmp& bmp, TIFF* tiff);

  // Tells the listener of the source how far decoding has come, `done` of `total` rows or
  // units, and stops when it asks to.
  void Progress(uint64_t done, uint64_t total) const;

  const std::string* lastError_ = nullptr;
  IProgressNotification* progress_ = nullptr;
};

}  // namespace vornel
