#include "image/codec/external/PLTIFFEncoder.h"

#include <array>
#include <memory>
#include <vector>

#include "image/bitmap/PLTextException.h"
#include "image/codec/PLPicDecoder.h"
#include "image/codec/external/PLTiffGlue.h"

namespace vornel {

namespace {

[[noreturn]] void RaiseWriteError(const PLTiffMemFile& file) {
  if (file.Overflowed()) throw PLTextException(kPLErrEndOfData, "Buffer overflow while encoding.\n");
  PLPicDecoder::RaiseError(kPLErrFormatUnknown, file.LastError().empty() ? "Can't write TIFF data." : file.LastError());
}

}  // namespace

void PLTIFFEncoder::DoEncode(PLBmp& bmp, PLDataSink& sink) {
  const int bits = bmp.GetBitsPerPixel();
  if (bits != 1 && bits != 8 && bits != 24 && bits != 32) {
    throw PLTextException(kPLErrFormatNotSupported, "Image bit depth doesn't match request.");
  }
  // Everything the library writes lands in memory bounded by what is left of the sink, and
  // goes to the sink only when the whole image was written.
  PLTiffMemFile file(static_cast<uint64_t>(sink.GetMaxSize() - sink.GetBytesWritten()));
  TIFF* tiff = file.Open();
  if (tiff == nullptr) RaiseWriteError(file);
  bool ok = true;
  try {
    const PLPoint resolution = bmp.GetResolution();
    ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(bmp.GetWidth())) == 1 &&
         TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(bmp.GetHeight())) == 1 &&
         TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(bits <= 8 ? bits : 8)) == 1 &&
         TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(bits > 8 ? 3 : 1)) == 1 &&
         TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression_) == 1 &&
         TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
         // Strips of about 8 KiB, so that readers need not hold the whole image at once.
         TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0)) == 1 &&
         TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(resolution.x)) == 1 &&
         TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(resolution.y)) == 1 &&
         TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) == 1;
    uint16_t photometric = PHOTOMETRIC_RGB;
    if (bits == 1) {
      const PLPixel32* p = bmp.GetPalette();
      const bool darkFirst = p[0].r < p[1].r && p[0].g < p[1].g && p[0].b < p[1].b;
      photometric = darkFirst ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE;
    } else if (bits == 8) {
      photometric = PHOTOMETRIC_PALETTE;
    }
    ok = ok && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric) == 1;
    if (ok) WriteLines(bmp, tiff);
  } catch (...) {
    TIFFClose(tiff);
    throw;
  }
  TIFFClose(tiff);  // writes the directory
  if (!ok || file.Overflowed() || !file.LastError().empty()) RaiseWriteError(file);
  sink.WriteNBytes(static_cast<int64_t>(file.Written().size()), file.Written().data());
}

void PLTIFFEncoder::WriteLines(PLBmp& bmp, TIFF* tiff) {
  PLBmpLock lock(bmp, true, false);
  const int width = bmp.GetWidth();
  const int bits = bmp.GetBitsPerPixel();
  uint8_t* const* lines = bmp.GetLineArray();
  if (bits == 8) {
    // The colour map holds the palette's bytes unscaled (0-255); readers of ours and the
    // library's own RGBA reading take such a map as 8-bit.
    std::array<uint16_t, 256> red{};
    std::array<uint16_t, 256> green{};
    std::array<uint16_t, 256> blue{};
    const PLPixel32* palette = bmp.GetPalette();
    for (int i = 0; i < 256; ++i) {
      red[i] = palette[i].r;
      green[i] = palette[i].g;
      blue[i] = palette[i].b;
    }
    TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
  }
  std::vector<uint8_t> rgb(bits > 8 ? static_cast<size_t>(width) * 3 : 0);
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    uint8_t* row = lines[y];
    if (bits > 8) {
      const int step = bits / 8;
      for (int x = 0; x < width; ++x) {
        rgb[3 * x] = row[step * x + 2];
        rgb[3 * x + 1] = row[step * x + 1];
        rgb[3 * x + 2] = row[step * x];
      }
      row = rgb.data();
    }
    if (TIFFWriteScanline(tiff, row, static_cast<uint32_t>(y), 0) < 0) return;
  }
}

}  // namespace vornel
