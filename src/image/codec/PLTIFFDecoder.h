#pragma once
// Decodes TIFF images (classic and BigTIFF) through libtiff. Grey and palette images of up to
// 8 bits in strips become 1- or 8-bit bitmaps with their palette; 16-bit samples, separate
// planes and grey with alpha are read sample by sample (PLTiffSamples) into 32 bits with their
// alpha as stored; everything else (8-bit colour, tiles, CMYK, YCbCr, Lab) goes through the
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
  void ReadRgbStrips(PLBmp& bmp, TIFF* tiff, int samples);

  // Tells the listener of the source how far decoding has come, `done` of `total` rows or
  // units, and stops when it asks to.
  void Progress(uint64_t done, uint64_t total) const;

  const std::string* lastError_ = nullptr;
  IProgressNotification* progress_ = nullptr;
};

}  // namespace vornel
