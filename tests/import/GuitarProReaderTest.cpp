// Reading Guitar Pro files: signatures, the song header, tracks, bars, beats and notes of
// versions 1 to 5, and the ways a hostile file can be wrong.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "GpFixture.h"
#include "import/ImportWarnings.h"
#include "import/guitarpro/gp_import.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::GpBar;
using testing::GpBeat;
using testing::GpNote;
using testing::GpSongFixture;
using testing::GpTrack;
using testing::NoteBeat;
using testing::OneTrackSong;

std::unique_ptr<gp_import> Read(const std::vector<uint8_t>& bytes, bool expectOk = true) {
  auto reader = std::make_unique<gp_import>();
  const bool ok = reader->readBytes(bytes);
  EXPECT_EQ(ok, expectOk) << reader->failure() << " at " << reader->failureOffset();
  return reader;
}

std::unique_ptr<gp_import> Read(const GpSongFixture& song, bool expectOk = true) { return Read(song.Write(), expectOk); }

// The failure text of a song the reader refuses.
std::string FailureOf(const GpSongFixture& song) { return Read(song, false)->failure(); }

GpSongFixture PlainSong(int major, int minor = 0) {
  return OneTrackSong(major, {{NoteBeat(0, 1), NoteBeat(1, 2), NoteBeat(5, 3), NoteBeat(2, 0)}}, minor);
}

TEST(GuitarProReaderTest, Signatures) {
  struct Case {
    std::string signature;
    int fixtureMajor;
    std::string failure;  // empty: read
    int major;
    int minor;
  };
  const Case cases[] = {
      {"FICHIER GUITAR PRO v3.00x", 3, "Invalid file format: \"FICHIER GUITAR PRO v3.00x\"", 0, 0},
      {"FICHIER GUITAR PRO v3.0", 3, "Invalid file format: \"FICHIER GUITAR PRO v3.0\"", 0, 0},
      {"FICHIER GUITAR PRO L4.06", 4, "", 4, 6},
      {"FICHIER GUITAR PRO v4.00", 4, "", 4, 0},
      {"FICHIER GUITARE PRO v1", 1, "", 1, 0},
      {"FICHIER GUITARE PRO v1.04", 1, "", 1, 4},
      {"FICHIER GUITAR PRO v2.20", 2, "", 2, 20},
      {"FICHIER GUITAR PRO v5.00", 5, "", 5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.signature);
    GpSongFixture song = PlainSong(c.fixtureMajor);
    song.signature = c.signature;
    const auto reader = Read(song, c.failure.empty());
    EXPECT_EQ(reader->failure(), c.failure);
    if (!c.failure.empty()) continue;
    EXPECT_EQ(reader->versionMajor, c.major);
    EXPECT_EQ(reader->versionMinor, c.minor);
    ASSERT_EQ(reader->song.tracks.size(), 1u);
    const auto& columns = reader->song.tracks[0]->columns;
    ASSERT_EQ(columns.size(), c.major == 5 ? 5u : 4u);  // with the empty beat of the second voice
    EXPECT_EQ(columns[2].notes.at(0).fret, 3);
  }
  EXPECT_TRUE(gp_import::HasSignature(PlainSong(5, 10).Write()));
  EXPECT_FALSE(gp_import::HasSignature(testing::HexBytes("18 46 49 43")));
}

