#pragma once
// The two page benchmarks every renderer benchmark runs: a section's first page as the score
// view draws it (the document's page drawing, on A4 at zoom 100 and 96 dpi), into the
// recording device and into a Cairo image (set VORNEL_BENCH_PNG to a file name to look at the
// page).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "document/CBriotabDoc.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel::bench {

// The section as the only one of a document on A4, its systems per page measured as the
// editor measures them; an error for the benchmark when its systems take more than one page.
inline std::unique_ptr<CBriotabDoc> OnePageDocument(benchmark::State& state, std::unique_ptr<CSystemArray> section) {
  auto doc = std::make_unique<CBriotabDoc>();
  CSystemArray& added = *doc->AppendSection(std::move(section));
  doc->sections.activeSection = 0;
  doc->settings.pageSettings.paperFormat = 9;  // A4
  doc->settings.pageSettings.zoom = 100;
  RecordingDevice measuring(96, false);
  measuring.SetRecording(false);
  RecomputeSystemsPerPage(*doc, measuring);
  if (added.stavesPerPage < static_cast<int32_t>(added.systems.size())) {
    state.SkipWithError(("only " + std::to_string(added.stavesPerPage) + " of the " +
                         std::to_string(added.systems.size()) + " systems fit on the page")
                            .c_str());
  }
  return doc;
}

inline void RecordPage(benchmark::State& state, std::unique_ptr<CSystemArray> section) {
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  const auto doc = OnePageDocument(state, std::move(section));
  for (auto _ : state) {
    RecordingDevice device(96, false);
    DrawPage(*doc, device, 0);
    benchmark::DoNotOptimize(device.Log().size());
  }
  state.SetItemsProcessed(state.iterations());
}

inline void CairoPage(benchmark::State& state, std::unique_ptr<CSystemArray> section) {
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  const auto doc = OnePageDocument(state, std::move(section));
  RecordingDevice like(96, false);
  const Rect paper = PaperRect(doc->settings.pageSettings, like);
  ImageDevice device(paper.Width(), paper.Height(), 96, 0xFFFFFF, false);
  for (auto _ : state) {
    device.SaveDC();
    device.FillSolidRect(paper, 0xFFFFFF);
    DrawPage(*doc, device, 0);
    device.RestoreDC(-1);
  }
  benchmark::DoNotOptimize(device.ToBitmap().GetPixel(10, 10));
  if (const char* path = std::getenv("VORNEL_BENCH_PNG")) device.WritePng(path);
  state.SetItemsProcessed(state.iterations());
}

}  // namespace vornel::bench
