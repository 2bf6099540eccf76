// Reading Standard MIDI Files for import: the header, the tracks and their events, and every
// way a hostile file can be wrong.

#include <gtest/gtest.h>

#include <filesystem>

#include "MidiTestSupport.h"
#include "midi/CIMidiDoc.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::Smf;

struct NoteView {
  uint8_t kind;
  uint32_t time;
  uint8_t channel;
  uint8_t key;
  uint8_t velocity;
  bool operator==(const NoteView&) const = default;
};

std::vector<NoteView> Notes(const TrackInfo& t) {
  std::vector<NoteView> v;
  for (const auto& r : t.notes) v.push_back({r.kind, r.time, r.channel, r.key, r.velocity});
  return v;
}

TEST(MidiReaderTest, HeaderTracksAndEvents) {
  const auto bytes =
      Smf(1, 2, 480,
          {"00 FF 03 05 54 65 6D 70 6F "          // name "Tempo"
           "00 FF 51 03 07 A1 20 "                 // 500,000 us: 120 bpm
           "00 FF 58 04 06 03 18 08 "              // 6/8
           "00 FF 59 02 FE 01 "                    // two flats, minor
           "83 60 FF 58 04 03 02 18 08 "           // a later 3/4 at 480
           "00 FF 2F 00",
           "00 FF 03 04 4C 75 74 65 00 FF 04 03 4F 75 64 "  // "Lute", instrument "Oud"
           "00 C0 18 "                                      // program 24
           "00 90 3C 40 "                                   // note-on
           "83 60 3E 50 "                                   // running status: another note-on
           "00 3C 00 "                                      // velocity 0: a note-off
           "00 B0 07 64 "                                   // control change, removed
           "00 FF 01 03 54 00 78 "                          // text with a NUL dropped
           "83 60 80 3E 00 "
           "00 FF 2F 00"});
  CIMidiDoc doc;
  ASSERT_TRUE(doc.Parse(bytes));
  EXPECT_EQ(doc.format, 1);
  EXPECT_EQ(doc.trackCount, 2);
  EXPECT_EQ(doc.division, 480);
  ASSERT_EQ(doc.tracks.size(), 2u);
  const TrackInfo& conductor = *doc.tracks[0];
  EXPECT_EQ(conductor.name, "Tempo");
  EXPECT_EQ(conductor.tempo, 120);
  EXPECT_EQ(conductor.numerator, 6);
  EXPECT_EQ(conductor.denominator, 8);
  EXPECT_TRUE(conductor.hasKey);
  EXPECT_EQ(conductor.keyAccidentals, -2);
  EXPECT_EQ(conductor.keyMinor, 1);
  EXPECT_FALSE(conductor.HasNotes());
  const std::vector<MidiMetaRecord> metas = {{MidiMetaRecord::kTempo, 0, 120, 0},
                                             {MidiMetaRecord::kKeySignature, 0, -2, 1},
                                             {MidiMetaRecord::kTimeSignature, 480, 3, 4}};
  EXPECT_EQ(conductor.metaRecords, metas);

  const TrackInfo& lute = *doc.tracks[1];
  EXPECT_EQ(lute.name, "Lute");
  EXPECT_EQ(lute.instrumentText, "Oud");
  EXPECT_EQ(lute.program, 24);
  EXPECT_EQ(lute.noteCount, 2);
  EXPECT_TRUE(lute.ended);
  EXPECT_FALSE(lute.multiChannel);
  const std::vector<NoteView> expected = {{0xC, 0, 0, 24, 0},     {9, 0, 0, 60, 64},  {9, 480, 0, 62, 80},
                                          {8, 480, 0, 60, 0},     {8, 960, 0, 62, 0}};
  EXPECT_EQ(Notes(lute), expected);
  EXPECT_EQ(doc.texts, std::vector<std::string>{"Tx"});

  doc.tracks.MergeTrackBuffers();
  EXPECT_EQ(doc.tracks.tempo, 120);
  EXPECT_EQ(doc.tracks.numerator, 6);
  EXPECT_EQ(doc.tracks.keyAccidentals, -2);
}

