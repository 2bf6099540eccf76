#include "image/codec/PLAnyPicDecoder.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "image/bitmap/PLByteOrder.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/native/PLBmpDecoder.h"
#include "image/codec/external/PLGIFDecoder.h"
#include "image/codec/external/PLJPEGDecoder.h"
#include "image/codec/native/PLPCXDecoder.h"
#include "image/codec/native/PLPGMDecoder.h"
#include "image/codec/external/PLPNGDecoder.h"
#include "image/codec/native/PLPPMDecoder.h"
#include "image/codec/native/PLPSDDecoder.h"
#include "image/codec/native/PLPictDecoder.h"
#include "image/codec/native/PLTGADecoder.h"
#include "image/codec/external/PLTIFFDecoder.h"
#include "image/codec/native/PLWEMFDecoder.h"
#include "platform/text/AsciiCase.h"

namespace vornel {

PLAnyPicDecoder::PLAnyPicDecoder()
    : bmp_(std::make_unique<PLBmpDecoder>()),
      tga_(std::make_unique<PLTGADecoder>()),
      tiff_(std::make_unique<PLTIFFDecoder>()),
      jpeg_(std::make_unique<PLJPEGDecoder>()),
      png_(std::make_unique<PLPNGDecoder>()),
      metafile_(std::make_unique<PLWEMFDecoder>()),
      pcx_(std::make_unique<PLPCXDecoder>()),
      pgm_(std::make_unique<PLPGMDecoder>()),
      gif_(std::make_unique<PLGIFDecoder>()),
      ppm_(std::make_unique<PLPPMDecoder>()),
      psd_(std::make_unique<PLPSDDecoder>()) {
  pict_ = std::make_unique<PLPictDecoder>(jpeg_.get());
}

PLAnyPicDecoder::~PLAnyPicDecoder() = default;

PLAnyPicDecoder::FileType PLAnyPicDecoder::DetectSignature(const uint8_t* b, int64_t size) {
  const auto at = [&](int64_t i) { return i < size ? int(b[i]) : -1; };
  const auto oneOf = [&](int64_t i, std::initializer_list<int> values) {
    return std::find(values.begin(), values.end(), at(i)) != values.end();
  };
  const auto starts = [&](std::initializer_list<int> bytes) {
    int64_t i = 0;
    for (const int v : bytes) {
      if (at(i++) != v) return false;
    }
    return true;
  };
  const auto le32 = [&](int64_t i) { return i + 4 <= size ? PLReadLE32(b + i) : 0u; };

  if ((at(0) == 'B' && oneOf(1, {'A', 'M'})) || (at(0) == 'I' && at(1) == 'C') ||
      (at(0) == 'C' && oneOf(1, {'P', 'I'}))) {
    return kBmp;
  }
  if (oneOf(1, {0, 1}) && oneOf(2, {0, 1, 2, 3, 9, 10, 11}) && oneOf(7, {0, 8, 15, 16, 24, 32}) &&
      oneOf(16, {8, 15, 16, 24, 32})) {
    return kTga;
  }
  if (starts({0x47, 0x49, 0x46, 0x38})) return kGif;
  // Classic TIFF, then BigTIFF (version 43).
  if (starts({0x49, 0x49, 0x2A, 0x00}) || starts({0x4D, 0x4D, 0x00, 0x2A})) return kTiff;
  if (starts({0x49, 0x49, 0x2B, 0x00}) || starts({0x4D, 0x4D, 0x00, 0x2B})) return kTiff;
  // A picture's opcodes start after its 512-byte preamble.
  if (size > 540 && ((at(522) == 0x00 && at(523) == 0x11 && at(524) == 0x02 && at(525) == 0xFF) ||
                     (at(522) == 0x00 && at(523) == 0x11 && at(524) == 0x01) ||
                     (at(522) == 0x11 && at(523) == 0x01 && at(524) == 0x01 && at(525) == 0x00))) {
    return kPict;
  }
  if (at(0) == 0xFF && at(1) == 0xD8 && at(2) == 0xFF) return kJpeg;
  if (at(0) == 137 && at(1) == 'P' && at(2) == 'N' && at(3) == 'G') return kPng;
  if ((starts({0xC5, 0xD0, 0xD3, 0xC6}) || starts({0xC6, 0xD3, 0xD0, 0xC5})) && le32(20) != 0 && le32(24) != 0) {
    return kEpsTiff;
  }
  if (at(0) == 10 && at(2) == 1) return kPcx;
  if (at(0) == 'P' && oneOf(1, {'2', '5'})) return kPgm;
  if (at(0) == 'P' && oneOf(1, {'3', '6'})) return kPpm;
  if (starts({'8', 'B', 'P', 'S'})) return kPsd;
  return kUnknown;
}

void PLAnyPicDecoder::MakeBmp(PLDataSource& source, PLBmp& bmp, int wantedBitsPerPixel) {
  type_ = kUnknown;
  const std::string name = AsciiLower(source.GetName());
  if (name.find(".wmf") != std::string::npos) type_ = kWmf;
  else if (name.find(".emf") != std::string::npos) type_ = kEmf;
  // The tests look at the data from where the source stands, so only what is left of it
  // may be looked at.
  if (type_ == kUnknown) type_ = DetectSignature(source.GetBufferPtr(512), source.GetBytesLeft());

  PLPicDecoder* decoder = nullptr;
  switch (type_) {
    case kUnknown:
      RaiseError(kPLErrUnknownFileType, "Unknown file type.");
    case kBmp:
      Trace(2, "Windows bitmap recognized.\n");
      decoder = bmp_.get();
      break;
    case kPict:
      Trace(2, "Mac PICT recognized.\n");
      decoder = pict_.get();
      break;
    case kTga:
      Trace(2, "TGA file recognized.\n");
      decoder = tga_.get();
      break;
    case kTiff:
      Trace(2, "TIFF file recognized.\n");
      decoder = tiff_.get();
      break;
    case kJpeg:
      Trace(2, "JPEG file recognized.\n");
      decoder = jpeg_.get();
      break;
    case kPng:
      Trace(2, "PNG file recognized.\n");
      decoder = png_.get();
      break;
    case kEpsTiff: {
      Trace(2, "TIFF preview in EPS file recognized.\n");
      // The preview starts at the offset stored at byte 20.
      source.ReadNBytes(PLReadLE32(source.GetBufferPtr(24) + 20));
      decoder = tiff_.get();
      break;
    }
    case kWmf:
      Trace(2, "WMF file recognized.\n");
      decoder = metafile_.get();
      break;
    case kEmf:
      Trace(2, "EMF file recognized.\n");
      decoder = metafile_.get();
      break;
    case kPcx:
      Trace(2, "PCX file recognized.\n");
      decoder = pcx_.get();
      break;
    case kPgm:
      Trace(2, "PGM file recognized.\n");
      decoder = pgm_.get();
      break;
    case kGif:
      Trace(2, "GIF file recognized.\n");
      decoder = gif_.get();
      break;
    case kPpm:
      Trace(2, "PPM file recognized.\n");
      decoder = ppm_.get();
      break;
    case kPsd:
      Trace(2, "PSD file recognized.\n");
      decoder = psd_.get();
      break;
    default:
      RaiseError(kPLErrFormatNotSupported, "Library not compiled for this file type.");
  }
  decoder->MakeBmp(source, bmp, wantedBitsPerPixel);
}

}  // namespace vornel
