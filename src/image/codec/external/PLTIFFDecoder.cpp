#include "image/codec/external/PLTIFFDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "image/bitmap/PLTextException.h"
#include "image/codec/external/PLTiffGlue.h"
#include "image/codec/external/PLTiffSamples.h"

namespace vornel {

namespace {

// Closes the library's handle however decoding ends.
struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

// Contiguous 8-bit RGB with a fourth sample: the four bytes are taken as they stand, so the
// colour is not multiplied by its alpha.
void PutRgbaBytes(TIFFRGBAImage* img, uint32_t* out, uint32_t, uint32_t, uint32_t w, uint32_t h, int32_t fromskew,
                  int32_t toskew, unsigned char* in) {
  const int samples = img->samplesperpixel;
  for (uint32_t row = 0; row < h; ++row) {
    for (uint32_t x = 0; x < w; ++x) {
      *out++ = uint32_t(in[0]) | (uint32_t(in[1]) << 8) | (uint32_t(in[2]) << 16) | (uint32_t(in[3]) << 24);
      in += samples;
    }
    in += static_cast<int64_t>(fromskew) * samples;
    out += toskew;
  }
}

// Rows of RGBA decoded at a time, at least: the whole image is not held twice unless it is
// stored as one strip.
constexpr uint32_t kBandRows = 64;

}  // namespace

void PLTIFFDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  // The rest of the source: the whole file, or what follows the preview offset of an EPS file.
  PLTiffMemFile file(source.ReadEverything(), static_cast<uint64_t>(source.GetBytesLeft()));
  std::unique_ptr<TIFF, TiffCloser> tiff(file.Open());
  if (!tiff) RaiseError(kPLErrWrongSignature, file.LastError());
  lastError_ = &file.LastError();
  progress_ = source.GetNotification();
  DoTiffDecode(bmp, source, tiff.get());

  float resX = 0;
  float resY = 0;
  if (TIFFGetField(tiff.get(), TIFFTAG_XRESOLUTION, &resX) != 1 || !(resX > 1.0f)) resX = 0;
  if (TIFFGetField(tiff.get(), TIFFTAG_YRESOLUTION, &resY) != 1 || !(resY > 1.0f)) resY = 0;
  uint16_t unit = RESUNIT_INCH;
  if (TIFFGetField(tiff.get(), TIFFTAG_RESOLUTIONUNIT, &unit) == 1 && unit == RESUNIT_CENTIMETER) {
    // Dots per centimetre to dots per inch; images without an absolute unit keep their numbers.
    resX *= 2.54f;
    resY *= 2.54f;
  }
  const auto round = [](float v) { return v < 1e6f ? static_cast<int32_t>(v + 0.5f) : 0; };
  bmp.SetResolution({round(resX), round(resY)});
}

void PLTIFFDecoder::DoTiffDecode(PLBmp& bmp, PLDataSource&, TIFF* tiff) {
  uint16_t bitsPerSample = 1;
  uint16_t samplesPerPixel = 1;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
  // Samples of 3, 5, 6 or 7 bits would come out as packed garbage here: the library reads them.
  const bool paletteDepth = bitsPerSample == 1 || bitsPerSample == 2 || bitsPerSample == 4 || bitsPerSample == 8;
  uint16_t planar = PLANARCONFIG_CONTIG;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  // Grey and alpha in separate planes would give scanlines of one sample: the library reads them.
  const bool interleaved = samplesPerPixel == 1 || planar == PLANARCONFIG_CONTIG;
  // Grey, palette, RGB and L*a*b* images are read sample by sample: the library's RGBA
  // reading would premultiply unassociated alpha, drop a grey image's, round 16-bit samples
  // and take signed ones for unsigned. Grey and palette images keep their own depth.
  if (PLTiffSamples::Handles(tiff)) {
    DecodeSamples(bmp, tiff);
  } else if ((samplesPerPixel == 1 || samplesPerPixel == 2) && paletteDepth && interleaved && !TIFFIsTiled(tiff)) {
    DecodePalette(bmp, tiff);
  } else {
    DecodeRgba(bmp, tiff);
  }
}

void PLTIFFDecoder::Progress(uint64_t done, uint64_t total) const {
  if (progress_ != nullptr && total > 0) ReportDecodeProgress(progress_, double(done) / double(total));
}

