#pragma once
// Reads Truevision TGA files: colour-mapped, true-colour and grey images, uncompressed or
// run-length encoded. 15- to 32-bit images become 32 bits per pixel (alpha from 16- and
// 32-bit files), the others 8 bits per pixel with a palette.

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLTGADecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
};

}  // namespace vornel