TEST(MidiReaderTest, FilesThatAreNotStandardMidiFiles) {
  const struct {
    std::vector<uint8_t> bytes;
    const char* failure;  // the place and the reason
  } refused[] = {
      {{}, "at byte 0: the file is empty"},
      {HexBytes("4D 54 68 64 00 00 00 06 00 01 00 01"), "at byte 12: the file ends inside its header"},
      {HexBytes("52 49 46 46 00 00 00 06 00 01 00 01 00 60"), "at byte 0: it does not begin with a MIDI header (\"MThd\")"},
      {HexBytes("4D 54 68 64 00 00 00 07 00 01 00 01 00 60 00"), "at byte 4: a header of 7 bytes (6 expected)"},
      {HexBytes("4D 54 68 64 00 00 00 06 00 03 00 01 00 60"), "at byte 8: format 3 (0, 1 or 2 expected)"},
      {HexBytes("4D 54 68 64 00 00 00 06 00 01 00 01 E7 28"), "at byte 12: time in SMPTE frames, not in beats"},
      {HexBytes("4D 54 68 64 00 00 00 06 00 01 00 01 00 00"), "at byte 12: a division of 0 ticks per quarter note"},
  };
  for (const auto& c : refused) {
    CIMidiDoc doc;
    EXPECT_FALSE(doc.Parse(c.bytes)) << testing::ToHex(c.bytes);
    EXPECT_EQ(doc.failure, c.failure);
    EXPECT_TRUE(doc.tracks.empty());
  }
}

// Real files often end early or hold a broken event: the complete events before the fault are
// kept, every track whose chunk is there is read, and the fault is described with its place.
TEST(MidiReaderTest, TracksKeepTheirCompleteEventsAndTheFaultIsDescribed) {
  // The second of three tracks lacks its closing FF 2F 00, which loses nothing.
  auto bytes = Smf(2, 3, 96, {"00 90 3C 40 60 80 3C 00 00 FF 2F 00", "00 90 3E 40", "00 90 40 40 00 FF 2F 00"});
  CIMidiDoc doc;
  ASSERT_TRUE(doc.Parse(bytes));
  EXPECT_EQ(doc.format, 2);  // read like format 1
  ASSERT_EQ(doc.tracks.size(), 3u);
  EXPECT_EQ(doc.tracks[1]->noteCount, 1);
  EXPECT_EQ(doc.tracks[2]->noteCount, 1);
  EXPECT_TRUE(doc.damage.empty());

  // The file misses its last byte (the length of the end-of-track event): all eight notes
  // stay, and the warning names the place.
  const std::string file = testing::ReadText(std::string(VORNEL_SOURCE_DIR) + "/fuzz/corpus/midi_fuzz/missing_last_byte.mid");
  const std::vector<uint8_t> fixture(file.begin(), file.end());
  ASSERT_TRUE(doc.Parse(fixture));
  ASSERT_EQ(doc.tracks.size(), 1u);
  EXPECT_EQ(doc.tracks[0]->noteCount, 8);
  EXPECT_EQ(doc.damage, (std::vector<std::string>{"track 1, byte 95: the file ends inside an event",
                                                   "track 1: it announces 77 bytes, the file holds 76"}));
  EXPECT_EQ(doc.DamageWarning("scale.mid"),
            "scale.mid: the file is damaged; every complete event before the fault was imported.\n"
            "track 1, byte 95: the file ends inside an event\ntrack 1: it announces 77 bytes, the file holds 76");

  // More tracks announced than the file holds.
  bytes = Smf(1, 5, 96, {"00 90 3C 40 60 80 3C 00 00 FF 2F 00"});
  ASSERT_TRUE(doc.Parse(bytes));
  EXPECT_EQ(doc.tracks.size(), 1u);
  EXPECT_EQ(doc.damage, std::vector<std::string>{"the header announces 5 tracks, the file holds 1"});

  // A chunk of another kind before the track is passed over; one that is not named by
  // letters ends the reading.
  const auto track = Smf(1, 1, 96, {"00 90 3C 40 60 80 3C 00 00 FF 2F 00"});
  bytes = Smf(1, 1, 96, {});
  for (const char* alien : {"4A 75 6E 6B 00 00 00 02 41 42", "00 75 6E 6B 00 00 00 02 41 42"}) {
    auto withAlien = bytes;
    const auto chunk = HexBytes(alien);
    withAlien.insert(withAlien.end(), chunk.begin(), chunk.end());
    withAlien.insert(withAlien.end(), track.begin() + 14, track.end());
    ASSERT_TRUE(doc.Parse(withAlien));
    const bool named = alien[0] == '4';
    EXPECT_EQ(doc.tracks.size(), named ? 1u : 0u) << alien;
    EXPECT_EQ(doc.damage, named ? std::vector<std::string>{}
                                : std::vector<std::string>{"byte 14: no chunk where track 1 should begin"});
  }

  // A chunk length far beyond the end of the file: what is there is read.
  bytes = Smf(1, 1, 96, {"00 90 3C 40 00 FF 2F 00"});
  bytes[21] = 0x40;
  ASSERT_TRUE(doc.Parse(bytes));
  ASSERT_EQ(doc.tracks.size(), 1u);
  EXPECT_EQ(doc.tracks[0]->noteCount, 1);
  EXPECT_EQ(doc.damage, std::vector<std::string>{"track 1: it announces 64 bytes, the file holds 8"});
}

