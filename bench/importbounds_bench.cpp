// The text importers on crafted worst cases, against the bound every reader keeps: at most
// 64 MB + 64 bytes per input byte of memory, and 1 s + 1 s per MB of input. Each case is
// imported from its bytes in memory to the finished sections; the benchmark reports the
// input size, the peak of the memory allocated during the import (counted by this program's
// own operator new), the bounds, the peak and the time per MB of input, and "within" = 1 when
// both bounds hold. The machine is shared, so the time measured against the bound is the
// processor time of the import ("seconds", "s_per_MB"); "wall_s" is the time on the clock.
// "faults_per_MB" counts the pages touched for the first time per MB of input: fresh memory
// costs one fault per page, which is much of the time of an import that builds a large document.
//
//   long ABC:     320,000 notes over lines of sixteen notes
//   ABC line:     one line of notes of 1 MB
//   dense ABC:    1 MB of notes written one byte each
//   ABC verses:   one music line with 100,000 "w:" lines under it
//   bombs:        a bundle of 64 MB of bare events packed to 170 KB; a compressed MusicXML
//                 score of 600,000 measures of rests
// Each case is read within the budget of its size as stored (BuildBudget), as the program reads
// files: "refused" = 1 where the reading stopped at the budget's limit.
//   long TAB:     300,000 chord lines of one to six courses, bars every eight chords
//   TAB line:     chord lines of 790 bytes and more (the longest a read takes at once)
//   big Tabrite:  12.5 MB of chord records
//
// "ObjectCosts" reports what the document spends on the objects an import makes most of: a
// chord of one note in a voice and a system of the new document's one instrument, in bytes
// the allocator hands out.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/zip/ZipWriter.h"
#include "import/Importer.h"
#include "import/tab/TabImport.h"
#include "import/tabrite/TabriteImport.h"
#include "import/text/CAbcImport.h"
#include "PeakMemory.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "platform/BuildBudget.h"
#include "platform/UserPrompts.h"

namespace {

std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};

void Count(void* p) {
  const size_t now = liveBytes.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
  size_t peak = peakBytes.load();
  while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
  }
}

void Uncount(void* p) {
  if (p != nullptr) liveBytes.fetch_sub(malloc_usable_size(p));
}

}  // namespace

