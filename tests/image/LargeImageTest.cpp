// TIFF layouts read sample by sample (16 bits, separate planes, tiles, compression, BigTIFF),
// pictures read in parts (regions and reductions of TIFF and JPEG files) and the tile cache
// of large pictures. The fixtures are written by libtiff and libjpeg at test time from
// pixels the test computes, so the expected pixels are known exactly.

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/codec/io/PLDataSource.h"
#include "image/large/LargeImageSource.h"
#include "image/large/TiledPicture.h"
#include "platform/draw/RecordingDevice.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

struct TiffLayout {
  const char* name;
  int samples;     // 1 grey, 2 grey + alpha, 3 RGB, 4 RGBA
  int bits;        // 8 or 16
  bool separate;   // planar configuration 2
  bool tiled;
  uint16_t compression;
  bool predictor;
  bool big;        // BigTIFF
  bool whiteIsZero = false;
};

// Sample k of pixel (x, y) at 16 bits: distinct per channel, position and level.
uint16_t Sample16(int x, int y, int k) { return static_cast<uint16_t>((x * 1231 + y * 3119 + k * 16411) * 7 & 0xFFFF); }
uint8_t To8(uint16_t v) { return static_cast<uint8_t>((v * 255u + 32767u) / 65535u); }

fs::path TempFile(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("vornel-large-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir / name;
}

void WriteTiff(const fs::path& path, const TiffLayout& layout, uint32_t width, uint32_t height) {
  TIFF* tiff = TIFFOpen(path.c_str(), layout.big ? "w8" : "w");
  ASSERT_NE(tiff, nullptr);
  const int s = layout.samples;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, layout.bits);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, s);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
               s >= 3 ? PHOTOMETRIC_RGB : layout.whiteIsZero ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, layout.separate ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, layout.compression);
  if (layout.predictor) TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  if (s == 2 || s == 4) {
    const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
  }
  const int bytes = layout.bits / 8;
  const auto put = [&](std::vector<uint8_t>& buffer, size_t index, uint16_t v) {
    if (bytes == 1) buffer[index] = To8(v);
    else std::memcpy(buffer.data() + 2 * index, &v, 2);
  };
  const int planes = layout.separate ? s : 1;
  const int perPixel = layout.separate ? 1 : s;
  if (layout.tiled) {
    const uint32_t tw = 16;
    const uint32_t th = 16;
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tw);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, th);
    std::vector<uint8_t> tile(size_t(tw) * th * perPixel * bytes);
    for (int p = 0; p < planes; ++p) {
      for (uint32_t ty = 0; ty < height; ty += th) {
        for (uint32_t tx = 0; tx < width; tx += tw) {
          std::fill(tile.begin(), tile.end(), 0);
          for (uint32_t r = 0; r < th && ty + r < height; ++r) {
            for (uint32_t c = 0; c < tw && tx + c < width; ++c) {
              for (int k = 0; k < perPixel; ++k) {
                put(tile, (size_t(r) * tw + c) * perPixel + k, Sample16(int(tx + c), int(ty + r), layout.separate ? p : k));
              }
            }
          }
          TIFFWriteTile(tiff, tile.data(), tx, ty, 0, static_cast<uint16_t>(p));
        }
      }
    }
  } else {
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 3u);
    std::vector<uint8_t> line(size_t(width) * perPixel * bytes);
    for (int p = 0; p < planes; ++p) {
      for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
          for (int k = 0; k < perPixel; ++k) {
            put(line, size_t(x) * perPixel + k, Sample16(int(x), int(y), layout.separate ? p : k));
          }
        }
        TIFFWriteScanline(tiff, line.data(), y, static_cast<uint16_t>(p));
      }
    }
  }
  TIFFClose(tiff);
}

