// Rich text: reading a megabyte of RTF with pictures (goal: 20 MB/s or faster), reading and
// laying it out on A4, and redrawing one page from the cache (goal: at most a tenth of reading
// plus layout).

#include <benchmark/benchmark.h>

#include <string>

#include "RichEditRtf.h"
#include "layout/richtext/RtfPages.h"
#include "platform/draw/CairoDevice.h"
#include "platform/rtf/RtfReader.h"

namespace {

using namespace vornel;

constexpr size_t kTargetSize = size_t(1) << 20;

const std::string& MegabyteOfRtf() {
  static const std::string rtf = vornel::bench::RichEditRtf(kTargetSize);
  return rtf;
}

void BM_ReadRtf(benchmark::State& state) {
  const std::string& rtf = MegabyteOfRtf();
  for (auto _ : state) {
    RtfReadResult read = ReadRtf(rtf);
    benchmark::DoNotOptimize(read.document.paragraphs.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

void BM_ReadAndLayOutOnA4(benchmark::State& state) {
  const std::string& rtf = MegabyteOfRtf();
  int32_t pages = 0;
  for (auto _ : state) {
    RichTextCache cache;
    pages = RtfPages(rtf, RtfPage::A4(), PangoTextEngine::Shared(), cache).Count();
  }
  state.counters["pages"] = pages;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadAndLayOutOnA4)->Unit(benchmark::kMillisecond);

void BM_RedrawPageFromCache(benchmark::State& state) {
  const std::string& rtf = MegabyteOfRtf();
  RichTextCache cache;
  const RtfPage a4 = RtfPage::A4();
  ImageDevice page(TwipsToDevice(a4.widthTwips, 96), TwipsToDevice(a4.heightTwips, 96), 96);
  int32_t pageNumber = 0;
  {
    const RtfPages pages(rtf, a4, page.GetTextEngine(), cache);
    pageNumber = pages.Count() / 2;
  }
  for (auto _ : state) {
    // Each drawing builds its host again from the text: the cache makes that a look-up.
    const RtfPages pages(rtf, a4, page.GetTextEngine(), cache);
    pages.DrawPage(page, pageNumber);
  }
  state.counters["reads"] = static_cast<double>(cache.ReadCount());
  state.counters["layouts"] = static_cast<double>(cache.LayoutCount());
}
BENCHMARK(BM_RedrawPageFromCache)->Unit(benchmark::kMillisecond);

}  // namespace
