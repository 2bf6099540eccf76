// A piece of a hundred pages written as a Standard MIDI File and imported again.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "document/CMIDIExportDlg.h"
#include "midi/CIMidiDoc.h"
#include "midi/MidiImport.h"
#include "midi/MidiSection.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"

namespace {

using namespace vornel;

// About a hundred pages of lute music: eight systems a page, four bars a system, eight chords
// of three notes a bar (quarters and eighths), an ornament now and then, in two voices.
constexpr int kBars = 100 * 8 * 4;

std::unique_ptr<CSystemArray> HundredPages() {
  auto section = std::make_unique<CSystemArray>();
  section->Definition(0)->nameText.text = "Lute";
  static constexpr uint16_t kRhythms[] = {4, 4, 3, 4, 4, 3, 3};  // 768 ticks a bar
  for (size_t v = 0; v < 2; ++v) {
    nChordArray& voice = section->System(0)->Line(0)->Voice(v);
    for (int bar = 0; bar < kBars; ++bar) {
      for (uint16_t rhythm : kRhythms) {
        if (v == 1 && rhythm == 4) continue;  // the lower voice moves in quarters
        auto chord = std::make_unique<nChord>(0, rhythm);
        for (uint8_t n = 0; n < (v == 0 ? 2 : 1); ++n) {
          auto note = std::make_unique<nNotes>();
          note->pitch = static_cast<uint8_t>((v == 0 ? 60 : 43) + 4 * n + (bar + rhythm) % 7);
          note->string = static_cast<uint8_t>(v == 0 ? n : 4);
          if (bar % 5 == 0 && n == 0) note->ornament = 1;
          chord->notes.push_back(std::move(note));
        }
        voice.push_back(std::move(chord));
      }
      voice.push_back(std::make_unique<nChord>(1));
    }
  }
  section->ReflowSystems(false, 64);
  return section;
}

// The piece's file, bytes once.
const std::vector<uint8_t>& HundredPagesFile() {
  static const std::vector<uint8_t> bytes = [] {
    const auto section = HundredPages();
    MidiFile file;
    WriteSectionMidi(*section, CMIDIExportDlg{}, MidiExportOptions{}, file);
    return file.Bytes();
  }();
  return bytes;
}

void ExportHundredPages(benchmark::State& state) {
  const auto section = HundredPages();
  size_t bytes = 0;
  for (auto _ : state) {
    MidiFile file;
    WriteSectionMidi(*section, CMIDIExportDlg{}, MidiExportOptions{}, file);
    bytes = file.Bytes().size();
  }
  state.counters["systems"] = static_cast<double>(section->systems.size());
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(ExportHundredPages)->Unit(benchmark::kMillisecond);

void ImportHundredPages(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = HundredPagesFile();
  CInstrumentDlg defaultDefinition;
  defaultDefinition.EnsureStave();
  size_t systems = 0;
  for (auto _ : state) {
    CIMidiDoc doc;
    doc.Parse(bytes);
    MidiImportOptions options;
    AllTracksChooser chooser;
    chooser.Choose(doc, options);
    CSystemArray imported;
    ImportMidiTracks(doc, options, nullptr, defaultDefinition, imported);
    systems = imported.systems.size();
  }
  state.counters["systems"] = static_cast<double>(systems);
}
BENCHMARK(ImportHundredPages)->Unit(benchmark::kMillisecond);

// The reading alone: header, tracks and events.
void ReadHundredPages(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = HundredPagesFile();
  for (auto _ : state) {
    CIMidiDoc doc;
    benchmark::DoNotOptimize(doc.Parse(bytes));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ReadHundredPages)->Unit(benchmark::kMillisecond);

}  // namespace
