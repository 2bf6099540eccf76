// play DOC [--section N] [--mode 1|2|3] [--from TICK] [--metronome] [--wav OUT.wav | --log OUT.log | --port NAME]:
// plays a section of a document as the editor's play commands do: live through the built-in
// synthesizer or an ALSA port, into a WAVE file rendered offline (no sound card needed), or
// into the log of the recording output.
// ports: the MIDI outputs there are.

#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "midi/MidiSection.h"
#include "midi/play/MidiOutStream.h"
#include "midi/play/OfflineRender.h"
#include "midi/play/RecordingMidiOut.h"
#include "platform/io/FileIO.h"

namespace vornel::tool {

namespace {

std::optional<long> Number(const std::string& text, long minimum, long maximum) {
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < minimum || value > maximum) return std::nullopt;
  return value;
}

int Play(const CommandArguments& args) {
  std::optional<long> sectionNumber;
  MidiPlayOptions options;
  std::string document;
  std::string wav;
  std::string log;
  std::optional<std::string> port;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--section" && hasValue) {
      sectionNumber = Number(args[++i], 1, 1 << 20);
      if (!sectionNumber) return PrintUsage("play");
    } else if (a == "--mode" && hasValue) {
      const auto mode = Number(args[++i], 1, 3);
      if (!mode) return PrintUsage("play");
      options.mode = static_cast<int>(*mode);
    } else if (a == "--from" && hasValue) {
      const auto tick = Number(args[++i], 0, 0x0FFFFFFF);
      if (!tick) return PrintUsage("play");
      options.startTick = static_cast<uint32_t>(*tick);
    } else if (a == "--metronome") {
      options.metronome = true;
    } else if (a == "--wav" && hasValue) {
      wav = args[++i];
    } else if (a == "--log" && hasValue) {
      log = args[++i];
    } else if (a == "--port" && hasValue) {
      port = args[++i];
    } else if (document.empty() && !a.starts_with("--")) {
      document = a;
    } else {
      return PrintUsage("play");
    }
  }
  if (document.empty() || (!wav.empty() + !log.empty() + port.has_value()) > 1) return PrintUsage("play");

  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(document);
  CSystemArray* section = ChooseSection(doc.get(), sectionNumber, document);
  if (section == nullptr) return 1;
  const MidiPlayTiming timing = PlayTiming(*section);
  (void)section->ActiveLine();  // a section without its active line cannot play
  const MidiPlayProgram program = BuildPlayProgram(*section, options);
  if (program.stream.empty()) {
    std::fprintf(stderr, "%s: the section has nothing to play\n", document.c_str());
    return 1;
  }

  if (!wav.empty()) {
    WaveRenderOptions render;
    render.timing = timing;
    render.settings = CurrentMidiOutputSettings();
    return RenderProgramToWave(program, wav, render) ? 0 : 1;
  }
  if (!log.empty()) {
    MidiRecording recording(program.setup.size() + program.stream.size() / 12 + 64);
    ManualPlayerClock clock;
    MidiOutStream player(nullptr, [&] { return std::make_unique<RecordingMidiOut>(recording, clock); }, &clock);
    player.tempo = timing.tempo;
    player.timeDivision = timing.timeDivision;
    if (!player.PlayProgram(program)) return 1;
    RunManualPlay(player, clock);
    std::string error;
    if (!WriteFileAtomically(log, recording.Log(player.StartTime()), &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    return 0;
  }
  MidiOutputSettings settings = CurrentMidiOutputSettings();
  if (port) settings.port = *port;
  MidiOutStream player(nullptr, [&] { return CreateMidiOut(settings); });
  player.tempo = timing.tempo;
  player.timeDivision = timing.timeDivision;
  if (!player.PlayProgram(program)) return 1;
  while (player.IsPlaying()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  player.DrainReports([](uint32_t) {});  // shows a failure of the output during the play
  return prompts.shown == 0 ? 0 : 1;
}

int Ports(const CommandArguments& args) {
  if (!args.empty()) return PrintUsage("ports");
  for (const std::string& name : ListMidiOutputs()) std::printf("%s\n", name.c_str());
  return 0;
}

const ToolCommand playRegistration(
    "play", "play DOC [--section N] [--mode 1|2|3] [--from TICK] [--metronome] [--wav OUT.wav | --log OUT.log | --port NAME]",
    "play a section live, into a WAVE file or into a log of MIDI messages", Play);
const ToolCommand portsRegistration("ports", "ports", "list the MIDI outputs", Ports);

}  // namespace

}  // namespace vornel::tool
