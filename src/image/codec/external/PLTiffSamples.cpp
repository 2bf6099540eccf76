#include "image/codec/external/PLTiffSamples.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "image/bitmap/PLBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLPicDecoder.h"

namespace vornel {

namespace {

// A unit larger than this is taken as hostile rather than decoded.
constexpr uint64_t kMaxUnitBytes = uint64_t(256) << 20;
// Strips of interleaved samples are read a line at a time, in bands of rows of about this
// many bytes: the buffer stays small and warm however long the strips are.
constexpr uint64_t kBandBytes = uint64_t(64) << 10;
// More samples per pixel than this are not a picture.
constexpr uint16_t kMaxSamples = 32;

bool IsOneOf(uint16_t value, std::initializer_list<uint16_t> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

// CIE L*a*b* (L 0..255 for 0..100, a and b signed) relative to the D50 white, to sRGB through
// the Bradford-adapted matrix, as colour-managed readers convert it.
PLPixel32 LabToRgb(uint8_t l8, int8_t a8, int8_t b8, uint8_t alpha) {
  const double fy = (l8 * 100.0 / 255.0 + 16.0) / 116.0;
  const double fx = fy + a8 / 500.0;
  const double fz = fy - b8 / 200.0;
  const auto inverse = [](double t) { return t > 6.0 / 29.0 ? t * t * t : 3.0 * (6.0 / 29.0) * (6.0 / 29.0) * (t - 4.0 / 29.0); };
  const double x = 0.96422 * inverse(fx);
  const double y = inverse(fy);
  const double z = 0.82521 * inverse(fz);
  const auto encode = [](double c) {
    c = std::clamp(c, 0.0, 1.0);
    const double v = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
    return static_cast<uint8_t>(std::lround(v * 255.0));
  };
  return PLPixel32::FromRgba(encode(3.1338561 * x - 1.6168667 * y - 0.4906146 * z),
                             encode(-0.9787684 * x + 1.9161415 * y + 0.0334540 * z),
                             encode(0.0719453 * x - 0.2289914 * y + 1.4052427 * z), alpha);
}

}  // namespace

bool PLTiffSamples::Handles(TIFF* tiff) {
  uint16_t bits = 1;
  uint16_t samples = 1;
  uint16_t photometric = 0xFFFF;
  uint16_t format = SAMPLEFORMAT_UINT;
  uint16_t orientation = ORIENTATION_TOPLEFT;
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
  if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) != 1) return false;
  // Pictures turned or mirrored, and old-style JPEG data, are the library's own to read.
  if (orientation != ORIENTATION_TOPLEFT || compression == COMPRESSION_OJPEG) return false;
  if (!IsOneOf(format, {SAMPLEFORMAT_UINT, SAMPLEFORMAT_INT, SAMPLEFORMAT_VOID})) return false;
  const bool isSigned = format == SAMPLEFORMAT_INT;
  uint16_t colours = 1;
  switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
      if (!IsOneOf(bits, {1, 2, 4, 8, 16}) || (isSigned && bits < 8)) return false;
      break;
    case PHOTOMETRIC_PALETTE: {
      uint16_t* red = nullptr;
      uint16_t* green = nullptr;
      uint16_t* blue = nullptr;
      if (!IsOneOf(bits, {1, 2, 4, 8}) || isSigned) return false;
      if (TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) != 1) return false;
      break;
    }
    case PHOTOMETRIC_RGB:
      if (!IsOneOf(bits, {8, 16})) return false;
      colours = 3;
      break;
    case PHOTOMETRIC_CIELAB:
      if (bits != 8 || isSigned) return false;
      colours = 3;
      break;
    default:
      return false;
  }
  return samples >= colours && samples <= kMaxSamples;
}

