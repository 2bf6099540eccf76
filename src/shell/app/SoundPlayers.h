#pragma once
// The short sounds of the shell: the start-up jingle (a WAVE file of the data folder) and the
// two metronome clicks (WAVE resources 1110 and 1104). The playback layer provides the
// players; until one is installed there is no sound, and the metronome stays disabled.

#include <memory>
#include <string>

namespace vornel {

inline constexpr int kFirstClickResource = 1110;
inline constexpr int kSecondClickResource = 1104;

class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  // Opens the sound device with the WAVE resource `resourceId`; true when the sound is
  // loaded and ready to play.
  virtual bool Open(int resourceId) = 0;
  // Plays the loaded sound once, without waiting for it.
  virtual void Play() = 0;
};

class SoundBackend {
 public:
  virtual ~SoundBackend() = default;
  // A new player; null when there is no sound output.
  virtual std::unique_ptr<WavePlayer> CreateWavePlayer() = 0;
  // Plays a WAVE file without waiting; false when it cannot be played.
  virtual bool PlayFileAsync(const std::string& path) = 0;
};

// No sound at all: the backend in force until the playback layer installs its own.
class SilentSounds : public SoundBackend {
 public:
  std::unique_ptr<WavePlayer> CreateWavePlayer() override { return nullptr; }
  bool PlayFileAsync(const std::string&) override { return false; }
};

SoundBackend& Sounds();

class ScopedSounds {
 public:
  explicit ScopedSounds(SoundBackend& backend);
  ~ScopedSounds();
  ScopedSounds(const ScopedSounds&) = delete;
  ScopedSounds& operator=(const ScopedSounds&) = delete;

 private:
  SoundBackend* previous_;
};

}  // namespace vornel
