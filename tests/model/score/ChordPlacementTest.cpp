#include <gtest/gtest.h>

#include "model/instrument/CKey.h"
#include "model/instrument/CPedal.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChordArray.h"
#include "model/ScoreText.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::ChordOf;
using testing::NoteOn;
using testing::Pitches;
using testing::VoiceText;

using testing::kQuarter;
constexpr int kC = 3;  // pitch classes count from A

// Course of each note in list order: "0,1,3".
std::string Courses(const nChord& chord) {
  std::string text;
  for (const auto& n : chord.notes) {
    if (!text.empty()) text += ',';
    text += std::to_string(n->string);
  }
  return text;
}

// ---------------------------------------------------------------------------------------------
// Chords from chord symbols

struct ToneTableCase {
  bool minor;
  int kind;
  std::array<int, 7> tones;
};

class ChordToneTable : public ::testing::TestWithParam<ToneTableCase> {};

TEST_P(ChordToneTable, ByKindAndMinorFlag) {
  EXPECT_EQ(nChord::ChordToneTable(GetParam().minor, GetParam().kind), GetParam().tones);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ChordToneTable,
                         ::testing::Values(ToneTableCase{false, 0, {4, 7, 12, 16, 19, 24, 28}},
                                           ToneTableCase{true, 0, {3, 7, 12, 15, 19, 24, 27}},
                                           ToneTableCase{false, 1, {5, 7, 12, 17, 19, 24, 28}},
                                           ToneTableCase{true, 1, {5, 7, 12, 17, 19, 24, 27}},
                                           ToneTableCase{false, 3, {4, 7, 10, 16, 19, 22, 28}},
                                           ToneTableCase{false, 7, {6, 9, 12, 18, 21, 24, 28}},
                                           ToneTableCase{true, 8, {3, 8, 11, 15, 20, 23, 27}},
                                           ToneTableCase{true, 9, {3, 6, 9, 15, 18, 21, 24}},
                                           ToneTableCase{false, 10, {3, 8, 16, 20, 24, 28, 32}},
                                           ToneTableCase{false, 11, {4, 7, 12, 16, 19, 24, 28}}));

