#pragma once
// Reads portable pixmaps ("P3" text, "P6" binary) into 32 bits per pixel.

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLPPMDecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
};

}  // namespace vornel