PLPixel32 Expected(const TiffLayout& layout, int x, int y) {
  const uint8_t s0 = To8(Sample16(x, y, 0));
  if (layout.samples <= 2) {
    const uint8_t grey = layout.whiteIsZero ? static_cast<uint8_t>(255 - s0) : s0;
    return PLPixel32{grey, grey, grey, layout.samples == 2 ? To8(Sample16(x, y, 1)) : uint8_t(255)};
  }
  return PLPixel32{To8(Sample16(x, y, 2)), To8(Sample16(x, y, 1)), s0,
                   layout.samples == 4 ? To8(Sample16(x, y, 3)) : uint8_t(255)};
}

bool Near(uint8_t a, uint8_t b) { return (a > b ? a - b : b - a) <= 1; }

class TiffLayouts : public ::testing::TestWithParam<TiffLayout> {};

TEST_P(TiffLayouts, DecodeToEightBitsWithAlphaAsStored) {
  const TiffLayout& layout = GetParam();
  const fs::path path = TempFile(std::string(layout.name) + ".tif");
  WriteTiff(path, layout, 37, 21);
  PLAnyBmp bmp;
  PLAnyPicDecoder decoder;
  decoder.MakeBmpFromFile(path.string(), bmp);
  ASSERT_EQ(bmp.GetWidth(), 37);
  ASSERT_EQ(bmp.GetHeight(), 21);
  EXPECT_EQ(bmp.HasAlpha(), layout.samples == 2 || layout.samples == 4);
  int wrong = 0;
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 37; ++x) {
      const PLPixel32 got = testing::PixelAt(bmp, x, y);
      const PLPixel32 want = Expected(layout, x, y);
      const bool alphaMatters = layout.samples == 2 || layout.samples == 4;
      if (!Near(got.r, want.r) || !Near(got.g, want.g) || !Near(got.b, want.b) || (alphaMatters && !Near(got.a, want.a))) {
        if (++wrong < 4) ADD_FAILURE() << layout.name << " at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  fs::remove(path);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TiffLayouts,
    ::testing::Values(TiffLayout{"grey16", 1, 16, false, false, COMPRESSION_NONE, false, false},
                      TiffLayout{"grey16white", 1, 16, false, false, COMPRESSION_NONE, false, false, true},
                      TiffLayout{"greyalpha16", 2, 16, false, false, COMPRESSION_LZW, false, false},
                      TiffLayout{"greyalpha8sep", 2, 8, true, false, COMPRESSION_NONE, false, false},
                      TiffLayout{"greyalpha8", 2, 8, false, false, COMPRESSION_NONE, false, false},
                      TiffLayout{"rgb16lzwpred", 3, 16, false, false, COMPRESSION_LZW, true, false},
                      TiffLayout{"rgb16sep_tiles", 3, 16, true, true, COMPRESSION_ADOBE_DEFLATE, true, false},
                      TiffLayout{"rgba16", 4, 16, false, true, COMPRESSION_ADOBE_DEFLATE, false, false},
                      TiffLayout{"rgba16sep", 4, 16, true, false, COMPRESSION_LZW, true, false},
                      TiffLayout{"rgba8sep", 4, 8, true, false, COMPRESSION_NONE, false, false},
                      TiffLayout{"bigtiff_rgb8", 3, 8, false, false, COMPRESSION_NONE, false, true},
                      // read through the library's RGBA interface, which took uncompressed tiles
                      // only from mapped data
                      TiffLayout{"rgb8tiles_raw", 3, 8, false, true, COMPRESSION_NONE, false, false},
                      TiffLayout{"bigtiff_rgba16_tiles", 4, 16, true, true, COMPRESSION_LZW, false, true}),
    [](const ::testing::TestParamInfo<TiffLayout>& info) { return std::string(info.param.name); });

TEST(BigTiffDetection, BothByteOrdersAreTiff) {
  const uint8_t little[] = {0x49, 0x49, 0x2B, 0x00, 8, 0, 0, 0};
  const uint8_t big[] = {0x4D, 0x4D, 0x00, 0x2B, 0, 8, 0, 0};
  EXPECT_EQ(PLAnyPicDecoder::DetectSignature(little, sizeof little), PLAnyPicDecoder::kTiff);
  EXPECT_EQ(PLAnyPicDecoder::DetectSignature(big, sizeof big), PLAnyPicDecoder::kTiff);
}

// --- reading in parts

void WriteJpeg(const fs::path& path, int width, int height) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  FILE* file = std::fopen(path.c_str(), "wb");
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(size_t(width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < width; ++x) {
      // Smooth, so that the lossy coding stays close.
      row[3 * x] = static_cast<JSAMPLE>(x * 255 / width);
      row[3 * x + 1] = static_cast<JSAMPLE>(y * 255 / height);
      row[3 * x + 2] = static_cast<JSAMPLE>((x + y) * 255 / (width + height));
    }
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&cinfo, &line, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(file);
}

// The mean of `whole` that pixel (x, y) of a region read at `factor` stands for: of its box,
// or above a factor of 4 of the 4 x 4 samples of its box taken every factor / 4 pixels.
PLPixel32 BoxMean(const PLBmp& whole, const ImageRegion& r, int factor, int x, int y) {
  unsigned sum[4] = {};
  unsigned n = 0;
  const int step = std::max(1, factor / 4);
  for (int yy = r.y + y * factor; yy < std::min(r.y + r.height, r.y + (y + 1) * factor); yy += step) {
    for (int xx = r.x + x * factor; xx < std::min(r.x + r.width, r.x + (x + 1) * factor); xx += step) {
      const PLPixel32 p = testing::PixelAt(whole, xx, yy);
      sum[0] += p.b, sum[1] += p.g, sum[2] += p.r, sum[3] += p.a, ++n;
    }
  }
  return PLPixel32{uint8_t((sum[0] + n / 2) / n), uint8_t((sum[1] + n / 2) / n), uint8_t((sum[2] + n / 2) / n),
                   uint8_t((sum[3] + n / 2) / n)};
}

int MaxDifference(const PLBmp& part, const PLBmp& whole, const ImageRegion& region, int factor) {
  int worst = 0;
  for (int y = 0; y < part.GetHeight(); ++y) {
    for (int x = 0; x < part.GetWidth(); ++x) {
      const PLPixel32 a = testing::PixelAt(part, x, y);
      const PLPixel32 b = BoxMean(whole, region, factor, x, y);
      worst = std::max({worst, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    }
  }
  return worst;
}

struct PartCase {
  ImageRegion region;
  int factor;
  int32_t width;   // of the result
  int32_t height;
};

// Reads each case from the file in parts and compares it with box means of the whole decode.
void CheckParts(const fs::path& path, const std::vector<PartCase>& cases, int tolerance) {
  PLAnyBmp whole;
  PLAnyPicDecoder().MakeBmpFromFile(path.string(), whole, 32);
  const auto source = OpenLargeImageSource(path.string());
  ASSERT_EQ(source->Width(), whole.GetWidth());
  ASSERT_EQ(source->Height(), whole.GetHeight());
  for (const PartCase& c : cases) {
    PLAnyBmp part;
    source->Read(c.region, c.factor, part);
    EXPECT_EQ(part.GetWidth(), c.width);
    EXPECT_EQ(part.GetHeight(), c.height);
    const ImageRegion clipped{c.region.x, c.region.y, std::min(c.region.width, whole.GetWidth() - c.region.x),
                              std::min(c.region.height, whole.GetHeight() - c.region.y)};
    EXPECT_LE(MaxDifference(part, whole, clipped, c.factor), tolerance)
        << c.region.x << "," << c.region.y << " /" << c.factor;
  }
}

TEST(LargeImageSource, TiffRegionsAndReductionsAreMeansOfTheWholeImage) {
  const fs::path path = TempFile("parts.tif");
  WriteTiff(path, {"rgb8tiles", 3, 8, false, true, COMPRESSION_LZW, false, false}, 203, 117);
  CheckParts(path,
             {{{0, 0, 203, 117}, 1, 203, 117}, {{0, 0, 203, 117}, 4, 51, 30}, {{17, 5, 40, 33}, 1, 40, 33},
              {{32, 16, 64, 64}, 8, 8, 8}, {{190, 100, 50, 50}, 2, 7, 9}},
             0);
  fs::remove(path);
}

// A PNG written through libpng's full interface, so that it may be interlaced; `filters` are
// those the writer may choose from (PNG_FILTER_*; 0 for its default).
void WritePngOf(const fs::path& path, int width, int height, int colourType, int depth, bool interlaced,
                int filters = 0) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), depth, colourType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette(256);
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette.data(), 1 << depth);
  if (filters != 0) png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  png_write_info(png, info);
  const int channels = colourType == PNG_COLOR_TYPE_RGB         ? 3
                       : colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                       : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                 : 1;
  const size_t rowBytes = (size_t(width) * channels * depth + 7) / 8;
  std::vector<uint8_t> image(rowBytes * size_t(height));
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t((i * 2654435761u) >> 13);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) rows[size_t(y)] = image.data() + size_t(y) * rowBytes;
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// A BMP of `bits` with noise for pixels, bottom-up or top-down, written by hand.
void WriteBmpOf(const fs::path& path, int width, int height, int bits, bool topDown) {
  const int stride = (width * bits + 31) / 32 * 4;
  const int colours = bits <= 8 ? 1 << bits : 0;
  const size_t offset = 54 + size_t(colours) * 4;
  std::vector<uint8_t> bytes(offset + size_t(stride) * height);
  const auto put32 = [&](size_t at, uint32_t v) { std::memcpy(bytes.data() + at, &v, 4); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(10, uint32_t(offset));
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(topDown ? -height : height));
  bytes[26] = 1;
  bytes[28] = uint8_t(bits);
  for (int i = 0; i < colours; ++i) put32(54 + 4 * size_t(i), uint32_t(i * 0x010305) ^ 0x00405060);
  for (size_t i = offset; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 2654435761u >> 13);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

void WritePnm(const fs::path& path, int width, int height, bool colour) {
  std::string bytes = std::string(colour ? "P6" : "P5") + "\n# noise\n" + std::to_string(width) + " " +
                      std::to_string(height) + "\n255\n";
  for (int i = 0; i < width * height * (colour ? 3 : 1); ++i) bytes += char(uint32_t(i) * 2654435761u >> 13);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// Pictures read a row at a time, straight from the file, or decoded whole: their regions and
// reductions are what the whole decode gives.
TEST(LargeImageSource, EveryFormatReadsInPartsAsItDecodesWhole) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> write;
  };
  const std::vector<Case> cases = {
      {"rgb.png", [](const fs::path& p) { WritePngOf(p, 203, 117, PNG_COLOR_TYPE_RGB, 8, false); }},
      {"rgba_interlaced.png", [](const fs::path& p) { WritePngOf(p, 203, 117, PNG_COLOR_TYPE_RGB_ALPHA, 8, true); }},
      {"grey16_interlaced.png", [](const fs::path& p) { WritePngOf(p, 203, 117, PNG_COLOR_TYPE_GRAY, 16, true); }},
      {"palette4.png", [](const fs::path& p) { WritePngOf(p, 203, 117, PNG_COLOR_TYPE_PALETTE, 4, false); }},
      {"rgb24.bmp", [](const fs::path& p) { WriteBmpOf(p, 203, 117, 24, false); }},
      {"rgba32_topdown.bmp", [](const fs::path& p) { WriteBmpOf(p, 203, 117, 32, true); }},
      {"indexed8.bmp", [](const fs::path& p) { WriteBmpOf(p, 203, 117, 8, false); }},
      {"bilevel.bmp", [](const fs::path& p) { WriteBmpOf(p, 203, 117, 1, false); }},
      {"grey.pgm", [](const fs::path& p) { WritePnm(p, 203, 117, false); }},
      {"colour.ppm", [](const fs::path& p) { WritePnm(p, 203, 117, true); }},
      {"bilevel.tif",
       [](const fs::path& p) {
         TIFF* tiff = TIFFOpen(p.c_str(), "w");
         TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 203u);
         TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 117u);
         TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
         TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
         TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
         TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
         TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 50u);
         std::vector<uint8_t> row(26);
         for (uint32_t y = 0; y < 117; ++y) {
           for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t((y * 26 + i) * 2654435761u >> 13);
           TIFFWriteScanline(tiff, row.data(), y, 0);
         }
         TIFFClose(tiff);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = TempFile(c.name);
    c.write(path);
    CheckParts(path,
               {{{0, 0, 203, 117}, 1, 203, 117}, {{0, 0, 203, 117}, 4, 51, 30}, {{17, 5, 40, 33}, 1, 40, 33},
                {{32, 16, 64, 64}, 8, 8, 8}, {{0, 0, 203, 117}, 32, 7, 4}, {{190, 100, 50, 50}, 2, 7, 9},
                // down the picture (a reading may go on), then up again (it starts afresh)
                {{0, 10, 64, 20}, 1, 64, 20}, {{64, 40, 64, 32}, 2, 32, 16}, {{0, 0, 64, 16}, 1, 64, 16}},
               0);
    fs::remove(path);
  }
}

