// Fret arithmetic, pitch spelling and the instrument records: the work done per note when a
// page of tablature is drawn or a document is read.

#include <benchmark/benchmark.h>

#include <string>

#include "model/instrument/CKey.h"
#include "model/ornament/COrnamentTable.h"
#include "model/instrument/CTabInstrument.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace {

using namespace vornel;

// Course and fret text of every pitch of a 13-course lute.
void FretTexts(benchmark::State& state) {
  CTabInstrument lute;
  lute.tuning.SetTuning("FDAFDAGFEDCBA");
  std::string text;
  int notes = 0;
  for (auto _ : state) {
    for (int pitch = 0; pitch < 80; ++pitch) {
      const int string = lute.FindStringForPitch(pitch, -1);
      benchmark::DoNotOptimize(lute.GetFretText(pitch, string, text));
      ++notes;
    }
  }
  state.SetItemsProcessed(notes);
}
BENCHMARK(FretTexts);

void SpellPitches(benchmark::State& state) {
  CKey key;
  key.alterations = 4;
  key.bemol = 0;
  int notes = 0;
  for (auto _ : state) {
    for (int pitch = 24; pitch < 100; ++pitch) {
      uint16_t name = 0;
      char accidental = 0;
      benchmark::DoNotOptimize(key.SpellPitch(pitch, name, accidental, false));
      ++notes;
    }
  }
  state.SetItemsProcessed(notes);
}
BENCHMARK(SpellPitches);

// An instrument definition's tablature side and ornament table, written and read back.
void InstrumentRecords(benchmark::State& state) {
  CTabInstrument lute;
  COrnamentTable table;
  table.NormalizeEntries();
  ArchiveWriter writer;
  lute.Store(writer);
  table.Store(writer);
  const std::vector<uint8_t> bytes = writer.TakeBytes();
  for (auto _ : state) {
    ArchiveReader reader(bytes);
    CTabInstrument readLute;
    COrnamentTable readTable;
    readLute.Load(reader);
    readTable.Load(reader);
    benchmark::DoNotOptimize(readTable.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(InstrumentRecords);

}  // namespace
