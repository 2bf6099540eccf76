#include <gtest/gtest.h>

#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"
#include "model/ScoreText.h"

namespace vornel {
namespace {

using testing::ChordOf;
using testing::NoteOn;
using testing::VoiceText;

using testing::kQuarter;
using testing::kEighth;
constexpr uint16_t kLower = nNotes::kLowerVoiceFlag;

// A chord whose notes are given as (pitch, course, flags).
std::unique_ptr<nChord> Marked(uint16_t rhythm, std::initializer_list<std::tuple<uint8_t, uint8_t, uint16_t>> notes) {
  auto chord = ChordOf(rhythm);
  for (const auto& [pitch, course, flags] : notes) chord->AddNote(NoteOn(pitch, course, flags));
  return chord;
}

struct Targets {
  nChordArray upper;
  nChordArray lower;
  CVoicesArray list;
  Targets() {
    list.push_back(&upper);
    list.push_back(&lower);
  }
};

TEST(NotationVoices, RestsJoinTheChordBeforeThem) {
  nChordArray tab;
  tab.push_back(Marked(kQuarter, {{67, 0, 0}, {48, 5, kLower | 3}}));
  tab.push_back(Marked(kQuarter, {{69, 0, 0}}));
  tab.push_back(Marked(kQuarter, {{71, 0, 0x0300}}));
  tab.push_back(Marked(kQuarter, {{72, 0, 0}, {43, 6, kLower}}));
  tab.push_back(Marked(kQuarter, {{74, 0, 0}}));
  Targets t;
  EXPECT_EQ(tab.SplitIntoNotationVoices(t.list, 4, 4), 1);
  EXPECT_EQ(VoiceText(t.upper), "3(67) 3(69) 3(71) 3(72) | 3(74)");
  EXPECT_EQ(t.upper[2]->notes[0]->flags, 0x0000);  // stem marks and high bits cleared
  // The lower voice's two rests joined the first chord: a dotted half. The rest after the bar
  // line stays, set below the staff.
  EXPECT_EQ(VoiceText(t.lower), "2.(48) _ _ 3(43) | 3r");
  EXPECT_EQ(t.lower[0]->notes[0]->flags, kLower);
  EXPECT_EQ(t.lower[5]->dy, static_cast<uint16_t>(-5));
  EXPECT_EQ(VoiceText(tab), "3(67,48) 3(69) 3(71) 3(72,43) 3(74)");  // the source is left as it was
}

TEST(NotationVoices, AChordJoinedAcrossTheBeatIsTied) {
  nChordArray tab;
  tab.push_back(Marked(kEighth, {{67, 0, 0}, {40, 6, kLower}}));
  tab.push_back(Marked(kEighth, {{69, 0, 0}, {45, 5, kLower}}));
  tab.push_back(Marked(kEighth, {{71, 0, 0}}));
  tab.push_back(Marked(kEighth, {{72, 0, 0}}));
  tab.push_back(Marked(kQuarter, {{74, 0, 0}, {43, 6, kLower}}));
  tab.push_back(Marked(kQuarter, {{76, 0, 0}}));
  Targets t;
  tab.SplitIntoNotationVoices(t.list, 4, 4);
  // The second eighth takes the two rests: an eighth to the beat, then a tied quarter. The
  // quarter that starts its group takes the rest after it whole.
  EXPECT_EQ(VoiceText(t.lower), "4(40) 4(45) 3(45) _ _ 2(43) _");
  EXPECT_EQ(t.lower[1]->notes[0]->slur, 0u);
  EXPECT_EQ(t.lower[2]->notes[0]->slur, 0x800u);
}

TEST(NotationVoices, NeedsTwoTargets) {
  nChordArray tab;
  nChordArray one;
  CVoicesArray list;
  list.push_back(&one);
  EXPECT_THROW(tab.SplitIntoNotationVoices(list, 4, 4), std::out_of_range);
}

// Upper (u) or lower (l) voice of each note of each chord.
std::string Voices(const nChordArray& voice) {
  std::string text;
  for (const auto& e : voice) {
    if (e == nullptr || !e->IsChord() || e->notes.empty()) continue;
    if (!text.empty()) text += ' ';
    for (const auto& n : e->notes) text += (n->flags & kLower) ? 'l' : 'u';
  }
  return text;
}

TEST(SplitByPitch, CourseZeroAlwaysStaysInTheUpperVoice) {
  nChordArray voice;
  voice.push_back(ChordOf(kQuarter, {{40, 0}, {38, 5}}));
  voice.push_back(ChordOf(kQuarter, {{45, 0}}));
  voice.push_back(ChordOf(kQuarter, {{30, 0}}));
  voice[0]->notes[0]->flags = kLower;
  voice.SplitByPitch(4, 60, 0);
  EXPECT_EQ(Voices(voice), "ul u u");
}

TEST(SplitByPitch, ChordsAndRunsOfSingleNotes) {
  nChordArray voice;
  voice.push_back(ChordOf(kQuarter, {{72, 1}, {64, 2}, {48, 5}}));  // 72 - 4 = 68, clamped to 65
  voice.push_back(ChordOf(kQuarter, {{67, 1}, {55, 4}}));            // 67 - 2 = 65
  voice.push_back(ChordOf(kQuarter, {{50, 4}}));                     // L + 3 = 67, clamped to 65
  voice.push_back(std::make_unique<nChord>(1));
  voice.push_back(ChordOf(kQuarter, {{52, 4}}));  // same course after a lower note: U + 2 = 62
  voice.push_back(ChordOf(kQuarter, {{76, 1}}));  // L + 3 = 55, not clamped
  voice.SplitByPitch(4, 60, 0);
  EXPECT_EQ(Voices(voice), "ull ul l l u");
}

TEST(SplitByPitch, StemMarksOfLowerNotesStartingBeamGroups) {
  nChordArray voice;
  for (uint8_t p : {45, 64, 65, 67}) voice.push_back(ChordOf(kEighth, {{p, static_cast<uint8_t>(p < 60 ? 5 : 1)}}));
  voice.push_back(ChordOf(kEighth, {{43, 5}}));
  voice.push_back(ChordOf(kEighth, {{64, 1}}));
  voice.push_back(ChordOf(kEighth, {{65, 1}}));
  voice.push_back(ChordOf(kEighth, {{67, 1}}));
  voice.RebarVoice(4, 4);
  voice.SplitByPitch(4, 60, 0);
  EXPECT_EQ(Voices(voice), "l u u u l u u u");
  // The rest of each eighth's beam group is one eighth: one halving brings it below.
  EXPECT_EQ(voice[0]->notes[0]->flags, kLower | 1);
  EXPECT_EQ(voice[4]->notes[0]->flags, kLower | 1);
  EXPECT_EQ(voice[1]->notes[0]->flags, 0);
}

}  // namespace
}  // namespace vornel
