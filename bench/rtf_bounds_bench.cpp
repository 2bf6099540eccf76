// Rich texts crafted to make the most work of the fewest bytes, against the bound every reader
// keeps: 1 s + 1 s per MB of input, and 64 MB + 64 bytes per input byte of memory.
//
// - HugeSizeToPdf: text in the largest size RTF can name (\fs32767), from 2 KB to 1 MB, read,
//   laid out on A4 and printed to PDF page by page as the printing of a preface does.
// - ToHtml: about 4 MB in the style of the rich-edit control (formatted paragraphs, bullets,
//   pictures), and 1 MB of nothing but format changes under a long face name, converted to the
//   HTML fragment of the metadata files and parsed into the element a save writes.
//
// Each case runs once and reports its processor seconds and wall seconds ("cpu_s", "wall_s";
// the machine is shared, so the processor time is the measure) and its peak resident megabytes
// ("peak_MB") with the bound ("bound_s", "bound_MB") and their ratios ("time_ratio",
// "memory_ratio": at most 1 within the bound). The fonts are loaded before the first case.

#include <benchmark/benchmark.h>
#include <tinyxml2.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "PeakMemory.h"
#include "RichEditRtf.h"
#include "layout/richtext/RtfPages.h"
#include "platform/draw/CairoDevice.h"
#include "platform/rtf/RtfToHtml.h"

namespace {

using namespace vornel;
using vornel::bench::ProcessorSeconds;
using vornel::bench::ResetPeak;
using vornel::bench::ResidentMB;

constexpr int32_t kPdfDpi = 720;

// Words of letters from a fixed sequence, so that every run lays out the same text.
std::string Words(size_t bytes) {
  std::string text;
  uint32_t seed = 12345;
  while (text.size() < bytes) {
    seed = seed * 1103515245u + 12345u;
    const uint32_t r = (seed >> 16) % 17;
    text += r < 3 ? ' ' : static_cast<char>('a' + r);
  }
  return text;
}

std::string HugeSizeRtf(size_t bytes) { return "{\\rtf1\\ansi\\fs32767 " + Words(bytes) + "}"; }

// Nothing but format changes, each of which opens a font element, under the longest face name.
std::string FormatChangesRtf(size_t bytes) {
  std::string s = "{\\rtf1\\ansi{\\fonttbl{\\f0 " + std::string(200, 'F') + ";}}\\par\\qc ";
  while (s.size() < bytes) s += "\\f0\\b\\i\\ul\\cf1\\b0 ";
  return s + "}";
}

// The fonts and the text engine are set up once per process, not per text.
void LoadFonts() {
  static const bool loaded = [] {
    RichTextCache cache;
    return RtfPages("{\\rtf1 x}", RtfPage::A4(), PangoTextEngine::Shared(), cache).Count() > 0;
  }();
  benchmark::DoNotOptimize(loaded);
}

// Runs `work` once on `input` and reports it against the bound.
template <class Work>
void Measure(benchmark::State& state, const std::string& input, Work&& work) {
  LoadFonts();
  ResetPeak();
  const double base = ResidentMB("VmRSS:");
  const double cpuStart = ProcessorSeconds();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) work();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = ProcessorSeconds() - cpuStart;
  const double megabytes = static_cast<double>(input.size()) / (1 << 20);
  const double peak = ResidentMB("VmHWM:") - base;
  state.counters["input_MB"] = megabytes;
  state.counters["cpu_s"] = cpu;
  state.counters["wall_s"] = wall;
  state.counters["bound_s"] = 1 + megabytes;
  state.counters["time_ratio"] = cpu / (1 + megabytes);
  state.counters["peak_MB"] = peak;
  state.counters["bound_MB"] = 64 + 64 * megabytes;
  state.counters["memory_ratio"] = peak / (64 + 64 * megabytes);
}

void HugeSizeToPdf(benchmark::State& state) {
  const std::string rtf = HugeSizeRtf(static_cast<size_t>(state.range(0)));
  const std::string path = (std::filesystem::temp_directory_path() / "vornel-rtf-bounds.pdf").string();
  int32_t count = 0;
  Measure(state, rtf, [&] {
    RichTextCache cache;
    const RtfPage paper = RtfPage::A4();
    const RtfPages pages(rtf, paper, PangoTextEngine::Shared(), cache);
    count = pages.Count();
    PdfDevice pdf(TwipsToDevice(paper.widthTwips, kPdfDpi), TwipsToDevice(paper.heightTwips, kPdfDpi), kPdfDpi, true);
    for (int32_t page = 1; page <= count; ++page) {
      if (page > 1) pdf.NextPage();
      pages.DrawPage(pdf, page);
    }
    pdf.Finish(path);
  });
  state.counters["pages"] = count;
  std::filesystem::remove(path);
}
BENCHMARK(HugeSizeToPdf)->Arg(2 << 10)->Arg(70 << 10)->Arg(1 << 20)->Iterations(1)->Unit(benchmark::kMillisecond);

template <std::string (*Make)(size_t)>
void ToHtml(benchmark::State& state) {
  const std::string rtf = Make(static_cast<size_t>(state.range(0)));
  size_t bytes = 0;
  Measure(state, rtf, [&] {
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* element = RtfToHtmlElement(doc, rtf);
    doc.InsertEndChild(element);
    bytes = element->FirstChildElement() != nullptr ? 1 : 0;
  });
  CRTF_HTMLConverter converter;
  state.counters["html_MB"] = static_cast<double>(ConvertRtfToHtml(converter, rtf).size()) / (1 << 20);
  benchmark::DoNotOptimize(bytes);
}
BENCHMARK(ToHtml<vornel::bench::RichEditRtf>)->Name("ToHtml/RichEdit")->Arg(4 << 20)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ToHtml<FormatChangesRtf>)
    ->Name("ToHtml/FormatChanges")
    ->Arg(1 << 20)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
