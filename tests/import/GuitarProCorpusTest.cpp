// The Guitar Pro files of the corpus: every one is read and imported, and four of them (one
// GP3, one GP4, a GP5 of 5.00 and a two-voice GP5 of 5.10) are checked against values read by
// hand from their bytes, with the offsets they stand at.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <map>
#include <set>

#include "document/CBriotabDoc.h"
#include "import/guitarpro/GuitarProDoc.h"
#include "model/instrument/CInstrumentDlg.h"
#include "midi/MidiSection.h"
#include "model/score/CSystemArray.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(VORNEL_CORPUS_DIR) / "guitarpro";

TEST(GuitarProCorpusTest, EveryFileIsReadAndImported) {
  size_t files = 0;
  std::set<std::string> withoutNotes;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
    SCOPED_TRACE(entry.path().filename().string());
    ++files;
    testing::ScriptedPrompts prompts;
    CBriotabDoc document;
    GuitarProDoc doc;
    doc.target = &document;
    ASSERT_TRUE(doc.ImportInto(entry.path().string()))
        << doc.reader().failureStep() << " at " << doc.reader().failureOffset() << ": " << doc.reader().failure();
    EXPECT_TRUE(prompts.messages.empty());
    ASSERT_EQ(document.sections.size(), 1u);
    const CSystemArray& section = *document.sections.at(0);
    EXPECT_FALSE(section.systems.empty());
    // Every track keeps its line, one of rests too.
    EXPECT_EQ(section.definitions.size(), doc.reader().song.tracks.size());
    bool notes = false;
    for (const auto& system : section.systems) {
      for (size_t l = 0; l < system->lines.size(); ++l) {
        for (const auto& e : system->Line(l)->Voice(0)) notes |= e != nullptr && e->IsChord() && !e->notes.empty();
      }
    }
    if (!notes) withoutNotes.insert(entry.path().filename().string());
  }
  EXPECT_EQ(files, 35u);
  EXPECT_EQ(withoutNotes, (std::set<std::string>{"Key.gp4", "Key.gp5", "RSE.gp5", "Repeat.gp4", "Repeat.gp5"}));
}

struct HandNote {
  int string;  // 0 = the highest string
  int fret;
};

struct HandBeat {
  int bar;    // 1 or 2
  int voice;  // 0 or 1
  int duration;  // 1 whole ... 7 sixty-fourth
  bool dot;
  int tuplet;
  std::vector<HandNote> notes;
};

struct HandFile {
  const char* name;
  int tempo;
  std::vector<std::vector<int32_t>> tunings;  // per track, lowest string first
  std::vector<std::array<int, 3>> signatures;  // bar (from 1), numerator, denominator
  std::vector<HandBeat> beats;                 // of the first track's first two bars
};

