#include "midi/play/FluidSynthOut.h"

#include "midi/play/AlsaPortOut.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sstream>

namespace vornel {

namespace {

constexpr const char* kSoundFontNames[] = {"sounds/sf2/default-GM.sf2", "sounds/sf2/TimGM6mb.sf2"};
// Loud enough for a single lute line without clipping a few lines together.
constexpr double kGain = 0.8;

void RouteLog(int level, const char* message, void*) {
  if (message == nullptr) return;
  switch (level) {
    case FLUID_PANIC:
    case FLUID_ERR: MidiLog(MidiLogLevel::kError, message); break;
    case FLUID_WARN: MidiLog(MidiLogLevel::kWarning, message); break;
    case FLUID_INFO: MidiLog(MidiLogLevel::kInformation, message); break;
    default: break;  // debug output is dropped
  }
}

void RouteFluidLogOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
      fluid_set_log_function(level, RouteLog, nullptr);
    }
  });
}

std::string NoSoundFontMessage(const MidiOutputSettings& s) {
  if (!s.soundFont.empty()) {
    return "The SoundFont \"" + s.soundFont +
           "\" cannot be loaded.\nChoose another one as \"SoundFont\" in Preferences (MIDI).";
  }
  return "The built-in synthesizer has no SoundFont: neither sounds/sf2/default-GM.sf2 nor sounds/sf2/TimGM6mb.sf2 "
         "is in the data folders.\nChoose one as \"SoundFont\" in Preferences (MIDI), or install the "
         "timgm6mb-soundfont package.";
}

}  // namespace

std::string FindSoundFont(const MidiOutputSettings& settings) {
  std::error_code ec;
  if (!settings.soundFont.empty()) {
    return std::filesystem::is_regular_file(settings.soundFont, ec) ? settings.soundFont : std::string();
  }
  const std::vector<std::string> folders = XdgDataFolders();
  for (const char* name : kSoundFontNames) {
    for (const std::string& folder : folders) {
      const std::filesystem::path path = std::filesystem::path(folder) / name;
      if (std::filesystem::is_regular_file(path, ec)) return path.string();
    }
  }
  return {};
}

FluidSynthEngine::~FluidSynthEngine() { FluidSynthEngine::Close(); }

bool FluidSynthEngine::CreateSynth(double sampleRate, bool loadLater) {
  FluidSynthEngine::Close();
  RouteFluidLogOnce();
  soundFont_ = FindSoundFont(settings_);
  if (soundFont_.empty()) {
    error_ = NoSoundFontMessage(settings_);
    return false;
  }
  fluidSettings_ = new_fluid_settings();
  if (fluidSettings_ == nullptr) {
    error_ = "The built-in synthesizer cannot be started.";
    return false;
  }
  fluid_settings_setnum(fluidSettings_, "synth.sample-rate", sampleRate);
  fluid_settings_setnum(fluidSettings_, "synth.gain", kGain);
  ConfigureSettings(fluidSettings_);
  synth_ = new_fluid_synth(fluidSettings_);
  if (synth_ == nullptr) {
    Close();
    error_ = "The built-in synthesizer cannot be started.";
    return false;
  }
  return loadLater || LoadSoundFont();
}

bool FluidSynthEngine::LoadSoundFont() {
  if (fluid_synth_sfload(synth_, soundFont_.c_str(), 1) == FLUID_FAILED) {
    Close();
    MidiOutputSettings named = settings_;
    named.soundFont = soundFont_;
    error_ = NoSoundFontMessage(named);
    return false;
  }
  double rate = sampleRate_;
  fluid_settings_getnum(fluidSettings_, "synth.sample-rate", &rate);
  sampleRate_ = rate;
  return true;
}

void FluidSynthEngine::Close() {
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  synth_ = nullptr;
  if (fluidSettings_ != nullptr) delete_fluid_settings(fluidSettings_);
  fluidSettings_ = nullptr;
}