// PNGs of 8-bit samples of every colour type and filter are inflated and unfiltered by the
// reader itself: tall enough for reads that start from a state kept on the way down, and for
// reads of several such parts in parallel.
TEST(LargeImageSource, PlainPngsOfEveryKindAndFilterReadAsTheyDecodeWhole) {
  const int colours[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA,
                         PNG_COLOR_TYPE_PALETTE};
  const int filters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH};
  for (const int colour : colours) {
    for (const int filter : filters) {
      SCOPED_TRACE("colour type " + std::to_string(colour) + ", filter " + std::to_string(filter));
      const fs::path path = TempFile("plain.png");
      WritePngOf(path, 37, 1300, colour, 8, false, filter);
      CheckParts(path,
                 {{{0, 0, 37, 1300}, 1, 37, 1300}, {{3, 700, 30, 600}, 1, 30, 600}, {{0, 0, 37, 1300}, 4, 10, 325},
                  {{5, 1100, 20, 100}, 2, 10, 50}, {{0, 1030, 37, 200}, 16, 3, 13}},
                 0);
      fs::remove(path);
    }
  }
}

// A plain PNG cut short or with damaged data: the reads that need what is missing fail with
// the decoder's error, those above it still read.
TEST(LargeImageSource, DamagedPlainPngsFailAsErrors) {
  const fs::path path = TempFile("damaged.png");
  WritePngOf(path, 64, 900, PNG_COLOR_TYPE_RGB, 8, false);
  std::vector<char> bytes(fs::file_size(path));
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
  std::fclose(file);
  const auto rewrite = [&](size_t size) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, size, out);
    std::fclose(out);
  };
  rewrite(bytes.size() / 2);
  {
    const auto source = OpenLargeImageSource(path.string());
    PLAnyBmp out;
    EXPECT_EQ(testing::CodeOf([&] { source->Read({0, 0, 64, 10}, 1, out); }), 0);
    EXPECT_NE(testing::CodeOf([&] { source->Read({0, 0, 64, 900}, 1, out); }), 0);
    EXPECT_NE(testing::CodeOf([&] { source->Read({0, 600, 64, 300}, 2, out); }), 0);
  }
  // Bytes of the compressed data overwritten.
  for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 64; ++i) bytes[i] = char(0xFF);
  rewrite(bytes.size());
  {
    const auto source = OpenLargeImageSource(path.string());
    PLAnyBmp out;
    EXPECT_NE(testing::CodeOf([&] { source->Read({0, 0, 64, 900}, 4, out); }), 0);
  }
  fs::remove(path);
}

