#pragma once
// Base of the image encoders: sizes a file sink from the bitmap's memory use, lets the
// subclass encode into it and writes the file. The file is written only when encoding
// succeeded: a failed or partial encoding leaves any old file as it was.

#include <string>

#include "image/bitmap/PLBmp.h"
#include "image/codec/io/PLDataSink.h"

namespace vornel {

class PLPicEncoder : public PLObject {
 public:
  PLPicEncoder() = default;
  PLPicEncoder(const PLPicEncoder&) = delete;
  PLPicEncoder& operator=(const PLPicEncoder&) = delete;
  ~PLPicEncoder() override = default;

  // Encodes `bmp` into the file. A file that cannot be opened throws code -1 with
  // "Decoder error: Opening NAME failed\n"; encoding errors throw their own codes.
  virtual void MakeFileFromBmp(const std::string& fileName, PLBmp& bmp);
  virtual void SaveBmp(PLBmp& bmp, PLDataSink& sink);

  // The sink a bitmap is encoded into: its memory use plus 4,096 bytes below 20,000 bytes,
  // else 1.2 times it.
  static int64_t SinkSizeFor(const PLBmp& bmp);

 protected:
  virtual void DoEncode(PLBmp& bmp, PLDataSink& sink) = 0;
};

}  // namespace vornel
