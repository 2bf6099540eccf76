#include "midi/wave/MetronomeClicks.h"

#include <cmath>
#include <filesystem>
#include <numbers>

#include "midi/wave/WaveFile.h"
#include "platform/io/FileIO.h"

namespace vornel {

namespace {

constexpr uint32_t kRate = 44100;
// A WAVE file larger than this is no click.
constexpr size_t kMaxClickFileBytes = size_t(8) << 20;

// A damped sine burst with a 1 ms fade-in, so that it starts without a crack.
std::vector<int16_t> Click(double frequency, double decaySeconds, double seconds, double amplitude) {
  const size_t n = static_cast<size_t>(seconds * kRate);
  std::vector<int16_t> samples(n);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double fadeIn = std::min(1.0, t / 0.001);
    const double v = amplitude * fadeIn * std::exp(-t / decaySeconds) * std::sin(2 * std::numbers::pi * frequency * t);
    samples[i] = static_cast<int16_t>(std::lround(v * 32767.0));
  }
  return samples;
}

}  // namespace

std::string MetronomeClickFileName(int id) { return "metronome" + std::to_string(id) + ".wav"; }

std::vector<uint8_t> BuiltInMetronomeClick(int id) {
  const std::vector<int16_t> samples =
      id == kMetronomeClickHigh ? Click(2000.0, 0.006, 0.04, 0.8) : Click(1250.0, 0.008, 0.05, 0.7);
  return WriteWave16(kRate, 1, samples);
}

std::vector<uint8_t> MetronomeClickWave(int id, const std::string& dataFolder) {
  if (!dataFolder.empty()) {
    const std::string path = (std::filesystem::path(dataFolder) / MetronomeClickFileName(id)).string();
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, kMaxClickFileBytes);
    if (bytes && ReadWave(*bytes)) return std::move(*bytes);
  }
  return BuiltInMetronomeClick(id);
}

}  // namespace vornel