// Each value as it stands in the file; the offsets are hexadecimal.
std::vector<HandFile> HandReadFiles() {
  return {
      {// "FICHIER GUITAR PRO v3.00"
       "Duration.gp3",
       120,  // 0x4C
       // strings 0x38E = 6; tuning from the highest string: 0x392 64, 0x396 59, 0x39A 55,
       // 0x39E 50, 0x3A2 45, 0x3A6 40 (0x3AA -1, the seventh, dropped)
       {{40, 45, 50, 55, 59, 64}},
       // bar 1 flags 0x35C = 0x03, numerator 0x35D = 4, denominator 0x35E = 4; bars 2-6 0x35F-0x363 = 0
       {{1, 4, 4}},
       {
           // bar 1: 0x3C6 4 beats of "00 00 02 20 01 00": flags 0, duration 0 (a quarter), mask
           // 0x02 (the sixth string), note type 1, fret 0; at 0x3CA, 0x3D0, 0x3D6, 0x3DC
           {1, 0, 3, false, 0, {{5, 0}}},
           {1, 0, 3, false, 0, {{5, 0}}},
           {1, 0, 3, false, 0, {{5, 0}}},
           {1, 0, 3, false, 0, {{5, 0}}},
           // bar 2: 0x3E2 6 beats; 0x3E6 and 0x3EC quarters; 0x3F2, 0x3F8, 0x3FE, 0x404
           // "00 01 02 20 01 00": eighths
           {2, 0, 3, false, 0, {{5, 0}}},
           {2, 0, 3, false, 0, {{5, 0}}},
           {2, 0, 4, false, 0, {{5, 0}}},
           {2, 0, 4, false, 0, {{5, 0}}},
           {2, 0, 4, false, 0, {{5, 0}}},
           {2, 0, 4, false, 0, {{5, 0}}},
       }},
      {// "FICHIER GUITAR PRO v4.06"
       "Measure Header.gp4",
       120,  // 0x78
       // strings 0x3D2 = 6; 0x3D6 64, 0x3DA 59, 0x3DE 55, 0x3E2 50, 0x3E6 45, 0x3EA 40
       {{40, 45, 50, 55, 59, 64}},
       // 0x389 flags 0xCB: 0x38A 4, 0x38B 4; 0x38F flags 0x79: numerator 0x390 = 3;
       // 0x3A4 flags 0x41: numerator 0x3A5 = 4
       {{1, 4, 4}, {2, 3, 4}, {3, 4, 4}},
       {
           // bar 1: 0x40A 4 beats: 0x40E "00 00 04 20 01 02" (a quarter, mask 0x04: the fifth
           // string, fret 2), 0x414 fret 4, 0x41A fret 6, 0x420 fret 7
           {1, 0, 3, false, 0, {{4, 2}}},
           {1, 0, 3, false, 0, {{4, 4}}},
           {1, 0, 3, false, 0, {{4, 6}}},
           {1, 0, 3, false, 0, {{4, 7}}},
           // bar 2: 0x426 3 beats: 0x42A "00 00 04 20 01 04"; 0x430 and 0x434 "40 02 00 00": rests
           {2, 0, 3, false, 0, {{4, 4}}},
           {2, 0, 3, false, 0, {}},
           {2, 0, 3, false, 0, {}},
       }},
      {// "FICHIER GUITAR PRO v5.00"
       "Demo v5.gp5",
       165,  // 0x20A, after the empty tempo name at 0x205
       {
           // "Rhythm Guitar": strings 0x684 = 6; 0x688 64, 0x68C 59, 0x690 55, 0x694 50, 0x698 45, 0x69C 40
           {40, 45, 50, 55, 59, 64},
           // "Solo Guitar": strings 0x713 = 6; 0x717 64 ... 0x72B 40
           {40, 45, 50, 55, 59, 64},
           // "Melody": strings 0x7A2 = 6; 0x7A6 64 ... 0x7BA 40
           {40, 45, 50, 55, 59, 64},
           // "Bass": strings 0x831 = 4; 0x835 43, 0x839 38, 0x83D 33, 0x841 28
           {28, 33, 38, 43},
           // "Percussions": strings 0x8C0 = 6; 0x8C4-0x8D8 all 0; channel 0x8E4 = 10
           {0, 0, 0, 0, 0, 0},
       },
       // 0x545 flags 0x67: numerator 0x546 = 4, denominator 0x547 = 4, marker "Intro" 0x548
       {{1, 4, 4}},
       {
           // bar 1, 0x926: 8 beats. 0x92A flags 0x02 (chord "C5" at 0x93D), duration 0x92B = 1
           // (an eighth), mask 0x997 = 0x1C: the third, fourth and fifth strings, frets 0x99A
           // 5, 0x99E 5, 0x9A3 3. 0x9A7 "00 01 04 29 01 03": an eighth on the fifth string,
           // fret 3 (its 8 length bytes follow the fret). 0x9BA the same. 0x9CD the chord
           // (frets 0x9D2, 0x9D6, 0x9DB); 0x9DF and 0x9F2 single notes (frets 0x9E4, 0x9F7);
           // 0xA05 the chord (0xA0A, 0xA0E, 0xA13); 0xA17 a single note (0xA1C).
           {1, 0, 4, false, 0, {{2, 5}, {3, 5}, {4, 3}}},
           {1, 0, 4, false, 0, {{4, 3}}},
           {1, 0, 4, false, 0, {{4, 3}}},
           {1, 0, 4, false, 0, {{2, 5}, {3, 5}, {4, 3}}},
           {1, 0, 4, false, 0, {{4, 3}}},
           {1, 0, 4, false, 0, {{4, 3}}},
           {1, 0, 4, false, 0, {{2, 5}, {3, 5}, {4, 3}}},
           {1, 0, 4, false, 0, {{4, 3}}},
           // the second voice, 0xA2A: one beat "40 00 00 00": empty
           {1, 1, 3, false, 0, {}},
           // bar 2, 0xB24: 8 beats. 0xB28 the chord (frets 0xB2E, 0xB32, 0xB36); 0xB3A fret
           // 0xB3F = 0; 0xB4D fret 0xB52 = 2; 0xB60 the chord; 0xB72 fret 0xB77 = 3; 0xB85
           // fret 0xB8A = 3; 0xB98 the chord; 0xBAA fret 0xBAF = 3. All eighths.
           {2, 0, 4, false, 0, {{2, 5}, {3, 5}, {4, 3}}},
           {2, 0, 4, false, 0, {{4, 0}}},
           {2, 0, 4, false, 0, {{4, 2}}},
           {2, 0, 4, false, 0, {{2, 5}, {3, 5}, {4, 3}}},
           {2, 0, 4, false, 0, {{4, 3}}},
           {2, 0, 4, false, 0, {{4, 3}}},
           {2, 0, 4, false, 0, {{2, 5}, {3, 5}, {4, 3}}},
           {2, 0, 4, false, 0, {{4, 3}}},
           // 0xBBD: one empty beat
           {2, 1, 3, false, 0, {}},
       }},
      {// "FICHIER GUITAR PRO v5.10"
       "Voices.gp5",
       120,  // 0x19F, after the tempo name "Moderate" at 0x193
       // strings 0x519 = 6; 0x51D 64, 0x521 59, 0x525 55, 0x529 50, 0x52D 45, 0x531 40
       {{40, 45, 50, 55, 59, 64}},
       // 0x4DB flags 0x43: numerator 0x4DC = 4, denominator 0x4DD = 4
       {{1, 4, 4}},
       {
           // bar 1, first voice 0x5AD: 4 beats "00 00 02 20 01 f 00 00 00": quarters on the sixth
           // string, frets 0x5B6 1, 0x5BF 2, 0x5C8 3, 0x5D1 4
           {1, 0, 3, false, 0, {{5, 1}}},
           {1, 0, 3, false, 0, {{5, 2}}},
           {1, 0, 3, false, 0, {{5, 3}}},
           {1, 0, 3, false, 0, {{5, 4}}},
           // second voice 0x5D5: 3 beats: 0x5D9 flags 0x01 (dotted) fret 0x5DE 5; 0x5E2 dotted,
           // fret 0x5E7 6; 0x5EB a quarter, fret 0x5F0 7
           {1, 1, 3, true, 0, {{5, 5}}},
           {1, 1, 3, true, 0, {{5, 6}}},
           {1, 1, 3, false, 0, {{5, 7}}},
           // bar 2, 0x5F5: one beat, duration 0x5FA = -2 (a whole), fret 0x5FE 8
           {2, 0, 1, false, 0, {{5, 8}}},
           // second voice 0x602: one empty beat
           {2, 1, 3, false, 0, {}},
       }},
  };
}