struct HostileCase {
  const char* what;
  const char* body;    // ends with the end-of-track event unless the case is about it
  int notes;           // note-ons read
  const char* damage;  // the fault described, empty for none
};

class HostileTrackTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileTrackTest, ReadsWhatItCanAndNothingBeyond) {
  const HostileCase c = GetParam();
  CIMidiDoc doc;
  ASSERT_TRUE(doc.Parse(Smf(0, 1, 96, {c.body})));
  ASSERT_EQ(doc.tracks.size(), 1u);
  EXPECT_EQ(doc.tracks[0]->noteCount, c.notes);
  EXPECT_EQ(doc.damage.empty() ? std::string() : doc.damage.front(), c.damage);
}

INSTANTIATE_TEST_SUITE_P(
    Events, HostileTrackTest,
    ::testing::Values(
        HostileCase{"running status without a status", "00 3C 40 00 90 3C 40 00 FF 2F 00", 0,
                    "track 1, byte 22: a data byte (0x3C) where an event begins, and no running status"},
        HostileCase{"SysEx skipped by its length", "00 F0 03 7E 7F F7 00 90 3C 40 00 F7 01 00 00 FF 2F 00", 1, ""},
        HostileCase{"SysEx longer than its track", "00 90 3C 40 00 F0 7F 01 02 00 FF 2F 00", 1,
                    "track 1, byte 26: a system-exclusive message longer than its track"},
        HostileCase{"meta length past the track", "00 90 3C 40 00 FF 01 40 41 00 FF 2F 00", 1,
                    "track 1, byte 26: a meta-event longer than its track"},
        HostileCase{"meta length of five bytes", "00 FF 01 FF FF FF FF 7F 00 FF 2F 00", 0,
                    "track 1, byte 22: a meta-event longer than its track"},
        HostileCase{"delta of five bytes", "FF FF FF FF 7F 90 3C 40 00 FF 2F 00", 0,
                    "track 1, byte 22: a delta time longer than four bytes"},
        HostileCase{"system messages with their data", "00 F2 01 02 00 F1 05 00 F4 00 90 3C 40 00 FF 2F 00", 1, ""},
        HostileCase{"running status across a SysEx", "00 90 3C 40 00 F0 01 F7 00 3E 40 00 FF 2F 00", 2, ""},
        HostileCase{"event cut by the end of the track", "00 90 3C 40 00 90 3C FF 2F 00", 1,
                    "track 1, byte 26: a status byte (0xFF) inside an event of 0x90"},
        HostileCase{"event cut by the end of the file", "00 90 3C 40 00 90 3C", 1,
                    "track 1, byte 26: the track ends inside an event"}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return name;
    });

TEST(MidiReaderTest, MetaEventsOutOfRangeAreSkipped) {
  const auto bytes = Smf(0, 1, 96,
                         {"00 FF 51 03 00 00 00 "        // tempo 0: never divided by
                          "00 FF 51 02 07 A1 "           // tempo of two bytes
                          "00 FF 58 04 00 02 18 08 "     // numerator 0
                          "00 FF 58 04 03 FF 18 08 "     // 2^255
                          "00 FF 59 02 09 00 "           // nine sharps
                          "00 FF 59 02 01 05 "           // mode 5
                          "00 FF 11 01 04 "              // string 4 for the notes after it
                          "00 91 3C 40 00 92 3E 40 "     // two channels
                          "00 FF 7F 02 01 02 "           // sequencer data: passed over
                          "00 FF 2F 00"});
  CIMidiDoc doc;
  ASSERT_TRUE(doc.Parse(bytes));
  const TrackInfo& t = *doc.tracks[0];
  EXPECT_EQ(t.tempo, 0);
  EXPECT_EQ(t.numerator, -1);
  EXPECT_FALSE(t.hasKey);
  EXPECT_TRUE(t.metaRecords.empty());
  EXPECT_TRUE(t.multiChannel);
  ASSERT_EQ(t.notes.size(), 2u);
  EXPECT_EQ(t.notes[0].string, 4);
  EXPECT_EQ(doc.tracks.GetTempo(), 120);
  int32_t num = 0, den = 0;
  doc.tracks.GetTimeSignature(num, den);
  EXPECT_EQ(num * 100 + den, 404);
}