// A picture of 256 x 192 with a copy reduced by 4 of one flat colour, in the chain of
// directories or as a sub-directory of the first: reads reduced by 4 and more take the copy.
void WritePyramid(const fs::path& path, bool subDirectory) {
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(tiff, nullptr);
  const auto fields = [&](uint32_t width, uint32_t height) {
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, 32u);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, 32u);
  };
  const auto tiles = [&](uint32_t width, uint32_t height, bool flat) {
    std::vector<uint8_t> tile(32 * 32 * 3);
    for (uint32_t ty = 0; ty < height; ty += 32) {
      for (uint32_t tx = 0; tx < width; tx += 32) {
        for (size_t i = 0; i < tile.size(); ++i) tile[i] = flat ? uint8_t(i % 3 == 0 ? 200 : 40) : uint8_t((tx + ty + i) * 7);
        TIFFWriteTile(tiff, tile.data(), tx, ty, 0, 0);
      }
    }
  };
  fields(256, 192);
  if (subDirectory) {
    uint64_t offsets[1] = {0};
    TIFFSetField(tiff, TIFFTAG_SUBIFD, 1, offsets);
  }
  tiles(256, 192, false);
  TIFFWriteDirectory(tiff);
  fields(64, 48);
  TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
  tiles(64, 48, true);
  TIFFClose(tiff);
}