TEST(GuitarProReaderTest, SongHeaderAndTrack) {
  GpSongFixture song = PlainSong(4);
  song.title = "Song";
  song.subtitle = "Live";
  song.artist = "Caf\xE9";  // Windows-1252
  song.notices = {"one", "two"};
  song.tempo = 96;
  song.programs[0] = 24;
  song.tracks[0].name = "Lute";
  song.tracks[0].capo = 3;
  const auto reader = Read(song);
  const TabSong& s = reader->song;
  EXPECT_EQ(s.Info("TITLE"), "Song");
  EXPECT_EQ(s.Info("SUBTITLE"), "Live");
  EXPECT_EQ(s.Info("ARTIST"), "Caf\xC3\xA9");
  EXPECT_EQ(s.Info("COMMENTS"), "one\ntwo\n");
  EXPECT_EQ(s.tempo, 96);
  EXPECT_EQ(reader->numBars, 1);
  EXPECT_EQ(reader->numTracks, 1);
  const TabTrack& track = *s.tracks.at(0);
  EXPECT_EQ(track.name, "Lute");
  EXPECT_EQ(track.stringCount, 6);
  // Stored lowest string first; the seventh integer (-1 here) is dropped.
  EXPECT_EQ(track.tuning, (std::array<int32_t, 7>{40, 45, 50, 55, 59, 64, 0}));
  EXPECT_EQ(track.frets, 24);
  EXPECT_EQ(track.capo, 3);
  EXPECT_EQ(track.channel, 1);
  EXPECT_EQ(track.program, 24);
  EXPECT_EQ(track.voices, 1);
}

TEST(GuitarProReaderTest, NoTracks) {
  GpSongFixture song = PlainSong(3);
  song.trackCount = 0;
  EXPECT_EQ(FailureOf(song), "No tracks found!\n");
}

TEST(GuitarProReaderTest, BarAndTrackCountsAreBoundedByTheFile) {
  struct Case {
    int bars;
    int tracks;
    std::string failure;
  };
  const Case cases[] = {
      {1, 129, "Insane number of tracks: 129"},
      {1, -1, "Insane number of tracks: -1"},
      {-1, 1, "Insane number of bars: -1"},
      {1000000, 1, "Insane number of bars: 1000000 bars of 1 tracks need more data than the file holds"},
      {200, 100, "Insane number of bars: 200 bars of 100 tracks need more data than the file holds"},
  };
  for (const Case& c : cases) {
    GpSongFixture song = PlainSong(4);
    song.barCount = c.bars;
    song.trackCount = c.tracks;
    EXPECT_EQ(FailureOf(song), c.failure);
  }
}

