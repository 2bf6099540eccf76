#pragma once
// The shell's short sounds on the playback layer's WAVE player (SDL2 audio): the metronome
// clicks (built in, or the data folder's "metronome1104.wav" and "metronome1110.wav") and the
// jingle file.

#include <memory>
#include <string>

#include "midi/wave/CRscWaveOut.h"
#include "shell/app/SoundPlayers.h"

namespace vornel {

class PlaybackSounds : public SoundBackend {
 public:
  std::unique_ptr<WavePlayer> CreateWavePlayer() override;
  bool PlayFileAsync(const std::string& path) override;

 private:
  CRscWaveOut file_;  // the sound file playing, kept while it sounds
};

}  // namespace vornel
