// A document of one long section, a TAB import of 38,500 chords (about 380 pages of lute
// tablature, some 1,900 systems):
// - "RenderPages": every page printed as the render command prints PNG pages (96 dpi, each page
//   on an image of its own); "per_page_ms" is the processor time of one page, the print
//   sequence built first included.
// - "EditorFirstPaint": the editor's view opened on the document and its first screen painted,
//   nothing measured before (the measurements every drawing keeps are forgotten first).
// - "EditorLayoutInTheBackground": after that first screen, the ticks of the view's layout
//   timer that measure the other pages ("longest_tick_ms" the longest of them).
// - "EditorScrollToLastPage": after the first screen and the background layout, the last page
//   painted.
// The document is built once, outside the timing.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <ctime>
#include <memory>

#include "../tests/view/LongTabSection.h"
#include "StripWindow.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewIds.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"
#include "view/render/pages/SystemReachCache.h"

namespace {

using namespace vornel;

constexpr size_t kChords = 38500;

CVornelTabDoc& Document() {
  static const std::unique_ptr<CVornelTabDoc> doc = testing::LongSectionDocument(kChords);
  return *doc;
}

void RenderPages(benchmark::State& state) {
  CVornelTabDoc& doc = Document();
  DrawingStaveRenderer renderer;
  const ScopedStaveRenderer installed(renderer);
  constexpr int32_t kDpi = 96;
  CPageDlg& page = doc.settings.pageSettings;
  page.zoom = 100;
  page.printAllSections = 1;
  RecordingDevice like(kDpi, true);
  const Rect paper = PaperRect(page, like);
  int32_t pages = 0;
  double perPage = 0;
  for (auto _ : state) {
    const std::clock_t start = std::clock();
    ForgetMeasuredReaches();
    pages = BuildPrintPages(doc, 1);
    for (int32_t p = 0; p < pages; ++p) {
      ImageDevice device(paper.Width(), paper.Height(), kDpi, 0xFFFFFF, true);
      DrawPage(doc, device, p);
    }
    BuildPrintPages(doc, 0);
    perPage = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / std::max(pages, 1);
  }
  state.counters["pages"] = pages;
  state.counters["per_page_ms"] = perPage;
}
BENCHMARK(RenderPages)->Iterations(2)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The view as the editor's window holds it, painting on a Cairo context of the window's size.
struct EditorView {
  explicit EditorView(CBriotabDoc& doc) : view(doc, window, {}) {}
  ~EditorView() { cairo_surface_destroy(surface); }
  void Paint() {
    cairo_t* cr = cairo_create(surface);
    bench::PaintView(view, window, cr);
    cairo_destroy(cr);
  }

  bench::StripWindow window;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, window.ClientSize().cx, window.ClientSize().cy);
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
  view::CBriotabView view;
};

void Reopen(CVornelTabDoc& doc) {
  ForgetMeasuredReaches();
  doc.settings.pageSettings.printAllSections = 0;
  CSystemArray& section = *doc.GetActiveSection();
  section.pageStarts.clear();
  section.activeSystem = 0;
}

void EditorFirstPaint(benchmark::State& state) {
  CVornelTabDoc& doc = Document();
  for (auto _ : state) {
    state.PauseTiming();
    Reopen(doc);
    state.ResumeTiming();
    EditorView editor(doc);
    editor.view.OnInitialUpdate();
    editor.Paint();
  }
}
BENCHMARK(EditorFirstPaint)->Iterations(3)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The ticks of the layout timer as the window's event loop runs them; the longest, in ms.
double RunLayoutTimer(EditorView& editor) {
  double longest = 0;
  while (editor.window.timers.count(view::kLayoutTimer) != 0) {
    const std::clock_t start = std::clock();
    editor.view.OnTimer(view::kLayoutTimer);
    longest = std::max(longest, 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
  }
  return longest;
}

void EditorLayoutInTheBackground(benchmark::State& state) {
  CVornelTabDoc& doc = Document();
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Reopen(doc);
    EditorView editor(doc);
    editor.view.OnInitialUpdate();
    editor.Paint();
    state.ResumeTiming();
    longest = std::max(longest, RunLayoutTimer(editor));
  }
  state.counters["longest_tick_ms"] = longest;
}
BENCHMARK(EditorLayoutInTheBackground)->Iterations(3)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void EditorScrollToLastPage(benchmark::State& state) {
  CVornelTabDoc& doc = Document();
  for (auto _ : state) {
    state.PauseTiming();
    Reopen(doc);
    EditorView editor(doc);
    editor.view.OnInitialUpdate();
    editor.Paint();
    RunLayoutTimer(editor);
    state.ResumeTiming();
    editor.view.GoToSystem(static_cast<int>(doc.GetActiveSection()->systems.size()) - 1);
    editor.Paint();
  }
}
BENCHMARK(EditorScrollToLastPage)->Iterations(3)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace
