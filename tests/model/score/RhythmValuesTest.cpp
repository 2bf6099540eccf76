#include <gtest/gtest.h>

#include "model/voice/RhythmValues.h"
#include "model/voice/nChord.h"

namespace vornel {
namespace {

struct LengthCase {
  const char* name;
  TickLength length;
  std::vector<uint16_t> words;
};

class LengthInValues : public ::testing::TestWithParam<LengthCase> {};

TEST_P(LengthInValues, AddUpExactly) {
  const LengthCase& c = GetParam();
  EXPECT_EQ(RhythmsForLength(c.length), c.words);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, LengthInValues,
    ::testing::Values(LengthCase{"Quarter", {192, 1}, {3}}, LengthCase{"DottedBreve", {2304, 1}, {8}},
                      LengthCase{"DoubleDottedQuarter", {336, 1}, {3 | 8, 5}},
                      LengthCase{"FiveQuarters", {960, 1}, {1, 3}},
                      LengthCase{"Maxima", {6144, 1}, {8, 8, 0}},
                      LengthCase{"TripletEighth", {64, 1}, {0x14}},
                      LengthCase{"TwoTripletEighthsTied", {128, 1}, {0x13}},
                      LengthCase{"QuintupletSixteenth", {192, 5}, {0x24}},   // 1/20 of a whole note
                      LengthCase{"SeptupletSixteenth", {192, 7}, {0x35}},    // 4 in the time of 7
                      LengthCase{"FiveSixtyFourths", {60, 1}, {5, 7}},       // 48 + 12: one more than 6 away
                      LengthCase{"HundredTwentyEighth", {6, 1}, {}},         // shorter than any value
                      LengthCase{"TripletSum", {100, 1}, {0x14, 0x1E, 0x1F}},  // 96 + 36 + 18 in triplets
                      LengthCase{"NoSum", {7, 1}, {}},
                      LengthCase{"TooLong", {2304 * 33, 1}, {}},
                      LengthCase{"TooManyValues", {2304 * 31 + 1536 + 192 + 96, 1}, {}},
                      LengthCase{"Nothing", {0, 1}, {}}),
    [](const auto& info) { return info.param.name; });

TEST(RhythmValues, ExactLengthsAgreeWithThePlayedTicks) {
  // Every value of every tuplet lasts what a chord plays, where the tuplet divides evenly.
  for (uint16_t selector = 0; selector < 10; ++selector) {
    for (uint16_t word = 0; word < 16; ++word) {
      const uint16_t rhythm = static_cast<uint16_t>(word | (selector << 4));
      const TickLength length = RhythmLength(rhythm);
      if (length.numerator % length.denominator != 0) continue;
      EXPECT_EQ(length.numerator / length.denominator, nChord::DurationTicks(rhythm)) << rhythm;
      EXPECT_EQ(RhythmsForLength(length).size(), 1u) << rhythm;
    }
  }
}

TEST(RhythmValues, NearestAndText) {
  EXPECT_EQ(NearestRhythms({6, 1}), (std::vector<uint16_t>{7}));
  EXPECT_EQ(NearestRhythms({100, 1}), (std::vector<uint16_t>{4}));
  EXPECT_EQ(NearestRhythms({1000, 3}), (std::vector<uint16_t>{3 | 8, 5}));  // 336 ticks
  EXPECT_EQ(NearestRhythms({1, 0}), (std::vector<uint16_t>{7}));
  EXPECT_EQ(NearestRhythms({int64_t{1} << 60, 1}).size(), kMaxRhythmValues);
  // 31 dotted breves and a breve, a quarter and an eighth would be 34 values: the longest 32.
  const std::vector<uint16_t> most = NearestRhythms({2304 * 31 + 1536 + 192 + 96, 1});
  EXPECT_EQ(most.size(), kMaxRhythmValues);
  EXPECT_EQ(most.back(), 0);
  EXPECT_EQ(RhythmsText({3 | 8, 5}), "3/8 + 1/16");
  EXPECT_EQ(RhythmsText({0x14, 8}), "1/12 + 3/1");
}

TEST(RhythmValues, AHeldContinuationSoundsOnWithoutMarks) {
  nChord chord(nChord::kChord, 3);
  auto note = std::make_unique<nNotes>();
  note->pitch = 60;
  note->slur = 0x13;
  note->ornament = 5;
  chord.AddNote(std::move(note));
  chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "la", 0, 0, 0));
  chord.name = "C";
  const auto next = HeldContinuation(chord, 5);
  EXPECT_EQ(next->rhythm, 5);
  EXPECT_TRUE(next->metaEvents.empty());
  EXPECT_TRUE(next->name.empty());
  ASSERT_EQ(next->notes.size(), 1u);
  EXPECT_EQ(next->notes[0]->pitch, 60);
  EXPECT_EQ(next->notes[0]->slur, kHeldSlurWord);
  EXPECT_EQ(next->notes[0]->ornament, 0);
  EXPECT_EQ(chord.notes[0]->slur, 0x13u);
}

}  // namespace
}  // namespace vornel