TEST(LargeImageSource, TiffReductionsTakeTheReducedCopiesTheFileHolds) {
  for (const bool subDirectory : {false, true}) {
    SCOPED_TRACE(subDirectory ? "sub-directory" : "chain");
    const fs::path path = TempFile("pyramid.tif");
    WritePyramid(path, subDirectory);
    const auto source = OpenLargeImageSource(path.string());
    ASSERT_EQ(source->Width(), 256);
    PLAnyBmp part;
    for (const int factor : {4, 8, 16}) {
      source->Read({0, 0, 256, 192}, factor, part);
      EXPECT_EQ(part.GetWidth(), 256 / factor);
      EXPECT_EQ(testing::ColorAt(part, 1, 1), "#C82828") << factor;
    }
    source->Read({64, 32, 128, 64}, 4, part);
    EXPECT_EQ(part.GetSize(), (PLPoint{32, 16}));
    EXPECT_EQ(testing::ColorAt(part, 31, 15), "#C82828");
    // Less reduced reads come from the picture itself.
    source->Read({0, 0, 256, 192}, 2, part);
    EXPECT_NE(testing::ColorAt(part, 1, 1), "#C82828");
    fs::remove(path);
  }
}

TEST(LargeImageSource, JpegRegionsAndScaledReadsFollowTheWholeImage) {
  const fs::path path = TempFile("parts.jpg");
  WriteJpeg(path, 400, 300);
  // The transform's own scaling is not an exact box mean, and the transforms differ.
  CheckParts(path,
             {{{0, 0, 400, 300}, 1, 400, 300}, {{64, 48, 128, 96}, 1, 128, 96}, {{0, 0, 400, 300}, 8, 50, 38},
              {{0, 0, 400, 300}, 32, 13, 10}, {{128, 64, 256, 128}, 4, 64, 32}},
             6);
  fs::remove(path);
}

