// A whole document printed to PDF: title page, contents, preface, two facsimiles, a section
// imported from a MIDI file and a section of staff notation long enough for 10, 25 or 50
// pages in all, six systems a page at 150 dpi; and documents of music pages alone. The print
// sequence is built, every page drawn and the file written. Goals: 50 pages in under 2 s, and
// a page at 50 pages costing no more than 1.25 times a page at 10 (per_page is the time of
// one page; the music pages alone compare pages of one kind).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "../tests/view/PageFixtures.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"

namespace {

using namespace vornel;

void PrintToPdf(benchmark::State& state, const testing::EditionOptions& options, int32_t pages) {
  const auto doc = testing::EditionDocument(options);
  DrawingStaveRenderer renderer;
  const ScopedStaveRenderer installed(renderer);
  constexpr int32_t kDpi = 150;
  RecordingDevice like(kDpi, true);
  const Rect paper = PaperRect(doc->settings.pageSettings, like);
  const std::string path =
      (std::filesystem::temp_directory_path() / ("page_print_bench-" + std::to_string(::getpid()) + ".pdf")).string();

  for (auto _ : state) {
    const int32_t count = BuildPrintPages(*doc, 1);
    if (count != pages) {
      state.SkipWithError("the document does not print on the pages asked for");
      break;
    }
    PdfDevice device(paper.Width(), paper.Height(), kDpi, true);
    for (int32_t p = 0; p < count; ++p) {
      if (p != 0) device.NextPage();
      DrawPage(*doc, device, p);
    }
    BuildPrintPages(*doc, 0);
    if (!device.Finish(path)) state.SkipWithError("the PDF cannot be written");
  }
  std::filesystem::remove(path);
  state.counters["pages"] = pages;
  state.counters["per_page"] =
      benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
// Six systems a page; with the edition's preliminaries (five pages) and its imported section
// (one page) the notated section fills the rest.
testing::EditionOptions Options(int32_t pages, bool edition) {
  testing::EditionOptions options;
  options.corpus = VORNEL_CORPUS_DIR;
  options.notatedSections = 1;
  options.systemsPerPage = 6;
  options.preliminaries = edition;
  options.importedSection = edition;
  options.systemsPerSection = static_cast<size_t>(pages - (edition ? 6 : 0)) * 6;
  return options;
}

void PrintDocumentToPdf(benchmark::State& state) {
  const int32_t pages = static_cast<int32_t>(state.range(0));
  PrintToPdf(state, Options(pages, true), pages);
}
BENCHMARK(PrintDocumentToPdf)->Arg(10)->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond);

// Music pages alone: what a page costs as the document grows.
void PrintMusicToPdf(benchmark::State& state) {
  const int32_t pages = static_cast<int32_t>(state.range(0));
  PrintToPdf(state, Options(pages, false), pages);
}
BENCHMARK(PrintMusicToPdf)->Arg(10)->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