uint32_t Ticks(const HandBeat& beat) {
  const uint32_t plain = nChord::kBreveTicks >> beat.duration;
  return beat.dot ? plain + plain / 2 : plain;
}

TEST(GuitarProCorpusTest, HandReadValues) {
  for (const HandFile& file : HandReadFiles()) {
    SCOPED_TRACE(file.name);
    CBriotabDoc document;
    GuitarProDoc doc;
    doc.target = &document;
    ASSERT_TRUE(doc.ImportInto((kCorpus / file.name).string())) << doc.reader().failure();
    CSystemArray* section = document.sections.at(0);
    const gp_import& reader = doc.reader();
    const TabSong& song = reader.song;

    // What the reader read.
    EXPECT_EQ(song.tempo, file.tempo);
    ASSERT_EQ(song.tracks.size(), file.tunings.size());
    for (size_t t = 0; t < file.tunings.size(); ++t) {
      const TabTrack& track = *song.tracks[t];
      ASSERT_EQ(track.stringCount, file.tunings[t].size());
      EXPECT_EQ(std::vector<int32_t>(track.tuning.begin(), track.tuning.begin() + track.stringCount), file.tunings[t]);
    }
    std::vector<std::array<int, 3>> signatures;
    for (size_t b = 0; b < reader.songBars.size(); ++b) {
      const TabBar& bar = reader.songBars[b];
      if (bar.flags & (TabBar::kNumerator | TabBar::kDenominator)) {
        signatures.push_back({static_cast<int>(b + 1), bar.numerator, bar.denominator});
      }
    }
    EXPECT_EQ(signatures, file.signatures);
    const TabTrack& first = *song.tracks[0];
    std::vector<const TabColumn*> columns;
    for (size_t b = 0; b < 2; ++b) {
      for (size_t v = 0; v < first.voices; ++v) {
        const TabBar& bar = first.bars.at(b);
        for (int32_t i = 0; i < bar.voiceBeatCount[v]; ++i) {
          columns.push_back(&first.columns.at(static_cast<size_t>(bar.voiceFirstColumn[v] + i)));
        }
      }
    }
    ASSERT_EQ(columns.size(), file.beats.size());
    for (size_t i = 0; i < columns.size(); ++i) {
      SCOPED_TRACE(i);
      const TabColumn& column = *columns[i];
      const HandBeat& beat = file.beats[i];
      EXPECT_EQ(column.voice, beat.voice);
      EXPECT_EQ(column.duration, beat.duration);
      EXPECT_EQ((column.flags & TabColumn::kDotted) != 0, beat.dot);
      EXPECT_EQ(column.tuplet, beat.tuplet);
      ASSERT_EQ(column.notes.size(), beat.notes.size());
      for (size_t n = 0; n < beat.notes.size(); ++n) {
        EXPECT_EQ(column.notes[n].string, beat.notes[n].string);
        EXPECT_EQ(column.notes[n].fret, beat.notes[n].fret);
      }
    }

    // What the section holds: each note at its time, pitch = tuning + fret.
    CInstrumentDlg& definition = section->GatherVoice(0, 0, 0, 0);
    for (size_t s = 0; s < file.tunings[0].size(); ++s) {
      EXPECT_EQ(definition.tabInstrument.tuning.courses[s].pitch + kCoursePitchOffset,
                file.tunings[0][file.tunings[0].size() - 1 - s]);
    }
    nChordArray voice(definition.gathered[0]);
    voice.UpdateTickPositions(4, 4);
    uint32_t times[2] = {0, 0};
    uint32_t barStart = 0;
    int bar = 1;
    for (const HandBeat& beat : file.beats) {
      if (beat.bar != bar) {
        barStart = std::max(times[0], times[1]);
        times[0] = times[1] = barStart;
        bar = beat.bar;
      }
      const uint32_t tick = times[beat.voice];
      times[beat.voice] += Ticks(beat);
      for (const HandNote& note : beat.notes) {
        const int pitch = file.tunings[0][file.tunings[0].size() - 1 - static_cast<size_t>(note.string)] + note.fret;
        bool found = false;
        for (const auto& e : voice) {
          if (e == nullptr || !e->IsChord() || e->delta != tick) continue;
          // A note whose course another note of the chord holds sounds from a free course.
          bool taken = false;
          for (const auto& n : e->notes) taken |= n->string == note.string && n->pitch != pitch;
          for (const auto& n : e->notes) found |= n->pitch == pitch && (n->string == note.string || taken);
        }
        EXPECT_TRUE(found) << "string " << note.string << " fret " << note.fret << " at " << tick;
      }
    }
  }
}

