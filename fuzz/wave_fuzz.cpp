// The RIFF walk of WAVE files on hostile bytes: any crash, read outside the input or long walk
// is a fault. What it accepts must describe whole frames inside the input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "midi/wave/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const auto wave = vornel::ReadWave(bytes);
  if (!wave) return 0;
  const size_t block = wave->format.BlockAlign();
  if (block == 0 || wave->samples.size() % block != 0 || wave->samples.data() < data ||
      wave->samples.data() + wave->samples.size() > data + size) {
    std::abort();
  }
  return 0;
}
