// A page of 8 systems of one staff in two voices, about 24 chords a system with beams,
// accidentals and ledger lines (the notated section of the page tests), at zoom 100 and 96
// dpi, drawn into the recording device and into a Cairo image: what a page of staff notation
// costs in each backend.

#include <benchmark/benchmark.h>

#include "../tests/view/PageFixtures.h"
#include "PageBenchmarks.h"

namespace {

using namespace vornel;

void RecordingStaffPage(benchmark::State& state) {
  bench::RecordPage(state, testing::NotatedSection("", 8));
}
BENCHMARK(RecordingStaffPage)->Iterations(200)->Unit(benchmark::kMillisecond);

void CairoStaffPage(benchmark::State& state) {
  bench::CairoPage(state, testing::NotatedSection("", 8));
}
BENCHMARK(CairoStaffPage)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
