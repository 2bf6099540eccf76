// The merged records of an import: rescaling to 192 ticks per quarter, the quantiser, note
// pairing and the cut at bar lines.

#include <gtest/gtest.h>

#include <tuple>

#include "midi/MidiImportNotes.h"

namespace vornel {
namespace {

strMidiNote Rec(uint8_t kind, uint32_t time, uint8_t key, uint8_t channel = 0) {
  strMidiNote r;
  r.kind = kind;
  r.time = time;
  r.key = key;
  r.channel = channel;
  return r;
}

struct QuantizeCase {
  int level;
  uint32_t in;
  uint32_t out;
};

class QuantizeTest : public ::testing::TestWithParam<QuantizeCase> {};

TEST_P(QuantizeTest, Time) { EXPECT_EQ(QuantizeMidiTime(GetParam().in, GetParam().level), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Grid, QuantizeTest,
    ::testing::Values(QuantizeCase{3, 0, 0}, QuantizeCase{3, 48, 48},    // on the grid of 48
                      QuantizeCase{3, 64, 64},                           // on the triplet grid of 32
                      QuantizeCase{3, 200, 192},                         // down to the quarter
                      QuantizeCase{3, 100, 96},                          // q 96: s 48, e 52 > 32: + 2s
                      QuantizeCase{3, 250, 240},                         // q 48: s 24, e 34 > 16: + 2s
                      QuantizeCase{1, 30, 24},                           // q 24: s 12, e 18 > 8: + 2s
                      QuantizeCase{0, 7, 0},                             // q 6: s 12, e -5: the quarter
                      QuantizeCase{0, 6, 6}, QuantizeCase{5, 200, 192},  // level 5: the quarter grid
                      QuantizeCase{9, 200, 192}));                       // levels beyond 5 are 5

TEST(MidiImportNotesTest, RescaleToTheQuarterOf192) {
  strMidiBuffer b;
  b.push_back(Rec(9, 480, 60));
  b.push_back(Rec(9, 240, 60));
  b.push_back(Rec(9, 1, 60));  // 0.4 rounds to 0
  b.push_back(Rec(9, 2, 60));  // 0.8 rounds to 1
  b.push_back(Rec(9, 0xFFFFFFFF, 60));  // past ten thousand bars: dropped
  RescaleMidiBuffer(b, 480);
  std::vector<uint32_t> times;
  for (const auto& r : b) times.push_back(r.time);
  EXPECT_EQ(times, (std::vector<uint32_t>{192, 96, 0, 1}));
}

TEST(MidiImportNotesTest, NoteOnsTakeTheNextNoteOffOfTheirChannelAndKey) {
  strMidiBuffer b;
  b.push_back(Rec(9, 0, 60));
  b.push_back(Rec(9, 10, 60));
  b.push_back(Rec(8, 15, 60, 1));  // another channel
  b.push_back(Rec(8, 20, 60));
  b.push_back(Rec(14, 25, 0));     // a pitch bend: not a note
  b.push_back(Rec(8, 30, 60));
  b.push_back(Rec(9, 40, 62));     // never ended
  PairMidiNotes(b);
  std::vector<std::tuple<uint32_t, uint8_t, int32_t>> notes;
  for (const auto& r : b) notes.emplace_back(r.time, r.key, r.duration);
  const std::vector<std::tuple<uint32_t, uint8_t, int32_t>> expected = {{0, 60, 20}, {10, 60, 20}, {40, 62, 0}};
  EXPECT_EQ(notes, expected);
}

TEST(MidiImportNotesTest, EmptyRecordsAtTheFirstAndLastBarLinesBetweenRecords) {
  strMidiBuffer b;
  for (uint32_t t : {0u, 700u, 768u, 900u, 3000u, 9000u}) b.push_back(Rec(9, t, 60));
  CutMidiBufferAtBars(b, 768);
  std::vector<std::pair<uint32_t, uint8_t>> out;
  for (const auto& r : b) out.emplace_back(r.time, r.kind);
  const std::vector<std::pair<uint32_t, uint8_t>> expected = {{0, 9},    {700, 9},  {768, 9},  {900, 9},
                                                              {1536, 0}, {2304, 0}, {3000, 9}, {3072, 0},
                                                              {8448, 0}, {9000, 9}};
  EXPECT_EQ(out, expected);
}

TEST(MidiImportNotesTest, PreparedNotesAreDeltasWithDurations) {
  strMidiBuffer b;
  b.push_back(Rec(9, 0, 60));
  b.push_back(Rec(9, 480, 62));
  b.push_back(Rec(8, 480, 60));
  b.push_back(Rec(8, 2400, 62));
  b.Sort();
  PrepareImportedMidiNotes(b, 480, kMidiDefaultQuantizeLevel, 768);
  std::vector<std::tuple<uint32_t, uint8_t, uint8_t, int32_t>> out;
  for (const auto& r : b) out.emplace_back(r.time, r.kind, r.key, r.duration);
  const std::vector<std::tuple<uint32_t, uint8_t, uint8_t, int32_t>> expected = {
      {0, 9, 60, 192}, {192, 9, 62, 768}};
  EXPECT_EQ(out, expected);
}

}  // namespace
}  // namespace vornel
