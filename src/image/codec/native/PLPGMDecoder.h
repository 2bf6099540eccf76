#pragma once
// Reads portable greymaps ("P2" text, "P5" binary) into 8 bits per pixel with the grey
// palette.

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLPGMDecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
};

}  // namespace vornel
