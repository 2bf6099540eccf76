// Start-up of the editor, empty and with the large document (50 sections, about 40,000 chords)
// on its command line: milliseconds from the launch to the main window's first map, the
// processor time the process had spent by then (the steadier figure on a busy machine), and to
// the document's tab, as the editor reports them with --report-startup. Median of 20 launches;
// the goals are the window mapped in under 0.3 s empty and under 1 s with the document.
// Needs a display: run it under xvfb-run.

#include <benchmark/benchmark.h>
#include <stdio.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LargeDocument.h"
#include "document/DocumentFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLaunches = 20;

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A home of its own with a data folder and profile, so that no first-run question comes.
std::string PrepareHome() {
  const fs::path home = fs::temp_directory_path() / "vornel-startup-bench";
  fs::remove_all(home);
  fs::create_directories(home / "Documents" / "VornelFiles");
  const auto doc = vornel::bench::LargeDocument();
  vornel::SaveDocumentFile(*doc, (home / "Large.btz").string());
  return home.string();
}

// Launches the editor kLaunches times, with the large document or none, and reports the medians.
void Launch(benchmark::State& state, bool withDocument, double goalMs) {
#ifndef VORNEL_EDITOR
  (void)withDocument;
  (void)goalMs;
  state.SkipWithError("built without the editor");
  return;
#else
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    state.SkipWithError("needs a display: run under xvfb-run");
    return;
  }
  const std::string home = PrepareHome();
  const std::string document = withDocument ? " '" + home + "/Large.btz'" : std::string();
  const std::string command = "HOME='" + home + "' NO_AT_BRIDGE=1 GDK_BACKEND=x11 '" VORNEL_EDITOR
                              "' --no-splash --report-startup" + document + " 2>/dev/null";
  std::vector<double> mapped;
  std::vector<double> processor;
  std::vector<double> tabs;
  for (auto _ : state) {
    for (int launch = 0; launch < kLaunches; ++launch) {
      FILE* pipe = popen(command.c_str(), "r");
      if (pipe == nullptr) break;
      char line[512];
      while (fgets(line, sizeof line, pipe) != nullptr) {
        double ms = 0;
        double cpu = 0;
        char name[256];
        if (sscanf(line, "mapped %lf ms cpu %lf ms", &ms, &cpu) == 2) {
          mapped.push_back(ms);
          processor.push_back(cpu);
        }
        if (sscanf(line, "tab %255s %lf ms", name, &ms) == 2) tabs.push_back(ms);
      }
      pclose(pipe);
    }
  }
  if (mapped.size() != static_cast<size_t>(kLaunches)) state.SkipWithError("the editor did not report every launch");
  state.counters["mapped_ms"] = Median(mapped);
  state.counters["mapped_cpu_ms"] = Median(processor);
  state.counters["goal_ms"] = goalMs;
  state.counters["cpu_to_goal"] = Median(processor) / goalMs;
  if (withDocument) state.counters["tab_ms"] = Median(tabs);
  fs::remove_all(home);
#endif
}

void StartupEmpty(benchmark::State& state) { Launch(state, false, 300); }
void StartupLargeDocument(benchmark::State& state) { Launch(state, true, 1000); }

BENCHMARK(StartupEmpty)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StartupLargeDocument)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
