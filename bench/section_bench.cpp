// A long section (two instruments, 60 systems of 4 bars each, about 5,000 events): what
// opening, saving, an undo snapshot and the whole-section recalculation after each edit cost.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "model/score/CSystemArray.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace {

using namespace vornel;

constexpr size_t kSystems = 60;

std::unique_ptr<CSystemArray> LongSection() {
  auto section = std::make_unique<CSystemArray>();
  auto guitar = std::make_unique<CInstrumentDlg>();
  guitar->ApplyNotationPreset(CInstrumentDlg::kGrandStaffPreset);
  section->AddInstrument(std::move(guitar));
  while (section->systems.size() < kSystems) section->NewSystem(CSystemArray::kAppend);
  for (size_t s = 0; s < kSystems; ++s) {
    for (size_t line = 0; line < 2; ++line) {
      for (size_t v = 0; v < 2; ++v) {
        nChordArray& voice = section->System(s)->Line(line)->Voice(v);
        for (int bar = 0; bar < 4; ++bar) {
          for (int beat = 0; beat < (v == 0 ? 8 : 2); ++beat) {
            auto chord = std::make_unique<nChord>(nChord::kChord, v == 0 ? 4 : 2);
            for (int n = 0; n < (v == 0 ? 2 : 1); ++n) {
              auto note = std::make_unique<nNotes>();
              note->pitch = static_cast<uint8_t>(48 + (beat * 5 + n * 7) % 30);
              note->string = static_cast<uint8_t>(n + v);
              chord->AddNote(std::move(note));
            }
            voice.push_back(std::move(chord));
          }
          voice.push_back(std::make_unique<nChord>(nChord::kBarLine));
        }
      }
    }
  }
  section->RecalculateSection(false);
  return section;
}

void SectionXmlWriteAndRead(benchmark::State& state) {
  const auto section = LongSection();
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    doc.InsertEndChild(section->WriteXml(doc));
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    tinyxml2::XMLDocument parsed;
    parsed.Parse(printer.CStr());
    CSystemArray read;
    read.ReadXml(parsed.FirstChildElement());
    benchmark::DoNotOptimize(read.systems.size());
  }
}
BENCHMARK(SectionXmlWriteAndRead)->Unit(benchmark::kMillisecond);

// An undo snapshot: the section's record written and read back.
void SectionRecordSnapshot(benchmark::State& state) {
  const auto section = LongSection();
  for (auto _ : state) {
    ArchiveWriter writer;
    section->Store(writer);
    const std::vector<uint8_t> bytes = writer.TakeBytes();
    ArchiveReader reader(bytes);
    CSystemArray read;
    read.Load(reader);
    benchmark::DoNotOptimize(read.systems.size());
  }
}
BENCHMARK(SectionRecordSnapshot)->Unit(benchmark::kMillisecond);

// Reading a record whose voice holds many stave breaks: every one becomes the section's
// shared break, which must cost no more than reading them.
void SectionRecordWithManyStaveBreaks(benchmark::State& state) {
  CSystemArray section;
  nChordArray& voice = section.System(0)->Line(0)->Voice(0);
  for (int64_t i = 0; i < state.range(0); ++i) voice.push_back(section.SystemBreak());
  ArchiveWriter writer;
  section.Store(writer);
  const std::vector<uint8_t> bytes = writer.TakeBytes();
  for (auto _ : state) {
    ArchiveReader reader(bytes);
    CSystemArray read;
    read.Load(reader);
    benchmark::DoNotOptimize(read.systems.size());
  }
}
BENCHMARK(SectionRecordWithManyStaveBreaks)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Joining the music of a section into its first system drops every stave break on the way.
void JoinSystemsWithManyStaveBreaks(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    CSystemArray section;
    nChordArray& voice = section.System(0)->Line(0)->Voice(0);
    for (int64_t i = 0; i < state.range(0); ++i) {
      voice.push_back(std::make_unique<nChord>(nChord::kChord, 4));
      voice.push_back(section.SystemBreak());
    }
    state.ResumeTiming();
    section.ReflowSystems(true, 20);
    benchmark::DoNotOptimize(voice.size());
  }
}
BENCHMARK(JoinSystemsWithManyStaveBreaks)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond);

void RecalculateSection(benchmark::State& state) {
  const auto section = LongSection();
  for (auto _ : state) section->RecalculateSection(state.range(0) != 0);
}
BENCHMARK(RecalculateSection)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void GatherAndScatterAllInstruments(benchmark::State& state) {
  const auto section = LongSection();
  for (auto _ : state) section->ReflowAllInstruments();
}
BENCHMARK(GatherAndScatterAllInstruments)->Unit(benchmark::kMillisecond);

}  // namespace
