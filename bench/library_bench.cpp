// The document libraries: the file finder's search of a tree of 10,000 files (goal: under a
// second), and a document group built from 200 small documents with its progress reported
// (goal: under 20 seconds; the counter gives the time per document).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "model/score/CSystemArray.h"
#include "shell/library/CVornelDatabase.h"
#include "shell/library/FileFinder.h"

namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vornel-library-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~TempFolder() {
    std::error_code error;
    fs::remove_all(path, error);
  }
  fs::path path;
};

// 10,000 files in 100 folders of 100: documents, bundles and files of other kinds.
const TempFolder& FinderTree() {
  static const TempFolder tree = [] {
    TempFolder folder;
    const char* endings[] = {".btxml", ".btb", ".btz", ".txt", ".BTB"};
    for (int f = 0; f < 100; ++f) {
      const fs::path sub = folder.path / ("folder" + std::to_string(f)) / "inner";
      fs::create_directories(sub);
      for (int i = 0; i < 100; ++i) {
        std::ofstream(sub / ("piece" + std::to_string(i) + endings[i % 5])) << "x";
      }
    }
    return folder;
  }();
  return tree;
}

void BM_FinderSearch10000Files(benchmark::State& state) {
  const std::string root = FinderTree().path.string();
  size_t found = 0;
  for (auto _ : state) {
    vornel::FileFinder finder;
    finder.rootPath = root;
    finder.sortByFileName = true;
    finder.Search();
    found = finder.files.size();
    benchmark::DoNotOptimize(finder.files.data());
  }
  state.counters["files_found"] = static_cast<double>(found);
}
BENCHMARK(BM_FinderSearch10000Files)->Unit(benchmark::kMillisecond);

// Counts the files the progress reports.
class CountingProgress : public vornel::BatchProgress {
 public:
  void Start(int total, const std::string&) override { this->total = total; }
  bool Step(int number, const std::string&) override {
    steps = number;
    return true;
  }
  void Finish() override {}
  int total = 0;
  int steps = 0;
};

void BM_GroupOf200Documents(benchmark::State& state) {
  TempFolder folder;
  vornel::CVornelTabDoc doc;
  doc.OnNewDocument();
  doc.AppendNewSection()->Title().text = "Galliard";
  for (int i = 0; i < 200; ++i) {
    doc.settings.Text(vornel::CDocumentSettings::kTitle).text = "Piece " + std::to_string(i);
    const fs::path sub = folder.path / ("set" + std::to_string(i / 20));
    fs::create_directories(sub);
    if (!vornel::SaveDocumentFile(doc, (sub / ("piece" + std::to_string(i) + ".btxml")).string())) std::abort();
  }
  vornel::FileFinder finder;
  finder.rootPath = folder.path.string();
  finder.documentRoot = folder.path.string();
  finder.Search();
  const std::string groupPath = (folder.path / "group.vndb").string();
  CountingProgress progress;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!finder.BuildGroup(groupPath, "Bench", progress)) std::abort();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["documents"] = progress.steps;
  state.counters["per_document_ms"] =
      progress.steps > 0 ? seconds * 1000.0 / (static_cast<double>(progress.steps) * static_cast<double>(state.iterations())) : 0;
}
BENCHMARK(BM_GroupOf200Documents)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
