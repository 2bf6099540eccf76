// Scheduling jitter of the player's thread on the steady clock: 3,000 events a tick apart at
// 240 beats a minute (1.3 ms a tick) into the recording output; each message's send time minus
// its due time. Counters: p50, p99 and max in milliseconds (goal: p99 under 2 ms on an idle
// machine), and how many messages came early (never expected).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "midi/MidiStreamEvents.h"
#include "midi/play/MidiOutStream.h"
#include "midi/play/RecordingMidiOut.h"

namespace {

using namespace vornel;

constexpr uint32_t kNotes = 1500;  // a note-on and a note-off each
constexpr int kTempo = 240;

void BM_PlayerJitter(benchmark::State& state) {
  strMidiBuffer b;
  for (uint32_t i = 0; i < kNotes; ++i) b.AddNote(2 * i, static_cast<uint8_t>(48 + i % 24), 80, 1, 0);
  b.AddNoteOffs();
  const MidiPlayProgram program{{}, WriteStreamEvents(b)};
  const double nsPerTick = 60e9 / kTempo / MidiOutStream::kDefaultTimeDivision;

  std::vector<double> late;
  long early = 0;
  for (auto _ : state) {
    MidiRecording recording(4 * kNotes);
    SteadyPlayerClock steady;
    MidiOutStream player(nullptr, [&] { return std::make_unique<RecordingMidiOut>(recording, steady); });
    player.tempo = kTempo;
    if (!player.PlayProgram(program)) {
      state.SkipWithError("the play did not start");
      return;
    }
    while (player.IsPlaying()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const int64_t start = player.StartTime();
    // Message k is the k-th record: note-on of note i at tick 2i, its note-off at 2i + 1.
    for (size_t k = 0; k < recording.records.size() && k < 2 * kNotes; ++k) {
      const double due = static_cast<double>(start) + static_cast<double>(k) * nsPerTick;
      const double delta = (static_cast<double>(recording.records[k].time) - due) / 1e6;
      if (delta < -0.001) ++early;
      late.push_back(delta);
    }
  }
  std::sort(late.begin(), late.end());
  const auto at = [&](double q) { return late.empty() ? 0.0 : late[static_cast<size_t>(q * (late.size() - 1))]; };
  state.counters["p50_ms"] = at(0.50);
  state.counters["p99_ms"] = at(0.99);
  state.counters["max_ms"] = late.empty() ? 0.0 : late.back();
  state.counters["early"] = static_cast<double>(early);
  state.counters["messages"] = static_cast<double>(late.size());
}
BENCHMARK(BM_PlayerJitter)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