bool FluidSynthEngine::Send(const uint8_t* bytes, size_t size) {
  if (synth_ == nullptr || size == 0) {
    error_ = "The built-in synthesizer is not running.";
    return false;
  }
  const int status = bytes[0] & 0xF0;
  const int channel = bytes[0] & 0x0F;
  const int a = size > 1 ? bytes[1] & 0x7F : 0;
  const int b = size > 2 ? bytes[2] & 0x7F : 0;
  // A note-off for a note that no longer sounds, or a program the SoundFont lacks, is no
  // failure of the output: the synthesizer's results are not errors here.
  switch (status) {
    case 0x80: fluid_synth_noteoff(synth_, channel, a); break;
    case 0x90:
      if (b == 0) {
        fluid_synth_noteoff(synth_, channel, a);
      } else {
        fluid_synth_noteon(synth_, channel, a, b);
      }
      break;
    case 0xA0: fluid_synth_key_pressure(synth_, channel, a, b); break;
    case 0xB0: fluid_synth_cc(synth_, channel, a, b); break;
    case 0xC0: fluid_synth_program_change(synth_, channel, a); break;
    case 0xD0: fluid_synth_channel_pressure(synth_, channel, a); break;
    case 0xE0: fluid_synth_pitch_bend(synth_, channel, a | (b << 7)); break;
    default: break;  // system messages are not played
  }
  return true;
}

FluidSynthOut::~FluidSynthOut() { FluidSynthOut::Close(); }

bool FluidSynthOut::Open() {
  RouteAlsaLogOnce();
  // The sound output first: without one, the SoundFont is not worth loading.
  if (!CreateSynth(44100, true)) return false;
  std::string tried;
  for (const std::string& name : settings().audioDrivers) {
    tried += (tried.empty() ? "" : ", ") + name;
    if (fluid_settings_setstr(fluidSettings(), "audio.driver", name.c_str()) != FLUID_OK) continue;
    driver_ = new_fluid_audio_driver(fluidSettings(), synth());
    if (driver_ == nullptr) continue;
    if (LoadSoundFont()) return true;
    // Its error says why; the driver went with the synthesizer.
    Close();
    return false;
  }
  FluidSynthEngine::Close();
  error_ = "The built-in synthesizer found no sound output (tried " + (tried.empty() ? std::string("none") : tried) +
           ").\nChoose an ALSA port as \"MIDI output\" in Preferences (MIDI), or start the sound system.";
  return false;
}

void FluidSynthOut::Close() {
  // The driver pulls samples from the synthesizer: it goes first.
  if (driver_ != nullptr) delete_fluid_audio_driver(driver_);
  driver_ = nullptr;
  FluidSynthEngine::Close();
}

FluidSynthFileOut::FluidSynthFileOut(MidiOutputSettings settings, std::string path, double sampleRate)
    : FluidSynthEngine(std::move(settings)), path_(std::move(path)), requestedRate_(sampleRate) {}

FluidSynthFileOut::~FluidSynthFileOut() { FluidSynthFileOut::Close(); }

void FluidSynthFileOut::ConfigureSettings(fluid_settings_t* s) {
  fluid_settings_setstr(s, "audio.file.name", path_.c_str());
  fluid_settings_setstr(s, "audio.file.type", "wav");
  fluid_settings_setstr(s, "audio.file.format", "s16");
  fluid_settings_setint(s, "audio.period-size", kBlockFrames);
}

bool FluidSynthFileOut::Open() {
  if (!CreateSynth(requestedRate_)) return false;
  renderer_ = new_fluid_file_renderer(synth());
  if (renderer_ == nullptr) {
    FluidSynthEngine::Close();
    error_ = "The file \"" + path_ + "\" cannot be written.";
    return false;
  }
  return true;
}

bool FluidSynthFileOut::RenderBlock() {
  return renderer_ != nullptr && fluid_file_renderer_process_block(renderer_) == FLUID_OK;
}

void FluidSynthFileOut::Close() {
  if (renderer_ != nullptr) delete_fluid_file_renderer(renderer_);
  renderer_ = nullptr;
  FluidSynthEngine::Close();
}

}  // namespace vornel
