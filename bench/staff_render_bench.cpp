// A page of 8 systems of one staff in two voices, about 24 chords a system with beams,
// accidentals and ledger lines, at zoom 100 and 96 dpi, drawn into the recording device and
// into a Cairo image: what a page of staff notation costs in each backend.

#include <benchmark/benchmark.h>

#include <memory>

#include "PageBenchmarks.h"
#include "model/CInstrumentDlg.h"
#include "model/CStaveArray.h"
#include "model/CSystemArray.h"
#include "model/nChord.h"

namespace {

using namespace vornel;

std::unique_ptr<nChord> Chord(int code, std::initializer_list<int> pitches) {
  auto chord = std::make_unique<nChord>(nChord::kChord, static_cast<uint16_t>(code));
  for (const int pitch : pitches) {
    auto note = std::make_unique<nNotes>();
    note->pitch = static_cast<uint8_t>(pitch);
    chord->AddNote(std::move(note));
  }
  return chord;
}

// Per bar: eight eighths above (sharps, flats and ledger lines among them) over two quarters
// and two eighths, padded so that both voices keep one column per time.
std::unique_ptr<CSystemArray> EightSystems() {
  auto section = std::make_unique<CSystemArray>();
  CInstrumentDlg& guitar = *section->Definition(0);
  guitar.ApplyNotationPreset(1);
  guitar.staves.at(0)->enabledVoices = CClef::kBothVoicesMerged;
  for (size_t s = 0; s < section->systems.size(); ++s) {
    section->System(s)->RebuildLines({&guitar});
    CInstrument& line = *section->System(s)->Line(0);
    static constexpr int kUpper[] = {76, 78, 80, 81, 83, 85, 86, 88, 70, 73, 75, 77, 63, 66, 68, 71,
                                     79, 84, 86, 91, 67, 64, 62, 60};
    for (int bar = 0; bar < 3; ++bar) {
      for (int i = 0; i < 8; ++i) {
        line.firstVoice.push_back(Chord(4, {kUpper[bar * 8 + i] - 12}));
        if (i == 0 || i == 2) {
          line.secondVoice.push_back(Chord(3, {43 + bar + i}));
        } else if (i == 4 || i == 5) {
          line.secondVoice.push_back(Chord(4, {48 + i, 40}));
        } else {
          line.secondVoice.push_back(nullptr);
        }
      }
      line.firstVoice.push_back(std::make_unique<nChord>(nChord::kBarLine));
      line.secondVoice.push_back(std::make_unique<nChord>(nChord::kBarLine));
    }
  }
  return section;
}

void RecordingStaffPage(benchmark::State& state) {
  const auto section = EightSystems();
  bench::RecordPage(state, *section);
}
BENCHMARK(RecordingStaffPage)->Iterations(200)->Unit(benchmark::kMillisecond);

void CairoStaffPage(benchmark::State& state) {
  const auto section = EightSystems();
  bench::CairoPage(state, *section);
}
BENCHMARK(CairoStaffPage)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
