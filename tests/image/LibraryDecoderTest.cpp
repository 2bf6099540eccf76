// The decoders that hand their data to libjpeg, libpng, libtiff and giflib. Fixtures are made
// here with the same libraries (or our encoders), so each shows one property of the glue.

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <cstring>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/external/PLGIFDecoder.h"
#include "image/codec/external/PLJPEGDecoder.h"
#include "image/codec/external/PLJPEGEncoder.h"
#include "image/codec/external/PLPNGDecoder.h"
#include "image/codec/external/PLTIFFDecoder.h"
#include "image/codec/external/PLTIFFEncoder.h"
#include "image/codec/external/PLTiffGlue.h"

namespace vornel {
namespace {

using testing::ColorAt;
using testing::DecodeCode;

std::vector<uint8_t> GradientJpeg(int width, int height, PLPoint resolution = {}) {
  PLAnyBmp bmp;
  testing::FillGradient(bmp, width, height);
  bmp.SetResolution(resolution);
  PLJPEGEncoder encoder;
  return testing::Encode(encoder, bmp);
}

// ---------------------------------------------------------------- JPEG

TEST(JpegDecoder, ColourGivesThirtyTwoBitsWithoutAlphaAndSmallDensitiesGive72) {
  const struct {
    PLPoint written;
    PLPoint read;
  } cases[] = {{{0, 0}, {72, 72}}, {{1, 1}, {72, 72}}, {{300, 150}, {300, 150}}};
  for (const auto& c : cases) {
    PLJPEGDecoder decoder;
    PLAnyBmp bmp;
    ASSERT_EQ(DecodeCode(decoder, GradientJpeg(64, 32, c.written), bmp), 0);
    EXPECT_EQ(bmp.GetBitsPerPixel(), 32);
    EXPECT_FALSE(bmp.HasAlpha());
    EXPECT_EQ(bmp.GetResolution(), c.read) << c.written.x;
    const PLPixel32 p = testing::PixelAt(bmp, 63, 31);
    EXPECT_NEAR(p.r, 255, 6);
    EXPECT_NEAR(p.g, 255, 6);
    EXPECT_NEAR(p.b, 128, 6);
  }
}

TEST(JpegDecoder, ATruncatedFileDecodesAsFarAsItGoes) {
  std::vector<uint8_t> file = GradientJpeg(256, 256);
  file.resize(file.size() / 2);
  PLJPEGDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeCode(decoder, file, bmp), 0);
  EXPECT_EQ(bmp.GetWidth(), 256);
  EXPECT_NEAR(testing::PixelAt(bmp, 0, 0).b, 128, 6);
}

// A truncated file whose frame declares 16000 x 16000 pixels: the library would make up every
// missing line of a gigabyte bitmap. The data cannot carry such a picture; it is refused first.
TEST(JpegDecoder, DimensionsBeyondWhatTheDataCarriesAreRefused) {
  std::vector<uint8_t> file = GradientJpeg(64, 64);
  const uint8_t startOfFrame[] = {0xFF, 0xC0};
  const auto frame = std::search(file.begin(), file.end(), std::begin(startOfFrame), std::end(startOfFrame));
  ASSERT_NE(frame, file.end());
  const size_t at = static_cast<size_t>(frame - file.begin());
  for (const size_t field : {at + 5, at + 7}) {
    file[field] = 16000 >> 8;
    file[field + 1] = 16000 & 0xFF;
  }
  file.resize(file.size() * 2 / 3);
  PLJPEGDecoder decoder;
  PLAnyBmp bmp;
  EXPECT_EQ(DecodeCode(decoder, file, bmp), kPLErrEndOfData);
  EXPECT_NE(bmp.GetWidth(), 16000);
}

TEST(JpegDecoder, LibraryErrorsComeBackAsCodeSixWithTheLibrarysMessage) {
  std::vector<uint8_t> file = GradientJpeg(16, 16);
  file.resize(4);  // the start-of-image marker and no frame
  file.push_back(0xFF);
  file.push_back(0xD9);
  PLJPEGDecoder decoder;
  PLAnyBmp bmp;
  std::string text;
  EXPECT_EQ(DecodeCode(decoder, file, bmp, &text), 6);
  EXPECT_EQ(text.rfind("Decoder error: ", 0), 0u) << text;
  // The decoder is usable again after a failure.
  EXPECT_EQ(DecodeCode(decoder, GradientJpeg(8, 8), bmp), 0);
}

// ---------------------------------------------------------------- PNG

std::vector<uint8_t> Png(png_uint_32 format, int width, int height, const void* pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_NE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr), 0);
  std::vector<uint8_t> bytes(size);
  EXPECT_NE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, nullptr), 0);
  bytes.resize(size);
  return bytes;
}

