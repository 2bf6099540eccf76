// The rhythm pattern dialog's preview per spin step: the preview line refilled from the fields
// (three bars shown) and painted into a Cairo image of the preview's size. Goal: under 16 ms.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "layout/dialogs/StaffPreview.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "view/draw/DrawContext.h"
#include "view/render/DrawingStaveRenderer.h"

namespace {

using namespace vornel;

void BM_RhythmPreviewRebuildAndPaint(benchmark::State& state) {
  PageDrawSettings settings;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  CInstrumentDlg guitar;
  guitar.ApplyNotationPreset(1);
  StaffPreview preview(&guitar);
  CRhythmPattern fields;
  fields.flag = 3;  // eighths on an eighth beat: one chord per count, beamed
  fields.beat = 3;
  const Size size{480, 150};
  ImageDevice device(size.cx, size.cy, 96, 0xFFFFFF, false);
  const DrawContext context(device, settings);
  int step = 0;
  for (auto _ : state) {
    // Each iteration is one spin step of "Chords per bar", from 1 to 32 and round again.
    fields.chordsPerBar = 1 + step++ % 32;
    preview.Rebuild(fields);
    device.SaveDC();
    preview.Paint(device, size);
    device.RestoreDC(-1);
  }
  benchmark::DoNotOptimize(device.ToBitmap().GetPixel(10, 10));
  state.counters["elements"] = static_cast<double>(preview.ElementCount());
  state.SetItemsProcessed(state.iterations());
  if (const char* path = std::getenv("VORNEL_BENCH_PNG")) device.WritePng(path);
}
BENCHMARK(BM_RhythmPreviewRebuildAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace
