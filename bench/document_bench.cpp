// A large document (50 sections of 8 systems with two instruments, about 40,000 chords):
// opening it from and saving it to the binary document, the XML document and the bundle,
// files included, and one undo snapshot of a section. The peak resident size of the process is reported with each.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "document/DocumentFiles.h"

namespace {

using namespace vornel;

constexpr size_t kSections = 50;
constexpr size_t kSystems = 8;
constexpr int kChordsPerLine = 50;  // 50 x 8 x 2 x 50 = 40,000

std::unique_ptr<CSystemArray> Section(size_t index) {
  auto section = std::make_unique<CSystemArray>();
  section->Title().text = "Section " + std::to_string(index + 1);
  section->AddInstrument(std::make_unique<CInstrumentDlg>());
  for (size_t s = 0; s < kSystems; ++s) {
    for (size_t line = 0; line < 2; ++line) {
      nChordArray& voice = section->System(s)->Line(line)->firstVoice;
      for (int c = 0; c < kChordsPerLine; ++c) {
        auto chord = std::make_unique<nChord>(nChord::kChord, 3);
        for (int n = 0; n < 2; ++n) {
          auto note = std::make_unique<nNotes>();
          note->pitch = static_cast<uint8_t>(48 + (c * 5 + n * 7) % 30);
          note->string = static_cast<uint8_t>(n + line);
          chord->AddNote(std::move(note));
        }
        if (c % 16 == 0) chord->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "la", 0, 0, 0));
        voice.push_back(std::move(chord));
      }
    }
  }
  section->RecalculateSection(false);
  return section;
}

std::unique_ptr<CVornelTabDoc> LargeDocument() {
  auto doc = std::make_unique<CVornelTabDoc>();
  for (size_t i = 0; i < kSections; ++i) doc->sections.push_back(Section(i));
  doc->sections.activeSection = 0;
  doc->sections.Renumber();
  return doc;
}

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