TEST(LargeImageSource, BadRequestsAndFilesAreRefused) {
  const fs::path path = TempFile("refuse.tif");
  WriteTiff(path, {"rgb8", 3, 8, false, false, COMPRESSION_NONE, false, false}, 20, 10);
  const auto source = OpenLargeImageSource(path.string());
  PLAnyBmp out;
  EXPECT_NE(testing::CodeOf([&] { source->Read({0, 0, 20, 10}, 3, out); }), 0);
  EXPECT_NE(testing::CodeOf([&] { source->Read({25, 0, 5, 5}, 1, out); }), 0);
  EXPECT_NE(testing::CodeOf([&] { source->Read({0, 0, 0, 5}, 1, out); }), 0);
  EXPECT_EQ(testing::CodeOf([] { OpenLargeImageSource("/nonexistent/x.jpg"); }), 3);
  fs::remove(path);
}

TEST(LargeImageSource, ReductionForScale) {
  for (const auto& [scale, factor] : std::vector<std::pair<double, int>>{
           {1.0, 1}, {2.0, 1}, {0.6, 1}, {0.5, 2}, {0.072, 8}, {0.0625, 16}, {1e-9, 256}}) {
    EXPECT_EQ(ReductionForScale(scale), factor) << scale;
  }
  EXPECT_FALSE(IsLargeImage(8000, 8000));
  EXPECT_TRUE(IsLargeImage(20000, 15000));
  EXPECT_TRUE(IsLargeImage(1 << 20, 300));
}

