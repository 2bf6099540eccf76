#pragma once
// The decoder the rest of the system uses: it owns one decoder per format and picks one by
// the name (".WMF", ".EMF" anywhere in it, in any case) or else by the first bytes of the
// data, then lets that decoder decode with its own bit-depth conversion.

#include <memory>

#include "image/codec/PLPicDecoder.h"

namespace vornel {

class PLBmpDecoder;
class PLPictDecoder;
class PLTGADecoder;
class PLTIFFDecoder;
class PLJPEGDecoder;
class PLPNGDecoder;
class PLWEMFDecoder;
class PLPCXDecoder;
class PLPGMDecoder;
class PLGIFDecoder;
class PLPPMDecoder;
class PLPSDDecoder;

class PLAnyPicDecoder : public PLPicDecoder {
 public:
  // The formats told apart, as DetectType returns them.
  enum FileType {
    kUnknown = 0,
    kBmp = 1,
    kPict = 2,
    kTga = 3,
    kTiff = 4,
    kJpeg = 5,
    kPng = 6,
    kEpsTiff = 7,
    kWmf = 8,
    kEmf = 9,
    kPcx = 10,
    kPgm = 11,
    kGif = 12,
    kPpm = 13,
    kPsd = 14,
  };

  PLAnyPicDecoder();
  ~PLAnyPicDecoder() override;

  void MakeBmp(PLDataSource& source, PLBmp& bmp, int wantedBitsPerPixel) override;

  // The format of `size` bytes at `data` by their signature (the name is not consulted);
  // bytes beyond the data never match.
  static FileType DetectSignature(const uint8_t* data, int64_t size);
  // The type the last MakeBmp detected; 0 before.
  int GetFileType() const { return type_; }

 private:
  int type_ = kUnknown;
  std::unique_ptr<PLBmpDecoder> bmp_;
  std::unique_ptr<PLPictDecoder> pict_;
  std::unique_ptr<PLTGADecoder> tga_;
  std::unique_ptr<PLTIFFDecoder> tiff_;
  std::unique_ptr<PLJPEGDecoder> jpeg_;
  std::unique_ptr<PLPNGDecoder> png_;
  std::unique_ptr<PLWEMFDecoder> metafile_;
  std::unique_ptr<PLPCXDecoder> pcx_;
  std::unique_ptr<PLPGMDecoder> pgm_;
  std::unique_ptr<PLGIFDecoder> gif_;
  std::unique_ptr<PLPPMDecoder> ppm_;
  std::unique_ptr<PLPSDDecoder> psd_;
};

}  // namespace vornel
