#pragma once
// WAVE files: the RIFF walk that finds the "fmt " and "data" chunks of a "WAVE" form, and the
// writer of plain PCM files. The walk treats its bytes as hostile: every chunk must lie inside
// the RIFF chunk, which must lie inside the bytes; nothing is copied.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace vornel {

struct WaveFormat {
  static constexpr uint16_t kPcm = 1;
  static constexpr uint16_t kFloat = 3;
  static constexpr uint16_t kExtensible = 0xFFFE;

  uint16_t formatTag = kPcm;  // kPcm or kFloat (an extensible format is read as its subformat)
  uint16_t channels = 1;
  uint32_t sampleRate = 44100;
  uint16_t bitsPerSample = 16;

  uint16_t BlockAlign() const { return static_cast<uint16_t>(channels * (bitsPerSample / 8)); }
  bool operator==(const WaveFormat&) const = default;
};

enum class WaveError {
  kNone,
  kTruncated,       // shorter than its RIFF header says, or a chunk runs past its end
  kNotWave,         // no "RIFF" chunk of form "WAVE"
  kNoFormat,        // no "fmt " chunk before the end
  kNoData,          // no "data" chunk before the end
  kUnsupported,     // a format other than 8-, 16- or 32-bit PCM or 32-bit float, or no samples
};

struct WaveData {
  WaveFormat format;
  std::span<const uint8_t> samples;  // whole frames only
};

// Reads the format and finds the samples; nothing (and the reason in `error`) when the bytes
// are not a WAVE file this program can play.
std::optional<WaveData> ReadWave(std::span<const uint8_t> bytes, WaveError* error = nullptr);

// A WAVE file of the samples (little-endian, interleaved) in the given format.
std::vector<uint8_t> WriteWave(const WaveFormat& format, std::span<const uint8_t> samples);
std::vector<uint8_t> WriteWave16(uint32_t sampleRate, uint16_t channels, std::span<const int16_t> samples);

}  // namespace vornel