TEST(PngDecoder, SixteenBitGreyGivesEightBitsWithTheFullRamp) {
  const uint16_t grey[4] = {0x0000, 0x80FF, 0xFF00, 0xFFFF};
  PLPNGDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeCode(decoder, Png(PNG_FORMAT_LINEAR_Y, 4, 1, grey), bmp), 0);
  ASSERT_EQ(bmp.GetBitsPerPixel(), 8);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(bmp.GetPalette()[i], PLPixel32::FromRgba(i, i, i)) << i;
  // The high byte of each sample, whatever the linear encoding did to it.
  EXPECT_EQ(bmp.GetLineArray()[0][0], 0);
  EXPECT_EQ(bmp.GetLineArray()[0][3], 255);
}

TEST(PngDecoder, ColourTypesGiveTheirDepthsAndAlpha) {
  const uint8_t rgba[8] = {255, 0, 0, 128, 0, 0, 255, 255};
  const uint8_t rgb[6] = {255, 0, 0, 0, 0, 255};
  const struct {
    std::vector<uint8_t> file;
    int bits;
    bool alpha;
    const char* first;
  } cases[] = {
      {Png(PNG_FORMAT_RGBA, 2, 1, rgba), 32, true, "#FF0000/80"},
      {Png(PNG_FORMAT_RGB, 2, 1, rgb), 32, false, "#FF0000/FF"},
  };
  for (const auto& c : cases) {
    PLPNGDecoder decoder;
    PLAnyBmp bmp;
    ASSERT_EQ(DecodeCode(decoder, c.file, bmp), 0);
    EXPECT_EQ(bmp.GetBitsPerPixel(), c.bits);
    EXPECT_EQ(bmp.HasAlpha(), c.alpha);
    EXPECT_EQ(ColorAt(bmp, 0, 0, true), c.first);
    EXPECT_EQ(ColorAt(bmp, 1, 0), "#0000FF");
  }
}

TEST(PngDecoder, DamageAndTruncationAreCodedErrors) {
  const uint8_t rgb[6] = {255, 0, 0, 0, 0, 255};
  const std::vector<uint8_t> good = Png(PNG_FORMAT_RGB, 2, 1, rgb);
  std::vector<uint8_t> badCrc = good;
  badCrc[29] ^= 0xFF;  // the header chunk's checksum
  const std::vector<uint8_t> truncated(good.begin(), good.begin() + 40);
  const struct {
    std::vector<uint8_t> file;
    int code;
  } cases[] = {{badCrc, 2}, {truncated, 11}};
  for (const auto& c : cases) {
    PLPNGDecoder decoder;
    PLAnyBmp bmp;
    EXPECT_EQ(DecodeCode(decoder, c.file, bmp), c.code);
  }
}

// ---------------------------------------------------------------- TIFF

// A TIFF written by libtiff with the fields given; `fill` sets them on the open handle.
template <class Fill>
std::vector<uint8_t> Tiff(Fill&& fill) {
  PLTiffMemFile file(1 << 20);
  TIFF* tiff = file.Open();
  EXPECT_NE(tiff, nullptr);
  fill(tiff);
  TIFFClose(tiff);
  return file.Written();
}

TEST(TiffDecoder, OneBitMinIsWhiteGivesWhiteFirst) {
  const std::vector<uint8_t> file = Tiff([](TIFF* t) {
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 9u);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, 1u);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    uint8_t row[2] = {0x80, 0x80};  // pixels 0 and 8 set
    TIFFWriteScanline(t, row, 0, 0);
  });
  PLTIFFDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeCode(decoder, file, bmp), 0);
  EXPECT_EQ(bmp.GetBitsPerPixel(), 1);
  EXPECT_EQ(bmp.GetPalette()[0], PLPixel32::FromRgba(255, 255, 255));
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#000000");
  EXPECT_EQ(ColorAt(bmp, 1, 0), "#FFFFFF");
  EXPECT_EQ(ColorAt(bmp, 8, 0), "#000000");
}

TEST(TiffDecoder, ColourMapsOfEightAndSixteenBitsAreToldApart) {
  for (const bool sixteen : {false, true}) {
    const std::vector<uint8_t> file = Tiff([&](TIFF* t) {
      TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 2u);
      TIFFSetField(t, TIFFTAG_IMAGELENGTH, 1u);
      TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 4);
      TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
      TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
      uint16_t red[16] = {}, green[16] = {}, blue[16] = {};
      red[1] = sixteen ? 0xFFFF : 255;
      blue[2] = sixteen ? 0x8080 : 128;
      TIFFSetField(t, TIFFTAG_COLORMAP, red, green, blue);
      uint8_t row[1] = {0x12};
      TIFFWriteScanline(t, row, 0, 0);
    });
    PLTIFFDecoder decoder;
    PLAnyBmp bmp;
    ASSERT_EQ(DecodeCode(decoder, file, bmp), 0);
    EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
    EXPECT_EQ(ColorAt(bmp, 0, 0), "#FF0000") << sixteen;
    EXPECT_EQ(ColorAt(bmp, 1, 0), "#000080") << sixteen;
  }
}

