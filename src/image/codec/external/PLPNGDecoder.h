#pragma once
// Decodes PNG images through libpng: grey and palette images become 8 bits per pixel, colour
// images 32 bits (with alpha when the file has an alpha channel). Sixteen-bit samples keep
// their high byte. Library errors come back as code 2 with the library's message.

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLPNGDecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
};

}  // namespace vornel
