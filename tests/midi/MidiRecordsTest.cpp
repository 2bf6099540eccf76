// MIDI time arithmetic, the order of event records and the list operations that playback and
// export share, and the player's stream events.

#include <gtest/gtest.h>

#include <algorithm>

#include <tuple>

#include "midi/MidiFileTrack.h"
#include "midi/MidiStreamEvents.h"
#include "midi/MidiTime.h"
#include "midi/strMidiNote.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::ToHex;

struct MeterCase {
  int numerator;
  int denominator;
  uint32_t bar;
  uint32_t beat;
};

class MidiMeterTest : public ::testing::TestWithParam<MeterCase> {};

TEST_P(MidiMeterTest, BarAndBeatTicks) {
  const MeterCase c = GetParam();
  const MidiMeter m = MidiMeter::From(c.numerator, c.denominator);
  EXPECT_EQ(m.barTicks, c.bar);
  EXPECT_EQ(m.beatTicks, c.beat);
}

INSTANTIATE_TEST_SUITE_P(Signatures, MidiMeterTest,
                         ::testing::Values(MeterCase{6, 8, 576, 96}, MeterCase{3, 4, 576, 192}, MeterCase{4, 4, 768, 192},
                                           MeterCase{2, 2, 768, 384}, MeterCase{3, 6, 576, 192},  // 6 halves twice
                                           // Signatures that cannot time anything count as 4/4.
                                           MeterCase{0, 4, 768, 192}, MeterCase{4, 0, 768, 192},
                                           MeterCase{-3, 4, 768, 192}, MeterCase{3, 1024, 768, 192},
                                           MeterCase{300, 4, 768, 192}));

TEST(MidiTempoTest, ZeroIsTheDefaultAndSlowTempiAreClamped) {
  EXPECT_EQ(MidiTempoMicroseconds(120), 500000u);
  EXPECT_EQ(MidiTempoMicroseconds(0), 500000u);  // no tempo: 120
  EXPECT_EQ(MidiTempoMicroseconds(1), 15000000u);  // 4 bpm, still 24 bits
  EXPECT_EQ(MidiTempoMicroseconds(0x1000 | 60), 1000000u);  // only the low 12 bits count
  EXPECT_LE(MidiTempoMicroseconds(3), 0xFFFFFFu);
}

strMidiNote Record(uint8_t kind, uint32_t time, uint8_t key = 60) {
  strMidiNote r;
  r.kind = kind;
  r.time = time;
  r.key = key;
  return r;
}

TEST(MidiRecordOrderTest, AtOneTickOffsThenRepeatsThenControllersThenOnsThenMarkers) {
  strMidiBuffer b;
  b.push_back(Record(strMidiNote::kBarMarker, 10));
  b.push_back(Record(strMidiNote::kNoteOn, 10));
  b.push_back(Record(strMidiNote::kController, 10));
  b.push_back(Record(strMidiNote::kRepeatSign, 10));
  b.push_back(Record(strMidiNote::kNoteOff, 10));
  b.push_back(Record(strMidiNote::kNoteOn, 5));
  b.push_back(Record(strMidiNote::kText, 10));
  b.Sort();
  std::vector<std::pair<uint32_t, uint8_t>> order;
  for (const auto& r : b) order.emplace_back(r.time, r.kind);
  const std::vector<std::pair<uint32_t, uint8_t>> expected = {
      {5, 0x90}, {10, 0x80}, {10, 0x25}, {10, 4}, {10, 0}, {10, 0x90}, {10, 0x41}};
  EXPECT_EQ(order, expected);
}

TEST(MidiRecordOrderTest, RepeatedNoteIsNotSilencedByItsOwnEnd) {
  strMidiBuffer b;
  b.AddNote(0, 60, 64, 96, 0);
  b.AddNote(96, 60, 64, 96, 0);
  b.AddNote(192, 62, 64, 0, 0);  // no length: ends a tick later, never before it starts
  b.AddNoteOffs();
  std::vector<std::tuple<uint32_t, uint8_t, uint8_t>> order;
  for (const auto& r : b) order.emplace_back(r.time, r.kind, r.key);
  const std::vector<std::tuple<uint32_t, uint8_t, uint8_t>> expected = {
      {0, 0x90, 60}, {96, 0x80, 60}, {96, 0x90, 60}, {192, 0x80, 60}, {192, 0x90, 62}, {193, 0x80, 62}};
  EXPECT_EQ(order, expected);
}

