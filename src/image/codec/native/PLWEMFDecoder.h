#pragma once
// Turns Windows metafiles (also with the 22-byte placeable header) and enhanced metafiles into
// a bitmap by playing their records through the drawing layer onto a white page whose size
// comes from the metafile's own frame. A metafile with a palette of 1 to 255 entries gives an
// 8-bit image with that palette, any other a 32-bit image.

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLWEMFDecoder : public PLPicDecoder {
 public:
  // The screen the sizes of placeable metafiles are computed for.
  static constexpr int kScreenDpi = 96;

 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
};

}  // namespace vornel
