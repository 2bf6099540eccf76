// Whole-voice operations on long voices: merging, the two splits and the chord
// transformations.

#include <benchmark/benchmark.h>

#include "model/instrument/CKey.h"
#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"

namespace {

using namespace vornel;

constexpr int kChords = 10000;

// Eighths and quarters of two or three notes, every fourth with a bass in the lower voice,
// and rests between.
nChordArray TabVoice(int chords, uint8_t offset) {
  nChordArray voice;
  static constexpr uint16_t kRhythms[] = {4, 4, 3, 4, 4, 3, 2};
  for (int i = 0; i < chords; ++i) {
    auto chord = std::make_unique<nChord>(0, kRhythms[(i + offset) % std::size(kRhythms)]);
    if (i % 9 != 5) {
      for (uint8_t n = 0; n < 2 + (i % 2); ++n) {
        auto note = std::make_unique<nNotes>();
        note->pitch = static_cast<uint8_t>(43 + offset + 7 * n + i % 5);
        note->string = static_cast<uint8_t>(5 - 2 * n);
        if (n == 0 && i % 4 == 0) note->flags = nNotes::kLowerVoiceFlag;
        chord->AddNote(std::move(note));
      }
    }
    voice.push_back(std::move(chord));
  }
  return voice;
}

void MergeVoice(benchmark::State& state) {
  const nChordArray first = TabVoice(kChords, 0);
  const nChordArray second = TabVoice(kChords, 3);
  for (auto _ : state) {
    state.PauseTiming();
    nChordArray a(first);
    nChordArray b(second);
    state.ResumeTiming();
    a.MergeVoice(b, 3, 4, 2);
    benchmark::DoNotOptimize(a.size());
  }
  state.SetItemsProcessed(state.iterations() * 2 * kChords);
}
BENCHMARK(MergeVoice)->Unit(benchmark::kMillisecond);

void SplitIntoNotationVoices(benchmark::State& state) {
  nChordArray tab = TabVoice(kChords, 0);
  tab.RebarVoice(4, 4);
  for (auto _ : state) {
    nChordArray upper;
    nChordArray lower;
    CVoicesArray targets;
    targets.push_back(&upper);
    targets.push_back(&lower);
    benchmark::DoNotOptimize(tab.SplitIntoNotationVoices(targets, 4, 4));
  }
  state.SetItemsProcessed(state.iterations() * kChords);
}
BENCHMARK(SplitIntoNotationVoices)->Unit(benchmark::kMillisecond);

void SplitByPitch(benchmark::State& state) {
  nChordArray voice = TabVoice(kChords, 0);
  voice.RebarVoice(4, 4);
  for (auto _ : state) voice.SplitByPitch(4, 60, 2);
  state.SetItemsProcessed(state.iterations() * kChords);
}
BENCHMARK(SplitByPitch)->Unit(benchmark::kMillisecond);

void ArpeggiateAndRotate(benchmark::State& state) {
  const nChordArray selection = TabVoice(kChords / 10, 0);
  const std::vector<ChordOperation> stages = {{ChordOperation::kArpeggiateUpDown, 2},
                                              {ChordOperation::kRotate, 7},
                                              {ChordOperation::kClone, 1}};
  for (auto _ : state) {
    nChordArray working(selection);
    benchmark::DoNotOptimize(working.TransformChords(stages, CKey()));
  }
  state.SetItemsProcessed(state.iterations() * kChords / 10);
}
BENCHMARK(ArpeggiateAndRotate)->Unit(benchmark::kMillisecond);

// Stave breaks into a long voice cut into bars: one break every two bars.
void InsertStaveBreaks(benchmark::State& state) {
  nChordArray barred = TabVoice(kChords * 4, 0);
  barred.RebarVoice(4, 4);
  const nChordArray::Handle staveBreak = std::make_shared<nChord>(nChord::kBarLine);
  staveBreak->status = 0x41;
  int lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    nChordArray voice(barred);
    state.ResumeTiming();
    lines = voice.InsertStaveBreaks(12, staveBreak);
    benchmark::DoNotOptimize(voice.size());
  }
  state.counters["lines"] = lines;
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(barred.size()));
}
BENCHMARK(InsertStaveBreaks)->Unit(benchmark::kMillisecond);

}  // namespace