TEST(TiledPicture, PreparedTilesAreDrawnAndTheCacheStaysWithinItsBound) {
  const fs::path path = TempFile("tiles.tif");
  WriteTiff(path, {"rgb8tiles", 3, 8, false, true, COMPRESSION_NONE, false, false}, 1500, 1100);
  // An overview of 1/4 (fits 375 x 275), tiles of 512 x 512 x 4 bytes, room for three.
  TiledPicture picture(OpenLargeImageSource(path.string()), 375, 275, 3 * 512 * 512 * 4);
  EXPECT_EQ(picture.OverviewFactor(), 4);
  RecordingDevice dc;
  // Before any tile is decoded, a full-resolution view draws each tile's part from the overview.
  picture.Draw(dc, Rect{0, 0, 600, 400}, Rect{100, 100, 700, 500});
  EXPECT_EQ(dc.Log(),
            "StretchBlt 0 0 412 400 375x275 25 25 128 125\n"
            "StretchBlt 412 0 600 400 375x275 128 25 175 125\n");
  EXPECT_EQ(picture.Prepare(Rect{100, 100, 700, 500}, 1.0), 2);  // tiles (0, 0) and (1, 0)
  EXPECT_EQ(picture.Prepare(Rect{100, 100, 700, 500}, 1.0), 0);  // both at hand
  dc.ClearLog();
  picture.Draw(dc, Rect{0, 0, 600, 400}, Rect{100, 100, 700, 500});
  EXPECT_EQ(dc.Log(),
            "StretchBlt 0 0 412 400 512x512 100 100 512 500\n"
            "StretchBlt 412 0 600 400 512x512 0 100 188 500\n");
  EXPECT_EQ(picture.Prepare(Rect{600, 600, 1500, 1100}, 1.0), 4);
  EXPECT_LT(picture.CachedTiles(), 6u);  // the least recently used went
  EXPECT_LE(picture.CachedBytes(), uint64_t(3) * 512 * 512 * 4);
  // Zoomed out as far as the overview, nothing needs decoding.
  EXPECT_EQ(picture.Prepare(Rect{0, 0, 1500, 1100}, 0.25), 0);
  // Half size reads tiles of reduction 2.
  EXPECT_EQ(picture.Prepare(Rect{0, 0, 1024, 1024}, 0.5), 1);
  fs::remove(path);
}

// --- progress and cancelling

// Counts the reports and asks to stop once `cancelAt` of them came (never for 0).
struct CancellingListener : IProgressNotification {
  explicit CancellingListener(int at) : cancelAt(at) {}
  void OnProgress(double part) override {
    ++reports;
    EXPECT_GE(part, 0.0);
    EXPECT_LE(part, 1.0);
  }
  bool CancelRequested() override { return cancelAt > 0 && reports >= cancelAt; }
  int cancelAt;
  int reports = 0;
};

// A 24-bit BMP of noise, written by hand.
void WriteBmp(const fs::path& path, int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> bytes(54 + size_t(stride) * height);
  const auto put32 = [&](size_t at, uint32_t v) { std::memcpy(bytes.data() + at, &v, 4); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, uint32_t(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (size_t i = 54; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 2654435761u >> 13);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// A PNG of noise, so that its data is long enough to report on the way.
void WritePng(const fs::path& path, int width, int height) {
  std::vector<uint8_t> pixels(size_t(width) * height * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 2654435761u >> 11);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width);
  image.height = png_uint_32(height);
  image.format = PNG_FORMAT_RGB;
  ASSERT_NE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr), 0);
}