// The replacements pair malloc with free by design.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  Count(p);
  return p;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept {
  Uncount(p);
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

namespace {

using namespace vornel;

constexpr double kMB = 1024.0 * 1024.0;

class QuietPrompts : public ConsolePrompts {
 public:
  void ShowMessage(std::string_view, MessageKind, std::string_view) override {}
};

std::string LongAbc(size_t notes, size_t perLine) {
  std::string text = "X:1\nT:long\nM:4/4\nL:1/8\nK:C\n";
  constexpr std::string_view kLetters = "CDEFGABcdefgab";
  for (size_t i = 0; i < notes; ++i) {
    text += kLetters[i % kLetters.size()];
    text += (i + 1) % perLine == 0 ? " |\n" : " ";
  }
  return text + "\n";
}

std::string LongTab(size_t chords, size_t lineBytes) {
  std::string text = "b\n";
  constexpr std::string_view kFrets = "abcdefgh";
  for (size_t i = 0; i < chords; ++i) {
    std::string line = "2 ";
    for (size_t c = 0; c <= i % 6; ++c) line += kFrets[(i + c) % kFrets.size()];
    if (lineBytes > line.size()) line.append(lineBytes - line.size(), ' ');
    text += line + "\n";
    if (i % 8 == 7) text += "b\n";
  }
  return text;
}

std::string BigTabrite(size_t bytes) {
  std::string text = "0,0,0\n0,0,0,0\n0,\"1\",\"2\",\"3\",\"Title\"\n\"Anon.\"\n\"Notes\"\n\"\"\n\"\"\n\"\"\n\"\"\n";
  const std::string record = "1,4,0\n0,0,0,0\n0,\"\",\"\",\"\",\"\"\n\"1\"\n\"2\"\n\"3-5\"\n\"0\"\n\"\"\n\"7\"\n";
  while (text.size() < bytes) text += record;
  return text;
}

enum class Kind { kAbc, kTab, kTabrite, kOpenDocument, kImportFile };

// A file written into a folder of the system's temporary files for the cases read from disk.
std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("importbounds-" + name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

// Reads `input` (the text itself, or for the file kinds the path of the file) as the program
// does, within the budget of its size as stored: a case beyond it is refused ("refused" = 1)
// and the peak is what it held until then.
void Run(benchmark::State& state, Kind kind, const std::string& input) {
  QuietPrompts prompts;
  ScopedPrompts scoped(prompts);
  CInstrumentDlg lute;
  lute.EnsureStave();
  const bool fromFile = kind == Kind::kOpenDocument || kind == Kind::kImportFile;
  const uint64_t storedBytes = fromFile ? std::filesystem::file_size(input) : input.size();
  double seconds = 0;
  double wallSeconds = 0;
  long faults = 0;
  size_t peak = 0;
  size_t held = 0;
  bool refused = false;
  for (auto _ : state) {
    auto doc = std::make_unique<CVornelTabDoc>();
    doc->OnNewDocument();
    const size_t before = liveBytes.load();
    peakBytes.store(before);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = bench::ProcessorSeconds();
    const long faultsStart = bench::MinorFaults();
    try {
      BuildBudget budget(storedBytes);
      const ScopedBuildBudget scope(budget);
      switch (kind) {
        case Kind::kAbc: {
          CAbcImport abc(*doc);
          benchmark::DoNotOptimize(abc.ReadAbcText(input, lute));
          break;
        }
        case Kind::kTab: {
          TabImport tab(*doc);
          benchmark::DoNotOptimize(tab.ReadText(input, "bench.tab"));
          break;
        }
        case Kind::kTabrite: {
          TabriteImport tabrite(*doc);
          tabrite.ReadText(input);
          break;
        }
        case Kind::kOpenDocument:
          refused = !doc->OnOpenDocument(input);
          break;
        case Kind::kImportFile:
          refused = FindImporter(input)->Import(input, *doc) == 0;
          break;
      }
    } catch (const BuildBudgetExceeded&) {
      refused = true;
    }
    seconds = std::max(seconds, bench::ProcessorSeconds() - cpuStart);
    wallSeconds = std::max(wallSeconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    faults = std::max(faults, bench::MinorFaults() - faultsStart);
    peak = std::max(peak, peakBytes.load() - before);
    held = liveBytes.load() - before;
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  const double inputMB = static_cast<double>(storedBytes) / kMB;
  const double memoryBound = 64.0 + 64.0 * inputMB;
  const double timeBound = 1.0 + inputMB;
  state.counters["input_MB"] = inputMB;
  state.counters["peak_MB"] = static_cast<double>(peak) / kMB;
  state.counters["held_MB"] = static_cast<double>(held) / kMB;
  state.counters["bound_MB"] = memoryBound;
  state.counters["seconds"] = seconds;
  state.counters["wall_s"] = wallSeconds;
  state.counters["bound_s"] = timeBound;
  // Per MB of input, against the 64 MB and 1 s each MB allows beyond the fixed allowance.
  state.counters["peak_MB_per_MB"] = static_cast<double>(peak) / kMB / inputMB;
  state.counters["s_per_MB"] = seconds / inputMB;
  state.counters["faults_per_MB"] = static_cast<double>(faults) / inputMB;
  state.counters["refused"] = refused ? 1 : 0;
  state.counters["within"] = static_cast<double>(peak) / kMB <= memoryBound && seconds <= timeBound ? 1 : 0;
}

void LongAbcFile(benchmark::State& state) { Run(state, Kind::kAbc, LongAbc(static_cast<size_t>(state.range(0)), 16)); }
BENCHMARK(LongAbcFile)->Arg(80000)->Arg(320000)->Arg(1280000)->Iterations(1)->Unit(benchmark::kMillisecond);

void AbcLine(benchmark::State& state) { Run(state, Kind::kAbc, LongAbc(500000, 1000000)); }
BENCHMARK(AbcLine)->Iterations(1)->Unit(benchmark::kMillisecond);

// Notes written one byte each, sixty-four to a line with a bar line after every eight: the
// most notes an ABC file can hold per byte.
std::string DenseAbc(size_t bytes) {
  std::string text = "X:1\nT:dense\nM:4/4\nL:1/8\nK:C\n";
  constexpr std::string_view kLetters = "CDEFGABcdefgab";
  for (size_t i = 0; text.size() < bytes; ++i) {
    text += kLetters[i % kLetters.size()];
    if (i % 64 == 63) {
      text += "|\n";
    } else if (i % 8 == 7) {
      text += '|';
    }
  }
  return text + "\n";
}

void DenseAbcFile(benchmark::State& state) { Run(state, Kind::kAbc, DenseAbc(size_t(1) << 20)); }
BENCHMARK(DenseAbcFile)->Iterations(1)->Unit(benchmark::kMillisecond);

// One line of music followed by 100,000 verses under it.
std::string AbcVerses(size_t verses) {
  std::string text = "X:1\nT:verses\nM:4/4\nL:1/4\nK:C\nCDEF|GABc|\n";
  for (size_t i = 0; i < verses; ++i) text += "w: la-la la la | la la la la\n";
  return text;
}

void AbcVerseLines(benchmark::State& state) { Run(state, Kind::kAbc, AbcVerses(100000)); }
BENCHMARK(AbcVerseLines)->Iterations(1)->Unit(benchmark::kMillisecond);

void LongTabFile(benchmark::State& state) { Run(state, Kind::kTab, LongTab(300000, 0)); }
BENCHMARK(LongTabFile)->Iterations(1)->Unit(benchmark::kMillisecond);

void TabLongLines(benchmark::State& state) { Run(state, Kind::kTab, LongTab(20000, 1600)); }
BENCHMARK(TabLongLines)->Iterations(1)->Unit(benchmark::kMillisecond);

void BigTabriteFile(benchmark::State& state) { Run(state, Kind::kTabrite, BigTabrite(size_t(25) << 19)); }
BENCHMARK(BigTabriteFile)->Iterations(1)->Unit(benchmark::kMillisecond);

std::string TextTabrite(size_t bytes) {
  std::string text = "0,0,0\n0,0,0,0\n0,\"1\",\"2\",\"3\",\"Title\"\n\"Anon.\"\n\"Notes\"\n\"\"\n\"\"\n\"\"\n\"\"\n";
  const std::string record = "1,4,0\n0,0,0,0\n0,\"Am\",\"la\",\"cap\",\"s\"\n\"1\"\n\"2\"\n\"3-5\"\n\"0\"\n\"\"\n\"7\"\n1,999,0\n0,0,0,0\n0,\"\",\"\",\"\",\"\"\n\"\"\n\"83\"\n\"\"\n\"\"\n\"\"\n\"\"\n";
  while (text.size() < bytes) text += record;
  return text;
}
void TextTabriteFile(benchmark::State& state) { Run(state, Kind::kTabrite, TextTabrite(size_t(25) << 19)); }
BENCHMARK(TextTabriteFile)->Iterations(1)->Unit(benchmark::kMillisecond);

// A bundle of 64 MB of bare chord events packed to about 170 KB, and a compressed MusicXML
// score of 600,000 measures of rests: both unpack within the unpacking bounds and would build
// gigabytes.
std::string ZipOf(const std::string& name, const std::vector<std::pair<std::string, std::string>>& entries) {
  const std::string path = (std::filesystem::temp_directory_path() / ("importbounds-" + name)).string();
  ZipHandlePtr zip = CreateZip(path);
  for (const auto& [entry, bytes] : entries) {
    const std::string source = WriteScratchFile("entry", bytes);
    ZipAdd(zip.get(), entry, source);
    std::filesystem::remove(source);
  }
  CloseZip(zip.get());
  return path;
}

void BundleOfEvents(benchmark::State& state) {
  // A new document whose first voice is 64 MB of bare chord events.
  CVornelTabDoc blank;
  blank.OnNewDocument();
  std::string document = blank.XmlText();
  std::string events = "<staff count=\"3000000\">";
  while (events.size() < (size_t(64) << 20)) events += "<event type=\"chord\"/>";
  const size_t staff = document.find("<staff count=\"0\"/>");
  document.replace(staff, std::string_view("<staff count=\"0\"/>").size(), events + "</staff>");
  Run(state, Kind::kOpenDocument, ZipOf("events.btz", {{"importbounds-events.btxml", document}}));
}
BENCHMARK(BundleOfEvents)->Iterations(1)->Unit(benchmark::kMillisecond);

void CompressedScoreOfRests(benchmark::State& state) {
  std::string score = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 2.0 "
      "Partwise//EN\" \"http://www.musicxml.org/dtds/partwise.dtd\">\n<score-partwise version=\"2.0\"><part-list><score-part id=\"P1\">"
      "<part-name>A</part-name></score-part></part-list><part id=\"P1\"><measure number=\"1\"><attributes><divisions>1</divisions>"
      "<time><beats>4</beats><beat-type>4</beat-type></time></attributes><note><rest/><duration>4</duration></note></measure>\n";
  for (size_t i = 2; i <= 600000; ++i) {
    score += "<measure number=\"" + std::to_string(i) + "\"><note><rest/><duration>4</duration></note></measure>\n";
  }
  score += "</part></score-partwise>\n";
  const std::string container = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><container><rootfiles><rootfile full-path=\"score.xml\"/></rootfiles></container>";
  Run(state, Kind::kImportFile, ZipOf("rests.mxl", {{"META-INF/container.xml", container}, {"score.xml", score}}));
}
BENCHMARK(CompressedScoreOfRests)->Iterations(1)->Unit(benchmark::kMillisecond);

void ObjectCosts(benchmark::State& state) {
  constexpr size_t kCount = 10000;
  for (auto _ : state) {
    auto doc = std::make_unique<CVornelTabDoc>();
    doc->OnNewDocument();
    const CSystemArray& section = *doc->GetActiveSection();
    size_t before = liveBytes.load();
    std::vector<std::unique_ptr<CStaveArray>> systems;
    systems.reserve(kCount);
    for (size_t i = 0; i < kCount; ++i) systems.push_back(section.MakeSystem());
    state.counters["system_bytes"] = static_cast<double>(liveBytes.load() - before - kCount * sizeof(void*)) / kCount;
    before = liveBytes.load();
    nChordArray voice;
    voice.reserve(kCount);
    for (size_t i = 0; i < kCount; ++i) voice.push_back(std::make_shared<nChord>())->notes.SetNote(60, 0, 35, true);
    state.counters["chord_bytes"] = static_cast<double>(liveBytes.load() - before) / kCount;
  }
}
BENCHMARK(ObjectCosts)->Iterations(1);

}  // namespace