TEST(MidiReaderTest, TextsAndSignaturesTakeFromTheRecordBudget) {
  // A file of nothing but four-byte text events (or key signatures) must not make millions of
  // kept records: they count against the budget of channel events, and the reading ends
  // where it runs out, before the note after them.
  struct Case {
    const char* event;
    bool text;
  };
  for (const Case c : {Case{"00 FF 01 00", true}, Case{"00 FF 59 02 00 00", false}}) {
    const std::vector<uint8_t> event = HexBytes(c.event);
    const std::vector<uint8_t> tail = HexBytes("00 90 3C 40 00 FF 2F 00");
    std::vector<uint8_t> body;
    body.reserve(event.size() * (CIMidiDoc::kMaxRecords + 1) + tail.size());
    for (size_t i = 0; i <= CIMidiDoc::kMaxRecords; ++i) body.insert(body.end(), event.begin(), event.end());
    body.insert(body.end(), tail.begin(), tail.end());
    std::vector<uint8_t> bytes = Smf(0, 1, 96, {});
    const std::vector<uint8_t> head = HexBytes("4D 54 72 6B");
    bytes.insert(bytes.end(), head.begin(), head.end());
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(body.size() >> shift));
    bytes.insert(bytes.end(), body.begin(), body.end());

    CIMidiDoc doc;
    ASSERT_TRUE(doc.Parse(bytes)) << c.event;
    ASSERT_EQ(doc.tracks.size(), 1u);
    const TrackInfo& t = *doc.tracks[0];
    EXPECT_EQ(c.text ? doc.texts.size() : t.metaRecords.size(), CIMidiDoc::kMaxRecords) << c.event;
    EXPECT_EQ(t.noteCount, 0) << c.event;
  }
}

TEST(MidiReaderTest, OpeningReportsWhatCannotBeRead) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  CIMidiDoc doc;
  EXPECT_FALSE(doc.OnOpenDocument(dir.File("none.mid")));
  testing::WriteText(dir.File("text.mid"), "not a MIDI file");
  EXPECT_FALSE(doc.OnOpenDocument(dir.File("text.mid")));
  EXPECT_FALSE(doc.OnOpenDocument(dir.path()));
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"Cannot open file\n" + dir.File("none.mid") + ": there is no such file",
                                      "Sorry: I cannot read this file\n" + dir.File("text.mid") +
                                          ", at byte 0: it does not begin with a MIDI header (\"MThd\")",
                                      "Cannot open file\n" + dir.path() + ": a folder, not a file"}));

  prompts.messages.clear();
  const auto bytes = Smf(1, 1, 96, {"00 90 3C 40 60 80 3C 00 00 FF 2F 00"});
  testing::WriteText(dir.File("Air.mid"), std::string(bytes.begin(), bytes.end()));
  ASSERT_TRUE(doc.OnOpenDocument(dir.File("Air.mid")));
  EXPECT_EQ(doc.title, "Air");
  EXPECT_TRUE(doc.CheckTracksSelected());
  doc.tracks[0]->mark = TrackInfo::kSkip;
  EXPECT_FALSE(doc.CheckTracksSelected());
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"No data available for import in selected tracks"});
}

TEST(MidiReaderTest, TrackChoicesGoToTheMarkedTracks) {
  nTrackArray tracks;
  for (int i = 0; i < 3; ++i) tracks.push_back(std::make_unique<TrackInfo>());
  tracks[1]->mark = TrackInfo::kSkip;
  tracks.ApplyTrackChoices({3, 1});
  EXPECT_EQ(tracks[0]->choice, 2);
  EXPECT_EQ(tracks[1]->choice, -1);
  EXPECT_EQ(tracks[2]->choice, 0);
}

}  // namespace
}  // namespace vornel