TEST(TiffDecoder, RgbaKeepsStraightAlphaAndResolution) {
  const std::vector<uint8_t> file = Tiff([](TIFF* t) {
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 1u);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, 2u);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &extra);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, 100.0f);
    TIFFSetField(t, TIFFTAG_YRESOLUTION, 100.0f);
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
    uint8_t top[4] = {200, 100, 50, 128};
    uint8_t bottom[4] = {0, 0, 255, 255};
    TIFFWriteScanline(t, top, 0, 0);
    TIFFWriteScanline(t, bottom, 1, 0);
  });
  PLTIFFDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeCode(decoder, file, bmp), 0);
  EXPECT_TRUE(bmp.HasAlpha());
  EXPECT_EQ(ColorAt(bmp, 0, 0, true), "#C86432/80");  // not multiplied by its alpha
  EXPECT_EQ(ColorAt(bmp, 0, 1, true), "#0000FF/FF");
  EXPECT_EQ(bmp.GetResolution(), (PLPoint{254, 254}));
}

TEST(TiffDecoder, DataThatIsNoTiffIsCodeOne) {
  PLTIFFDecoder decoder;
  PLAnyBmp bmp;
  std::string text;
  EXPECT_EQ(DecodeCode(decoder, {'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0x7F}, bmp, &text), 1);
  EXPECT_NE(text.find("Decoder error: "), std::string::npos);
}

// ---------------------------------------------------------------- GIF

// Index of pixel (x, y) of the test GIFs: little to compress, so the data spans many blocks.
int GifIndex(int x, int y) { return (x * 7 + y * 13 + x * y) % 32; }

// A GIF of one 64 x 40 image, interlaced or not; `cut` bytes are left off its end.
std::vector<uint8_t> Gif(bool interlaced, size_t cut = 0) {
  constexpr int kWidth = 64;
  constexpr int kHeight = 40;
  struct Out {
    static int Write(GifFileType* gif, const GifByteType* data, int count) {
      auto* bytes = static_cast<std::vector<uint8_t>*>(gif->UserData);
      bytes->insert(bytes->end(), data, data + count);
      return count;
    }
  };
  std::vector<uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, Out::Write, &error);
  GifColorType colours[32];
  for (int i = 0; i < 32; ++i) colours[i] = {static_cast<GifByteType>(i * 8), 0, static_cast<GifByteType>(255 - i * 8)};
  ColorMapObject* map = GifMakeMapObject(32, colours);
  EGifPutScreenDesc(gif, kWidth, kHeight, 5, 0, map);
  EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, interlaced, nullptr);
  std::vector<int> order;
  if (interlaced) {
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
      for (int y = start; y < kHeight; y += step) order.push_back(y);
    }
  } else {
    for (int y = 0; y < kHeight; ++y) order.push_back(y);
  }
  for (const int y : order) {
    GifPixelType row[kWidth];
    for (int x = 0; x < kWidth; ++x) row[x] = static_cast<GifPixelType>(GifIndex(x, y));
    EGifPutLine(gif, row, kWidth);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  bytes.resize(bytes.size() - cut);
  return bytes;
}

TEST(GifDecoder, AnInterlacedImageEqualsItsPlainTwin) {
  PLGIFDecoder decoder;
  PLAnyBmp plain;
  PLAnyBmp interlaced;
  ASSERT_EQ(DecodeCode(decoder, Gif(false), plain), 0);
  ASSERT_EQ(DecodeCode(decoder, Gif(true), interlaced), 0);
  ASSERT_EQ(plain.GetBitsPerPixel(), 8);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 64; ++x) {
      ASSERT_EQ(plain.GetLineArray()[y][x], GifIndex(x, y));
      ASSERT_EQ(interlaced.GetLineArray()[y][x], GifIndex(x, y));
    }
  }
  EXPECT_EQ(ColorAt(plain, 1, 0), "#3800C7");
}

TEST(GifDecoder, ATruncatedFileKeepsWhatWasDecoded) {
  PLGIFDecoder decoder;
  PLAnyBmp bmp;
  ASSERT_EQ(DecodeCode(decoder, Gif(false, 20), bmp), 0);
  EXPECT_EQ(bmp.GetWidth(), 64);
  EXPECT_EQ(bmp.GetLineArray()[0][1], GifIndex(1, 0));
  PLAnyBmp none;
  EXPECT_EQ(DecodeCode(decoder, {'G', 'I', 'F'}, none), 11);
  EXPECT_EQ(DecodeCode(decoder, {'J', 'I', 'F', '8', '9', 'a', 0, 0}, none), 1);
}

// 1,561 bytes that declare a logical screen of 25803 x 7680: the bitmap would take 200 MB (and
// four times that widened) for an image of 64 x 40. No GIF data that small fills such a screen.
TEST(GifDecoder, AScreenBeyondWhatTheDataCarriesIsRefused) {
  std::vector<uint8_t> file = Gif(false);
  file[6] = 25803 & 0xFF;
  file[7] = 25803 >> 8;
  file[8] = 7680 & 0xFF;
  file[9] = 7680 >> 8;
  PLGIFDecoder decoder;
  PLAnyBmp bmp;
  EXPECT_EQ(DecodeCode(decoder, file, bmp), kPLErrEndOfData);
  EXPECT_NE(bmp.GetWidth(), 25803);
}

}  // namespace
}  // namespace vornel
