// Opening generated documents of 10,000 to 80,000 chords in every form, each open in a fresh
// child process so that it pays for every page it touches, with tinyxml2's bare parse of the
// same XML file as the yardstick. The time of a case is the processor time of the open (user
// and system), "fastest_ms" the least of its runs (the one a busy machine disturbed least);
// scripts/open_scaling.py prints the ratios the goals are stated in from those.
//
// Counters: "added_MB" is what the open added to the resident size at its peak, "xml_MB" the
// size of the document's XML text (the ".btxml" file, and what a ".btz" unpacks to),
// "file_MB" the size of the file opened, and "peak_per_xml" the first over the second.

#include <benchmark/benchmark.h>
#include <tinyxml2.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "ChildProcess.h"
#include "LargeDocument.h"
#include "document/DocumentFiles.h"

namespace {

using namespace vornel;
using vornel::bench::InChild;
using vornel::bench::OneSectionDocument;
using vornel::bench::StepCost;

std::string TempFile(int64_t chords, const char* extension) {
  return (std::filesystem::temp_directory_path() / ("vornel-open-bench-" + std::to_string(chords) + extension))
      .string();
}

// The document of `chords` in every form, written once per size by a child, so that this
// process never holds a document.
void EnsureFiles(int64_t chords) {
  static std::map<int64_t, bool> written;
  if (written[chords]) return;
  InChild([chords] {
    const std::unique_ptr<CVornelTabDoc> doc = OneSectionDocument(static_cast<size_t>(chords));
    for (const char* extension : {".btb", ".btxml", ".btz"}) SaveDocumentFile(*doc, TempFile(chords, extension));
    return true;
  });
  written[chords] = true;
}

double FileMB(const std::string& path) {
  std::error_code error;
  return static_cast<double>(std::filesystem::file_size(path, error)) / (1024.0 * 1024.0);
}

void Measure(benchmark::State& state, const std::string& path, const std::function<bool()>& step) {
  StepCost total;
  double fastest = 0;
  int runs = 0;
  for (auto _ : state) {
    const StepCost cost = InChild(step);
    if (!cost.ok) {
      state.SkipWithError("the step failed");
      return;
    }
    state.SetIterationTime(cost.cpuSeconds);
    total.wallSeconds += cost.wallSeconds;
    fastest = runs == 0 ? cost.cpuSeconds : std::min(fastest, cost.cpuSeconds);
    total.addedMB = std::max(total.addedMB, cost.addedMB);
    ++runs;
  }
  const double xmlMB = FileMB(TempFile(state.range(0), ".btxml"));
  state.counters["chords"] = static_cast<double>(state.range(0));
  state.counters["fastest_ms"] = fastest * 1000.0;
  state.counters["wall_ms"] = runs > 0 ? total.wallSeconds * 1000.0 / runs : 0;
  state.counters["added_MB"] = total.addedMB;
  state.counters["xml_MB"] = xmlMB;
  state.counters["file_MB"] = FileMB(path);
  state.counters["peak_per_xml"] = total.addedMB / xmlMB;
}

void Open(benchmark::State& state, const char* extension) {
  EnsureFiles(state.range(0));
  const std::string path = TempFile(state.range(0), extension);
  Measure(state, path, [&path] { return OpenDocumentFile(path).document != nullptr; });
}

void TinyXmlParse(benchmark::State& state) {
  EnsureFiles(state.range(0));
  const std::string path = TempFile(state.range(0), ".btxml");
  Measure(state, path, [&path] {
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    return doc.LoadFile(path.c_str()) == tinyxml2::XML_SUCCESS;
  });
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(20000)->Arg(40000)->Arg(80000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
}

BENCHMARK_CAPTURE(Open, Binary, ".btb")->Apply(Sizes);
BENCHMARK_CAPTURE(Open, Xml, ".btxml")->Apply(Sizes);
BENCHMARK_CAPTURE(Open, Bundle, ".btz")->Apply(Sizes);
BENCHMARK(TinyXmlParse)->Apply(Sizes);

}  // namespace