PLTiffSamples::PLTiffSamples(TIFF* tiff, const std::string& lastError) : tiff_(tiff), lastError_(lastError) {
  uint16_t planar = PLANARCONFIG_CONTIG;
  uint16_t photometric = PHOTOMETRIC_MINISBLACK;
  uint16_t format = SAMPLEFORMAT_UINT;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width_);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height_);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits_);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples_);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  separate_ = planar == PLANARCONFIG_SEPARATE && samples_ > 1;
  signed_ = format == SAMPLEFORMAT_INT;
  whiteIsZero_ = photometric == PHOTOMETRIC_MINISWHITE;
  kind_ = photometric == PHOTOMETRIC_PALETTE  ? Kind::kPalette
          : photometric == PHOTOMETRIC_RGB    ? Kind::kRgb
          : photometric == PHOTOMETRIC_CIELAB ? Kind::kLab
                                              : Kind::kGrey;
  tiled_ = TIFFIsTiled(tiff) != 0;
  if (width_ == 0 || height_ == 0 || width_ > PLBmp::kMaxDimension || height_ > PLBmp::kMaxDimension) {
    PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_ + "Bad image size.");
  }

  // The first extra sample is the alpha when the file says so; without the tag, a sample
  // beyond the colour ones is taken as alpha, as files that leave it out mean.
  const int colours = kind_ == Kind::kRgb || kind_ == Kind::kLab ? 3 : 1;
  uint16_t extraCount = 0;
  uint16_t* extraTypes = nullptr;
  if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes) == 1 && extraCount > 0 &&
      extraTypes != nullptr) {
    if (samples_ > colours && (extraTypes[0] == EXTRASAMPLE_ASSOCALPHA || extraTypes[0] == EXTRASAMPLE_UNASSALPHA)) {
      alpha_ = colours;
      associated_ = extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
    }
  } else if (samples_ == colours + 1) {
    alpha_ = colours;
  }

  // Grey levels by sample, or the colour map (of 16-bit values unless none passes 255).
  const int entries = bits_ < 8 ? 1 << bits_ : 256;
  if (kind_ == Kind::kPalette) {
    uint16_t* red = nullptr;
    uint16_t* green = nullptr;
    uint16_t* blue = nullptr;
    TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue);
    bool sixteen = false;
    for (int i = 0; i < entries; ++i) sixteen = sixteen || red[i] > 255 || green[i] > 255 || blue[i] > 255;
    const auto level = [&](uint16_t v) { return static_cast<uint8_t>(sixteen ? v * 255u / 65535u : v); };
    for (int i = 0; i < entries; ++i) palette_[i] = PLPixel32::FromRgba(level(red[i]), level(green[i]), level(blue[i]));
  } else {
    for (int i = 0; i < entries; ++i) {
      const auto v = static_cast<uint8_t>(i * 255 / (entries - 1));
      const auto level = whiteIsZero_ ? static_cast<uint8_t>(255 - v) : v;
      palette_[i] = PLPixel32{level, level, level, 255};
    }
  }
  if (samples_ == 1 && (kind_ == Kind::kGrey || kind_ == Kind::kPalette)) nativeBits_ = bits_ == 1 ? 1 : 8;

  const uint32_t planeSamples = separate_ ? 1 : samples_;
  if (tiled_) {
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &unitWidth_);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &unitHeight_);
    // Bits of tiles that do not start on a byte are widened to bytes.
    if (nativeBits_ == 1 && unitWidth_ % 8 != 0) nativeBits_ = 8;
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
  rowBytes_ = static_cast<size_t>((uint64_t(unitWidth_) * bits_ * planeSamples + 7) / 8);
  stripRows_ = unitHeight_;
  if (!tiled_ && !separate_) {
    if (TIFFScanlineSize64(tiff) > static_cast<uint64_t>(rowBytes_)) {
      PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_ + "Bad scanline size.");
    }
    banded_ = true;
    // Bands never cross a strip's end: each strip is read by one reader from its start.
    unitHeight_ = static_cast<uint32_t>(std::clamp<uint64_t>(kBandBytes / rowBytes_, 1, stripRows_));
  }
  planeBytes_ = rowBytes_ * unitHeight_;
  if (uint64_t(planeBytes_) * (separate_ ? samples_ : 1) > kMaxUnitBytes) {
    PLPicDecoder::RaiseError(kPLErrNoMemory, "Out of memory allocating TIFF buffer.");
  }
  for (uint32_t y = 0; y < height_;) {
    // Bands end with their strip.
    const uint32_t end = banded_ ? std::min<uint32_t>(height_, (y / stripRows_ + 1) * stripRows_) : height_;
    const uint32_t rows = std::min(unitHeight_, end - y);
    for (uint32_t x = 0; x < width_; x += unitWidth_) units_.push_back({x, y, std::min(unitWidth_, width_ - x), rows});
    y += rows;
  }
  // Every unit the reading below asks for must be one the file lists.
  const uint64_t perPlane = banded_ ? (uint64_t(height_) + stripRows_ - 1) / stripRows_ : units_.size();
  if (uint64_t(tiled_ ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff)) < (separate_ ? perPlane * samples_ : perPlane)) {
    PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_ + (tiled_ ? "Too few tiles." : "Too few strips."));
  }
  raw_.resize(planeBytes_ * (separate_ ? samples_ : 1));
}

bool PLTiffSamples::ReadUnit(size_t index, bool tolerant) {
  const Unit& unit = units_.at(index);
  current_ = static_cast<uint32_t>(index);
  const size_t planes = separate_ ? samples_ : 1;
  const size_t perPlane = units_.size();
  bool ok = true;
  if (banded_) {
    for (uint32_t r = 0; r < unit.height && ok; ++r) {
      ok = TIFFReadScanline(tiff_, raw_.data() + r * rowBytes_, unit.y + r, 0) >= 0;
      if (!ok) std::memset(raw_.data() + r * rowBytes_, 0, raw_.size() - r * rowBytes_);
    }
  } else {
    for (size_t p = 0; p < planes; ++p) {
      uint8_t* out = raw_.data() + p * planeBytes_;
      const auto number = static_cast<uint32_t>(p * perPlane + index);
      const tmsize_t got = tiled_ ? TIFFReadEncodedTile(tiff_, number, out, static_cast<tmsize_t>(planeBytes_))
                                  : TIFFReadEncodedStrip(tiff_, number, out, static_cast<tmsize_t>(planeBytes_));
      if (got < 0) {
        ok = false;
        std::memset(out, 0, planeBytes_);
      } else if (static_cast<size_t>(got) < planeBytes_) {
        std::memset(out + got, 0, planeBytes_ - static_cast<size_t>(got));  // a short unit reads as black
      }
    }
  }
  if (!ok && !tolerant) PLPicDecoder::RaiseError(kPLErrFormatUnknown, lastError_);
  return ok;
}

