#include "midi/play/OfflineRender.h"

#include <cmath>

#include "midi/MidiChannels.h"
#include "midi/MidiTime.h"
#include "midi/play/FluidSynthOut.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

// The renderer's synthesizer lent to the player, which opens and closes only its handle: the
// file stays open for the notes to ring out after the play.
class LentSynth : public MidiOut {
 public:
  explicit LentSynth(FluidSynthFileOut& synth) : synth_(synth) {}
  bool Open() override { return open_ = true; }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool Send(const uint8_t* bytes, size_t size) override {
    if (synth_.Send(bytes, size)) return true;
    error_ = synth_.Error();
    return false;
  }

 private:
  FluidSynthFileOut& synth_;
  bool open_ = false;
};

}  // namespace

MidiPlayTiming PlayTiming(const CSystemArray& section) {
  const uint32_t word = static_cast<uint32_t>(section.tempo);
  // A section without a tempo plays at the default one, as its MIDI file has it.
  return MidiPlayTiming{static_cast<int>(MidiTempoBpm(word)), static_cast<int>(MidiBeatTicks(word >> 24))};
}

void RunManualPlay(MidiOutStream& player, ManualPlayerClock& clock) {
  while (player.IsPlaying()) {
    const std::optional<int64_t> due = player.NextDueTime();
    if (due && *due > clock.Now()) clock.Set(*due);
    player.Pump();
  }
}

bool RenderProgramToWave(const MidiPlayProgram& program, const std::string& path, const WaveRenderOptions& options) {
  if (program.stream.empty()) return false;
  FluidSynthFileOut synth(options.settings, path, options.sampleRate);
  if (!synth.Open()) {
    Prompts().ShowMessage(synth.Error(), MessageKind::kError, MidiOutStream::kErrorCaption);
    return false;
  }
  ManualPlayerClock clock;
  MidiOutStream player(nullptr, [&synth] { return std::make_unique<LentSynth>(synth); }, &clock);
  player.tempo = options.timing.tempo;
  player.timeDivision = options.timing.timeDivision;
  if (!player.PlayProgram(program)) return false;

  // Block k starts at k × frames / rate seconds; each block is rendered with what was due
  // before its start.
  const double blockNs = synth.BlockFrames() * 1e9 / synth.SampleRate();
  int64_t block = 0;
  bool ok = true;
  while (ok && player.Pump()) {
    ok = synth.RenderBlock();
    clock.Set(std::llround(static_cast<double>(++block) * blockNs));
  }
  const int64_t tailBlocks = std::llround(options.tailSeconds * 1e9 / blockNs);
  for (int64_t i = 0; ok && i < tailBlocks; ++i) ok = synth.RenderBlock();
  player.Stop();
  synth.Close();
  if (!ok) {
    Prompts().ShowMessage("The file \"" + path + "\" cannot be written.", MessageKind::kError,
                          MidiOutStream::kErrorCaption);
  }
  return ok;
}

}  // namespace vornel
