// A page of 6 systems of ten-course lute tablature in French letters, about 24 chords a system
// with changing rhythms (so flags), bourdons with their strokes, slurs, ornaments, fingering
// dots and a few meta-events (lyrics, a tempo, an ending, a fermata), at zoom 100 and 96 dpi,
// drawn into the recording device and into a Cairo image: what a page of tablature costs in
// each backend.

#include <benchmark/benchmark.h>

#include <memory>

#include "PageBenchmarks.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"

namespace {

using namespace vornel;

struct Fret {
  int course;
  int fret;
};

std::unique_ptr<nChord> LuteChord(const CTabInstrument& tab, int code, std::initializer_list<Fret> frets) {
  auto chord = std::make_unique<nChord>(nChord::kChord, static_cast<uint16_t>(code));
  for (const Fret f : frets) {
    auto note = std::make_unique<nNotes>();
    note->pitch = static_cast<uint8_t>(tab.tuning.courses[static_cast<size_t>(f.course)].pitch + 23 + f.fret);
    note->string = static_cast<uint8_t>(f.course);
    chord->AddNote(std::move(note));
  }
  return chord;
}

std::unique_ptr<CSystemArray> SixSystemsOfLute() {
  auto section = std::make_unique<CSystemArray>();
  CInstrumentDlg& lute = *section->Definition(0);
  lute.ApplyNotationPreset(0);
  CTabInstrument& tab = lute.tabInstrument;
  tab.tuning.SetTuning("GDAFCGFEbDC");
  tab.tuning.lines = 6;
  tab.tabFont.logFont.lfFaceName = "VN_Quintelle";
  // 2.2 mm between the lines and no space below: six systems, with the room their bass letters
  // and the marks under them take, fill the page.
  tab.tabFont.staveAdjust = {22, 30};
  lute.staves.at(0)->spaceBelow = 0;
  tab.flagsHeight = 0x5630;
  lute.LinkStaves();
  while (section->systems.size() > 6) section->systems.erase(section->systems.size() - 1);
  for (size_t s = 0; s < section->systems.size(); ++s) {
    section->System(s)->RebuildLines({&lute});
    nChordArray& voice = section->System(s)->Line(0)->firstVoice;
    for (int bar = 0; bar < 3; ++bar) {
      auto first = LuteChord(tab, 2, {{6 + bar, 0}, {3, 2}, {2, 1}, {0, 0}});
      first->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "la", 1u << 16, 0, 0));
      if (bar == 0) first->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kTempo, "", 72, 0, 0));
      voice.push_back(std::move(first));
      auto quarter = LuteChord(tab, 3, {{7, 0}, {1, 3}});
      quarter->notes.at(0)->ornament = 2;
      voice.push_back(std::move(quarter));
      for (int i = 0; i < 4; ++i) {
        auto eighth = LuteChord(tab, 4, {{i % 2, 2 + i}});
        if (i == 0) eighth->notes.at(0)->slur = 0x141;
        if (i == 2) eighth->notes.at(0)->fingering = 1;
        voice.push_back(std::move(eighth));
      }
      voice.push_back(LuteChord(tab, 5, {{0, 3}}));
      voice.push_back(LuteChord(tab, 5, {{0, 5}}));
      auto bar_line = std::make_unique<nChord>(nChord::kBarLine);
      if (bar == 1) {
        bar_line->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kEnding, "1.", 2 | (4u << 16), 0, 0));
      }
      voice.push_back(std::move(bar_line));
    }
    voice.back()->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kFermata, "", 0, 0, 0));
  }
  return section;
}

void RecordingTablaturePage(benchmark::State& state) {
  bench::RecordPage(state, SixSystemsOfLute());
}
BENCHMARK(RecordingTablaturePage)->Iterations(200)->Unit(benchmark::kMillisecond);

void CairoTablaturePage(benchmark::State& state) {
  bench::CairoPage(state, SixSystemsOfLute());
}
BENCHMARK(CairoTablaturePage)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
