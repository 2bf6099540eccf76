// Reading and importing (up to the finished section) Guitar Pro files of 100 KB to 800 KB:
// version 5 songs of two tracks written by the tests' fixture writer, eighths of one to three notes with a few
// effects, chord names, markers and key changes.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "../tests/import/GpFixture.h"
#include "import/guitarpro/GuitarProDoc.h"
#include "model/score/CSystemArray.h"

namespace {

using namespace vornel;
using namespace vornel::testing;

GpSongFixture SongOfBars(int bars) {
  GpSongFixture song = GpSongFixture::Version(5, 10);
  song.programs[0] = 25;
  song.programs[2] = 33;
  for (int t = 0; t < 2; ++t) {
    GpTrack track;
    track.name = t == 0 ? "Guitar" : "Bass";
    track.channel = t == 0 ? 1 : 3;
    song.tracks.push_back(track);
  }
  for (int b = 0; b < bars; ++b) {
    GpBar bar;
    if (b == 0) bar.flags = 0x03;
    if (b % 16 == 8) {
      bar.flags |= 0x20 | 0x40;
      bar.marker = "Part";
      bar.key = (b / 16) % 5 - 2;
    }
    song.bars.push_back(bar);
    for (int t = 0; t < 2; ++t) {
      std::array<std::vector<GpBeat>, 2> voices;
      for (int i = 0; i < 8; ++i) {
        GpBeat beat = NoteBeat(t == 0 ? 5 - i % 3 : 3, (b + i) % 12, 1);
        for (int extra = 0; t == 0 && extra < i % 3; ++extra) {
          GpNote note;
          note.string = extra;
          note.fret = (b + extra) % 5;
          if (i == 5) {
            note.flags |= 0x08;
            note.effects = {0x02, 0x01};  // legato, staccato
          }
          beat.notes.push_back(note);
        }
        if (i == 0 && t == 0 && b % 4 == 0) {
          beat.flags |= 0x02;
          beat.chordName = "Am";
        }
        voices[0].push_back(beat);
      }
      GpBeat empty;
      empty.flags = 0x40;
      voices[1].push_back(empty);
      song.tracks[static_cast<size_t>(t)].beats.push_back(voices);
    }
  }
  return song;
}

// A song's file of at least `bytes` bytes.
std::vector<uint8_t> FileOfSize(size_t bytes) {
  // The header's size and the bytes a bar adds, from two songs.
  const size_t sixteen = SongOfBars(16).Write().size();
  const size_t perBar = (SongOfBars(32).Write().size() - sixteen) / 16;
  const size_t header = sixteen - 16 * perBar;
  int bars = bytes > header ? static_cast<int>((bytes - header) / perBar) : 1;
  std::vector<uint8_t> file = SongOfBars(bars).Write();
  while (file.size() < bytes) file = SongOfBars(++bars).Write();
  return file;
}

void ImportGuitarPro(benchmark::State& state) {
  const std::vector<uint8_t> file = FileOfSize(static_cast<size_t>(state.range(0)) * 1024);
  for (auto _ : state) {
    GuitarProDoc doc;
    if (!doc.reader().readBytes(file)) state.SkipWithError(doc.reader().failure().c_str());
    std::unique_ptr<CSystemArray> section = doc.BuildSection();
    GuitarProDoc::FinishSection(*section);
    benchmark::DoNotOptimize(section.get());
  }
  state.counters["bytes"] = static_cast<double>(file.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}
BENCHMARK(ImportGuitarPro)->Arg(100)->Arg(200)->Arg(400)->Arg(800)->Unit(benchmark::kMillisecond);

void ReadGuitarPro(benchmark::State& state) {
  const std::vector<uint8_t> file = FileOfSize(static_cast<size_t>(state.range(0)) * 1024);
  for (auto _ : state) {
    gp_import reader;
    benchmark::DoNotOptimize(reader.readBytes(file));
  }
}
BENCHMARK(ReadGuitarPro)->Arg(100)->Arg(200)->Arg(400)->Arg(800)->Unit(benchmark::kMillisecond);

}  // namespace