// Every decoder hears of its progress; a listener that cancels makes it fail with the cancel
// code and text, and the decoders that read in steps stop at the next step.
TEST(DecodeProgress, AListenerThatCancelsStopsTheDecoding) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> write;
    bool stopsEarly;  // false: the decoder has no steps of its own and fails once done
  };
  const std::vector<Case> cases = {
      {"baseline.jpg", [](const fs::path& p) { WriteJpeg(p, 120, 300); }, true},
      {"rgb8strips.tif",
       [](const fs::path& p) { WriteTiff(p, {"rgb8", 3, 8, false, false, COMPRESSION_LZW, false, false}, 60, 200); },
       true},
      {"rgb16tiles.tif",
       [](const fs::path& p) { WriteTiff(p, {"rgb16", 3, 16, false, true, COMPRESSION_NONE, false, false}, 64, 64); },
       true},
      {"grey8strips.tif",
       [](const fs::path& p) { WriteTiff(p, {"grey8", 1, 8, false, false, COMPRESSION_NONE, false, false}, 60, 200); },
       true},
      {"rgbtiles.tif",
       [](const fs::path& p) { WriteTiff(p, {"rgb8tiles", 3, 8, false, true, COMPRESSION_NONE, false, false}, 64, 200); },
       true},
      {"noise.png", [](const fs::path& p) { WritePng(p, 200, 100); }, true},
      {"noise.bmp", [](const fs::path& p) { WriteBmp(p, 200, 100); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = TempFile(c.name);
    c.write(path);
    CancellingListener whole(0);
    PLAnyBmp bmp;
    PLAnyPicDecoder().MakeBmpFromFile(path.string(), bmp, 0, &whole);
    EXPECT_GT(whole.reports, 3);

    CancellingListener cancelling(1);
    PLAnyBmp cancelled;
    try {
      PLAnyPicDecoder().MakeBmpFromFile(path.string(), cancelled, 0, &cancelling);
      ADD_FAILURE() << "decoded in spite of the cancel";
    } catch (const PLTextException& e) {
      EXPECT_EQ(e.GetCode(), kPLErrCancelled);
      EXPECT_EQ(e.GetText(), kPLCancelledText);
    }
    if (c.stopsEarly) {
      EXPECT_LE(cancelling.reports, 3) << "of " << whole.reports;
    }
    fs::remove(path);
  }
}

// Reads in parts stop too: the overview of a tiled picture, and its tiles, which then stay
// out of the cache; a read after the cancel still works.
TEST(DecodeProgress, CancelledPartReadsLeaveNothingBehind) {
  for (const char* name : {"cancel.jpg", "cancel.tif"}) {
    SCOPED_TRACE(name);
    const fs::path path = TempFile(name);
    if (name[7] == 'j') WriteJpeg(path, 1024, 1024);
    else WriteTiff(path, {"rgb8tiles", 3, 8, false, true, COMPRESSION_NONE, false, false}, 1024, 1024);
    CancellingListener overview(1);
    EXPECT_EQ(testing::CodeOf([&] { TiledPicture(OpenLargeImageSource(path.string()), 256, 256, 1 << 24, &overview); }),
              kPLErrCancelled);
    CancellingListener quiet(0);
    TiledPicture picture(OpenLargeImageSource(path.string()), 256, 256, 1 << 24, &quiet);
    EXPECT_GT(quiet.reports, 0);
    CancellingListener tiles(1);
    EXPECT_EQ(testing::CodeOf([&] { picture.Prepare(Rect{0, 0, 1024, 1024}, 1.0, &tiles); }), kPLErrCancelled);
    EXPECT_EQ(picture.CachedTiles(), 0u);
    EXPECT_EQ(picture.Prepare(Rect{0, 0, 1024, 1024}, 1.0), 4);
    fs::remove(path);
  }
}

}  // namespace
}  // namespace vornel
