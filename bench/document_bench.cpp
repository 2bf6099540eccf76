// A large document (50 sections of 8 systems with two instruments, about 40,000 chords):
// opening it from and saving it to the binary document, the XML document and the bundle,
// files included, and one undo snapshot of a section. The peak resident size of the process is reported with each.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "LargeDocument.h"
#include "document/DocumentFiles.h"

namespace {

using namespace vornel;
using vornel::bench::LargeDocument;

std::string TempFile(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void ReportPeak(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

CVornelTabDoc& Shared() {
  static const std::unique_ptr<CVornelTabDoc> doc = LargeDocument();
  return *doc;
}

void Save(benchmark::State& state, const char* name) {
  const std::string path = TempFile(name);
  for (auto _ : state) benchmark::DoNotOptimize(SaveDocumentFile(Shared(), path));
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  ReportPeak(state);
}

void Open(benchmark::State& state, const char* name) {
  const std::string path = TempFile(name);
  SaveDocumentFile(Shared(), path);
  for (auto _ : state) {
    const OpenedDocument opened = OpenDocumentFile(path);
    benchmark::DoNotOptimize(opened.document.get());
  }
  ReportPeak(state);
  std::filesystem::remove(path);
}

BENCHMARK_CAPTURE(Save, Binary, "vornel-bench.btb")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Binary, "vornel-bench.btb")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, Xml, "vornel-bench.btxml")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Xml, "vornel-bench.btxml")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, Bundle, "vornel-bench.btz")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Bundle, "vornel-bench.btz")->Unit(benchmark::kMillisecond);

void UndoSnapshot(benchmark::State& state) {
  CVornelTabDoc& doc = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(doc.SaveSnapshot());
  doc.undoStack.clear();
}
BENCHMARK(UndoSnapshot)->Unit(benchmark::kMillisecond);

}  // namespace