// Imports every file of the corpus, each into a document of its own, and hands the import and
// its section to `check`.
void ForEachImportedFile(const std::function<void(const GuitarProDoc&, CSystemArray&)>& check) {
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
    SCOPED_TRACE(entry.path().filename().string());
    testing::ScriptedPrompts prompts;
    CBriotabDoc document;
    GuitarProDoc doc;
    doc.target = &document;
    ASSERT_TRUE(doc.ImportInto(entry.path().string()));
    check(doc, *document.sections.at(0));
  }
}

// Each track's bar N starts where the song's bar N starts: the bars before it at the lengths
// their signatures give. Every bar's first sounding beat of the first voice is looked for at
// that tick, with the pitch of its first note.
TEST(GuitarProCorpusTest, EveryTracksBarsStartTogether) {
  size_t checked = 0;
  ForEachImportedFile([&](const GuitarProDoc& doc, CSystemArray& section) {
    const gp_import& reader = doc.reader();
    std::vector<uint32_t> barStarts;
    uint32_t tick = 0;
    for (const TabBar& bar : reader.songBars) {
      barStarts.push_back(tick);
      tick += static_cast<uint32_t>(bar.numerator) * (nChord::kBreveTicks / 2) / static_cast<uint32_t>(bar.denominator);
    }
    size_t line = 0;
    for (const auto& track : reader.song.tracks) {
      bool hasNotes = false;
      for (const TabColumn& column : track->columns) hasNotes |= !column.notes.empty();
      if (!hasNotes) continue;
      SCOPED_TRACE(track->name);
      ASSERT_LT(line, section.definitions.size());
      CInstrumentDlg& definition = section.GatherVoice(0, line++, 0, 0);
      nChordArray voice(definition.gathered[0]);
      voice.UpdateTickPositions(section.numerator, section.denominator);
      std::map<uint32_t, std::set<int>> pitchesAt;
      for (const auto& e : voice) {
        if (e == nullptr || !e->IsChord()) continue;
        for (const auto& n : e->notes) pitchesAt[e->delta].insert(n->pitch);
      }
      for (size_t b = 0; b < track->bars.size(); ++b) {
        const TabBar& bar = track->bars[b];
        if (bar.voiceBeatCount[0] == 0) continue;
        const TabColumn& first = track->columns.at(static_cast<size_t>(bar.voiceFirstColumn[0]));
        if (first.notes.empty() || (first.flags & TabColumn::kTied)) continue;
        const TabNote& note = first.notes.front();
        const int pitch = track->tuning[static_cast<size_t>(track->stringCount - 1 - note.string)] + note.fret;
        ++checked;
        EXPECT_TRUE(pitchesAt[barStarts[b]].contains(pitch)) << "bar " << b + 1 << " at " << barStarts[b];
      }
    }
  });
  EXPECT_GT(checked, 0u);
}

