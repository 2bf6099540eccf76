#include "midi/wave/CRscWaveOut.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <mutex>
#include <vector>

#include "midi/wave/MetronomeClicks.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"

namespace vornel {

namespace {

// A sound file larger than this is not a short sound.
constexpr size_t kMaxSoundFileBytes = size_t(64) << 20;

SDL_AudioFormat SdlFormat(const WaveFormat& f) {
  if (f.formatTag == WaveFormat::kFloat) return AUDIO_F32LSB;
  switch (f.bitsPerSample) {
    case 8: return AUDIO_U8;
    case 16: return AUDIO_S16LSB;
    default: return AUDIO_S32LSB;
  }
}

// Players of one format share one device: some audio drivers offer a single device, and the
// metronome's two clicks alternate anyway.
struct SharedDevice {
  WaveFormat format;
  SDL_AudioDeviceID id = 0;
  int users = 0;
};
std::mutex g_devicesMutex;
std::vector<SharedDevice> g_devices;

SDL_AudioDeviceID AcquireDevice(const WaveFormat& format) {
  std::lock_guard lock(g_devicesMutex);
  for (SharedDevice& d : g_devices) {
    if (d.format == format) {
      ++d.users;
      return d.id;
    }
  }
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(format.sampleRate);
  want.format = SdlFormat(format);
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = 1024;
  want.callback = nullptr;  // samples are queued
  SDL_AudioSpec have{};
  // No changes allowed: the device takes the file's format and SDL converts where it must.
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (id == 0) return 0;
  SDL_PauseAudioDevice(id, 0);
  g_devices.push_back({format, id, 1});
  return id;
}

void ReleaseDevice(SDL_AudioDeviceID id) {
  std::lock_guard lock(g_devicesMutex);
  for (auto it = g_devices.begin(); it != g_devices.end(); ++it) {
    if (it->id == id && --it->users == 0) {
      SDL_CloseAudioDevice(id);
      g_devices.erase(it);
      return;
    }
  }
}

}  // namespace

CRscWaveOut::~CRscWaveOut() { Close(); }

bool CRscWaveOut::Open(int resourceId, const std::string& dataFolder) {
  return OpenWave(MetronomeClickWave(resourceId, dataFolder));
}

bool CRscWaveOut::OpenFile(const std::string& path) {
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, kMaxSoundFileBytes);
  if (!bytes) {
    Close();
    Prompts().ShowMessage(kCannotLoad, MessageKind::kError);
    return false;
  }
  return OpenWave(*bytes);
}

bool CRscWaveOut::OpenWave(std::span<const uint8_t> bytes) {
  Close();
  const std::optional<WaveData> wave = ReadWave(bytes);
  if (!wave) {
    Prompts().ShowMessage(kCannotLoad, MessageKind::kError);
    return false;
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    Prompts().ShowMessage(kCannotOpenDevice, MessageKind::kError);
    return false;
  }
  audioStarted_ = true;
  device_ = AcquireDevice(wave->format);
  if (device_ == 0) {
    Close();
    Prompts().ShowMessage(kCannotOpenDevice, MessageKind::kError);
    return false;
  }
  format_ = wave->format;
  samples_.assign(wave->samples.begin(), wave->samples.end());
  return true;
}

bool CRscWaveOut::Play() {
  if (device_ == 0) return false;
  SDL_ClearQueuedAudio(device_);
  return SDL_QueueAudio(device_, samples_.data(), static_cast<Uint32>(samples_.size())) == 0;
}

uint32_t CRscWaveOut::QueuedBytes() const { return device_ == 0 ? 0 : SDL_GetQueuedAudioSize(device_); }

void CRscWaveOut::Close() {
  if (device_ != 0) {
    ReleaseDevice(device_);
    device_ = 0;
  }
  if (audioStarted_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted_ = false;
  }
  samples_.clear();
  format_ = WaveFormat{};
}

}  // namespace vornel