TEST(MidiRecordOrderTest, MergeTakesTheFirstListFirstOnEqualPlaces) {
  strMidiBuffer a;
  a.AddNote(0, 60, 1, 10, 0);
  a.AddNote(20, 61, 1, 10, 0);
  strMidiBuffer b;
  b.AddNote(0, 70, 2, 10, 1);
  b.AddNote(10, 71, 2, 10, 1);
  a.Merge(std::move(b));
  std::vector<uint8_t> keys;
  for (const auto& r : a) keys.push_back(r.key);
  EXPECT_EQ(keys, (std::vector<uint8_t>{60, 70, 71, 61}));
  EXPECT_TRUE(b.empty());
}

TEST(MidiBufferTest, DeltasAndBack) {
  strMidiBuffer b;
  for (uint32_t t : {5u, 5u, 20u, 100u}) b.AddNote(t, 60, 64, 1, 0);
  b.ToDeltas();
  std::vector<uint32_t> times;
  for (const auto& r : b) times.push_back(r.time);
  EXPECT_EQ(times, (std::vector<uint32_t>{5, 0, 15, 80}));
  b.ToAbsolute();
  EXPECT_EQ(b[3].time, 100u);
}

TEST(MidiBufferTest, CopyRangeLeavesRepeatSignsOut) {
  strMidiBuffer b;
  b.AddNote(0, 60, 64, 1, 0);
  b.AddRecord(strMidiNote::kRepeatSign, 5, 17, 1, 0);
  b.AddNote(6, 62, 64, 1, 0);
  strMidiBuffer::Records out;
  b.CopyRange(0, 99, out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1].key, 62);
}

TEST(MidiBufferTest, StartingLaterKeepsTheSettingsMadeBefore) {
  strMidiBuffer b;
  b.AddRecord(strMidiNote::kController, 0, strMidiNote::kSubProgram, 40, 0);
  b.AddNote(0, 60, 64, 192, 0);
  b.AddRecord(strMidiNote::kController, 100, strMidiNote::kSubVolume, 90, 0).duration = 0;
  b.AddText(150, "lyric", 0);
  b.AddNote(192, 62, 64, 192, 0);
  b.AddNote(384, 64, 64, 192, 0);
  b.DropBefore(150);  // the first note at or after 150 starts at 192
  std::vector<std::tuple<uint32_t, uint8_t, uint8_t>> rest;
  for (const auto& r : b) rest.emplace_back(r.time, r.kind, r.key);
  const std::vector<std::tuple<uint32_t, uint8_t, uint8_t>> expected = {
      {0, 4, strMidiNote::kSubProgram}, {0, 4, strMidiNote::kSubVolume}, {0, 0x90, 62}, {192, 0x90, 64}};
  EXPECT_EQ(rest, expected);

  strMidiBuffer none;
  none.AddNote(10, 60, 64, 1, 0);
  none.DropBefore(11);
  EXPECT_TRUE(none.empty());
}

TEST(MidiStreamEventTest, EventWordsByRecord) {
  struct Case {
    strMidiNote record;
    uint32_t delta;
    std::optional<uint32_t> word;
  };
  strMidiNote on = Record(strMidiNote::kNoteOn, 0, 0x3C);
  on.velocity = 0x50;
  strMidiNote reported = on;
  reported.flag = 1;
  strMidiNote reportedOnTwo = reported;
  reportedOnTwo.channel = 2;
  strMidiNote marker = Record(strMidiNote::kBarMarker, 0, 3);
  marker.velocity = 7;
  strMidiNote volume = Record(strMidiNote::kController, 0, 1);
  volume.velocity = 100;
  volume.channel = 1;
  strMidiNote program = Record(strMidiNote::kController, 0, strMidiNote::kSubProgram);
  program.velocity = 24;
  strMidiNote tempo = Record(strMidiNote::kController, 0, strMidiNote::kSubTempo);
  tempo.duration = 60;
  strMidiNote other = Record(strMidiNote::kController, 0, 66);
  other.velocity = 5;
  strMidiNote dynamics = Record(strMidiNote::kDynamics, 0, 0);
  dynamics.velocity = 90;
  const Case cases[] = {
      {on, 10, 0x00503C90u},
      {reported, 10, 0x40503C90u},
      {reported, 0, 0x00503C90u},        // no report without a delta
      {reportedOnTwo, 10, 0x00503C92u},  // nor off channel 0
      {marker, 0, 0x42030007u},
      {Record(strMidiNote::kText, 0), 0, 0x02000000u},
      {volume, 0, 0x006407B1u},
      {program, 0, 0x000018C0u},
      {tempo, 0, 0x010F4240u},
      {other, 0, 0x000542B0u},
      {dynamics, 0, 0x005A0BB0u},
      {Record(strMidiNote::kRepeatSign, 0, 17), 0, std::nullopt},
      {Record(strMidiNote::kTempoText, 0), 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MidiStreamEventWord(c.record, c.delta), c.word) << int(c.record.kind) << " " << int(c.record.key);
  }
}

