// Decoding 4000 x 3000 JPEG, PNG and TIFF images through their libraries, encoding JPEG and
// TIFF, and reducing true colour to 8 bits. With VORNEL_BENCH_FILES set to a folder, the
// encoded inputs are written there too (image.jpg, image.png, image.tif), so that other
// decoders can be timed on the same files.

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLFilterQuantize.h"
#include "image/bitmap/PLWinBmp.h"
#include "image/codec/PLDataSink.h"
#include "image/codec/PLJPEGDecoder.h"
#include "image/codec/PLJPEGEncoder.h"
#include "image/codec/PLPNGDecoder.h"
#include "image/codec/PLTIFFDecoder.h"
#include "image/codec/PLTIFFEncoder.h"

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
