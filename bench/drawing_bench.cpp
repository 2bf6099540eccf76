// The test card drawn into the recording device and into a Cairo image, a thousand pages
// each: what a page of primitives, texts and glyphs costs in each backend.

#include <benchmark/benchmark.h>

#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/TestCard.h"

namespace {

void RecordingPage(benchmark::State& state) {
  for (auto _ : state) {
    vornel::RecordingDevice device;
    vornel::DrawTestCard(device, 100);
    benchmark::DoNotOptimize(device.Log().size());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RecordingPage)->Iterations(1000)->Unit(benchmark::kMillisecond);

void CairoImagePage(benchmark::State& state) {
  const vornel::Size size = vornel::TestCardSize(96, 100);
  vornel::ImageDevice device(size.cx, size.cy, 96);
  for (auto _ : state) {
    device.SaveDC();
    device.FillSolidRect({0, 0, size.cx, size.cy}, 0xFFFFFF);
    vornel::DrawTestCard(device, 100);
    device.RestoreDC(-1);
  }
  benchmark::DoNotOptimize(device.ToBitmap().GetPixel(10, 10));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CairoImagePage)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace
