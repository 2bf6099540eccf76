#pragma once
// A temporary home folder for the shell's tests: HOME points into a fresh folder and the XDG
// variables are cleared, so that the profile, the documents folder and the recovery copies
// all lie below it; everything is put back afterwards.

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "shell/app/SoundPlayers.h"
#include "support/Bytes.h"

namespace vornel::testing {

class TemporaryHome {
 public:
  TemporaryHome() {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
      const char* value = std::getenv(name);
      saved_.push_back({name, value != nullptr ? std::optional<std::string>(value) : std::nullopt});
    }
    ::setenv("HOME", dir_.path().c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_STATE_HOME");
  }
  ~TemporaryHome() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  // The home folder with a trailing '/'.
  std::string Path() const { return dir_.path() + "/"; }

 private:
  TempDir dir_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Wave players that record what they were asked to do.
class RecordingSounds : public SoundBackend {
 public:
  class Player : public WavePlayer {
   public:
    Player(RecordingSounds& owner, bool opens) : owner_(owner), opens_(opens) {}
    bool Open(int resourceId) override {
      owner_.log.push_back("open " + std::to_string(resourceId));
      id_ = resourceId;
      return opens_;
    }
    void Play() override { owner_.log.push_back("play " + std::to_string(id_)); }

   private:
    RecordingSounds& owner_;
    bool opens_;
    int id_ = 0;
  };

  explicit RecordingSounds(bool opens = true) : opens_(opens), scope_(*this) {}
  std::unique_ptr<WavePlayer> CreateWavePlayer() override { return std::make_unique<Player>(*this, opens_); }
  bool PlayFileAsync(const std::string& path) override {
    log.push_back("file " + path);
    return true;
  }

  std::vector<std::string> log;

 private:
  bool opens_;
  ScopedSounds scope_;
};

}  // namespace vornel::testing
