// A Guitar Pro song turned into a section: instrument definitions, voices, chords and notes,
// bars, signatures, repeats, markers and keys.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <memory>

#include "GpFixture.h"
#include "document/CBriotabDoc.h"
#include "import/Importer.h"
#include "import/ImportWarnings.h"
#include "import/guitarpro/GuitarProDoc.h"
#include "layout/export/DocumentExports.h"
#include "midi/GeneralMidiNames.h"
#include "midi/MidiSection.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::GpBar;
using testing::GpBeat;
using testing::GpNote;
using testing::GpSongFixture;
using testing::GpTrack;
using testing::NoteBeat;
using testing::OneTrackSong;

std::unique_ptr<CSystemArray> Import(const GpSongFixture& song) {
  GuitarProDoc doc;
  const bool read = doc.reader().readBytes(song.Write());
  EXPECT_TRUE(read) << doc.reader().failure();
  return doc.BuildSection();
}

// The events of a definition's first gathered voice, as status/rhythm pairs.
struct Event {
  uint16_t status;
  uint16_t rhythm;
  size_t notes;
  bool operator==(const Event&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{0x" << std::hex << e.status << ", 0x" << e.rhythm << std::dec << ", " << e.notes << "}";
}

std::vector<Event> Events(const nChordArray& voice) {
  std::vector<Event> events;
  for (const auto& e : voice) events.push_back({e->status, e->rhythm, e->notes.size()});
  return events;
}

GpBeat EmptyBeat() {
  GpBeat beat;
  beat.flags = 0x40;
  return beat;
}

TEST(GuitarProImportTest, DefinitionOfATrack) {
  GpSongFixture song = OneTrackSong(4, {{NoteBeat(0, 3, -1), NoteBeat(5, 2, -1)}});
  song.tracks[0].name = "Lute";
  song.programs[0] = 25;
  const auto section = Import(song);
  EXPECT_TRUE(section->systems.empty());
  ASSERT_EQ(section->definitions.size(), 1u);
  const CInstrumentDlg& d = *section->Definition(0);
  EXPECT_EQ(d.nameText.text, "Lute");
  EXPECT_EQ(d.midi.patch, 25);
  EXPECT_EQ(d.midi.name, GMProgramName(25));
  ASSERT_EQ(d.staves.size(), 1u);
  EXPECT_EQ(d.staves[0]->type, CClef::kTablature);
  EXPECT_EQ(d.staves[0]->enabledVoices, CClef::kUpperVoice);
  // Laid out for several systems to a page: courses 3 mm apart, no space under the stave.
  EXPECT_EQ(d.staves[0]->spaceBelow, 0u);
  EXPECT_EQ(d.spacingBelowPage, 0);
  EXPECT_EQ(d.tabInstrument.tabFont.staveAdjust.cx, 30);
  EXPECT_EQ(d.notationModePage, CClef::kTablature);
  EXPECT_EQ(d.voicesShownPage, CClef::kUpperVoice);
  const CTabInstrument& tab = d.tabInstrument;
  EXPECT_EQ(tab.tuning.stringCount, 6);
  EXPECT_EQ(tab.tuning.lines, 6);
  EXPECT_EQ(tab.tuning.courses[0].pitch + kCoursePitchOffset, 64);
  EXPECT_EQ(tab.tuning.courses[5].pitch + kCoursePitchOffset, 40);
  EXPECT_EQ(tab.tabStyle, CTabInstrument::kItalian);
  EXPECT_EQ(tab.flagStyle, 2);
  EXPECT_EQ(tab.tabFont.logFont.lfFaceName, "Vornelfg");
  // Pitch = tuning + fret, notes in ascending pitch.
  const nChordArray& voice = d.gathered[0];
  ASSERT_EQ(voice.size(), 4u);  // bar line, signature, two chords
  EXPECT_EQ(voice[2]->notes.at(0)->pitch, 67);
  EXPECT_EQ(voice[2]->notes.at(0)->string, 0);
  EXPECT_EQ(voice[3]->notes.at(0)->pitch, 42);
  EXPECT_EQ(voice[3]->notes.at(0)->string, 5);
  EXPECT_NE(voice[3]->notes.at(0)->name, 0);
}

// A song of two named tracks: the track names stand before the first system only (Guitar Pro
// has no shortened names), and the tracks' bars stand together on every system.
TEST(GuitarProImportTest, TrackNamesOnTheFirstSystem) {
  std::vector<std::vector<GpBeat>> bars(16, std::vector<GpBeat>(4, NoteBeat(0, 3)));
  GpSongFixture song = OneTrackSong(4, bars);
  song.tracks.push_back(song.tracks[0]);
  song.tracks[0].name = "Guitar";
  song.tracks[1].name = "Bass";
  auto section = Import(song);
  GuitarProDoc::FinishSection(*section);
  ASSERT_EQ(section->definitions.size(), 2u);
  ASSERT_GT(section->systems.size(), 1u);
  EXPECT_EQ(section->System(0)->nameInstruments & 1, 1);
  for (size_t s = 1; s < section->systems.size(); ++s) EXPECT_EQ(section->System(s)->nameInstruments & 1, 0) << s;
  for (const auto& system : section->systems) {
    const auto bars = [](const nChordArray& voice) {
      return std::count_if(voice.begin(), voice.end(), [](const auto& e) { return e != nullptr && e->IsBarLine(); });
    };
    EXPECT_EQ(bars(system->Line(0)->firstVoice), bars(system->Line(1)->firstVoice));
  }
}

// The first time a note of `pitch` sounds in each line of a finished section.
std::vector<uint32_t> FirstTicksOf(CSystemArray& section, int pitch) {
  std::vector<uint32_t> ticks;
  for (size_t d = 0; d < section.definitions.size(); ++d) {
    nChordArray voice(section.GatherVoice(0, d, 0, 0).gathered[0]);
    voice.UpdateTickPositions(section.numerator, section.denominator);
    uint32_t first = UINT32_MAX;
    for (const auto& e : voice) {
      if (e == nullptr || !e->IsChord()) continue;
      for (const auto& n : e->notes) {
        if (n->pitch == pitch) first = std::min(first, e->delta);
      }
    }
    ticks.push_back(first);
  }
  return ticks;
}

GpBeat Tuplet(int count, int duration) {
  GpBeat beat = NoteBeat(5, 1, duration);
  beat.flags = 0x20;
  beat.tuplet = count;
  return beat;
}

// Two tracks whose second bars start with a note of pitch 76: every track's bar 2 starts
// when the longest of their first bars ends, at a bar of 4/4 unless one overfills it.
TEST(GuitarProImportTest, EveryTracksBarStartsWithTheSong) {
  const GpBeat quarter = NoteBeat(5, 1);
  const std::vector<GpBeat> full(4, quarter);
  struct Case {
    std::string name;
    std::vector<GpBeat> first;  // the first track's first bar; the second track's is full
    uint32_t barTwo;
  };
  std::vector<Case> cases = {
      {"a bar of three quarters", {quarter, quarter, quarter}, 768},
      {"a bar without beats", {}, 768},
      {"a bar of five quarters", {quarter, quarter, quarter, quarter, quarter}, 960},
  };
  // A beat of each of the file's tuplets, as many as fill a quarter, then three quarters.
  for (const auto& [count, duration] : std::vector<std::pair<int, int>>{
           {3, 1}, {5, 2}, {6, 2}, {7, 2}, {9, 3}, {10, 3}, {11, 3}, {12, 3}, {13, 3}}) {
    Case c{"tuplets of " + std::to_string(count), std::vector<GpBeat>(static_cast<size_t>(count), Tuplet(count, duration)),
           768};
    c.first.insert(c.first.end(), 3, quarter);
    cases.push_back(c);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GpSongFixture song = OneTrackSong(4, {c.first, {NoteBeat(0, 12)}});
    song.tracks.push_back(song.tracks[0]);
    song.tracks[1].beats[0][0] = full;
    auto section = Import(song);
    GuitarProDoc::FinishSection(*section);
    EXPECT_EQ(FirstTicksOf(*section, 76), std::vector<uint32_t>(2, c.barTwo));
  }

  // The second voice of a version 5 track, short in its first bar, starts its second bar
  // with the song's.
  GpSongFixture song = OneTrackSong(5, {{NoteBeat(5, 1, -2)}, {EmptyBeat()}}, 10);
  song.tracks[0].beats[0][1] = {NoteBeat(5, 3, -1)};
  song.tracks[0].beats[1][1] = {NoteBeat(0, 12, -2)};
  song.tracks.push_back(song.tracks[0]);
  song.tracks[1].beats[0][1] = {EmptyBeat()};
  song.tracks[1].beats[1] = {std::vector<GpBeat>{NoteBeat(0, 12, -2)}, std::vector<GpBeat>{EmptyBeat()}};
  auto section = Import(song);
  GuitarProDoc::FinishSection(*section);
  EXPECT_EQ(FirstTicksOf(*section, 76), std::vector<uint32_t>(2, 768));
}

// A track of rests keeps its line, alone or beside tracks of notes; with it the section is
// one the TAB and MusicXML exports write and the MusicXML import reads back.
TEST(GuitarProImportTest, TracksOfRestsKeepTheirLines) {
  GpSongFixture song = OneTrackSong(4, {{EmptyBeat()}, {EmptyBeat()}});
  song.tracks.push_back(song.tracks[0]);
  song.tracks[1].name = "Second";
  song.tracks[1].beats[1][0] = {NoteBeat(2, 2, -2)};
  auto section = Import(song);
  ASSERT_EQ(section->definitions.size(), 2u);
  EXPECT_EQ(section->Definition(0)->nameText.text, "Guitar");
  EXPECT_EQ(section->Definition(1)->nameText.text, "Second");

  song.tracks.pop_back();
  testing::TempDir dir;
  const std::string path = dir.File("rests.gp4");
  const std::vector<uint8_t> bytes = song.Write();
  testing::WriteText(path, std::string(bytes.begin(), bytes.end()));
  testing::ScriptedPrompts prompts;
  CBriotabDoc document;
  GuitarProDoc doc;
  doc.target = &document;
  ASSERT_TRUE(doc.ImportInto(path));
  ASSERT_EQ(document.sections.size(), 1u);
  CSystemArray& rests = *document.sections.at(0);
  ASSERT_EQ(rests.definitions.size(), 1u);
  size_t restCount = 0;
  for (const auto& system : rests.systems) {
    for (const auto& e : system->Line(0)->Voice(0)) restCount += e != nullptr && e->IsRest() ? 1 : 0;
  }
  EXPECT_EQ(restCount, 8u);

  EXPECT_NE(BuildTabFile(document, 0, CTabProperties{}).find("\n"), std::string::npos);
  const std::optional<std::string> xml = SectionMusicXmlText(document, 0, ExportDate{});
  ASSERT_TRUE(xml.has_value());
  EXPECT_NE(xml->find("<score-part id="), std::string::npos);
  const std::string xmlPath = dir.File("rests.xml");
  testing::WriteText(xmlPath, *xml);
  CBriotabDoc back;
  const Importer* importer = FindImporter(xmlPath);
  ASSERT_NE(importer, nullptr);
  EXPECT_EQ(importer->Import(xmlPath, back), 1u);
  EXPECT_TRUE(prompts.messages.empty()) << ::testing::PrintToString(prompts.messages);
  ASSERT_EQ(back.sections.size(), 1u);
  EXPECT_EQ(back.sections.at(0)->definitions.size(), 1u);
}

TEST(GuitarProImportTest, BarsOfOneEmptyBeatBecomeRests) {
  GpSongFixture song = OneTrackSong(4, {{EmptyBeat()}, {EmptyBeat()}, {NoteBeat(0, 1)}});
  song.bars[0].numerator = 3;
  song.bars[1].flags = 0x03;
  song.bars[1].numerator = 6;
  song.bars[1].denominator = 8;
  const auto section = Import(song);
  const std::vector<Event> expected = {
      {0x11, 0, 0}, {0x12, 0, 0}, {0, 3, 0}, {0, 3, 0}, {0, 3, 0},                                     // 3/4
      {0x11, 0, 0}, {0x12, 0, 0}, {0, 4, 0}, {0, 4, 0}, {0, 4, 0}, {0, 4, 0}, {0, 4, 0}, {0, 4, 0},  // 6/8
      {0x11, 0, 0}, {0, 3, 1}, {0, 2, 0}};  // a 6/8 bar that a quarter leaves short ends in a half rest
  EXPECT_EQ(Events(section->Definition(0)->gathered[0]), expected);
  EXPECT_EQ(section->numerator, 3);
  EXPECT_EQ(section->denominator, 4);
}

TEST(GuitarProImportTest, BarLines) {
  struct Case {
    int flags;
    std::string marker;
    uint16_t status;
    bool caption;
  };
  const Case cases[] = {
      {0x04, "", 0x91, false}, {0x08, "", 0x81, false}, {0x0C, "", 0x81, false}, {0x20, "", 0x31, false},
      {0x20, "Verse", 0x31, true}, {0x80, "", 0x31, false}, {0x10, "", 0x11, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    GpSongFixture song = OneTrackSong(3, {{NoteBeat(0, 1, -2)}, {NoteBeat(0, 2, -2)}});
    song.bars[1].flags = c.flags;
    song.bars[1].marker = c.marker;
    const auto section = Import(song);
    const nChordArray& voice = section->Definition(0)->gathered[0];
    ASSERT_EQ(voice.size(), 5u);
    const nChord& bar = *voice[3];
    EXPECT_EQ(bar.status, c.status);
    const CMetaEvent* caption = bar.metaEvents.Find(CMetaEvent::kCaption);
    EXPECT_EQ(caption != nullptr, c.caption);
    if (caption != nullptr) {
      EXPECT_EQ(caption->text, c.marker);
    }
  }
}

TEST(GuitarProImportTest, KeySignatures) {
  struct Case {
    int first;
    uint32_t alterations;
    int bemol;
  };
  for (const Case& c : {Case{2, 2, 0}, Case{-3, 3, 1}, Case{0, 0, 1}}) {
    SCOPED_TRACE(c.first);
    GpSongFixture song =
        OneTrackSong(4, {{NoteBeat(0, 1, -2)}, {NoteBeat(0, 2, -2)}, {NoteBeat(0, 3, -2)}, {NoteBeat(0, 4, -2)}});
    song.bars[0].flags |= 0x40;
    song.bars[0].key = c.first;
    song.bars[1].flags = 0x40;  // on a plain bar: the bar line carries it
    song.bars[1].key = -3;
    song.bars[2].flags = 0x40 | 0x80;  // with a double bar: a special event after it
    song.bars[2].key = 4;
    song.bars[3].flags = 0x40;
    song.bars[3].key = 9;  // no such signature
    const auto section = Import(song);
    EXPECT_EQ(section->key.alterations, c.alterations);
    EXPECT_EQ(section->key.bemol, c.bemol);
    const nChordArray& voice = section->Definition(0)->gathered[0];
    const std::vector<Event> expected = {{0x11, 0, 0}, {0x12, 0, 0}, {0, 1, 1}, {0x19, 0, 0}, {0, 1, 1},
                                         {0x31, 0, 0}, {0x92, 0, 0}, {0, 1, 1}, {0x11, 0, 0}, {0, 1, 1}};
    ASSERT_EQ(Events(voice), expected);
    const CMetaEvent* flats = voice[3]->metaEvents.Find(CMetaEvent::kClef);
    ASSERT_NE(flats, nullptr);
    EXPECT_EQ(flats->value, 256u);
    EXPECT_EQ(flats->cy, 0x113);
    const CMetaEvent* sharps = voice[6]->metaEvents.Find(CMetaEvent::kClef);
    ASSERT_NE(sharps, nullptr);
    EXPECT_EQ(sharps->cy, 0x104);
  }
}

TEST(GuitarProImportTest, TimeSignatureChanges) {
  GpSongFixture song = OneTrackSong(4, {{NoteBeat(0, 1)}, {NoteBeat(0, 2)}, {NoteBeat(0, 3)}});
  song.bars[0].numerator = 3;
  song.bars[1].flags = 0x01;  // 4/4: only the numerator changes
  song.bars[1].numerator = 4;
  song.bars[2].flags = 0x02;
  song.bars[2].denominator = 2;
  const auto section = Import(song);
  std::vector<std::pair<int32_t, int32_t>> signatures;
  for (const auto& e : section->Definition(0)->gathered[0]) {
    if (const CMetaEvent* m = e->metaEvents.Find(CMetaEvent::kTimeSignature)) signatures.emplace_back(m->cx, m->cy);
  }
  EXPECT_EQ(signatures, (std::vector<std::pair<int32_t, int32_t>>{{3, 4}, {4, 4}, {4, 2}}));
  EXPECT_EQ(section->numerator, 3);
}

TEST(GuitarProImportTest, TiesTakeThePreviousNote) {
  GpBeat firstTied = NoteBeat(1, 5);
  firstTied.notes[0].type = 2;
  GpBeat held = NoteBeat(2, 7);
  GpBeat tied = NoteBeat(2, 0);  // a tie's fret does not count
  tied.notes[0].type = 2;
  GpBeat otherString = NoteBeat(3, 0);
  otherString.notes[0].type = 2;
  const auto section = Import(OneTrackSong(4, {{firstTied, held, tied, otherString}}));
  const nChordArray& voice = section->Definition(0)->gathered[0];
  ASSERT_EQ(voice.size(), 6u);
  EXPECT_TRUE(voice[2]->notes.empty());
  ASSERT_EQ(voice[4]->notes.size(), 1u);
  EXPECT_EQ(voice[4]->notes[0]->pitch, voice[3]->notes[0]->pitch);
  EXPECT_EQ(voice[4]->notes[0]->pitch, 62);
  EXPECT_EQ(voice[4]->notes[0]->interval, voice[3]->notes[0]->interval);
  EXPECT_EQ(voice[4]->notes[0]->slur, 0x800u);
  EXPECT_TRUE(voice[5]->notes.empty());
}

TEST(GuitarProImportTest, TiesWithNothingToTieToAndGraceNotesAreCounted) {
  GpBeat tied = NoteBeat(2, 4);
  tied.notes[0].type = 2;
  GpBeat grace = NoteBeat(1, 3);
  grace.notes[0].flags |= 0x08;
  grace.notes[0].effects = {0x10, 0x00, 2, 6, 1, 3};  // a grace note: fret, dynamic, transition, duration
  const ImportReport report("song.gp4");
  const auto section = Import(OneTrackSong(4, {{tied, grace}}));
  EXPECT_EQ(report.Summary(),
            "warning: song.gp4: not imported: 1 tied note without a note before it on its string, 1 grace note");
}

TEST(GuitarProImportTest, RhythmsAndTuplets) {
  GpBeat dotted = NoteBeat(0, 1, -1);
  dotted.flags = 0x01;
  GpBeat triplet = NoteBeat(0, 1, 1);
  triplet.flags = 0x20;
  triplet.tuplet = 6;
  GpBeat five = NoteBeat(0, 1, 2);
  five.flags = 0x20;
  five.tuplet = 5;
  const auto section = Import(OneTrackSong(3, {{dotted, triplet, five, NoteBeat(0, 1, -2)}}));
  const nChordArray& voice = section->Definition(0)->gathered[0];
  ASSERT_EQ(voice.size(), 6u);
  EXPECT_EQ(voice[2]->rhythm, 0x0A);
  EXPECT_EQ(voice[3]->rhythm, 0x14);
  // Five sixteenths in the time of four last what the word's five eighths in the time of two do.
  EXPECT_EQ(voice[4]->rhythm, 0x24);
  EXPECT_EQ(voice[5]->rhythm, 0x01);
}

TEST(GuitarProImportTest, NoteEffects) {
  struct Case {
    const char* what;
    int flags;
    std::vector<uint8_t> effects;  // version 4 note effects
    uint16_t ornament;            // 0: none; 1: some
    uint32_t slur;
  };
  const Case cases[] = {
      {"legato", 0x20 | 0x08, {0x02, 0x00}, 0, 0x1},
      {"let ring", 0x20 | 0x08, {0x08, 0x00}, 0, 0x400},
      {"bend", 0x20 | 0x08, {0x01, 0x00, 1, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0x500},
      {"slide", 0x20 | 0x08, {0x00, 0x08, 1}, 0, 0x2400},
      {"dead and palm mute cancel", 0x20 | 0x08, {0x00, 0x02}, 0, 0},
      {"palm mute", 0x20 | 0x08, {0x00, 0x02}, 1, 0},
      {"staccato", 0x20 | 0x08, {0x00, 0x01}, 1, 0},
      {"harmonic", 0x20 | 0x08, {0x00, 0x10, 1}, 1, 0},
      {"trill", 0x20 | 0x08, {0x00, 0x20, 5, 2}, 1, 0},
      {"ghost", 0x20 | 0x40, {}, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GpBeat beat = NoteBeat(0, 1);
    beat.notes[0].flags = c.flags;
    beat.notes[0].effects = c.effects;
    if (std::string_view(c.what) == "dead and palm mute cancel") beat.notes[0].type = 3;
    const auto section = Import(OneTrackSong(4, {{beat}}));
    const nNotes& note = *section->Definition(0)->gathered[0][2]->notes.at(0);
    EXPECT_EQ(note.ornament != 0, c.ornament != 0);
    EXPECT_EQ(note.slur, c.slur);
  }
}

TEST(GuitarProImportTest, NoteAttributes) {
  GpNote a;
  a.string = 0;
  a.flags = 0x20 | 0x10 | 0x80;
  a.dynamic = 7;
  a.leftFinger = 2;
  a.rightFinger = -1;  // none
  GpNote b;
  b.string = 1;
  b.flags = 0x20 | 0x10 | 0x80;
  b.dynamic = 3;
  b.leftFinger = -1;
  b.rightFinger = 0x13;  // only four bits count
  GpNote c;
  c.string = 2;
  c.flags = 0x20 | 0x01 | 0x02;  // an eighth under a quarter, accented
  c.duration = 1;
  GpBeat beat;
  beat.notes = {a, b, c};
  const auto section = Import(OneTrackSong(4, {{beat}}));
  const nChord& chord = *section->Definition(0)->gathered[0][2];
  ASSERT_EQ(chord.notes.size(), 3u);
  // Ascending pitch: c (string 2), b (string 1), a (string 0).
  EXPECT_EQ(chord.notes[2]->fingering, 0x20);
  EXPECT_EQ(chord.notes[1]->fingering, 0x03);
  EXPECT_EQ(chord.notes[0]->flags, 0x4 | 0x8 | 0x1);
  int dynamics = 0;
  for (const auto& m : chord.metaEvents) {
    if (m->kind != CMetaEvent::kDynamics) continue;
    ++dynamics;
    EXPECT_EQ(m->cy, (6 << 16) | 118);
  }
  EXPECT_EQ(dynamics, 1);

  // Version 5 notes give no length of their own: the accent alone marks them.
  c.flags = 0x20 | 0x02;
  beat.notes = {a, b, c};
  const auto five = Import(OneTrackSong(5, {{beat}}, 10));
  const nChord& fiveChord = *five->Definition(0)->gathered[0][2];
  ASSERT_EQ(fiveChord.notes.size(), 3u);
  EXPECT_EQ(fiveChord.notes[0]->flags, 0x4);
}

// Drum tracks have "tunings" of 0 and give their keys as frets; a bass has four lines.
TEST(GuitarProImportTest, DynamicsWhereTheLevelChanges) {
  // Levels per beat, 0 for a note that gives none (f); a rest between keeps the level.
  const std::vector<int> levels = {8, 8, 8, -1, 8, 0, 0, 3, 3};
  std::vector<GpBeat> beats;
  for (const int level : levels) {
    GpBeat beat = NoteBeat(0, 1);
    if (level < 0) {
      beat.notes.clear();
      beat.flags = 0x40;
      beat.status = 2;
    } else if (level > 0) {
      beat.notes[0].flags |= 0x10;
      beat.notes[0].dynamic = level;
    }
    beats.push_back(beat);
  }
  const auto section = Import(OneTrackSong(4, {beats}));
  std::vector<int> marks;  // the level index of each chord's dynamic, -1 none
  for (const auto& e : section->Definition(0)->gathered[0]) {
    if (e == nullptr || !e->IsChord() || e->notes.empty()) continue;
    const CMetaEvent* dynamic = e->metaEvents.Find(CMetaEvent::kDynamics);
    marks.push_back(dynamic != nullptr ? dynamic->cy >> 16 : -1);
  }
  EXPECT_EQ(marks, (std::vector<int>{7, -1, -1, -1, 5, -1, 2, -1}));

  // A chord plays at the level most of its notes give; an accented note (flag 0x40) louder
  // than the rest is an accent, not a change.
  GpBeat chord = NoteBeat(0, 1);
  chord.notes.push_back(NoteBeat(1, 1).notes[0]);
  chord.notes.push_back(NoteBeat(2, 1).notes[0]);
  chord.notes[2].flags |= 0x10;
  chord.notes[2].dynamic = 8;
  GpBeat accented = NoteBeat(0, 1);
  accented.notes[0].flags |= 0x10 | 0x40;
  accented.notes[0].dynamic = 8;
  const auto plain = Import(OneTrackSong(4, {{chord, accented, NoteBeat(0, 1)}}));
  for (const auto& e : plain->Definition(0)->gathered[0]) EXPECT_EQ(e->metaEvents.Find(CMetaEvent::kDynamics), nullptr);
}

// A drum track, known by its channel 10 or by its drums flag, becomes a percussion line: its
// notes are the drums' keys and it plays them on the percussion channel.
TEST(GuitarProImportTest, PercussionAndBassTracks) {
  GpSongFixture song = OneTrackSong(4, {{NoteBeat(0, 42, -2)}});
  song.tracks[0].channel = 10;
  song.tracks[0].tuning = {0, 0, 0, 0, 0, 0, 0};
  song.tracks.push_back(song.tracks[0]);
  song.tracks[1].channel = 2;
  song.tracks[1].strings = 4;
  song.tracks[1].tuning = {43, 38, 33, 28, 0, 0, 0};
  song.tracks[1].beats[0][0] = {NoteBeat(3, 2, -2)};
  song.tracks.push_back(song.tracks[0]);
  song.tracks[2].channel = 3;
  song.tracks[2].flags = 0x01;  // drums
  song.tracks[2].beats[0][0] = {NoteBeat(1, 38, -2)};
  auto section = Import(song);
  ASSERT_EQ(section->definitions.size(), 3u);
  for (size_t d : {0u, 2u}) {
    SCOPED_TRACE(d);
    EXPECT_EQ(section->Definition(d)->GetFamilyName(), "Percussions");
    const CTabInstrument& drums = section->Definition(d)->tabInstrument;
    EXPECT_EQ(drums.tuning.lines, 3);
    EXPECT_EQ(drums.tabStyle, CTabInstrument::kOwnFlags);
  }
  EXPECT_EQ(section->Definition(0)->gathered[0][2]->notes.at(0)->pitch, 42);
  EXPECT_EQ(section->Definition(2)->gathered[0][2]->notes.at(0)->pitch, 38);
  const CTabInstrument& bass = section->Definition(1)->tabInstrument;
  EXPECT_EQ(section->Definition(1)->GetFamilyName(), "Renaissance lute");
  EXPECT_EQ(bass.tuning.lines, 4);
  EXPECT_EQ(bass.tuning.stringCount, 4);
  EXPECT_EQ(bass.tabStyle, CTabInstrument::kItalian);
  EXPECT_EQ(section->Definition(1)->gathered[0][2]->notes.at(0)->pitch, 30);

  GuitarProDoc::FinishSection(*section);
  std::map<int, std::set<int>> channelsOfKeys;
  for (const strMidiNote& record : BuildPlayRecords(*section, {})) {
    if (record.kind == strMidiNote::kNoteOn) channelsOfKeys[record.key].insert(record.channel);
  }
  EXPECT_EQ(channelsOfKeys, (std::map<int, std::set<int>>{{42, {9}}, {38, {9}}, {30, {0}}}));
}

TEST(GuitarProImportTest, SongTexts) {
  GpSongFixture song = OneTrackSong(4, {{NoteBeat(0, 1)}});
  song.title = "Song";
  song.subtitle = "Live";
  song.composer = "Dowland";
  song.artist = "Me";
  song.album = "Songs";
  song.copyright = "(c)";
  song.transcriber = "You";
  song.instructions = "Slowly";
  song.tempo = 72;
  auto section = Import(song);
  EXPECT_EQ(section->Title().text, "Song\rLive");
  EXPECT_EQ(section->Author().text, "Dowland\rInterpret: Me -- in: Songs\rCopyright: (c)\rTranscribed by: You");
  EXPECT_EQ(section->Comments().text, "Slowly");
  EXPECT_EQ(section->tempo & 0xFFF, 72);

  song.subtitle.clear();
  song.composer.clear();
  song.artist.clear();
  song.album.clear();
  song.copyright.clear();
  song.tempo = 1200;
  section = Import(song);
  EXPECT_EQ(section->Title().text, "Song");
  // Alone, the transcriber's line does not start with an empty one.
  EXPECT_EQ(section->Author().text, "Transcribed by: You");
  EXPECT_EQ(section->tempo & 0xFFF, CSystemArray().tempo & 0xFFF);
}

TEST(GuitarProImportTest, ChordNameAndLyricOnOneBeat) {
  GpBeat beat = NoteBeat(0, 1);
  beat.flags = 0x02;
  beat.chordName = "Am";
  GpSongFixture song = OneTrackSong(4, {{beat}});
  song.lyricsTrack = 1;
  song.lyrics = "la";
  const auto section = Import(song);
  const nChord& chord = *section->Definition(0)->gathered[0][2];
  const CMetaEvent* name = chord.metaEvents.Find(CMetaEvent::kChordName);
  const CMetaEvent* lyric = chord.metaEvents.Find(CMetaEvent::kLyrics);
  ASSERT_NE(name, nullptr);
  ASSERT_NE(lyric, nullptr);
  EXPECT_EQ(name->text, "Am");
  EXPECT_EQ(lyric->text, "la");
}

// The second voice of a version 5 track joins the first, and the bars' events reach the first
// voice as well.
TEST(GuitarProImportTest, TwoVoicesMerge) {
  GpSongFixture song = OneTrackSong(5, {{NoteBeat(0, 1, -1), NoteBeat(0, 3, -1)}, {NoteBeat(0, 5, -2)}}, 10);
  song.tracks[0].beats[0][1] = {NoteBeat(5, 0, -2)};
  song.bars[1].flags = 0x20;
  song.bars[1].marker = "B";
  const auto section = Import(song);
  const CInstrumentDlg& d = *section->Definition(0);
  EXPECT_TRUE(d.gathered[1].empty());
  const nChordArray& voice = d.gathered[0];
  std::vector<size_t> notes;
  bool marker = false;
  for (const auto& e : voice) {
    if (e->IsChord()) notes.push_back(e->notes.size());
    if (e->metaEvents.Find(CMetaEvent::kCaption) != nullptr) marker = true;
  }
  // The second voice's whole note is held on under the first voice's second half.
  EXPECT_EQ(notes, (std::vector<size_t>{2, 2, 1}));
  EXPECT_TRUE(marker);
  const nChord* first = nullptr;
  for (const auto& e : voice) {
    if (e->IsChord()) {
      first = e.get();
      break;
    }
  }
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->notes[0]->pitch, 40);
  EXPECT_NE(first->notes[0]->flags & nNotes::kLowerVoiceFlag, 0);
}

// The whole import into a document, from the prompt on.
TEST(GuitarProImportTest, IntoTheDocument) {
  testing::TempDir dir;
  GpSongFixture song = OneTrackSong(5, {{NoteBeat(0, 1)}, {NoteBeat(1, 2)}}, 10);
  song.title = "Song";
  const std::vector<uint8_t> bytes = song.Write();
  const std::string path = dir.File("song.bin");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  testing::WriteText(dir.File("bad.gp4"), "FICHIER GUITAR PRO v4.06");

  testing::ScriptedPrompts prompts;
  CBriotabDoc document;
  document.AppendNewSection();
  {
    GuitarProDoc doc;
    doc.target = &document;
    prompts.QueueFile(std::nullopt);
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_EQ(document.sections.size(), 1u);
    prompts.QueueFile(dir.File("bad.gp4"));
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_EQ(document.sections.size(), 1u);
    EXPECT_EQ(prompts.messages,
              (std::vector<std::string>{std::string(GuitarProDoc::kCannotImport) +
                                        "\n\nbad.gp4: readSignature at offset 1: readPascalString: length 70 above "
                                        "the field width 30"}));
  }
  EXPECT_EQ(prompts.filePrompts, (std::vector<std::string>(2, "Open a GuitarPro file...|*.gp4;*.gp3;*.gp5||")));

  // A file without the extension is known by its signature.
  const Importer* importer = FindImporter(path);
  ASSERT_NE(importer, nullptr);
  EXPECT_EQ(importer->Name(), "Guitar Pro");
  EXPECT_EQ(FindImporter(dir.File("bad.gp4")), importer);
  EXPECT_EQ(FindImporter(dir.File("SONG.GP3")), importer);
  EXPECT_EQ(importer->Import(path, document), 1u);
  ASSERT_EQ(document.sections.size(), 2u);
  EXPECT_EQ(document.sections.activeSection, 1);
  const CSystemArray& section = *document.sections.at(1);
  EXPECT_EQ(section.Title().text, "Song");
  ASSERT_EQ(section.definitions.size(), 1u);
  ASSERT_FALSE(section.systems.empty());
  EXPECT_EQ(section.System(0)->lines.size(), 1u);
  size_t notes = 0;
  for (const auto& system : section.systems) {
    for (const auto& e : system->Line(0)->Voice(0)) notes += e != nullptr && e->IsChord() ? e->notes.size() : 0;
    EXPECT_TRUE(system->Line(0)->Voice(1).empty());
  }
  EXPECT_EQ(notes, 2u);

  // A song of rests gives a section whose line holds them.
  GuitarProDoc empty;
  empty.target = &document;
  const std::vector<uint8_t> silent = OneTrackSong(4, {{EmptyBeat()}}).Write();
  f = std::fopen(path.c_str(), "wb");
  std::fwrite(silent.data(), 1, silent.size(), f);
  std::fclose(f);
  EXPECT_TRUE(empty.ImportInto(path));
  ASSERT_EQ(document.sections.size(), 3u);
  EXPECT_EQ(document.sections.at(2)->definitions.size(), 1u);
}

}  // namespace
}  // namespace vornel