TEST(MidiStreamEventTest, StreamCarriesTheTimeOfRecordsItLeavesOut) {
  strMidiBuffer b;
  b.AddNote(96, 60, 64, 0, 0);
  b.AddRecord(strMidiNote::kRepeatSign, 100, 17, 1, 0);
  b.AddNote(110, 62, 64, 0, 0);
  const std::vector<uint8_t> bytes = WriteStreamEvents(b);
  EXPECT_EQ(ToHex(bytes),
            "00 00 00 00 00 00 00 00 90 3C 40 00 "  // the first delta is 0
            "0E 00 00 00 00 00 00 00 90 3E 40 00");  // 4 + 10 ticks
}

TEST(MidiStreamEventTest, MetronomeBeatsUpToTheLastEvent) {
  strMidiBuffer b;
  b.AddNote(0, 60, 64, 500, 0);
  b.AddNoteOffs();  // last event at 500
  AddMetronomeBeats(b, 192);
  int beats = 0;
  for (const auto& r : b) {
    if (r.kind == strMidiNote::kNoteOn && r.channel == 9) {
      ++beats;
      EXPECT_EQ(r.key, 81);
      EXPECT_EQ(r.duration, 48);
    }
  }
  EXPECT_EQ(beats, 3);  // 0, 192, 384
}

// A 1/512 meter has beats of one tick: the metronome clicks no closer than a sixty-fourth note,
// and a few long events cannot make more than 64 clicks each.
TEST(MidiStreamEventTest, MetronomeClicksAreBoundedByTheMusic) {
  const auto clicks = [](const strMidiBuffer& b) {
    return std::count_if(b.begin(), b.end(),
                         [](const strMidiNote& r) { return r.kind == strMidiNote::kNoteOn && r.channel == 9; });
  };
  strMidiBuffer short1;
  short1.AddNote(0, 60, 64, 768, 0);
  short1.AddNoteOffs();
  AddMetronomeBeats(short1, MidiMeter::From(1, 512).beatTicks);
  EXPECT_EQ(clicks(short1), 65);  // every 12 ticks from 0 to 768

  strMidiBuffer long1;
  long1.AddNote(0, 60, 64, 0x0FFFFFF, 0);
  long1.AddNoteOffs();
  AddMetronomeBeats(long1, 192);
  EXPECT_EQ(clicks(long1), 64 * 3);  // two records and the rest

  MidiFile file;
  MidiFileTrack::WriteMetronome(file, 0x0FFFFFF, 1, 9, 81, 10);
  MidiFile bounded;
  MidiFileTrack::WriteMetronome(bounded, 64 * 11 * 12 + 5, 12, 9, 81, 10);
  EXPECT_EQ(file.Bytes().size(), bounded.Bytes().size());
}

}  // namespace
}  // namespace vornel

#include "midi/MidiChannels.h"

namespace vornel {
namespace {

TEST(MidiChannelsTest, InOrderPastTheDrumsAndNeverMoreThanSixteen) {
  std::vector<MidiLineNeeds> lines = {{false, true}, {true, true}, {false, false}, {false, true}, {false, true}};
  std::vector<std::pair<int, int>> got;
  for (const auto& c : AssignMidiChannels(lines)) got.emplace_back(c.first, c.second);
  const std::vector<std::pair<int, int>> expected = {{0, 1}, {9, 9}, {2, 2}, {3, 4}, {5, 6}};
  EXPECT_EQ(got, expected);

  // Twelve two-voice lines need 24 channels: the fifteen melodic ones are shared again.
  const auto many = AssignMidiChannels(std::vector<MidiLineNeeds>(12, {false, true}));
  for (const auto& c : many) {
    EXPECT_LT(c.first, 16);
    EXPECT_NE(c.first, 9);
    EXPECT_NE(c.second, 9);
  }
  EXPECT_EQ(many[4].first, 8);
  EXPECT_EQ(many[4].second, 10);  // 9 passed over
  EXPECT_EQ(many[7].second, 0);   // past 15, back to the first
}

TEST(MidiChannelsTest, BeatTicksOfTheBeatUnit) {
  const uint32_t expected[] = {192, 384, 96, 768, 288, 576, 144, 1152, 192};
  for (uint32_t code = 0; code < 9; ++code) EXPECT_EQ(MidiBeatTicks(code), expected[code]) << code;
}

}  // namespace
}  // namespace vornel
