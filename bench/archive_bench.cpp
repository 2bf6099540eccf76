// Writing and reading note arrays through the binary archive.

#include <benchmark/benchmark.h>

#include <vector>

#include "model/voice/nNoteArray.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace {

constexpr int kChords = 10000;

std::vector<vornel::nNoteArray> Chords() {
  std::vector<vornel::nNoteArray> chords(kChords);
  for (auto& notes : chords) {
    for (int i = 0; i < 6; ++i) {
      auto note = std::make_unique<vornel::nNotes>();
      note->pitch = static_cast<uint8_t>(40 + 5 * i);
      note->string = static_cast<uint8_t>(i);
      notes.push_back(std::move(note));
    }
  }
  return chords;
}

void WriteChords(benchmark::State& state) {
  const auto chords = Chords();
  for (auto _ : state) {
    vornel::ArchiveWriter writer;
    for (const auto& chord : chords) chord.Store(writer);
    benchmark::DoNotOptimize(writer.Bytes().data());
  }
  state.SetItemsProcessed(state.iterations() * kChords);
}
BENCHMARK(WriteChords);

void ReadChords(benchmark::State& state) {
  vornel::ArchiveWriter writer;
  for (const auto& chord : Chords()) chord.Store(writer);
  for (auto _ : state) {
    vornel::ArchiveReader reader(writer.Bytes());
    for (int i = 0; i < kChords; ++i) {
      vornel::nNoteArray notes;
      notes.Load(reader);
      benchmark::DoNotOptimize(notes.size());
    }
  }
  state.SetItemsProcessed(state.iterations() * kChords);
}
BENCHMARK(ReadChords);

}  // namespace
