#include "shell/commands/PlaybackCommands.h"

#include <algorithm>
#include <memory>

#include "document/CVornelTabDoc.h"
#include "midi/MidiDialogs.h"
#include "midi/play/EchoOutput.h"
#include "midi/play/MidiOutStream.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/commands/ProgramCommands.h"
#include "view/FramePanes.h"
#include "view/commands/MidiCommands.h"

namespace vornel {

namespace {

class DocumentPlayback : public view::MidiCommandContext {
 public:
  DocumentPlayback(CVornelTabApp& app, CVornelTabDoc& doc, MidiOutStream* viewPlayer) : app_(app), doc_(doc) {
    if (viewPlayer == nullptr) {
      own_ = std::make_unique<MidiOutStream>(nullptr, [&app] { return CreateMidiOut(MidiOutputSettingsOf(app)); });
    }
    player_ = viewPlayer != nullptr ? viewPlayer : own_.get();
  }

  CBriotabDoc* ActiveDocument() override { return &doc_; }
  MidiOutStream* Player() override { return player_; }
  MidiTrackChooser& TrackChooser() override { return chooser_; }
  const CInstrumentDlg& DefaultInstrument() override {
    if (app_.options.defaultInstrument != nullptr) return *app_.options.defaultInstrument;
    fallback_.EnsureStave();
    return fallback_;
  }
  bool MetronomeOn() override { return app_.metronomeOn; }
  uint8_t MetronomeChannel() override { return static_cast<uint8_t>(std::clamp(app_.percussionChannel, 0, 15)); }
  uint8_t MetronomeKey() override { return static_cast<uint8_t>(std::clamp(app_.metronomeKey, 0, 127)); }
  std::string MidiToWaveCommandLine() override { return GetMidiToWavProgramPath(app_); }
  void AddToPlayList(const std::string& path) override { view::Panes().AddToMidiPlaylist(path); }

 private:
  CVornelTabApp& app_;
  CVornelTabDoc& doc_;
  std::unique_ptr<MidiOutStream> own_;
  MidiOutStream* player_ = nullptr;
  DialogTrackChooser chooser_;
  CInstrumentDlg fallback_;
};

}  // namespace

MidiOutputSettings MidiOutputSettingsOf(const CVornelTabApp& app) {
  MidiOutputSettings settings = CurrentMidiOutputSettings();
  const std::vector<std::string> ports = MidiOutputPortNames();
  settings.port = app.options.midiPort < ports.size() ? ports[app.options.midiPort] : std::string();
  settings.soundFont = app.options.soundFont;
  return settings;
}

std::shared_ptr<EchoOutput> SharedEchoOutput(const CVornelTabApp& app) {
  static std::weak_ptr<EchoOutput> shared;
  std::shared_ptr<EchoOutput> echo = shared.lock();
  if (echo != nullptr) return echo;
  // The settings as the preferences hold them: reading them costs nothing, unlike the port
  // list the output's own settings come from.
  auto settings = [&app] {
    std::string text = std::to_string(app.options.midiPort) + '\n' + app.options.soundFont;
    for (const std::string& driver : CurrentMidiOutputSettings().audioDrivers) text += '\n' + driver;
    return text;
  };
  echo = std::make_shared<EchoOutput>([&app] { return CreateMidiOut(MidiOutputSettingsOf(app)); }, std::move(settings));
  shared = echo;
  return echo;
}

void AddPlaybackCommands(view::CommandTable& table, CVornelTabApp& app, CVornelTabDoc& doc,
                         MidiOutStream* viewPlayer) {
  view::AddMidiCommands(table, std::make_shared<DocumentPlayback>(app, doc, viewPlayer));
}

}  // namespace vornel
