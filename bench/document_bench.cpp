// Opening and saving generated documents of 10,000 to 80,000 chords (one section whose systems
// hold two lines of 50 chords) in every form, with tinyxml2's bare parse and print of the same
// XML file as the yardstick of the XML paths, and one undo snapshot of a section.
//
// Each case reports the peak resident size of the process while it ran ("peak_MB": the high-
// water mark is reset before the case) and what was resident when it began ("base_MB"): a save
// starts with its document open, so its peak compares with the peak of that open.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <tinyxml2.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "LargeDocument.h"
#include "document/DocumentFiles.h"

namespace {

using namespace vornel;
using vornel::bench::OneSectionDocument;

std::string TempFile(int64_t chords, const char* extension) {
  return (std::filesystem::temp_directory_path() / ("vornel-bench-" + std::to_string(chords) + extension)).string();
}

// The generated document of `chords` in every form, written once per size; the document
// itself is gone before any case is measured.
void EnsureFiles(int64_t chords) {
  static std::map<int64_t, bool> written;
  if (written[chords]) return;
  const std::unique_ptr<CVornelTabDoc> doc = OneSectionDocument(static_cast<size_t>(chords));
  for (const char* extension : {".btb", ".btxml", ".btz"}) SaveDocumentFile(*doc, TempFile(chords, extension));
  written[chords] = true;
}

double ResidentMB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(line.find(':') + 1)) / 1024.0;
  }
  return 0;
}

// Starts a new high-water mark of the resident size, from what is in use now.
void ResetPeak() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

void ReportPeak(benchmark::State& state, double base) {
  state.counters["peak_MB"] = ResidentMB("VmHWM:");
  state.counters["base_MB"] = base;
  state.counters["chords"] = static_cast<double>(state.range(0));
}

void Open(benchmark::State& state, const char* extension) {
  EnsureFiles(state.range(0));
  const std::string path = TempFile(state.range(0), extension);
  ResetPeak();
  const double base = ResidentMB("VmRSS:");
  for (auto _ : state) {
    const OpenedDocument opened = OpenDocumentFile(path);
    if (opened.document == nullptr) state.SkipWithError(opened.message.c_str());
    benchmark::DoNotOptimize(opened.document.get());
  }
  ReportPeak(state, base);
}

// Saves in the form of `to` a document opened from the form of `from`.
void Save(benchmark::State& state, const char* from, const char* to) {
  EnsureFiles(state.range(0));
  const OpenedDocument opened = OpenDocumentFile(TempFile(state.range(0), from));
  if (opened.document == nullptr) {
    state.SkipWithError(opened.message.c_str());
    return;
  }
  const std::string path = TempFile(state.range(0), (std::string(".saved") + to).c_str());
  ResetPeak();
  const double base = ResidentMB("VmRSS:");
  for (auto _ : state) benchmark::DoNotOptimize(SaveDocumentFile(*opened.document, path));
  ReportPeak(state, base);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}

// tinyxml2 alone: loading and parsing the XML document's file, and printing the parsed tree
// to a file.
void TinyXmlParse(benchmark::State& state) {
  EnsureFiles(state.range(0));
  const std::string path = TempFile(state.range(0), ".btxml");
  ResetPeak();
  const double base = ResidentMB("VmRSS:");
  for (auto _ : state) {
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    benchmark::DoNotOptimize(doc.LoadFile(path.c_str()));
  }
  ReportPeak(state, base);
}

void TinyXmlPrint(benchmark::State& state) {
  EnsureFiles(state.range(0));
  tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
  doc.LoadFile(TempFile(state.range(0), ".btxml").c_str());
  const std::string path = TempFile(state.range(0), ".printed.btxml");
  ResetPeak();
  const double base = ResidentMB("VmRSS:");
  for (auto _ : state) benchmark::DoNotOptimize(doc.SaveFile(path.c_str()));
  ReportPeak(state, base);
  std::filesystem::remove(path);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(20000)->Arg(40000)->Arg(80000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_CAPTURE(Open, Binary, ".btb")->Apply(Sizes);
BENCHMARK_CAPTURE(Save, Binary, ".btb", ".btb")->Apply(Sizes);
BENCHMARK_CAPTURE(Open, Xml, ".btxml")->Apply(Sizes);
BENCHMARK_CAPTURE(Save, Xml, ".btxml", ".btxml")->Apply(Sizes);
BENCHMARK_CAPTURE(Save, XmlFromBinary, ".btb", ".btxml")->Apply(Sizes);
BENCHMARK_CAPTURE(Open, Bundle, ".btz")->Apply(Sizes);
BENCHMARK_CAPTURE(Save, Bundle, ".btz", ".btz")->Apply(Sizes);
BENCHMARK(TinyXmlParse)->Apply(Sizes);
BENCHMARK(TinyXmlPrint)->Apply(Sizes);

void UndoSnapshot(benchmark::State& state) {
  const std::unique_ptr<CVornelTabDoc> doc = OneSectionDocument(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(doc->SaveSnapshot());
  doc->undoStack.clear();
}
BENCHMARK(UndoSnapshot)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace
