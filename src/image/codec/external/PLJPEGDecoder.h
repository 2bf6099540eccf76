#pragma once
// Decodes JPEG images through libjpeg: greyscale images become 8 bits per pixel with the grey
// ramp, colour images 32 bits without alpha. The data is handed to the library straight from
// the source's memory; a truncated file decodes as far as it goes.

#include <memory>

#include "image/codec/PLPicDecoder.h"

namespace vornel {

struct PLJpegDecompressState;

class PLJPEGDecoder : public PLPicDecoder {
 public:
  PLJPEGDecoder();
  ~PLJPEGDecoder() override;

  // Fast decoding leaves out the smoothing upsampling of colour planes; on at construction.
  void SetFast(bool fast) { fast_ = fast; }
  bool IsFast() const { return fast_; }

 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;

 private:
  [[noreturn]] void RaiseLibraryError();

  std::unique_ptr<PLJpegDecompressState> state_;
  bool fast_ = true;
};

}  // namespace vornel
