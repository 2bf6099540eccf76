// Start-up of the editor with the large document (about 40,000 chords) on its command line:
// milliseconds from the launch to the main window's first map and to the document's tab, as
// the editor reports them with --report-startup. Median of 20 launches; the goal is the window
// mapped in under 1 s. Needs a display: run it under xvfb-run.

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

void Startup(benchmark::State& state) {
#ifndef VORNEL_EDITOR
  state.SkipWithError("built without the editor");
  return;
#else
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    state.SkipWithError("needs a display: run under xvfb-run");
    return;
  }
  const std::string home = PrepareHome();
  const std::string command = "HOME='" + home + "' NO_AT_BRIDGE=1 GDK_BACKEND=x11 '" VORNEL_EDITOR
                              "' --no-splash --report-startup '" + home + "/Large.btz' 2>/dev/null";
  std::vector<double> mapped;
  std::vector<double> tabs;
  for (auto _ : state) {
    for (int launch = 0; launch < kLaunches; ++launch) {
      FILE* pipe = popen(command.c_str(), "r");
      if (pipe == nullptr) break;
      char line[512];
      while (fgets(line, sizeof line, pipe) != nullptr) {
        double ms = 0;
        char name[256];
        if (sscanf(line, "mapped %lf ms", &ms) == 1) mapped.push_back(ms);
        if (sscanf(line, "tab %255s %lf ms", name, &ms) == 2) tabs.push_back(ms);
      }
      pclose(pipe);
    }
  }
  if (mapped.size() != static_cast<size_t>(kLaunches)) state.SkipWithError("the editor did not report every launch");
  state.counters["mapped_ms"] = Median(mapped);
  state.counters["tab_ms"] = Median(tabs);
  state.counters["goal_ms"] = 1000;
  fs::remove_all(home);
#endif
}

BENCHMARK(Startup)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
