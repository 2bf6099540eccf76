// Bar cutting, numbering, alignment and the stored forms of long voices.

#include <benchmark/benchmark.h>

#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace {

using namespace vornel;

constexpr int kChords = 10000;

// Quarters, eighths and triplets with a few meta-events and notes, like a lute part.
nChordArray Voice(int chords, uint16_t firstRhythm) {
  nChordArray voice;
  static constexpr uint16_t kRhythms[] = {3, 4, 4, 0x14, 0x14, 0x14, 3, 2};
  for (int i = 0; i < chords; ++i) {
    auto chord = std::make_unique<nChord>(0, i == 0 ? firstRhythm : kRhythms[i % std::size(kRhythms)]);
    for (uint8_t n = 0; n < 3; ++n) {
      auto note = std::make_unique<nNotes>();
      note->pitch = static_cast<uint8_t>(48 + 7 * n + i % 5);
      note->string = n;
      chord->AddNote(std::move(note));
    }
    if (i % 16 == 0) chord->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, "la", 0, 0, 0);
    voice.push_back(std::move(chord));
  }
  return voice;
}

void RebarVoice(benchmark::State& state) {
  nChordArray voice = Voice(kChords, 3);
  for (auto _ : state) benchmark::DoNotOptimize(voice.RebarVoice(3, 4));
  state.SetItemsProcessed(state.iterations() * kChords);
}
BENCHMARK(RebarVoice);

void NumberBars(benchmark::State& state) {
  nChordArray voice = Voice(kChords, 3);
  voice.RebarVoice(3, 4);
  for (auto _ : state) {
    CBarArray bars;
    benchmark::DoNotOptimize(voice.NumberBars(1, bars));
  }
  state.SetItemsProcessed(state.iterations() * kChords);
}
BENCHMARK(NumberBars);

void AlignTwoVoices(benchmark::State& state) {
  const nChordArray first = Voice(kChords, 3);
  const nChordArray second = Voice(kChords / 2, 2);
  for (auto _ : state) {
    state.PauseTiming();
    nChordArray a(first);
    nChordArray b(second);
    CVoicesArray voices;
    voices.push_back(&a);
    voices.push_back(&b);
    voices.SetTimeSignatureAndRebar(nullptr, 4, 4);
    state.ResumeTiming();
    voices.AlignVoices(voices.barLength);
  }
  state.SetItemsProcessed(state.iterations() * (kChords + kChords / 2));
}
BENCHMARK(AlignTwoVoices);

void VoiceRecordRoundTrip(benchmark::State& state) {
  const nChordArray voice = Voice(kChords, 3);
  for (auto _ : state) {
    ArchiveWriter writer;
    voice.Store(writer);
    ArchiveReader reader(writer.Bytes());
    nChordArray read;
    read.Load(reader);
    benchmark::DoNotOptimize(read.size());
  }
  state.SetItemsProcessed(state.iterations() * kChords);
}
BENCHMARK(VoiceRecordRoundTrip);

void VoiceXmlRoundTrip(benchmark::State& state) {
  const nChordArray voice = Voice(kChords, 3);
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* staff = voice.WriteXml(doc);
    doc.InsertEndChild(staff);
    nChordArray read;
    read.ReadXml(staff);
    benchmark::DoNotOptimize(read.size());
  }
  state.SetItemsProcessed(state.iterations() * kChords);
}
BENCHMARK(VoiceXmlRoundTrip);

}  // namespace
