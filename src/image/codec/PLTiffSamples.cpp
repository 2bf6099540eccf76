#include "image/codec/PLTiffSamples.h"

#include <algorithm>
#include <cstring>

#include "image/bitmap/PLBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLPicDecoder.h"

namespace vornel {

namespace {

// A unit larger than this is taken as hostile rather than decoded.
constexpr uint64_t kMaxUnitBytes = uint64_t(256) << 20;

}  // namespace

bool PLTiffSamples::Handles(TIFF* tiff) {
  uint16_t bits = 1;
  uint16_t samples = 1;
  uint16_t photometric = 0xFFFF;
  uint16_t format = SAMPLEFORMAT_UINT;
  uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
  if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) != 1) return false;
  if ((bits != 8 && bits != 16) || format != SAMPLEFORMAT_UINT || orientation != ORIENTATION_TOPLEFT) return false;
  const bool grey = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
  if (grey) return samples == 1 || samples == 2;
  return photometric == PHOTOMETRIC_RGB && (samples == 3 || samples == 4);
}

PLTiffSamples::PLTiffSamples(TIFF* tiff, const std::string& lastError) : tiff_(tiff), lastError_(lastError) {
  uint16_t planar = PLANARCONFIG_CONTIG;
  uint16_t photometric = PHOTOMETRIC_MINISBLACK;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width_);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height_);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits_);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples_);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  separate_ = planar == PLANARCONFIG_SEPARATE && samples_ > 1;
  whiteIsZero_ = photometric == PHOTOMETRIC_MINISWHITE;
  tiled_ = TIFFIsTiled(tiff) != 0;
  if (width_ == 0 || height_ == 0 || width_ > PLBmp::kMaxDimension || height_ > PLBmp::kMaxDimension) {
    PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_ + "Bad image size.");
  }
  if (tiled_) {
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &unitWidth_);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &unitHeight_);
  } else {
    unitWidth_ = width_;
    unitHeight_ = height_;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &unitHeight_);
    unitHeight_ = std::clamp<uint32_t>(unitHeight_, 1, height_);
  }
  if (unitWidth_ == 0 || unitHeight_ == 0 || unitWidth_ > PLBmp::kMaxDimension ||
      unitHeight_ > PLBmp::kMaxDimension) {
    PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_ + "Bad tile size.");
  }
  const uint64_t planeBytes = uint64_t(unitWidth_) * unitHeight_ * (bits_ / 8) * (separate_ ? 1 : samples_);
  if (planeBytes * (separate_ ? samples_ : 1) > kMaxUnitBytes) {
    PLPicDecoder::RaiseError(kPLErrNoMemory, "Out of memory allocating TIFF buffer.");
  }
  for (uint32_t y = 0; y < height_; y += unitHeight_) {
    for (uint32_t x = 0; x < width_; x += unitWidth_) {
      units_.push_back({x, y, std::min(unitWidth_, width_ - x), std::min(unitHeight_, height_ - y)});
    }
  }
  // Every unit the reading below asks for must be one the file lists.
  const uint64_t perPlane = units_.size();
  if (uint64_t(TIFFNumberOfStrips(tiff)) < (separate_ ? perPlane * samples_ : perPlane) && !tiled_) {
    PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_ + "Too few strips.");
  }
  if (tiled_ && uint64_t(TIFFNumberOfTiles(tiff)) < (separate_ ? perPlane * samples_ : perPlane)) {
    PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_ + "Too few tiles.");
  }
  raw_.resize(static_cast<size_t>(planeBytes) * (separate_ ? samples_ : 1));
}

uint8_t PLTiffSamples::Sample(const uint8_t* plane, size_t index) const {
  if (bits_ == 8) return plane[index];
  uint16_t v = 0;
  std::memcpy(&v, plane + 2 * index, 2);  // the library has put it in our byte order
  return static_cast<uint8_t>(v >> 8);  // the high byte, as the library's own reading takes it
}

void PLTiffSamples::ReadUnit(size_t index, std::vector<PLPixel32>& pixels, bool tolerant) {
  const Unit& unit = units_.at(index);
  const size_t planes = separate_ ? samples_ : 1;
  const size_t planeBytes = raw_.size() / planes;
  const size_t perPlane = units_.size();
  for (size_t p = 0; p < planes; ++p) {
    uint8_t* out = raw_.data() + p * planeBytes;
    const auto number = static_cast<uint32_t>(p * perPlane + index);
    const tmsize_t got = tiled_ ? TIFFReadEncodedTile(tiff_, number, out, static_cast<tmsize_t>(planeBytes))
                                : TIFFReadEncodedStrip(tiff_, number, out, static_cast<tmsize_t>(planeBytes));
    if (got < 0) {
      if (!tolerant) PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_);
      std::memset(out, 0, planeBytes);
    } else if (static_cast<size_t>(got) < planeBytes) {
      std::memset(out + got, 0, planeBytes - static_cast<size_t>(got));  // a short unit reads as black
    }
  }
  pixels.resize(size_t(unit.width) * unit.height);
  const size_t stride = unitWidth_;  // tiles keep their full width; strips are the image width
  for (uint32_t r = 0; r < unit.height; ++r) {
    for (uint32_t c = 0; c < unit.width; ++c) {
      const size_t at = size_t(r) * stride + c;
      uint8_t s[4] = {0, 0, 0, 255};
      for (uint16_t k = 0; k < samples_; ++k) {
        s[k] = separate_ ? Sample(raw_.data() + k * planeBytes, at) : Sample(raw_.data(), at * samples_ + k);
      }
      PLPixel32& px = pixels[size_t(r) * unit.width + c];
      if (samples_ <= 2) {
        const uint8_t grey = whiteIsZero_ ? static_cast<uint8_t>(255 - s[0]) : s[0];
        px = PLPixel32{grey, grey, grey, samples_ == 2 ? s[1] : uint8_t(255)};
      } else {
        px = PLPixel32{s[2], s[1], s[0], samples_ == 4 ? s[3] : uint8_t(255)};
      }
    }
  }
}

}  // namespace vornel
