// A page of 8 systems of one staff in two voices, about 24 chords a system with beams,
// accidentals and ledger lines, at zoom 100 and 96 dpi, drawn into the recording device and
// into a Cairo image: what a page of staff notation costs in each backend.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "../tests/view/PageFixtures.h"
#include "document/CPageDlg.h"
#include "model/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/PageDrawSettings.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/SectionPages.h"

namespace {

using namespace vornel;

struct Page {
  std::unique_ptr<CSystemArray> section = testing::NotatedSection("", 8);
  CPageDlg settings;
  PageDrawSettings drawing;
  DrawingStaveRenderer renderer;
  Page() {
    settings.paperFormat = 9;
    settings.pageRect = {0, 0, 794, 1123};
  }
};

void RecordingStaffPage(benchmark::State& state) {
  Page page;
  ScopedPageSettings active(&page.drawing);
  ScopedStaveRenderer installed(page.renderer);
  for (auto _ : state) {
    RecordingDevice device(96, false);
    DrawSystems(*page.section, device, page.settings, 0, 0, 8, false);
    benchmark::DoNotOptimize(device.Log().size());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RecordingStaffPage)->Iterations(200)->Unit(benchmark::kMillisecond);

void CairoStaffPage(benchmark::State& state) {
  Page page;
  ScopedPageSettings active(&page.drawing);
  ScopedStaveRenderer installed(page.renderer);
  const Size size{page.settings.pageRect.Width(), page.settings.pageRect.Height()};
  ImageDevice device(size.cx, size.cy, 96, 0xFFFFFF, true);
  for (auto _ : state) {
    device.SaveDC();
    device.FillSolidRect({0, 0, size.cx, size.cy}, 0xFFFFFF);
    DrawSystems(*page.section, device, page.settings, 0, 0, 8, false);
    device.RestoreDC(-1);
  }
  benchmark::DoNotOptimize(device.ToBitmap().GetPixel(10, 10));
  // The page to look at.
  if (const char* path = std::getenv("VORNEL_BENCH_PNG")) device.WritePng(path);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CairoStaffPage)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
