// Decoding 4000 x 3000 JPEG, PNG and TIFF images through their libraries, and A4 pages
// scanned at 300 dpi (2480 x 3508) as a CCITT group 4 TIFF and an 8-bit grey LZW TIFF; encoding
// JPEG and TIFF, and reducing true colour to 8 bits. With VORNEL_BENCH_FILES set to a folder,
// the encoded inputs are written there too (image.jpg, image.png, image.tif, a4_g4.tif,
// a4_grey.tif), so that other decoders can be timed on the same files
// (scripts/scan_decode_speed.py does so).

#include <benchmark/benchmark.h>
#include <png.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLFilterQuantize.h"
#include "image/bitmap/PLWinBmp.h"
#include "image/codec/io/PLDataSink.h"
#include "image/codec/external/PLJPEGDecoder.h"
#include "image/codec/external/PLJPEGEncoder.h"
#include "image/codec/external/PLPNGDecoder.h"
#include "image/codec/external/PLTIFFDecoder.h"
#include "image/codec/external/PLTIFFEncoder.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

class Sink : public vornel::PLDataSink {
 public:
  explicit Sink(int64_t size) : buffer_(static_cast<size_t>(size)) { Open("bench", buffer_.data(), size); }
  std::vector<uint8_t> Bytes() const { return {GetBufferStart(), GetBufferStart() + GetBytesWritten()}; }

 private:
  std::vector<uint8_t> buffer_;
};

// A scan-like picture: smooth gradients with a little noise.
vornel::PLAnyBmp& Picture() {
  static vornel::PLAnyBmp& bmp = *[] {
    auto* made = new vornel::PLAnyBmp;  // lives for the whole run
    vornel::PLAnyBmp& b = *made;
    b.Create(kWidth, kHeight, 32, false, {300, 300});
    uint32_t seed = 1;
    for (int y = 0; y < kHeight; ++y) {
      auto* line = reinterpret_cast<vornel::PLPixel32*>(b.GetLineArray()[y]);
      for (int x = 0; x < kWidth; ++x) {
        seed = seed * 1103515245 + 12345;
        const int noise = static_cast<int>((seed >> 16) & 7);
        line[x] = vornel::PLPixel32::FromRgba(static_cast<uint8_t>(x / 16 + noise), static_cast<uint8_t>(y / 12 + noise),
                                              static_cast<uint8_t>((x + y) / 28 + noise));
      }
    }
    return made;
  }();
  return bmp;
}

void Dump(const char* name, const std::vector<uint8_t>& bytes) {
  if (const char* folder = std::getenv("VORNEL_BENCH_FILES")) {
    std::ofstream(std::string(folder) + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}

std::vector<uint8_t> Encode(vornel::PLPicEncoder& encoder) {
  vornel::PLAnyBmp& bmp = Picture();
  Sink sink(vornel::PLPicEncoder::SinkSizeFor(bmp));
  encoder.SaveBmp(bmp, sink);
  return sink.Bytes();
}

const std::vector<uint8_t>& JpegFile() {
  static const std::vector<uint8_t> bytes = [] {
    vornel::PLJPEGEncoder encoder;
    encoder.SetQuality(90);
    auto b = Encode(encoder);
    Dump("image.jpg", b);
    return b;
  }();
  return bytes;
}

const std::vector<uint8_t>& TiffFile() {
  static const std::vector<uint8_t> bytes = [] {
    vornel::PLTIFFEncoder encoder;
    auto b = Encode(encoder);
    Dump("image.tif", b);
    return b;
  }();
  return bytes;
}

const std::vector<uint8_t>& PngFile() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
      const auto* line = reinterpret_cast<const vornel::PLPixel32*>(Picture().GetLineArray()[y]);
      for (int x = 0; x < kWidth; ++x) {
        uint8_t* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
        p[0] = line[x].r;
        p[1] = line[x].g;
        p[2] = line[x].b;
      }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr);
    std::vector<uint8_t> b(size);
    png_image_write_to_memory(&image, b.data(), &size, 0, rgb.data(), 0, nullptr);
    b.resize(size);
    Dump("image.png", b);
    return b;
  }();
  return bytes;
}

template <class Decoder>
void Decode(benchmark::State& state, const std::vector<uint8_t>& file, bool fast = true) {
  Decoder decoder;
  if constexpr (std::is_same_v<Decoder, vornel::PLJPEGDecoder>) decoder.SetFast(fast);
  vornel::PLWinBmp bmp;
  for (auto _ : state) {
    decoder.MakeBmpFromMemory(file, bmp);
    benchmark::DoNotOptimize(bmp.GetBits());
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kWidth) * kHeight * 4);
}

void DecodeJpeg(benchmark::State& state) { Decode<vornel::PLJPEGDecoder>(state, JpegFile(), true); }
void DecodeJpegSmooth(benchmark::State& state) { Decode<vornel::PLJPEGDecoder>(state, JpegFile(), false); }
void DecodePng(benchmark::State& state) { Decode<vornel::PLPNGDecoder>(state, PngFile()); }
void DecodeTiff(benchmark::State& state) { Decode<vornel::PLTIFFDecoder>(state, TiffFile()); }
BENCHMARK(DecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeJpegSmooth)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodePng)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeTiff)->Unit(benchmark::kMillisecond);

// An A4 page at 300 dpi: paper grey with lines of word-like dark blocks and a little noise.
constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3508;

uint8_t PageGrey(int x, int y) {
  const int line = (y - 150) / 55;
  const int inLine = (y - 150) % 55;
  const bool ink = y >= 150 && line < 60 && inLine < 30 && x >= 150 && x < kPageWidth - 200 &&
                   ((x * 7 + line * 131) / 37) % 5 != 0;
  const int noise = int((uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) >> 28);
  return static_cast<uint8_t>(ink ? 30 + noise : 228 + noise);
}

// The page written by libtiff: 1-bit group 4 (min-is-white) or 8-bit grey LZW, in strips.
std::vector<uint8_t> PageTiff(bool bilevel) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("vornel-page-" + std::to_string(::getpid()) + ".tif")).string();
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(kPageWidth));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(kPageHeight));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bilevel ? 1 : 8);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, bilevel ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, bilevel ? COMPRESSION_CCITTFAX4 : COMPRESSION_LZW);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(bilevel ? kPageHeight : 64));
  TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 300.0f);
  TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 300.0f);
  TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  std::vector<uint8_t> row(kPageWidth);
  for (int y = 0; y < kPageHeight; ++y) {
    std::fill(row.begin(), row.end(), 0);
    for (int x = 0; x < kPageWidth; ++x) {
      const uint8_t grey = PageGrey(x, y);
      if (!bilevel) row[size_t(x)] = grey;
      else if (grey < 128) row[size_t(x) >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
    TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0);
  }
  TIFFClose(tiff);
  std::vector<uint8_t> bytes(std::filesystem::file_size(path));
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
  }
  std::filesystem::remove(path);
  return bytes;
}

const std::vector<uint8_t>& PageG4() {
  static const std::vector<uint8_t> bytes = [] {
    auto b = PageTiff(true);
    Dump("a4_g4.tif", b);
    return b;
  }();
  return bytes;
}

const std::vector<uint8_t>& PageGrey() {
  static const std::vector<uint8_t> bytes = [] {
    auto b = PageTiff(false);
    Dump("a4_grey.tif", b);
    return b;
  }();
  return bytes;
}

// The page decoded into a bitmap of its own depth, as the viewer holds it.
void DecodePage(benchmark::State& state, const std::vector<uint8_t>& file) {
  vornel::PLTIFFDecoder decoder;
  vornel::PLAnyBmp bmp;
  for (auto _ : state) {
    decoder.MakeBmpFromMemory(file, bmp);
    benchmark::DoNotOptimize(bmp.GetLineArray());
  }
  state.counters["bits"] = bmp.GetBitsPerPixel();
}

void DecodeA4G4Tiff(benchmark::State& state) { DecodePage(state, PageG4()); }
void DecodeA4GreyTiff(benchmark::State& state) { DecodePage(state, PageGrey()); }
BENCHMARK(DecodeA4G4Tiff)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeA4GreyTiff)->Unit(benchmark::kMillisecond);

void EncodeJpeg(benchmark::State& state) {
  vornel::PLJPEGEncoder encoder;
  for (auto _ : state) benchmark::DoNotOptimize(Encode(encoder).size());
}
void EncodeTiff(benchmark::State& state) {
  vornel::PLTIFFEncoder encoder;
  for (auto _ : state) benchmark::DoNotOptimize(Encode(encoder).size());
}
BENCHMARK(EncodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeTiff)->Unit(benchmark::kMillisecond);

void QuantizeToDefaultPalette(benchmark::State& state) {
  for (auto _ : state) {
    vornel::PLFilterQuantize quantize(vornel::PLFilterQuantize::kDefaultPalette, vornel::PLFilterQuantize::kNoDither);
    vornel::PLAnyBmp result;
    quantize.Apply(Picture(), result);
    benchmark::DoNotOptimize(result.GetLineArray());
  }
}
void QuantizeMedianCutDithered(benchmark::State& state) {
  for (auto _ : state) {
    vornel::PLFilterQuantize quantize(vornel::PLFilterQuantize::kMedianCut, vornel::PLFilterQuantize::kFloydSteinberg);
    vornel::PLAnyBmp result;
    quantize.Apply(Picture(), result);
    benchmark::DoNotOptimize(result.GetLineArray());
  }
}
BENCHMARK(QuantizeToDefaultPalette)->Unit(benchmark::kMillisecond);
BENCHMARK(QuantizeMedianCutDithered)->Unit(benchmark::kMillisecond);

}  // namespace
