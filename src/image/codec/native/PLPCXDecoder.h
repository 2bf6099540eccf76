#pragma once
// Reads PCX files (run-length encoded; packed 1-, 2-, 4- and 8-bit pixels, planar 1-bit
// pixels of up to 4 planes, 24-bit as three 8-bit planes) into 32 bits per pixel.

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLPCXDecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
};

}  // namespace vornel