TEST(ChordPlacement, CMajorOnTheLute) {
  const CTabInstrument lute;  // G D A F C G F, six lines
  nChord chord;
  chord.dy = 3;
  testing::ScriptedPrompts prompts;
  ASSERT_TRUE(chord.PlaceOnInstrument(kC, lute, false, 0, 0));
  // Bass C on the fifth course; E lies below the open F of the fourth course, which takes G.
  EXPECT_EQ(Pitches(chord), "67,64,60,55,48");
  EXPECT_EQ(Courses(chord), "0,1,2,3,4");
  EXPECT_EQ(chord.dy, 0);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(ChordPlacement, NotesBelowTheBassAndTheEndOfTheTable) {
  const CTabInstrument lute;
  nChord chord;
  chord.AddNote(NoteOn(41, 6));
  chord.AddNote(NoteOn(70, 0));
  // From the last entry: the fourth course takes the top third an octave down; the table is
  // then used up and the upper courses keep what they had.
  ASSERT_TRUE(chord.PlaceOnInstrument(kC, lute, false, 0, 6));
  EXPECT_EQ(Pitches(chord), "70,64,48,41");
  EXPECT_EQ(Courses(chord), "0,3,4,6");
}

TEST(ChordPlacement, NoCourseForTheBass) {
  CTabInstrument gs;
  gs.tuning.SetTuning("gggggg");
  nChord chord;
  chord.AddNote(NoteOn(60, 2));
  chord.dy = 3;
  testing::ScriptedPrompts prompts;
  EXPECT_FALSE(chord.PlaceOnInstrument(kC, gs, false, 0, 0));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Cannot find bass..."});
  EXPECT_EQ(Pitches(chord), "60");
  EXPECT_EQ(chord.dy, 3);
}

// ---------------------------------------------------------------------------------------------
// Fret diagrams

TEST(FretDiagram, OpenChordStartsAtTheNut) {
  const CTabInstrument lute;
  nChord chord;
  chord.PlaceOnInstrument(kC, lute, false, 0, 0);  // frets 0 2 3 2 0 and no sixth course
  chord.name = "C";
  const FretDiagram d = chord.LayoutFretDiagram(lute, 100, 200, 500, 400, 254, 254);
  EXPECT_EQ(d.covered, (Rect{100, 200, 600, 600}));
  ASSERT_TRUE(d.nut.has_value());
  EXPECT_EQ(*d.nut, (Rect{100, 194, 601, 200}));
  EXPECT_FALSE(d.firstFret.has_value());
  EXPECT_EQ(d.name.at, (Point{200, 606}));
  EXPECT_EQ(d.name.text, "C");
  using M = FretDiagram::Mark;
  EXPECT_EQ(d.marks, (std::vector<M>{{{100, 191}, FretDiagram::kNotPlayed},
                                     {{200, 194}, FretDiagram::kOpen},
                                     {{300, 400}, FretDiagram::kStopped},
                                     {{400, 500}, FretDiagram::kStopped},
                                     {{500, 400}, FretDiagram::kStopped},
                                     {{600, 194}, FretDiagram::kOpen}}));
  EXPECT_EQ(d.courses.size(), 6u);
  EXPECT_EQ(d.courses.front(), (FretDiagram::Line{{100, 194}, {100, 606}}));
  ASSERT_EQ(d.frets.size(), 5u);  // frets 0 to 4: one more than the highest, the span being short
  EXPECT_EQ(d.frets.back(), (FretDiagram::Line{{100, 600}, {600, 600}}));
  EXPECT_EQ(d.gridPen, 2);
  EXPECT_EQ(d.barrePen, 8);
  EXPECT_FALSE(d.barre.has_value());
}

TEST(FretDiagram, BarreUpTheNeckMapsItsNotesThroughTheirCourses) {
  const CTabInstrument lute;
  nChord chord;
  // Frets 3 - 4 5 5 3 on courses 0, 2, 3, 4, 5; the barré on courses 0 and 5 (note indexes 0
  // and 4).
  for (const auto& [course, fret] : {std::pair{0, 3}, {2, 4}, {3, 5}, {4, 5}, {5, 3}}) {
    chord.AddNote(NoteOn(static_cast<uint8_t>(lute.tuning.courses[course].pitch + 23 + fret), static_cast<uint8_t>(course)));
  }
  chord.notes[0]->fingering = 0x80;
  chord.notes[4]->fingering = 0x80;
  const FretDiagram d = chord.LayoutFretDiagram(lute, 100, 200, 500, 400, 254, 254);
  EXPECT_FALSE(d.nut.has_value());
  ASSERT_TRUE(d.firstFret.has_value());
  EXPECT_EQ(d.firstFret->text, "3");
  EXPECT_EQ(d.firstFret->at, (Point{94, 333}));
  ASSERT_TRUE(d.barre.has_value());
  EXPECT_EQ(*d.barre, (FretDiagram::Line{{600, 267}, {100, 267}}));
  using M = FretDiagram::Mark;
  EXPECT_EQ(d.marks, (std::vector<M>{{{200, 599}, FretDiagram::kStopped},
                                     {{300, 599}, FretDiagram::kStopped},
                                     {{400, 466}, FretDiagram::kStopped},
                                     {{500, 191}, FretDiagram::kNotPlayed}}));
  EXPECT_EQ(d.frets.size(), 4u);  // frets 3 to 6
}

TEST(FretDiagram, NothingForRestsOrTwoLines) {
  CTabInstrument narrow;
  narrow.tuning.lines = 2;
  const auto chord = ChordOf(kQuarter, {{67, 0}});
  EXPECT_EQ(chord->LayoutFretDiagram(narrow, 10, 10, 100, 100, 96, 96).covered, Rect{});
  EXPECT_TRUE(ChordOf(kQuarter)->LayoutFretDiagram(CTabInstrument(), 10, 10, 100, 100, 96, 96).marks.empty());
}

// ---------------------------------------------------------------------------------------------
// Courses

TEST(CourseAssignment, HighestPitchOnTheHighestCourseThenOneCourseEach) {
  const CTabInstrument lute;
  auto chord = ChordOf(kQuarter, {{55, 9}, {62, 9}, {67, 9}, {62, 9}, {30, 9}});
  chord->notes.AssignStrings(lute);
  // The second D goes to the course after the first; the low pitch has no course.
  EXPECT_EQ(Pitches(*chord), "67,62,62,55,30");
  EXPECT_EQ(Courses(*chord), "0,1,2,3,255");

  nChordArray voice;
  voice.push_back(ChordOf(kQuarter, {{48, 0}}));
  voice.push_back(std::make_unique<nChord>(1));
  voice.push_back(ChordOf(kQuarter, {{61, 0}}));
  voice.RespellAndRestring(0, 2, CKey(), lute);
  EXPECT_EQ(voice[0]->notes[0]->string, 4);
  EXPECT_EQ(voice[0]->notes[0]->GetNoteName(), "C4");
  EXPECT_EQ(voice[2]->notes[0]->string, 0);  // outside the run
}

TEST(CourseAssignment, ReverseOrderAndFretRange) {
  const CTabInstrument lute;
  auto chord = ChordOf(kQuarter, {{69, 0}, {48, 4}});
  const nNoteArray::Frets frets = chord->notes.FretRange(lute.tuning);
  EXPECT_EQ(frets.onCourse[0], 2);
  EXPECT_EQ(frets.onCourse[1], -1);
  EXPECT_EQ(frets.onCourse[4], 0);
  EXPECT_EQ(frets.lowest, 2);
  EXPECT_EQ(frets.highest, 2);
  chord->notes.ReverseStringOrder(lute);  // seven courses: 0 <-> 6, 4 <-> 2
  EXPECT_EQ(Courses(*chord), "6,2");
  EXPECT_EQ(Pitches(*chord), "43,57");
}

TEST(CourseAssignment, MovingNotesToTheNextCourse) {
  const CTabInstrument lute;
  nChordArray voice;
  voice.push_back(ChordOf(kQuarter, {{62, 1}, {55, 3}}));
  voice.push_back(ChordOf(kQuarter, {{48, 4}}));
  testing::ScriptedPrompts prompts;
  // Down a course: each lower course's open pitch lies at or below its note.
  EXPECT_EQ(voice.MoveNotesToAdjacentString(0, 2, -1, lute), 3u);
  EXPECT_EQ(Courses(*voice[0]), "2,4");
  EXPECT_EQ(voice[1]->notes[0]->string, 5);
  EXPECT_TRUE(prompts.beeps.empty());
  // Up: C back to its open course, but not further, where the open F lies above it.
  EXPECT_EQ(voice.MoveNotesToAdjacentString(1, 1, 1, lute), 1u);
  EXPECT_EQ(voice.MoveNotesToAdjacentString(1, 1, 1, lute), 0u);
  EXPECT_EQ(voice[1]->notes[0]->string, 4);
  EXPECT_EQ(prompts.beeps, std::vector<BeepKind>{BeepKind::kExclamation});
  nNotes top = *NoteOn(70, 0);
  EXPECT_FALSE(nChordArray::MoveNoteToAdjacentString(top, 1, lute));
  nNotes bottom = *NoteOn(70, 6);
  EXPECT_FALSE(nChordArray::MoveNoteToAdjacentString(bottom, -1, lute));
  EXPECT_EQ(prompts.beeps.size(), 3u);
}

// ---------------------------------------------------------------------------------------------
// Pedals

TEST(PedalCollection, PersistentPedalsThenThoseTheEventsName) {
  CPedalArray pedals;
  pedals[1]->persistent = 1;
  CMetaEventArray events;
  events.AddPedalEvent(3);
  events.AddPedalEvent(12);
  events.AddPedalEvent(1);
  events.AddPedalEvent(3);
  testing::ScriptedPrompts prompts;
  std::vector<const CPedal*> out{pedals[7]};
  events.CollectPedals(out, pedals);
  EXPECT_EQ(out, (std::vector<const CPedal*>{pedals[1], pedals[3]}));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Invalid meta event"});
  EXPECT_EQ(events.size(), 3u);
}

}  // namespace
}  // namespace vornel
