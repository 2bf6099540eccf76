// A section of 100 pages exported as MusicXML, TAB text and Braille text, beside saving the
// same document as ".btxml". Goal: each export takes at most twice the time of the save.
// "peak_MB" is how far the resident size rose above what the document itself holds.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "layout/export/CTabProperties.h"
#include "layout/export/DocumentExports.h"
#include "layout/export/MusicXmlExport.h"
#include "layout/export/WindowsTextFile.h"
#include "platform/io/FileIO.h"
#include "PeakMemory.h"

namespace {

namespace fs = std::filesystem;
using namespace vornel;

// 100 pages of eight systems, each system four bars of four chords of two to three notes.
std::unique_ptr<CVornelTabDoc> HundredPages() {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  CSystemArray& section = *doc->sections.at(0);
  section.DeleteAllSystems();
  section.Definition(0)->nameText.text = "Lute";
  for (int s = 0; s < 800; ++s) {
    CStaveArray& system = *section.NewSystem(CSystemArray::kAppend);
    nChordArray& voice = system.Line(0)->firstVoice;
    for (int bar = 0; bar < 4; ++bar) {
      for (int c = 0; c < 4; ++c) {
        auto chord = std::make_unique<nChord>(nChord::kChord, static_cast<uint16_t>(3 + (c & 1)));
        for (int n = 0; n < 2 + (c % 2); ++n) {
          auto note = std::make_unique<nNotes>();
          note->string = static_cast<uint8_t>(n * 2);
          note->pitch = static_cast<uint8_t>(67 - 9 * n + c);
          note->name = static_cast<uint16_t>(6 | (5 << 4));
          chord->AddNote(std::move(note));
        }
        voice.push_back(std::move(chord));
      }
      auto line = std::make_shared<nChord>(nChord::kBarLine);
      line->number = static_cast<uint32_t>(s * 4 + bar + 2);
      voice.push_back(line);
    }
  }
  return doc;
}

std::string Scratch(const char* name) { return (fs::temp_directory_path() / name).string(); }

void SaveXmlDocument(benchmark::State& state) {
  auto doc = HundredPages();
  const std::string path = Scratch("vornel_bench_export.btxml");
  for (auto _ : state) benchmark::DoNotOptimize(SaveDocumentFile(*doc, path));
  fs::remove(path);
}
BENCHMARK(SaveXmlDocument)->Unit(benchmark::kMillisecond);

void ExportMusicXml(benchmark::State& state) {
  auto doc = HundredPages();
  const std::string path = Scratch("vornel_bench_export.xml");
  bench::ResetPeak();
  const double before = bench::ResidentMB("VmRSS:");
  for (auto _ : state) benchmark::DoNotOptimize(WriteSectionMusicXml(*doc, path, 0, ExportDate{2024, 1, 1}));
  state.counters["peak_MB"] = bench::ResidentMB("VmHWM:") - before;
  fs::remove(path);
}
BENCHMARK(ExportMusicXml)->Unit(benchmark::kMillisecond);

void ExportTab(benchmark::State& state) {
  auto doc = HundredPages();
  const std::string path = Scratch("vornel_bench_export.tab");
  for (auto _ : state) benchmark::DoNotOptimize(WriteWindowsTextFile(path, BuildTabFile(*doc, 0, CTabProperties{})));
  fs::remove(path);
}
BENCHMARK(ExportTab)->Unit(benchmark::kMillisecond);

void ExportBraille(benchmark::State& state) {
  auto doc = HundredPages();
  const std::string path = Scratch("vornel_bench_export.brf");
  for (auto _ : state) benchmark::DoNotOptimize(WriteWindowsTextFile(path, BuildBrailleFile(*doc, 0, 25, 32)));
  fs::remove(path);
}
BENCHMARK(ExportBraille)->Unit(benchmark::kMillisecond);

}  // namespace