TEST(GuitarProReaderTest, TrackChecks) {
  struct Case {
    const char* what;
    void (*change)(GpTrack&);
    std::string failure;  // empty: read
  };
  const Case cases[] = {
      {"frets 101", [](GpTrack& t) { t.frets = 101; }, "Track 0: insane number of frets (101)\n"},
      {"frets 0", [](GpTrack& t) { t.frets = 0; }, "Track 0: insane number of frets (0)\n"},
      {"channel 17", [](GpTrack& t) { t.channel = 17; }, "Track 0: insane MIDI channel 1 (17)\n"},
      {"second channel 17", [](GpTrack& t) { t.secondChannel = 17; }, "Track 0: insane MIDI channel 2 (17)\n"},
      {"tuning 128", [](GpTrack& t) { t.tuning[0] = 128; }, "Track 0: insane tuning on string 5 = 128\n"},
      {"negative tuning", [](GpTrack& t) { t.tuning[2] = -5; }, "Track 0: insane tuning on string 3 = -5\n"},
      {"8 strings", [](GpTrack& t) { t.strings = 8; }, "Track 0: insane # of strings (8)\n"},
      {"channel 0", [](GpTrack& t) { t.channel = 0; }, ""},
      {"capo 200", [](GpTrack& t) { t.capo = 200; }, ""},
      {"unused tuning 300", [](GpTrack& t) { t.tuning[6] = 300; }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GpSongFixture song = PlainSong(3);
    c.change(song.tracks[0]);
    const auto reader = Read(song, c.failure.empty());
    EXPECT_EQ(reader->failure(), c.failure);
  }
}

TEST(GuitarProReaderTest, ProgramOfTheTracksPortAndChannel) {
  GpSongFixture song = PlainSong(4);
  GpTrack second = song.tracks[0];
  second.port = 2;
  second.channel = 3;
  GpTrack silent = song.tracks[0];
  silent.channel = 0;
  GpTrack beyond = song.tracks[0];
  beyond.port = 5;
  song.tracks = {song.tracks[0], second, silent, beyond};
  song.programs[0] = 24;
  song.programs[1] = 99;  // the slot of the second track by its position
  song.programs[18] = 40;
  const auto reader = Read(song);
  const auto& tracks = reader->song.tracks;
  ASSERT_EQ(tracks.size(), 4u);
  EXPECT_EQ(tracks[0]->program, 24);
  EXPECT_EQ(tracks[1]->program, 40);
  EXPECT_EQ(tracks[2]->program, 0);
  EXPECT_EQ(tracks[3]->program, 0);
}

// The file's tuplets fill the time of the next lower power of two; the rhythm word's five,
// nine, eleven and thirteen fill half that time, and take the next longer value.
TEST(GuitarProReaderTest, Tuplets) {
  struct Case {
    int tuplet;
    int code;  // -1: refused
    bool longerValue;
  };
  const Case cases[] = {{3, 1, false}, {6, 1, false}, {12, 1, false}, {5, 2, true},  {10, 2, true}, {7, 3, false},
                        {9, 5, true},  {11, 6, true}, {13, 7, true},  {4, -1, false}, {2, -1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tuplet);
    GpBeat beat = NoteBeat(0, 1, 1);
    beat.flags = 0x20;
    beat.tuplet = c.tuplet;
    const GpSongFixture song = OneTrackSong(4, {{beat}});
    const auto reader = Read(song, c.code >= 0);
    if (c.code < 0) {
      EXPECT_EQ(reader->failure(), "Insane tuple t: " + std::to_string(c.tuplet));
    } else {
      const TabColumn& column = reader->song.tracks[0]->columns.at(0);
      EXPECT_EQ(column.tuplet, c.code);
      EXPECT_EQ(column.tupletOfLongerValue, c.longerValue);
      EXPECT_EQ(column.duration, 4);
    }
  }
}

TEST(GuitarProReaderTest, DurationsOutsideTheTableAreRefused) {
  for (int duration : {-2, 4, -3, 5}) {
    SCOPED_TRACE(duration);
    GpBeat beat = NoteBeat(0, 1, duration);
    beat.flags = 0x01;  // dotted
    const auto reader = Read(OneTrackSong(3, {{beat}}), duration >= -2 && duration <= 4);
    if (duration < -2 || duration > 4) {
      EXPECT_EQ(reader->failure(), "Insane duration: " + std::to_string(duration));
    } else {
      const TabColumn& column = reader->song.tracks[0]->columns.at(0);
      EXPECT_EQ(column.duration, duration + 3);
      EXPECT_EQ(column.flags, TabColumn::kDotted);
    }
  }
}

TEST(GuitarProReaderTest, CountedStringMismatch) {
  std::vector<uint8_t> bytes = PlainSong(3).Write();
  bytes[31] += 1;  // the title's 32-bit length, right after the 31 bytes of the signature
  const auto reader = Read(bytes, false);
  EXPECT_EQ(reader->failure(), "readDelphiString: first word doesn't match second byte");
  EXPECT_EQ(reader->failureOffset(), 36u);
}

TEST(GuitarProReaderTest, LengthsAndCountsBeyondTheFileFail) {
  {
    GpSongFixture song = PlainSong(4);
    song.title.clear();
    song.lyricsTrack = 1;
    std::vector<uint8_t> bytes = song.Write();
    // The first lyric line's length: after the eight empty header texts, the notices, the
    // shuffle byte, the lyrics track and the start bar.
    const size_t at = 31 + 8 * 5 + 4 + 1 + 4 + 4;
    ASSERT_EQ(bytes[at], 0);
    bytes[at + 3] = 0x7F;
    EXPECT_EQ(Read(bytes, false)->failure(), "readIntString: insane length 2130706432");
    bytes[at + 3] = 0xFF;
    EXPECT_EQ(Read(bytes, false)->failure(), "readIntString: insane length -16777216");
  }
  for (int major : {3, 4}) {
    GpBeat beat = NoteBeat(0, 1);
    beat.notes[0].flags |= 0x08;
    testing::GpBytes effects;
    effects.Byte(0x01);  // bend
    if (major == 3) {
      effects.Zeros(5);
    } else {
      effects.Byte(0);
      effects.Byte(1);
      effects.Int(100);
    }
    effects.Int(0x10000000);  // points of 9 bytes each
    beat.notes[0].effects = effects.bytes;
    EXPECT_EQ(FailureOf(OneTrackSong(major, {{beat}})), "Insane number of bend points: 268435456");
  }
}

TEST(GuitarProReaderTest, NotesWithoutAStringOrAboveTheRangeAreDropped) {
  GpBeat beat = NoteBeat(0, 5);
  GpNote unstrung;
  unstrung.fret = 7;
  unstrung.flags = 0x20 | 0x08;
  unstrung.effects = {0x00, 0x01};  // staccato, read to stay in step
  beat.unstrung.push_back(unstrung);
  GpSongFixture song = OneTrackSong(4, {{beat, NoteBeat(0, 70), NoteBeat(1, 3)}});
  song.tracks[0].tuning[0] = 60;  // 60 + 70 lies above the MIDI range
  const ImportReport report("song.gp4");
  const auto reader = Read(song);
  EXPECT_EQ(report.Summary(), "warning: song.gp4: not imported: 1 note on no string of its track, 1 note above the MIDI range");
  const auto& columns = reader->song.tracks[0]->columns;
  ASSERT_EQ(columns.size(), 3u);
  ASSERT_EQ(columns[0].notes.size(), 1u);
  EXPECT_EQ(columns[0].notes[0].string, 0);
  EXPECT_EQ(columns[0].notes[0].fret, 5);
  EXPECT_TRUE(columns[1].notes.empty());
  ASSERT_EQ(columns[2].notes.size(), 1u);
  EXPECT_EQ(columns[2].notes[0].string, 1);
  EXPECT_EQ(columns[2].notes[0].fret, 3);
}

TEST(GuitarProReaderTest, SevenStringTrackUsesBitZero) {
  GpSongFixture song = OneTrackSong(3, {{NoteBeat(6, 2), NoteBeat(0, 1)}});
  song.tracks[0].strings = 7;
  song.tracks[0].tuning = {64, 59, 55, 50, 45, 40, 35};
  const auto reader = Read(song);
  const TabTrack& track = *reader->song.tracks[0];
  EXPECT_EQ(track.tuning, (std::array<int32_t, 7>{35, 40, 45, 50, 55, 59, 64}));
  EXPECT_EQ(track.columns.at(0).notes.at(0).string, 6);
  EXPECT_EQ(track.columns.at(1).notes.at(0).string, 0);
}

TEST(GuitarProReaderTest, NoteFlagsAndAttributes) {
  GpNote tied;
  tied.string = 0;
  tied.type = 2;
  GpNote full;
  full.string = 1;
  full.fret = 3;
  full.flags = 0x20 | 0x01 | 0x02 | 0x10 | 0x40 | 0x80 | 0x08;
  full.type = 3;
  full.duration = 1;
  full.tuplet = 3;
  full.dynamic = 7;
  full.leftFinger = 2;
  full.rightFinger = -1;  // none
  testing::GpBytes effects;
  effects.Byte(0x01 | 0x02 | 0x08 | 0x10);  // bend, legato, let ring, grace note
  effects.Byte(0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x20);
  effects.Byte(1);
  effects.Int(50);
  effects.Int(1);
  effects.Zeros(9);                      // one bend point
  effects.Raw({5, 6, 1, 2});             // grace: fret, dynamic, transition, duration
  effects.Raw({1, 2, 1, 15, 2});         // tremolo, slide, harmonic bytes, trill fret
  full.effects = effects.bytes;
  GpBeat beat;
  beat.notes = {tied, full};
  const auto reader = Read(OneTrackSong(4, {{beat}}));
  const TabColumn& column = reader->song.tracks[0]->columns.at(0);
  EXPECT_EQ(column.flags, TabColumn::kTied);
  ASSERT_EQ(column.notes.size(), 2u);
  EXPECT_EQ(column.notes[0].flags, TabNote::kTie);
  const TabNote& note = column.notes[1];
  EXPECT_EQ(note.flags, TabNote::kDeadNote | TabNote::kGhost | TabNote::kLegato | TabNote::kLetRing |
                            TabNote::kStaccato | TabNote::kPalmMute | TabNote::kTremoloPicking | TabNote::kSlide |
                            TabNote::kHarmonic);
  // The trill byte after the harmonic's is the period; the fret before it.
  const std::map<int, int> attributes = {{TabNote::kDuration, 0x143}, {TabNote::kDynamic, 7},
                                         {TabNote::kLeftFingering, 2}, {TabNote::kGraceNote, 0x5612},
                                         {TabNote::kTrill, 0xF2},      {TabNote::kBend, 1}};
  EXPECT_EQ(note.attributes, attributes);
}

TEST(GuitarProReaderTest, LyricsGoToTheSoundingBeatsOfTheFirstVoice) {
  GpBeat rest;
  rest.flags = 0x40;
  rest.status = 2;
  GpBeat tied = NoteBeat(0, 1);
  tied.notes[0].type = 2;
  GpBeat empty;
  empty.flags = 0x40;  // an empty beat: status 0, no notes
  GpSongFixture song =
      OneTrackSong(4, {{NoteBeat(0, 1), rest, tied, empty, NoteBeat(0, 2)}, {NoteBeat(0, 3), NoteBeat(0, 4)}});
  song.lyricsTrack = 1;
  song.lyrics = "a-b c\nd";
  auto reader = Read(song);
  std::vector<std::string> lyrics;
  for (const TabColumn& c : reader->song.tracks[0]->columns) lyrics.push_back(c.lyric);
  EXPECT_EQ(lyrics, (std::vector<std::string>{"a", "", "", "", "b", "c", "d"}));

  // From a later bar, and with empty syllables between delimiters.
  song.lyricsBar = 2;
  song.lyrics = "x--";
  reader = Read(song);
  EXPECT_EQ(reader->song.tracks[0]->columns[5].lyric, "x");
  EXPECT_EQ(reader->song.tracks[0]->columns[6].lyric, "");

  // A lyrics track or bar beyond the file gives no lyrics.
  for (int track : {2, -1}) {
    song.lyricsTrack = track;
    reader = Read(song);
    for (const TabColumn& c : reader->song.tracks[0]->columns) EXPECT_EQ(c.lyric, "");
  }
  song.lyricsTrack = 1;
  song.lyricsBar = 3;
  reader = Read(song);
  for (const TabColumn& c : reader->song.tracks[0]->columns) EXPECT_EQ(c.lyric, "");
}

TEST(GuitarProReaderTest, VersionFiveReadsTwoVoices) {
  for (int minor : {0, 10}) {
    SCOPED_TRACE(minor);
    GpSongFixture song = OneTrackSong(5, {{NoteBeat(0, 1), NoteBeat(1, 2)}, {NoteBeat(2, 3)}}, minor);
    song.tracks[0].beats[1][1] = {NoteBeat(4, 5, 1), NoteBeat(5, 6, 1)};
    song.lyricsTrack = 1;
    song.lyrics = "la li lo";
    const auto reader = Read(song);
    const TabTrack& track = *reader->song.tracks[0];
    EXPECT_EQ(track.voices, 2);
    ASSERT_EQ(track.columns.size(), 6u);
    const std::vector<int> voices = {0, 0, 1, 0, 1, 1};
    for (size_t i = 0; i < voices.size(); ++i) EXPECT_EQ(track.columns[i].voice, voices[i]) << i;
    // The bar record points at the second voice's beats.
    ASSERT_EQ(track.bars.size(), 2u);
    EXPECT_EQ(track.bars[1].firstColumn, 4);
    EXPECT_EQ(track.bars[1].beatCount, 2);
    EXPECT_EQ(track.bars[1].voiceFirstColumn[0], 3);
    EXPECT_EQ(track.bars[1].voiceBeatCount[0], 1);
    EXPECT_EQ(track.columns[4].notes.at(0).string, 4);
    EXPECT_EQ(track.columns[3].lyric, "lo");
  }
}

// Version 5 bars keep the alternative ending after the key; mix tables carry a tempo name and
// (5.10) two more texts; harmonics and the note's own length take more bytes.
TEST(GuitarProReaderTest, VersionFiveLayout) {
  for (int minor : {0, 10}) {
    SCOPED_TRACE(minor);
    GpSongFixture song = OneTrackSong(5, {{NoteBeat(0, 1)}, {NoteBeat(0, 2)}}, minor);
    song.bars[1].flags = 0x10 | 0x20 | 0x40 | 0x08;
    song.bars[1].ending = 2;
    song.bars[1].marker = "Verse";
    song.bars[1].key = -3;
    song.bars[1].repeats = 3;

    GpBeat mix = NoteBeat(1, 2);
    mix.flags = 0x10;
    testing::GpBytes table;
    table.Byte(24);
    table.Zeros(16);
    table.Raw({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 10});  // a tremolo change only
    table.DelphiString("Fast");
    table.Int(140);
    table.Byte(1);  // the tremolo's transition
    table.Byte(0);  // the tempo's
    if (minor > 0) table.Byte(0);
    table.Byte(0);
    table.Byte(0xFF);
    if (minor > 0) {
      table.DelphiString("");
      table.DelphiString("");
    }
    mix.mixTable = table.bytes;

    GpBeat harmonics;
    GpNote artificial;
    artificial.string = 0;
    artificial.flags = 0x20 | 0x08 | 0x01;
    artificial.effects = {0x00, 0x10, 2, 7, 0, 1};
    GpNote tapped;
    tapped.string = 1;
    tapped.flags = 0x20 | 0x08;
    tapped.effects = {0x00, 0x10, 3, 15};
    harmonics.notes = {artificial, tapped};

    song.tracks[0].beats[0][0] = {mix, harmonics, NoteBeat(3, 9)};
    const auto reader = Read(song);
    const TabBar& bar = reader->songBars.at(1);
    EXPECT_EQ(bar.markerName, "Verse");
    EXPECT_EQ(bar.key, -3);
    EXPECT_EQ(bar.repeatCount, 3);
    const auto& columns = reader->song.tracks[0]->columns;
    ASSERT_EQ(columns.size(), 6u);
    EXPECT_EQ(columns[1].notes.size(), 2u);
    EXPECT_EQ(columns[1].notes[0].flags, TabNote::kHarmonic);
    EXPECT_EQ(columns[2].notes.at(0).string, 3);
    EXPECT_EQ(columns[2].notes.at(0).fret, 9);
  }
}

TEST(GuitarProReaderTest, SignaturesInForceAndOutOfRange) {
  GpSongFixture song = OneTrackSong(4, {{}, {}, {}, {}, {}});
  const auto signature = [](int flags, int numerator, int denominator) {
    GpBar bar;
    bar.flags = flags;
    bar.numerator = numerator;
    bar.denominator = denominator;
    return bar;
  };
  song.bars[0] = signature(0x03, 3, 4);
  song.bars[1] = signature(0x01, 3, 0);   // the same again: not stored
  song.bars[2] = signature(0x01, 4, 0);   // 4/4: only the numerator changes
  song.bars[3] = signature(0x03, 65, 3);  // both ignored
  song.bars[4] = signature(0x02, 0, 8);
  std::string log;
  auto reader = std::make_unique<gp_import>();
  reader->setLog(&log);
  ASSERT_TRUE(reader->readBytes(song.Write())) << reader->failure();
  struct Expected {
    int numerator, denominator, givenNumerator, givenDenominator;
  };
  const Expected expected[] = {{3, 4, 3, 4}, {3, 4, 0, 0}, {4, 4, 4, 0}, {4, 4, 0, 0}, {4, 8, 0, 8}};
  for (size_t b = 0; b < 5; ++b) {
    SCOPED_TRACE(b);
    const TabBar& bar = reader->songBars[b];
    EXPECT_EQ(bar.numerator, expected[b].numerator);
    EXPECT_EQ(bar.denominator, expected[b].denominator);
    EXPECT_EQ(bar.timeNumerator, expected[b].givenNumerator);
    EXPECT_EQ(bar.timeDenominator, expected[b].givenDenominator);
    EXPECT_EQ(reader->song.tracks[0]->bars[b].denominator, expected[b].denominator);
  }
  EXPECT_NE(log.find("ignored time signature numerator 65\n"), std::string::npos);
  EXPECT_NE(log.find("ignored time signature denominator 3\n"), std::string::npos);
}

TEST(GuitarProReaderTest, DataAfterTheLastBeatIsOnlyLogged) {
  struct Case {
    std::vector<uint8_t> trailer;
    bool notZero;
    bool more;
  };
  const Case cases[] = {{{0, 0, 0, 0}, false, false},
                        {{1, 0, 0, 0, 9}, true, true},
                        {{0, 0, 0, 0, 9, 9}, false, true},
                        {{7, 7}, false, true}};
  for (const Case& c : cases) {
    GpSongFixture song = PlainSong(3);
    song.trailer = c.trailer;
    std::string log;
    gp_import reader;
    reader.setLog(&log);
    EXPECT_TRUE(reader.readBytes(song.Write()));
    EXPECT_EQ(log.find("File not ended with 00 00 00 00\n") != std::string::npos, c.notZero);
    EXPECT_EQ(log.find("File not ended - there's more data!\n") != std::string::npos, c.more);
  }
}

// The log is written only where it is asked for; nothing appears in the current folder.
TEST(GuitarProReaderTest, LogOnlyOnRequest) {
  testing::TempDir dir;
  const std::string path = dir.File("song.gp4");
  const std::vector<uint8_t> bytes = PlainSong(4).Write();
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  gp_import quiet;
  EXPECT_TRUE(quiet.read(path.c_str()));
  gp_import logged;
  std::string log;
  logged.setLog(&log);
  EXPECT_TRUE(logged.read(path.c_str()));
  std::filesystem::current_path(previous);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_EQ(log.rfind("GTP format: \"FICHIER GUITAR PRO v4.06\"\nTempo: 120\nBars: 1\nTracks: 1\n", 0), 0u);

  gp_import missing;
  EXPECT_FALSE(missing.read(dir.File("none.gp4").c_str()));
  EXPECT_EQ(missing.failure(), "Cannot open file");
}

// Two tracks with beat and note effects, mix tables, ties, keys and (version 5) a second voice.
GpSongFixture RichSong(int major, int minor) {
  GpSongFixture song = OneTrackSong(major, {{NoteBeat(0, 1), NoteBeat(1, 2)}, {NoteBeat(2, 3)}, {NoteBeat(3, 4)}}, minor);
  song.bars[1].flags = 0x04 | 0x40 | 0x10;
  song.bars[1].key = 2;
  song.bars[2].flags = 0x08 | 0x40 | 0x80;
  song.bars[2].key = -4;
  testing::GpBytes effects;  // beat effects
  testing::GpBytes mix;
  testing::GpBytes noteEffects;
  if (major == 3) {
    effects.Raw({0x60, 0, 0, 0, 0, 0, 1, 2});
    noteEffects.Byte(0x1F);
    noteEffects.Zeros(5);
    noteEffects.Int(1);
    noteEffects.Zeros(9);
    noteEffects.Zeros(4);
  } else {
    effects.Raw({0x60, 0x06, 1});
    effects.Byte(1);
    effects.Int(50);
    effects.Int(1);
    effects.Zeros(9);
    effects.Raw({1, 2, 3});
    noteEffects.Raw({0x1B, 0x3F, 1});
    noteEffects.Int(50);
    noteEffects.Int(1);
    noteEffects.Zeros(9);
    noteEffects.Raw({5, 6, 1, 2});
    if (major == 5) noteEffects.Byte(0);
    noteEffects.Raw({1, 2});  // tremolo picking, slide
    if (major == 5) {
      noteEffects.Raw({2, 1, 1, 1});  // an artificial harmonic with its note
    } else {
      noteEffects.Byte(1);
    }
    noteEffects.Raw({15, 2});
  }
  mix.Byte(24);
  if (major == 5) mix.Zeros(16);
  mix.Raw({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 10});
  if (major == 5) mix.DelphiString("Fast");
  mix.Int(140);
  mix.Byte(1);
  mix.Byte(0);
  if (major == 5 && minor > 0) mix.Byte(0);
  if (major >= 4) mix.Byte(0);
  if (major == 5) {
    mix.Byte(0xFF);
    if (minor > 0) {
      mix.DelphiString("");
      mix.DelphiString("");
    }
  }
  GpBeat rich = NoteBeat(0, 5);
  rich.flags = 0x08 | 0x10;
  rich.effects = effects.bytes;
  rich.mixTable = mix.bytes;
  rich.notes[0].flags = 0x20 | 0x08 | 0x10 | 0x80 | (major == 5 ? 0x01 : 0);
  rich.notes[0].effects = noteEffects.bytes;
  GpBeat tied = NoteBeat(0, 5);
  tied.notes[0].type = 2;
  song.tracks[0].beats[0][0].push_back(rich);
  song.tracks[0].beats[0][0].push_back(tied);
  if (major == 5) song.tracks[0].beats[1][1] = {NoteBeat(5, 0, -1), NoteBeat(4, 2, -1)};
  GpTrack second = song.tracks[0];
  second.name = "Bass";
  second.strings = 4;
  second.tuning = {43, 38, 33, 28, 0, 0, 0};
  second.channel = 10;
  song.tracks.push_back(second);
  song.lyricsTrack = 2;
  song.lyrics = "one two-three";
  return song;
}

// Plain songs of every version and songs with most of what a bar, a beat and a note can hold.
std::vector<GpSongFixture> SampleSongs() {
  std::vector<GpSongFixture> songs = {PlainSong(1), PlainSong(3), PlainSong(4), PlainSong(5, 0), PlainSong(5, 10)};
  GpBeat chord = NoteBeat(0, 3);
  chord.flags = 0x02 | 0x04 | 0x20 | 0x40;
  chord.chordName = "C";
  chord.text = "text";
  chord.status = 0;
  chord.tuplet = 3;
  for (int major : {3, 4, 5}) {
    GpSongFixture song = OneTrackSong(major, {{chord, NoteBeat(2, 1)}}, major == 5 ? 10 : 0);
    song.bars[0].flags = 0x7F;
    song.bars[0].marker = "A";
    song.lyricsTrack = 1;
    song.lyrics = "la";
    songs.push_back(song);
  }
  for (const auto& [major, minor] : {std::pair{3, 0}, std::pair{4, 6}, std::pair{5, 0}, std::pair{5, 10}}) {
    songs.push_back(RichSong(major, minor));
  }
  return songs;
}

// Every file cut short fails where it ends, never past it.
TEST(GuitarProReaderTest, EveryCutFails) {
  for (const GpSongFixture& song : SampleSongs()) {
    const std::vector<uint8_t> bytes = song.Write();
    SCOPED_TRACE(song.signature);
    ASSERT_TRUE(Read(bytes)->failure().empty());
    for (size_t n = 0; n < bytes.size(); ++n) {
      gp_import reader;
      const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
      ASSERT_FALSE(reader.readBytes(cut)) << n;
      EXPECT_LE(reader.failureOffset(), n);
      EXPECT_FALSE(reader.failure().empty());
    }
  }
}

// Writes the sample songs as seeds of the fuzz targets into the folder named by GP_SEED_DIR
// (run with --gtest_also_run_disabled_tests).
TEST(GuitarProReaderTest, DISABLED_WriteFuzzSeeds) {
  const char* dir = std::getenv("GP_SEED_DIR");
  ASSERT_NE(dir, nullptr);
  int index = 0;
  for (const GpSongFixture& song : SampleSongs()) {
    const std::vector<uint8_t> bytes = song.Write();
    const std::string path = std::string(dir) + "/song" + std::to_string(++index) + ".gp" + std::to_string(song.major);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

}  // namespace
}  // namespace vornel
