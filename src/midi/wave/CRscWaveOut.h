#pragma once
// Plays one short sound (a metronome click, the start-up jingle) through the default audio
// output: the sound's samples are loaded once, the device is opened in the sound's own format
// (players of one format share it), and each Play queues the samples again. SDL2 audio carries it; tests set
// SDL_AUDIODRIVER=dummy.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "midi/wave/WaveFile.h"

namespace vornel {

class CRscWaveOut {
 public:
  static constexpr std::string_view kCannotOpenDevice = "Unable to open the metronome WAV resource";
  static constexpr std::string_view kCannotLoad = "Unable to load WAV resource in memory";

  CRscWaveOut() = default;
  ~CRscWaveOut();
  CRscWaveOut(const CRscWaveOut&) = delete;
  CRscWaveOut& operator=(const CRscWaveOut&) = delete;

  // A metronome click (kMetronomeClickHigh or kMetronomeClickLow), from the data folder when
  // it holds one, else built in.
  bool Open(int resourceId, const std::string& dataFolder = {});
  // Any WAVE file's bytes, or a file (the jingle). A sound that cannot be read shows "Unable
  // to load WAV resource in memory"; a device that cannot be opened "Unable to open the
  // metronome WAV resource". Either leaves the player closed and returns false.
  bool OpenWave(std::span<const uint8_t> bytes);
  bool OpenFile(const std::string& path);
  // Queues the sound once, cutting off what is still queued on its device. Returns
  // immediately; false when closed.
  bool Play();
  void Close();

  bool IsOpen() const { return device_ != 0; }
  const WaveFormat& Format() const { return format_; }
  size_t SampleBytes() const { return samples_.size(); }
  // Bytes still waiting to be played.
  uint32_t QueuedBytes() const;

 private:
  uint32_t device_ = 0;  // SDL_AudioDeviceID, 0 when closed
  bool audioStarted_ = false;
  WaveFormat format_;
  std::vector<uint8_t> samples_;
};

}  // namespace vornel
