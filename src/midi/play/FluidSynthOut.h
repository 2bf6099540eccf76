#pragma once
// The embedded synthesizer: FluidSynth with a General MIDI SoundFont, heard through an audio
// driver (live) or written to a WAVE file a block of samples at a time (offline, no sound card
// needed). Its log goes to MidiLog.

#include <cstdint>
#include <string>
#include <vector>

#include "midi/play/MidiOut.h"
#include "platform/io/DataPaths.h"  // XdgDataFolders

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;
struct _fluid_file_renderer_t;

namespace vornel {

// The SoundFont the settings name, else the first of "sounds/sf2/default-GM.sf2" and
// "sounds/sf2/TimGM6mb.sf2" found in the XDG data folders; empty when there is none.
std::string FindSoundFont(const MidiOutputSettings& settings);

// A synthesizer with its SoundFont loaded; the base of the live and the offline output.
class FluidSynthEngine : public MidiOut {
 public:
  ~FluidSynthEngine() override;
  bool IsOpen() const override { return synth_ != nullptr; }
  bool Send(const uint8_t* bytes, size_t size) override;
  void Close() override;
  double SampleRate() const { return sampleRate_; }

 protected:
  explicit FluidSynthEngine(MidiOutputSettings settings) : settings_(std::move(settings)) {}
  // Creates the settings and the synthesizer and, unless `loadLater`, loads the SoundFont
  // (which must be there in any case); false with the reason. Set-up of the settings that a
  // subclass needs comes through ConfigureSettings.
  bool CreateSynth(double sampleRate, bool loadLater = false);
  // Loads the SoundFont into the synthesizer made with `loadLater`; false with the reason.
  bool LoadSoundFont();
  virtual void ConfigureSettings(_fluid_hashtable_t* /*settings*/) {}
  _fluid_hashtable_t* fluidSettings() const { return fluidSettings_; }
  _fluid_synth_t* synth() const { return synth_; }
  const MidiOutputSettings& settings() const { return settings_; }

 private:
  MidiOutputSettings settings_;
  _fluid_hashtable_t* fluidSettings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;
  std::string soundFont_;
  double sampleRate_ = 44100;
};

// Heard through the first audio driver of the settings that opens.
class FluidSynthOut : public FluidSynthEngine {
 public:
  explicit FluidSynthOut(MidiOutputSettings settings) : FluidSynthEngine(std::move(settings)) {}
  ~FluidSynthOut() override;
  bool Open() override;
  void Close() override;

 private:
  _fluid_audio_driver_t* driver_ = nullptr;
};

// Written to a WAVE file (16-bit stereo) by FluidSynth's file renderer: each RenderBlock adds
// BlockFrames() frames of sound with the messages sent so far.
class FluidSynthFileOut : public FluidSynthEngine {
 public:
  static constexpr int kBlockFrames = 64;

  FluidSynthFileOut(MidiOutputSettings settings, std::string path, double sampleRate = 44100);
  ~FluidSynthFileOut() override;
  bool Open() override;
  // Finishes the file.
  void Close() override;
  bool RenderBlock();
  int BlockFrames() const { return kBlockFrames; }

 protected:
  void ConfigureSettings(_fluid_hashtable_t* settings) override;

 private:
  std::string path_;
  double requestedRate_;
  _fluid_file_renderer_t* renderer_ = nullptr;
};

}  // namespace vornel