void PLTIFFDecoder::DecodeSamples(PLBmp& bmp, TIFF* tiff) {
  PLTiffSamples reader(tiff, *lastError_);
  const int bits = reader.NativeBits();
  bmp.Create(reader.Width(), reader.Height(), bits, bits == 32 && reader.HasAlpha());
  if (bits <= 8) bmp.SetPalette(reader.Palette());
  PLBmpLock lock(bmp, false, true);
  uint8_t* const* lines = bmp.GetLineArray();
  // A damaged strip of a grey or palette image ends the picture, which is kept when it
  // showed a good part of itself; elsewhere, as the library's own reading does, a damaged
  // unit leaves its pixels and the rest goes on.
  const bool stripsOfOneSample = TIFFIsTiled(tiff) == 0 && bits <= 8;
  for (size_t i = 0; i < reader.UnitCount(); ++i) {
    const PLTiffSamples::Unit& unit = reader.UnitAt(i);
    if (!reader.ReadUnit(i, true) && stripsOfOneSample) {
      if (unit.y < reader.Height() / 3) RaiseError(kPLErrVariantNotSupported, *lastError_);
      break;
    }
    for (uint32_t r = 0; r < unit.height; ++r) {
      uint8_t* line = lines[unit.y + r];
      if (bits == 32) reader.RowPixels(r, 0, 1, unit.width, reinterpret_cast<PLPixel32*>(line) + unit.x);
      else reader.NativeRow(r, line + (bits == 1 ? unit.x / 8 : unit.x));
    }
    Progress(i + 1, reader.UnitCount());
  }
}

void PLTIFFDecoder::DecodePalette(PLBmp& bmp, TIFF* tiff) {
  uint32_t width = 0;
  uint32_t height = 0;
  uint16_t bits = 1;
  uint16_t samples = 1;
  uint16_t photometric = PHOTOMETRIC_MINISWHITE;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  if (photometric != PHOTOMETRIC_MINISWHITE && photometric != PHOTOMETRIC_MINISBLACK &&
      photometric != PHOTOMETRIC_PALETTE) {
    Trace(2, "unexpected PhotometricInterpretation, default to PHOTOMETRIC_MINISWHITE");
    photometric = PHOTOMETRIC_MINISWHITE;
  }
  const bool mono = samples == 1 && bits == 1;
  bmp.Create(width, height, mono ? 1 : 8, false);

  // What one scanline must hold for the unpacking below.
  const int64_t needed = samples == 2 ? int64_t(width) * 2 : (int64_t(width) * bits + 7) / 8;
  const tmsize_t scanlineSize = TIFFScanlineSize(tiff);
  if (scanlineSize <= 0 || scanlineSize < needed) RaiseError(kPLErrFormatUnknown, *lastError_ + "Bad scanline size.");
  std::vector<uint8_t> buffer;
  try {
    buffer.resize(static_cast<size_t>(scanlineSize));
  } catch (const std::bad_alloc&) {
    RaiseError(kPLErrNoMemory, "Out of memory allocating TIFF buffer.");
  }

  std::array<PLPixel32, 256> palette{};
  const int count = 1 << bits;
  if (photometric == PHOTOMETRIC_PALETTE) {
    uint16_t* red = nullptr;
    uint16_t* green = nullptr;
    uint16_t* blue = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) != 1) {
      RaiseError(kPLErrFormatUnknown, "Palette image without a colour map.");
    }
    bool sixteen = false;
    for (int i = 0; i < count; ++i) sixteen = sixteen || red[i] > 255 || green[i] > 255 || blue[i] > 255;
    const auto level = [&](uint16_t v) { return static_cast<uint8_t>(sixteen ? v * 255u / 65535u : v); };
    for (int i = 0; i < count; ++i) palette[i] = PLPixel32::FromRgba(level(red[i]), level(green[i]), level(blue[i]));
  } else {
    const int step = 255 / (count - 1);
    for (int i = 0; i < count; ++i) {
      const auto v = static_cast<uint8_t>((photometric == PHOTOMETRIC_MINISBLACK ? i : count - 1 - i) * step);
      palette[i] = PLPixel32{v, v, v, 255};
    }
  }

  {
    PLBmpLock lock(bmp, false, true);
    uint8_t* const* lines = bmp.GetLineArray();
    const auto dataBytes = static_cast<size_t>(PLBmp::DataBytesPerLine(width, mono ? 1 : 8));
    for (uint32_t y = 0; y < height; ++y) {
      if (y % 64 == 0) Progress(y, height);
      if (TIFFReadScanline(tiff, buffer.data(), y, 0) < 0) {
        // A damaged image that showed a good part of itself is kept as far as it goes.
        if (y < height / 3) RaiseError(kPLErrVariantNotSupported, *lastError_);
        break;
      }
      uint8_t* out = lines[y];
      const uint8_t* in = buffer.data();
      if (samples == 2) {
        for (uint32_t x = 0; x < width; ++x) out[x] = in[2 * x];
      } else if (bits == 2 || bits == 4) {
        PLBmp::UnpackIndices(in, bits, width, out);
      } else {
        std::copy(in, in + dataBytes, out);
      }
    }
  }
  bmp.SetPalette(palette.data());
}

