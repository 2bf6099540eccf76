#pragma once
// Decodes GIF images through giflib into 8 bits per pixel. Every image of the file is painted
// in order onto one picture the size of the logical screen (an animation shows all its frames
// over each other); images reaching beyond the screen are clipped. A file that ends early
// keeps what was decoded.

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLGIFDecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;
};

}  // namespace vornel
