#include "midi/wave/WaveFile.h"

#include <cstring>

#include "platform/io/ByteOrder.h"

namespace vornel {

namespace {

uint32_t Le32(std::span<const uint8_t> b, size_t at) { return ReadLE32(b.data() + at); }
uint16_t Le16(std::span<const uint8_t> b, size_t at) { return ReadLE16(b.data() + at); }
bool IdIs(std::span<const uint8_t> b, size_t at, std::string_view id) {
  return std::memcmp(b.data() + at, id.data(), 4) == 0;
}

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutId(std::vector<uint8_t>& out, std::string_view id) {
  for (char c : id) out.push_back(static_cast<uint8_t>(c));
}

std::optional<WaveFormat> ReadFormat(std::span<const uint8_t> chunk) {
  if (chunk.size() < 16) return std::nullopt;
  WaveFormat f;
  f.formatTag = Le16(chunk, 0);
  f.channels = Le16(chunk, 2);
  f.sampleRate = Le32(chunk, 4);
  const uint16_t blockAlign = Le16(chunk, 12);
  f.bitsPerSample = Le16(chunk, 14);
  if (f.formatTag == WaveFormat::kExtensible) {
    // The subformat GUID begins with the format tag it stands for.
    if (chunk.size() < 26 || Le16(chunk, 16) < 10) return std::nullopt;
    f.formatTag = Le16(chunk, 24);
  }
  const bool pcm = f.formatTag == WaveFormat::kPcm &&
                   (f.bitsPerSample == 8 || f.bitsPerSample == 16 || f.bitsPerSample == 32);
  const bool floats = f.formatTag == WaveFormat::kFloat && f.bitsPerSample == 32;
  if (!pcm && !floats) return std::nullopt;
  if (f.channels == 0 || f.channels > 8 || f.sampleRate < 1000 || f.sampleRate > 384000) return std::nullopt;
  if (blockAlign != f.BlockAlign()) return std::nullopt;
  return f;
}

}  // namespace

std::optional<WaveData> ReadWave(std::span<const uint8_t> bytes, WaveError* error) {
  const auto fail = [&](WaveError e) -> std::optional<WaveData> {
    if (error != nullptr) *error = e;
    return std::nullopt;
  };
  if (bytes.size() < 12) return fail(bytes.size() >= 4 && IdIs(bytes, 0, "RIFF") ? WaveError::kTruncated : WaveError::kNotWave);
  if (!IdIs(bytes, 0, "RIFF") || !IdIs(bytes, 8, "WAVE")) return fail(WaveError::kNotWave);
  const uint64_t riffEnd = uint64_t{8} + Le32(bytes, 4);
  if (riffEnd > bytes.size() || riffEnd < 12) return fail(WaveError::kTruncated);
  const size_t end = static_cast<size_t>(riffEnd);

  std::optional<WaveFormat> format;
  bool formatSeen = false;
  std::optional<std::span<const uint8_t>> data;
  size_t at = 12;
  // Each step moves at least 8 bytes on, so the walk ends within size / 8 chunks.
  while (end - at >= 8) {
    const uint32_t size = Le32(bytes, at + 4);
    if (size > end - at - 8) return fail(WaveError::kTruncated);
    const std::span<const uint8_t> body = bytes.subspan(at + 8, size);
    if (IdIs(bytes, at, "fmt ") && !formatSeen) {
      formatSeen = true;
      format = ReadFormat(body);
    } else if (IdIs(bytes, at, "data") && !data) {
      data = body;
    }
    const size_t step = size_t{8} + size + (size & 1);  // chunks are padded to even lengths
    if (step > end - at) break;
    at += step;
  }
  if (!formatSeen) return fail(WaveError::kNoFormat);
  if (!format) return fail(WaveError::kUnsupported);
  if (!data) return fail(WaveError::kNoData);
  const size_t frames = data->size() / format->BlockAlign();
  if (frames == 0) return fail(WaveError::kUnsupported);
  if (error != nullptr) *error = WaveError::kNone;
  return WaveData{*format, data->first(frames * format->BlockAlign())};
}

std::vector<uint8_t> WriteWave(const WaveFormat& format, std::span<const uint8_t> samples) {
  std::vector<uint8_t> out;
  out.reserve(44 + samples.size() + 1);
  PutId(out, "RIFF");
  PutLe(out, static_cast<uint32_t>(36 + samples.size() + (samples.size() & 1)), 4);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  PutLe(out, 16, 4);
  PutLe(out, format.formatTag, 2);
  PutLe(out, format.channels, 2);
  PutLe(out, format.sampleRate, 4);
  PutLe(out, format.sampleRate * format.BlockAlign(), 4);
  PutLe(out, format.BlockAlign(), 2);
  PutLe(out, format.bitsPerSample, 2);
  PutId(out, "data");
  PutLe(out, static_cast<uint32_t>(samples.size()), 4);
  out.insert(out.end(), samples.begin(), samples.end());
  if (samples.size() & 1) out.push_back(0);
  return out;
}

std::vector<uint8_t> WriteWave16(uint32_t sampleRate, uint16_t channels, std::span<const int16_t> samples) {
  std::vector<uint8_t> bytes;
  bytes.reserve(samples.size() * 2);
  for (int16_t s : samples) PutLe(bytes, static_cast<uint16_t>(s), 2);
  return WriteWave(WaveFormat{WaveFormat::kPcm, channels, sampleRate, 16}, bytes);
}

}  // namespace vornel