// The drum tracks play on the percussion channel (10, index 9), and no other track does:
// each line is played alone, the others muted.
TEST(GuitarProCorpusTest, PercussionPlaysOnTheDrumChannel) {
  size_t drumTracks = 0;
  ForEachImportedFile([&](const GuitarProDoc& doc, CSystemArray& section) {
    const auto& tracks = doc.reader().song.tracks;
    ASSERT_EQ(section.definitions.size(), tracks.size());
    for (size_t t = 0; t < tracks.size(); ++t) {
      SCOPED_TRACE(tracks[t]->name);
      for (size_t d = 0; d < section.definitions.size(); ++d) section.Definition(d)->midi.mute = d == t ? 0 : 1;
      std::set<int> channels;
      for (const strMidiNote& record : BuildPlayRecords(section, {})) {
        if (record.kind == strMidiNote::kNoteOn) channels.insert(record.channel);
      }
      if (channels.empty()) continue;
      const bool drums = tracks[t]->percussion;
      drumTracks += drums ? 1 : 0;
      EXPECT_EQ(channels.contains(9), drums);
      if (drums) {
        EXPECT_EQ(channels, std::set<int>{9});
      }
    }
  });
  EXPECT_GT(drumTracks, 0u);
}

}  // namespace
}  // namespace vornel