void PLTIFFDecoder::DecodeRgba(PLBmp& bmp, TIFF* tiff) {
  char message[1024] = {};
  TIFFRGBAImage img{};
  if (TIFFRGBAImageBegin(&img, tiff, 0, message) != 1) {
    RaiseError(kPLErrWrongSignature, std::string(message) + "\n");
  }
  struct ImageEnder {
    TIFFRGBAImage* img;
    ~ImageEnder() { TIFFRGBAImageEnd(img); }
  } ender{&img};

  const uint32_t width = img.width;
  const uint32_t height = img.height;
  const bool alpha = img.alpha != 0 || img.samplesperpixel == 4;
  bmp.Create(width, height, 32, alpha);
  if (img.samplesperpixel == 4 && img.bitspersample == 8 && img.photometric == PHOTOMETRIC_RGB &&
      img.isContig != 0) {
    img.put.contig = PutRgbaBytes;
  }
  // Rows come top-down; the library turns pictures stored from the bottom up within each
  // band, so such a picture's bands are taken from the end of the file's rows.
  img.req_orientation = ORIENTATION_TOPLEFT;
  const bool bottomUp = img.orientation == ORIENTATION_BOTLEFT || img.orientation == ORIENTATION_BOTRIGHT;

  // Bands hold whole strips or rows of tiles, so that each is decompressed once.
  uint32_t unit = 0;
  if (TIFFIsTiled(tiff)) TIFFGetField(tiff, TIFFTAG_TILELENGTH, &unit);
  else TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &unit);
  unit = std::clamp<uint32_t>(unit, 1, height);
  const uint32_t bandRows = std::min(height, (kBandRows + unit - 1) / unit * unit);
  std::vector<uint32_t> band;
  try {
    band.resize(static_cast<size_t>(width) * bandRows);
  } catch (const std::bad_alloc&) {
    RaiseError(kPLErrNoMemory, "Out of memory allocating TIFF buffer.");
  }
  PLBmpLock lock(bmp, false, true);
  uint8_t* const* lines = bmp.GetLineArray();
  for (uint32_t top = 0; top < height; top += bandRows) {
    const uint32_t rows = std::min(bandRows, height - top);
    img.row_offset = static_cast<int>(bottomUp ? height - top - rows : top);
    img.col_offset = 0;
    Progress(top, height);
    if (TIFFRGBAImageGet(&img, band.data(), width, rows) != 1) {
      RaiseError(kPLErrWrongSignature, *lastError_);
    }
    for (uint32_t r = 0; r < rows; ++r) {
      const uint32_t* in = band.data() + static_cast<size_t>(r) * width;
      uint8_t* out = lines[top + r];
      for (uint32_t x = 0; x < width; ++x) {
        const uint32_t v = in[x];
        out[4 * x] = static_cast<uint8_t>(v >> 16);
        out[4 * x + 1] = static_cast<uint8_t>(v >> 8);
        out[4 * x + 2] = static_cast<uint8_t>(v);
        out[4 * x + 3] = static_cast<uint8_t>(v >> 24);
      }
    }
  }
}

}  // namespace vornel
