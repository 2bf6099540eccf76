#pragma once
// Reads Windows and OS/2 bitmap files: 1-, 4- and 8-bit images (uncompressed or run-length
// encoded) into 8 bits per pixel with their palette, 16-, 24- and 32-bit images into 32
// bits per pixel (alpha only from 32-bit files).

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLBmpDecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
};

}  // namespace vornel
