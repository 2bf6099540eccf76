// Decoding facsimile-sized images (2048 x 2048) with the decoders of our own, and widening
// an 8-bit image to 32 bits. Bytes processed are the decoded bitmap's.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLWinBmp.h"
#include "image/codec/native/PLBmpDecoder.h"
#include "image/codec/native/PLPCXDecoder.h"
#include "image/codec/native/PLPPMDecoder.h"
#include "image/codec/native/PLPSDDecoder.h"
#include "image/codec/native/PLTGADecoder.h"

namespace {

constexpr int kSide = 2048;

class Bytes {
 public:
  void U8(unsigned v) { bytes.push_back(static_cast<uint8_t>(v)); }
  void LE16(unsigned v) { U8(v & 0xFF); U8(v >> 8); }
  void LE32(uint32_t v) { LE16(v & 0xFFFF); LE16(v >> 16); }
  void BE16(unsigned v) { U8(v >> 8); U8(v & 0xFF); }
  void BE32(uint32_t v) { BE16(v >> 16); BE16(v & 0xFFFF); }
  std::vector<uint8_t> bytes;
};

// A scan-like pattern: smooth gradients with some noise, so runs are short but present.
uint8_t Sample(int x, int y, int channel) {
  return static_cast<uint8_t>((x / 3 + y / 5 + channel * 40 + ((x * 7 + y * 13) % 5)) & 0xFF);
}

std::vector<uint8_t> Bmp(int bits, uint32_t compression) {
  Bytes w;
  std::vector<uint8_t> pixels;
  for (int y = 0; y < kSide; ++y) {
    if (compression == 1) {
      for (int x = 0; x < kSide; x += 16) {
        pixels.push_back(16);
        pixels.push_back(Sample(x, y, 0));
      }
      pixels.push_back(0);
      pixels.push_back(0);
    } else {
      for (int x = 0; x < kSide; ++x) {
        for (int c = 0; c < bits / 8; ++c) pixels.push_back(Sample(x, y, c));
      }
    }
  }
  const uint32_t paletteBytes = bits == 8 ? 1024 : 0;
  w.U8('B'); w.U8('M'); w.LE32(0); w.LE32(0); w.LE32(14 + 40 + paletteBytes);
  w.LE32(40); w.LE32(kSide); w.LE32(kSide); w.LE16(1); w.LE16(bits); w.LE32(compression);
  w.LE32(0); w.LE32(2835); w.LE32(2835); w.LE32(0); w.LE32(0);
  for (uint32_t i = 0; i < paletteBytes; ++i) w.U8(i & 0xFF);
  w.bytes.insert(w.bytes.end(), pixels.begin(), pixels.end());
  return w.bytes;
}

std::vector<uint8_t> TgaRle32() {
  Bytes w;
  for (const unsigned v : {0u, 0u, 10u}) w.U8(v);
  w.LE16(0); w.LE16(0); w.U8(0); w.LE16(0); w.LE16(0); w.LE16(kSide); w.LE16(kSide); w.U8(32); w.U8(0x28);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; x += 8) {
      // A run of 4, then 4 raw pixels.
      w.U8(0x83);
      for (int c = 0; c < 4; ++c) w.U8(Sample(x, y, c));
      w.U8(3);
      for (int i = 4; i < 8; ++i) for (int c = 0; c < 4; ++c) w.U8(Sample(x + i, y, c));
    }
  }
  return w.bytes;
}

std::vector<uint8_t> Pcx24() {
  Bytes w;
  w.U8(10); w.U8(5); w.U8(1); w.U8(8);
  w.LE16(0); w.LE16(0); w.LE16(kSide - 1); w.LE16(kSide - 1); w.LE16(300); w.LE16(300);
  for (int i = 0; i < 48; ++i) w.U8(0);
  w.U8(0); w.U8(3); w.LE16(kSide);
  for (int i = 0; i < 60; ++i) w.U8(0);
  for (int y = 0; y < kSide; ++y) {
    for (int c = 0; c < 3; ++c) {
      for (int x = 0; x < kSide; x += 2) {
        w.U8(0xC2);
        w.U8(Sample(x, y, c));
      }
    }
  }
  return w.bytes;
}

std::vector<uint8_t> PsdRgb() {
  Bytes w;
  for (const char c : {'8', 'B', 'P', 'S'}) w.U8(static_cast<uint8_t>(c));
  w.BE16(1); for (int i = 0; i < 6; ++i) w.U8(0);
  w.BE16(3); w.BE32(kSide); w.BE32(kSide); w.BE16(8); w.BE16(3);
  w.BE32(0); w.BE32(0); w.BE32(0); w.BE16(1);
  // Each row: literal packets of 128 bytes.
  const int packed = kSide / 128 * 129;
  for (int i = 0; i < 3 * kSide; ++i) w.BE16(packed);
  for (int c = 0; c < 3; ++c) {
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; x += 128) {
        w.U8(127);
        for (int i = 0; i < 128; ++i) w.U8(Sample(x + i, y, c));
      }
    }
  }
  return w.bytes;
}

std::vector<uint8_t> Ppm() {
  std::string header = "P6\n" + std::to_string(kSide) + " " + std::to_string(kSide) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      for (int c = 0; c < 3; ++c) bytes.push_back(Sample(x, y, c));
    }
  }
  return bytes;
}

template <class Decoder>
void Decode(benchmark::State& state, const std::vector<uint8_t>& file) {
  Decoder decoder;
  vornel::PLWinBmp bmp;
  for (auto _ : state) {
    decoder.MakeBmpFromMemory(file, bmp);
    benchmark::DoNotOptimize(bmp.GetBits());
  }
  state.SetBytesProcessed(state.iterations() * int64_t(bmp.GetBytesPerLine()) * bmp.GetHeight());
}

void DecodeBmp24(benchmark::State& state) { Decode<vornel::PLBmpDecoder>(state, Bmp(24, 0)); }
void DecodeBmpRle8(benchmark::State& state) { Decode<vornel::PLBmpDecoder>(state, Bmp(8, 1)); }
void DecodeTgaRle32(benchmark::State& state) { Decode<vornel::PLTGADecoder>(state, TgaRle32()); }
void DecodePcx24(benchmark::State& state) { Decode<vornel::PLPCXDecoder>(state, Pcx24()); }
void DecodePsdRgb(benchmark::State& state) { Decode<vornel::PLPSDDecoder>(state, PsdRgb()); }
void DecodePpm(benchmark::State& state) { Decode<vornel::PLPPMDecoder>(state, Ppm()); }
BENCHMARK(DecodeBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeBmpRle8)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeTgaRle32)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodePcx24)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodePsdRgb)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodePpm)->Unit(benchmark::kMillisecond);

void WidenEightToThirtyTwo(benchmark::State& state) {
  vornel::PLAnyBmp source;
  source.Create(kSide, kSide, 8, false);
  vornel::PLWinBmp copy;
  for (auto _ : state) {
    copy.CreateCopy(source, 32);
    benchmark::DoNotOptimize(copy.GetBits());
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kSide) * kSide * 4);
}
BENCHMARK(WidenEightToThirtyTwo)->Unit(benchmark::kMillisecond);

}  // namespace