uint8_t PLTiffSamples::Sample(uint32_t r, uint32_t x, uint32_t k) const {
  const uint8_t* row = raw_.data() + (separate_ ? k * planeBytes_ : 0) + r * rowBytes_;
  const size_t i = separate_ ? x : size_t(x) * samples_ + k;
  if (bits_ == 8) {
    if (!signed_) return row[i];
    // Signed samples: their positive range runs from black to white, below 0 is black.
    const auto v = static_cast<int8_t>(row[i]);
    return v <= 0 ? 0 : static_cast<uint8_t>((v << 1) | (v >> 6));
  }
  if (bits_ == 16) {
    uint16_t word = 0;
    std::memcpy(&word, row + 2 * i, 2);  // the library has put it in our byte order
    if (!signed_) return static_cast<uint8_t>(word >> 8);  // the high byte, as the library's own reading takes it
    const auto v = static_cast<int16_t>(word);
    return v <= 0 ? 0 : static_cast<uint8_t>(v >> 7);
  }
  const size_t bit = i * bits_;
  return static_cast<uint8_t>((row[bit >> 3] >> (8 - bits_ - (bit & 7))) & ((1 << bits_) - 1));
}

PLPixel32 PLTiffSamples::Pixel(uint32_t r, uint32_t x) const {
  uint8_t alpha = 255;
  if (alpha_ >= 0) {
    const uint8_t a = Sample(r, x, static_cast<uint32_t>(alpha_));
    alpha = bits_ < 8 ? static_cast<uint8_t>(a * 255 / ((1 << bits_) - 1)) : a;
  }
  PLPixel32 p;
  switch (kind_) {
    case Kind::kGrey:
    case Kind::kPalette:
      p = palette_[Sample(r, x, 0)];
      p.a = alpha;
      break;
    case Kind::kRgb:
      p = PLPixel32::FromRgba(Sample(r, x, 0), Sample(r, x, 1), Sample(r, x, 2), alpha);
      break;
    case Kind::kLab:
      p = LabToRgb(Sample(r, x, 0), static_cast<int8_t>(Sample(r, x, 1)), static_cast<int8_t>(Sample(r, x, 2)), alpha);
      break;
  }
  if (associated_ && alpha != 255) {
    // The colour was multiplied by the alpha: divide it out again.
    if (alpha == 0) return PLPixel32{};
    const auto divide = [alpha](uint8_t c) { return static_cast<uint8_t>(std::min(255, c * 255 / alpha)); };
    p = PLPixel32{divide(p.b), divide(p.g), divide(p.r), alpha};
  }
  return p;
}

void PLTiffSamples::RowPixels(uint32_t r, uint32_t x, uint32_t step, uint32_t count, PLPixel32* out) const {
  const uint8_t* row = raw_.data() + size_t(r) * rowBytes_;
  if (samples_ == 1 && !signed_ && (kind_ == Kind::kGrey || kind_ == Kind::kPalette)) {
    if (bits_ == 8) {
      for (uint32_t i = 0; i < count; ++i) out[i] = palette_[row[x + size_t(i) * step]];
      return;
    }
    if (bits_ < 8) {
      const int mask = (1 << bits_) - 1;
      for (uint32_t i = 0; i < count; ++i) {
        const size_t bit = (x + size_t(i) * step) * bits_;
        out[i] = palette_[(row[bit >> 3] >> (8 - bits_ - (bit & 7))) & mask];
      }
      return;
    }
  }
  if (bits_ == 8 && !signed_ && !separate_ && kind_ == Kind::kRgb && !associated_ && (samples_ == 3 || alpha_ == 3)) {
    const size_t stride = size_t(step) * samples_;
    const uint8_t* in = row + size_t(x) * samples_;
    for (uint32_t i = 0; i < count; ++i, in += stride) {
      out[i] = PLPixel32{in[2], in[1], in[0], alpha_ == 3 ? in[3] : uint8_t(255)};
    }
    return;
  }
  for (uint32_t i = 0; i < count; ++i) out[i] = Pixel(r, x + i * step);
}

void PLTiffSamples::NativeRow(uint32_t r, uint8_t* out) const {
  const uint32_t width = units_[current_].width;
  const uint8_t* row = raw_.data() + size_t(r) * rowBytes_;
  if (nativeBits_ == 1) {
    std::memcpy(out, row, (size_t(width) + 7) / 8);
  } else if (bits_ == 8 && !signed_) {
    std::memcpy(out, row, width);
  } else {
    for (uint32_t x = 0; x < width; ++x) out[x] = Sample(r, x, 0);
  }
}

}  // namespace vornel
