#include "shell/app/PlaybackSounds.h"

#include "document/DocumentEnvironment.h"

namespace vornel {

namespace {

class Click : public WavePlayer {
 public:
  bool Open(int resourceId) override { return wave_.Open(resourceId, Environment().dataFolder); }
  void Play() override { wave_.Play(); }

 private:
  CRscWaveOut wave_;
};

}  // namespace

std::unique_ptr<WavePlayer> PlaybackSounds::CreateWavePlayer() { return std::make_unique<Click>(); }

bool PlaybackSounds::PlayFileAsync(const std::string& path) { return file_.OpenFile(path) && file_.Play(); }

}  // namespace vornel
