#pragma once
// The two page benchmarks every renderer benchmark runs: a section's first page drawn into the
// recording device and into a Cairo image at zoom 100 and 96 dpi (set VORNEL_BENCH_PNG to a
// file name to look at the page).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "model/CSystemArray.h"
#include "model/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/DrawContext.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/PlainPages.h"

namespace vornel::bench {

inline void SkipUnlessOnePage(benchmark::State& state, const PlainPages& pages) {
  if (pages.PageCount() != 1) {
    state.SkipWithError(("the systems take " + std::to_string(pages.PageCount()) + " pages").c_str());
  }
}

inline void RecordPage(benchmark::State& state, CSystemArray& section) {
  PageDrawSettings settings;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  RecordingDevice measuring(96, false);
  measuring.SetRecording(false);
  const DrawContext measuringContext(measuring, settings);
  PlainPages pages(section, measuring, 100);
  SkipUnlessOnePage(state, pages);
  for (auto _ : state) {
    RecordingDevice device(96, false);
    const DrawContext context(device, settings);
    pages.DrawPage(0, device);
    benchmark::DoNotOptimize(device.Log().size());
  }
  state.SetItemsProcessed(state.iterations());
}

inline void CairoPage(benchmark::State& state, CSystemArray& section) {
  PageDrawSettings settings;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  const Size size = PlainPages::PageSize(96, 100);
  ImageDevice device(size.cx, size.cy, 96, 0xFFFFFF, false);
  const DrawContext context(device, settings);
  PlainPages pages(section, device, 100);
  SkipUnlessOnePage(state, pages);
  for (auto _ : state) {
    device.SaveDC();
    device.FillSolidRect({0, 0, size.cx, size.cy}, 0xFFFFFF);
    pages.DrawPage(0, device);
    device.RestoreDC(-1);
  }
  benchmark::DoNotOptimize(device.ToBitmap().GetPixel(10, 10));
  if (const char* path = std::getenv("VORNEL_BENCH_PNG")) device.WritePng(path);
  state.SetItemsProcessed(state.iterations());
}

}  // namespace vornel::bench
