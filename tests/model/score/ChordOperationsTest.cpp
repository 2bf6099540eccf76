#include <gtest/gtest.h>

#include <functional>

#include "model/score/StaveBreakPlaces.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CKey.h"
#include "model/score/CVoicesArray.h"
#include "model/events/MetaEventEditor.h"
#include "model/voice/nChordArray.h"
#include "support/ScriptedPrompts.h"
#include "model/ScoreText.h"

namespace vornel {
namespace {

using testing::ChordOf;
using testing::NoteOn;
using testing::Pitches;
using testing::VoiceText;

using testing::kQuarter;
using testing::kEighth;

nChordArray Quarters(std::initializer_list<uint8_t> pitches) {
  nChordArray voice;
  for (uint8_t p : pitches) voice.push_back(ChordOf(kQuarter, {{p, 0}}));
  return voice;
}

nChordArray VoiceOf(std::initializer_list<std::function<std::unique_ptr<nChord>()>> makers) {
  nChordArray voice;
  for (const auto& make : makers) voice.push_back(make());
  return voice;
}

std::unique_ptr<nChord> Quarter(uint8_t pitch) { return ChordOf(kQuarter, {{pitch, 0}}); }

// A note of 60, then one of 64 after `gap` ticks.
std::string TimedNotes(uint32_t gap) {
  nChordArray voice;
  voice.AppendTimedNote(0, 60, 2, CKey(), "");
  voice.AppendTimedNote(gap, 64, 1, CKey(), "");
  return VoiceText(voice);
}
std::unique_ptr<nChord> Bar() { return std::make_unique<nChord>(1); }

// ---------------------------------------------------------------------------------------------
// The edge cases of the note, chord and voice operations, one line each.

struct EdgeCase {
  const char* name;
  std::function<std::string()> run;
  const char* expected;
};

class ChordOperationEdge : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(ChordOperationEdge, GivesTheExpectedResult) { EXPECT_EQ(GetParam().run(), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ChordOperationEdge,
    ::testing::Values(
        EdgeCase{"PitchZeroRemovesTheNoteOnTheCourse",
                 [] {
                   auto chord = ChordOf(kQuarter, {{67, 0}, {60, 1}});
                   const nNotes* result = chord->notes.SetNote(0, 1, 0, true);
                   return Pitches(*chord) + (result == nullptr ? " none" : " note");
                 },
                 "67 none"},
        EdgeCase{"SettingACourseAgainChangesThePitchAndClearsTheOrnament",
                 [] {
                   auto chord = ChordOf(kQuarter, {{60, 1}});
                   chord->notes[0]->ornament = 5;
                   chord->notes[0]->fingering = 3;
                   const nNotes* n = chord->notes.SetNote(62, 1, 9, true);
                   return std::to_string(chord->notes.size()) + " " + std::to_string(n->pitch) + " o" +
                          std::to_string(n->ornament) + " f" + std::to_string(n->fingering);
                 },
                 "1 62 o0 f3"},
        EdgeCase{"Code25ClearsOrnament65AndSetsItOnOrnament1",
                 [] {
                   nNotes a;
                   a.ornament = 65;
                   a.ToggleDecoration(25);
                   nNotes b;
                   b.ornament = 1;
                   b.ToggleDecoration(25);
                   return std::to_string(a.ornament) + " " + std::to_string(b.ornament);
                 },
                 "0 65"},
        EdgeCase{"GhostTwiceLeavesARestWithoutTheMark",
                 [] {
                   auto chord = ChordOf(kQuarter, {{60, 1}});
                   chord->ToggleGhost();
                   const uint16_t marked = chord->ChordMark();
                   chord->ToggleGhost();
                   return std::to_string(marked) + " " + std::to_string(chord->ChordMark()) + " " + Pitches(*chord);
                 },
                 "13 0 r"},
        EdgeCase{"HalvingASixtyFourthAndDoublingABreveChangeNothing",
                 [] {
                   nChordArray voice;
                   voice.push_back(ChordOf(7 | 0x10));
                   voice.push_back(ChordOf(0 | 0x0100));
                   voice.ScaleRhythm(0, 1, true);
                   voice.ScaleRhythm(1, 1, false);
                   return std::to_string(voice[0]->rhythm) + " " + std::to_string(voice[1]->rhythm);
                 },
                 "23 0"},
        EdgeCase{"DeletingAVoiceLeavesTheSharedStaveBreak",
                 [] {
                   auto staveBreak = std::make_shared<nChord>(0x41);
                   nChordArray a;
                   nChordArray b;
                   a.push_back(Quarter(60));
                   a.push_back(staveBreak);
                   b.push_back(staveBreak);
                   a.DeleteChords();
                   return std::to_string(a.size()) + " " + VoiceText(b) + " " + std::to_string(staveBreak.use_count());
                 },
                 "0 |b 2"},
        EdgeCase{"TimedNoteWithoutAGapJoinsThePreviousChord", [] { return TimedNotes(0); }, "0(64,60)"},
        EdgeCase{"TimedNoteAfterAQuarterMakesThePreviousChordAQuarter", [] { return TimedNotes(192); }, "3(60) 0(64)"},
        EdgeCase{"TimedNoteAfterABreveGoesIntoAnAppendedBreve", [] { return TimedNotes(1536); }, "0(60) 0(64)"},
        EdgeCase{"TimedNoteAfterABreveAndAQuarterLeavesAQuarterRest",
                 [] { return TimedNotes(1728); },
                 "0(60) 3r 0(64)"},
        EdgeCase{"ChordAtTickWithoutAMatchLeavesTheCursorAtTheCount",
                 [] {
                   auto voice = VoiceOf({[] { return Quarter(60); }, Bar, [] { return Quarter(62); }});
                   voice.UpdateTickPositions(4, 4);
                   const nChord* found = voice.FindChordAtTick(193);
                   return std::string(found == nullptr ? "none " : "chord ") + std::to_string(voice.cursor);
                 },
                 "none 3"},
        EdgeCase{"BarAtTickWithoutAMatchGivesTheLastEntry",
                 [] {
                   auto voice = VoiceOf({[] { return Quarter(60); }, Bar, [] { return Quarter(62); }});
                   voice.RebarVoice(4, 4);
                   return Pitches(*voice.FindBarAtTick(1000));
                 },
                 "62"},
        EdgeCase{"SeekingBackwardFromPastTheEndStartsAtTheLastEntry",
                 [] {
                   auto voice = VoiceOf({[] { return Quarter(60); }, [] { return Quarter(62); }, Bar});
                   int index = 50;
                   const nChord* found = voice.SeekChordBackward(index);
                   return Pitches(*found) + " " + std::to_string(index);
                 },
                 "62 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VoiceTimedNotes, SpellingTextAndLowPitches) {
  CKey twoFlats;
  twoFlats.alterations = 2;
  nChordArray voice;
  EXPECT_TRUE(voice.AppendTimedNote(96, 70, 1, twoFlats, "Ky-"));
  EXPECT_TRUE(voice.AppendTimedNote(0, 10, 5, twoFlats, ""));  // below 23: two octaves up
  EXPECT_TRUE(voice.AppendTimedNote(0, 0, 0, twoFlats, "ri-"));
  EXPECT_EQ(VoiceText(voice), "4r 0(70,34)");
  const nNotes* bFlat = voice[1]->notes[0];
  EXPECT_EQ(bFlat->string, 1);
  EXPECT_EQ(bFlat->GetNoteName(), "B5");  // the key gives the flat
  EXPECT_EQ(bFlat->interval, 41);
  EXPECT_EQ(voice[1]->metaEvents.Find(CMetaEvent::kLyrics)->text, "ri-");
  EXPECT_FALSE(voice.AppendTimedNote(0xFFFFFFFFu, 60, 0, twoFlats, ""));
  EXPECT_EQ(voice.size(), 2u);
}

TEST(VoiceSpelling, AccidentalsBarByBar) {
  nChordArray voice;
  for (uint8_t p : {65, 66, 66}) voice.push_back(Quarter(p));
  voice.push_back(Bar());
  voice.push_back(Quarter(66));
  voice.push_back(Quarter(61));
  voice[5]->notes[0]->status = 4 | 0x20;  // written the other way
  nChordArray copy = voice;
  EXPECT_EQ(copy.RespellInKey(CKey()), 4u);  // the repeated F# is not counted
  CVoicesArray voices;
  voices.push_back(&voice);
  voices.RespellVoices(CKey());
  std::string marks;
  for (size_t i : {0, 1, 2, 4, 5}) marks += std::to_string(voice[i]->notes[0]->status) + " ";
  // F# after F takes the other spelling at once, and the repeated pitch keeps it; spelling the
  // voice a second time changes nothing.
  EXPECT_EQ(marks, "0 4 36 0 4 ");
  EXPECT_EQ(voice[1]->notes[0]->GetNoteName(), "G5b");
  EXPECT_EQ(voice[2]->notes[0]->GetNoteName(), "G5b");
  nChordArray again = voice;
  again.RespellInKey(CKey());
  for (size_t i : {0, 1, 2, 4, 5}) {
    EXPECT_EQ(again[i]->notes[0]->status, voice[i]->notes[0]->status);
    EXPECT_EQ(again[i]->notes[0]->name, voice[i]->notes[0]->name);
  }
  EXPECT_EQ(voice[5]->notes[0]->GetNoteName(), "D5b");
}

TEST(NoteTranspose, ByStepsAndBySemitones) {
  auto chord = ChordOf(kQuarter, {{71, 0}, {60, 3}});
  chord->notes.Respell(CKey());
  chord->notes.Transpose(1, CKey(), true);
  EXPECT_EQ(Pitches(*chord), "72,62");
  EXPECT_EQ(chord->notes[0]->interval, 42);
  chord->notes.Transpose(1, CKey(), false);
  EXPECT_EQ(Pitches(*chord), "73,63");
  EXPECT_EQ(chord->notes[0]->GetNoteName(), "C6#");
}

// ---------------------------------------------------------------------------------------------
// Notes

struct DecorationCase {
  int code;
  uint16_t fingering;
  uint16_t ornament;
};

class NoteDecoration : public ::testing::TestWithParam<DecorationCase> {};

TEST_P(NoteDecoration, SetsItsMarkAndTogglesItOff) {
  const DecorationCase& c = GetParam();
  nNotes note;
  note.fingering = 0x0300;  // bits 8-15 go with any fingering mark
  note.ToggleDecoration(c.code);
  EXPECT_EQ(note.fingering, c.fingering);
  EXPECT_EQ(note.ornament, c.ornament);
  note.ToggleDecoration(c.code);
  EXPECT_EQ(note.ornament, 0);
  if (c.fingering != 0x0300) {
    EXPECT_EQ(note.fingering, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Codes, NoteDecoration,
                         ::testing::Values(DecorationCase{0, 0x60, 0}, DecorationCase{5, 0x50, 0},
                                           DecorationCase{22, 0xC0, 0}, DecorationCase{58, 0xA0, 0},
                                           DecorationCase{7, 0x05, 0}, DecorationCase{8, 0x01, 0},
                                           DecorationCase{21, 0x0F, 0}, DecorationCase{24, 0x0300, 1},
                                           DecorationCase{29, 0x0300, 100}, DecorationCase{55, 0x0300, 91},
                                           DecorationCase{6, 0x0300, 0}, DecorationCase{59, 0x0300, 0}));

TEST(NoteDecoration, FingeringTogglesKeepTheOtherMark) {
  nNotes note;
  note.fingering = 0x1234;
  note.ToggleFingeringLow(5);
  EXPECT_EQ(note.fingering, 0x35);
  note.ToggleFingeringHigh(3);
  EXPECT_EQ(note.fingering, 0x05);
  note.ToggleFingeringLow(5);
  EXPECT_EQ(note.fingering, 0x00);
}

TEST(NoteSlur, TypeShapeAndOffset) {
  nNotes note;
  note.slur = 0x7ABC;
  note.SetSlurType(1);  // shape bits go, the low byte stays
  EXPECT_EQ(note.slur, 0x01BCu);
  note.SetSlurType(1);
  EXPECT_EQ(note.slur, 0x00BCu);
  note.slur = 0;
  note.SetSlurType(2);
  EXPECT_EQ(note.slur, 0x0240u);  // a plain slur also gets bit 6
  note.SetSlurShape(3);
  EXPECT_EQ(note.slur, 0x3240u);
  note.SetSlurShape(3);
  EXPECT_EQ(note.slur, 0x0240u);

  note.slur = 0x08;  // offset +1
  EXPECT_TRUE(note.StepSlurOffset(true));
  EXPECT_EQ(note.slur, 0x00u);
  EXPECT_TRUE(note.StepSlurOffset(true));
  EXPECT_EQ(note.slur, 0x48u);  // -1
  note.slur = 0x38;             // +7
  EXPECT_FALSE(note.StepSlurOffset(false));
  EXPECT_EQ(note.slur, 0x38u);
}

TEST(NoteList, RemovingANoteDropsNotesWithoutCourse) {
  nChord chord;
  chord.AddNote(NoteOn(67, 0));
  chord.AddNote(NoteOn(64, nNotes::kNoCourse));
  chord.AddNote(NoteOn(60, 2));
  chord.notes[2]->interval = 35;
  EXPECT_TRUE(chord.notes.RemoveNote(35, false));
  EXPECT_EQ(Pitches(chord), "67");
  EXPECT_FALSE(chord.notes.RemoveNote(4, true));
}

TEST(NoteList, SettingByIntervalAndAFullChord) {
  nChord chord;
  ASSERT_NE(chord.notes.SetNote(60, 3, 35, false), nullptr);
  chord.notes.SetNote(64, 2, 37, false);
  chord.notes.SetNote(62, 5, 35, false);  // the note with interval 35 takes the pitch
  EXPECT_EQ(Pitches(chord), "64,62");
  EXPECT_EQ(chord.notes[1]->string, 3);
  for (uint8_t p = 20; chord.notes.size() < nNoteArray::kMaxNotes; ++p) chord.AddNote(NoteOn(p, 7));
  EXPECT_EQ(chord.notes.SetNote(90, 9, 0, true), nullptr);
  EXPECT_EQ(chord.notes.size(), nNoteArray::kMaxNotes);
}

TEST(NoteList, CoursesPitchesAndBarre) {
  nChord chord;
  chord.AddNote(NoteOn(67, 3));
  chord.AddNote(NoteOn(64, 1));
  chord.AddNote(NoteOn(60, 4));
  chord.AddNote(NoteOn(55, 5));
  chord.notes[1]->fingering = 0x80;
  chord.notes[3]->fingering = 0x81;
  EXPECT_EQ(chord.notes.GetStringSpan(), std::make_pair(1, 5));
  EXPECT_EQ(chord.notes.GetNeighbourString(3), 4);
  EXPECT_EQ(chord.notes.GetNeighbourString(5), 4);
  EXPECT_EQ(chord.notes.GetNeighbourString(2), 0);
  EXPECT_EQ(Pitches(chord), "67,64,60,55");  // the chord keeps its order
  const auto barre = chord.notes.CountBarreNotes();
  EXPECT_EQ(barre.count, 2);
  EXPECT_EQ(barre.first, 1);
  EXPECT_EQ(barre.last, 3);
  EXPECT_EQ(chord.notes.HighestPitch(), 67);
  EXPECT_EQ(chord.notes.LowestPitch(), 55);
  EXPECT_EQ(nNoteArray().LowestPitch(), -1);
  uint8_t course = 0;
  EXPECT_EQ(chord.notes.NextNoteAboveCourse(3, course), 60);
  EXPECT_EQ(course, 4);
  chord.notes.SortByCourse();
  EXPECT_EQ(Pitches(chord), "64,67,60,55");
  chord.notes.DeleteNotesFromCourse(4);
  EXPECT_EQ(Pitches(chord), "64,67");
}

// ---------------------------------------------------------------------------------------------
// Chords and their meta-events

TEST(ChordLegato, OnTheNoteAboveElseAsAMetaEvent) {
  auto chord = ChordOf(kQuarter, {{64, 2}});
  chord->AddLegato(3, 0x0B, true);
  EXPECT_EQ(chord->notes[0]->slur, 0x713u);

  auto bare = ChordOf(kQuarter, {{50, 5}});
  bare->AddLegato(2, 3, false);
  const CMetaEvent* legato = bare->metaEvents.Find(CMetaEvent::kLegato);
  ASSERT_NE(legato, nullptr);
  EXPECT_EQ(legato->value, 0x240000u | 0x2400u | 3u);  // v = (2 << 4) | 4
  EXPECT_EQ(legato->cx, 2);
  EXPECT_EQ(bare->notes[0]->slur, 0u);

  // Course 257 has no course above it: the note on course 0 is not taken for one.
  auto top = ChordOf(kQuarter, {{64, 0}});
  top->AddLegato(257, 1, true);
  EXPECT_EQ(top->notes[0]->slur, 0u);
  EXPECT_NE(top->metaEvents.Find(CMetaEvent::kLegato), nullptr);
}

TEST(ChordLyric, OnlyOnChords) {
  auto chord = ChordOf(kQuarter);
  chord->SetLyric("la");
  chord->SetLyric("lu");
  ASSERT_EQ(chord->metaEvents.size(), 1u);
  EXPECT_EQ(chord->metaEvents[0]->text, "lu");
  nChord bar(1);
  bar.SetLyric("la");
  EXPECT_TRUE(bar.metaEvents.empty());

  chord->metaEvents.SetMetaEvent(CMetaEvent::kEnding, "", 0, 0, 1);
  chord->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kEnding, "", 0, 0, 2));
  EXPECT_EQ(chord->FindEnding(2), chord->metaEvents[2]);
  EXPECT_EQ(chord->FindEnding(3), nullptr);
}

TEST(MetaEventList, CopyKindFallsBackForCaptions) {
  CMetaEventArray source;
  source.SetMetaEvent(CMetaEvent::kTempo, "Allegro", 120, 0, 0);
  CMetaEventArray target;
  EXPECT_EQ(source.CopyKindTo(CMetaEvent::kLyrics, target), nullptr);
  const CMetaEvent* caption = source.CopyKindTo(CMetaEvent::kCaption, target);
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text, "Allegro");
  target.CopyAllFrom(target);
  EXPECT_EQ(target.size(), 2u);
}

class ScriptedMetaEditor : public MetaEventEditor {
 public:
  bool answer = true;
  int runs = 0;
  bool RunEditor(CMetaEvent&, int) override {
    ++runs;
    return answer;
  }
};

TEST(MetaEventList, EditAddsOnlyConfirmedEventsAndTogglesFermatas) {
  ScriptedMetaEditor editor;
  ScopedMetaEventEditor scope(editor);
  CMetaEventArray list;
  const CMetaEvent* ending = list.EditMetaEvent(CMetaEvent::kEnding, 7, 1);
  ASSERT_NE(ending, nullptr);
  EXPECT_EQ(ending->value, 0x50200u);
  editor.answer = false;
  EXPECT_EQ(list.EditMetaEvent(CMetaEvent::kLyrics, 0, 1), nullptr);
  EXPECT_EQ(list.size(), 1u);

  list.SetMetaEvent(CMetaEvent::kFermata, "", 1, 0, 0);
  EXPECT_EQ(list.EditMetaEvent(CMetaEvent::kFermata, 0, 1), nullptr);
  EXPECT_EQ(list.Find(CMetaEvent::kFermata), nullptr);
  EXPECT_EQ(editor.runs, 2);
}

// The chord name is edited in the one-line prompt, both on the chord and as a meta-event.
TEST(MetaEventList, ChordNamesAreEditedInTheTextPrompt) {
  testing::ScriptedPrompts prompts;
  nChord chord;
  chord.name = "Am";
  prompts.QueueText("Am7");
  EXPECT_TRUE(chord.PromptChordName());
  prompts.QueueText(std::nullopt);
  EXPECT_FALSE(chord.PromptChordName());
  EXPECT_EQ(chord.name, "Am7");

  CMetaEvent event(CMetaEvent::kChordName, "G", 0, 0, 0);
  prompts.QueueText("D");
  EXPECT_TRUE(event.Edit(1));
  EXPECT_EQ(event.text, "D");
  EXPECT_EQ(prompts.textPrompts,
            (std::vector<std::string>{"Enter a new chord name:|Am", "Enter a new chord name:|Am7",
                                      "Enter a new chord name:|G"}));
}

// ---------------------------------------------------------------------------------------------
// Rhythm runs

TEST(VoiceRhythm, DotPairsShortenTheSecondOfEachPair) {
  nChordArray voice;
  voice.push_back(Quarter(60));
  voice.push_back(Bar());
  voice.push_back(ChordOf(kQuarter | 0x0180, {{62, 0}}));
  voice.push_back(ChordOf(7, {{64, 0}}));  // a sixty-fourth has no shorter value
  voice.push_back(ChordOf(7, {{65, 0}}));
  voice.DotPairs(0, voice.size(), false);
  EXPECT_EQ(VoiceText(voice), "3.(60) | 4(62) 7.(64) 7(65)");
  EXPECT_EQ(voice[2]->rhythm, 0x0104);
}

TEST(VoiceRhythm, DottingWithAbsorbTakesTheRestTheDotCovers) {
  nChordArray voice;
  voice.push_back(Quarter(60));
  voice.push_back(ChordOf(kEighth));
  voice.push_back(ChordOf(kEighth));
  voice.DotPairs(0, 1, true);
  EXPECT_EQ(VoiceText(voice), "3.(60) _ 4r");
}

TEST(VoiceRhythm, SetRhythmAbsorbsRestsAndGhostsWithinTheNewValue) {
  nChordArray voice;
  voice.push_back(Quarter(60));
  voice.push_back(ChordOf(kQuarter));
  auto ghost = ChordOf(kQuarter, {{62, 0}});
  ghost->ToggleGhost();
  voice.push_back(std::move(ghost));
  voice.push_back(ChordOf(kQuarter));
  voice.push_back(Quarter(64));
  voice.SetRhythm(0, 1, 1, 0);  // a whole note takes three quarters after it
  EXPECT_EQ(VoiceText(voice), "1(60) _ _ _ 3(64)");
  voice.SetRhythm(0, 5, -1, 1);  // triplets of each chord's own value
  EXPECT_EQ(voice[0]->rhythm, 0x11);
  EXPECT_EQ(voice[4]->rhythm, 0x13);
}

struct ExpandCase {
  uint32_t ticks;
  const char* voice;
  uint32_t left;
};

class VoiceExpandTicks : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(VoiceExpandTicks, TheChordTakesTheTicks) {
  nChordArray voice;
  voice.push_back(Quarter(60));
  voice.push_back(Quarter(62));
  EXPECT_EQ(voice.ExpandTicks(GetParam().ticks, 1), GetParam().left);
  EXPECT_EQ(VoiceText(voice), GetParam().voice);
}

INSTANTIATE_TEST_SUITE_P(Lengths, VoiceExpandTicks,
                         ::testing::Values(ExpandCase{192, "3(60) 3(62)", 0}, ExpandCase{288, "3(60) 3.(62)", 0},
                                           ExpandCase{1536, "3(60) 0(62)", 0},
                                           ExpandCase{1728, "3(60) 3(62) 0r", 0},
                                           ExpandCase{3072, "3(60) 0r 0(62)", 0},
                                           ExpandCase{3264, "3(60) 0r 3(62) 0r", 0},
                                           ExpandCase{200, "3(60) 3(62)", 8}));

TEST(VoiceStaveBreaks, AfterTheBarLineTheSystemEndsWithIt) {
  // Bar lines every third entry: placed before a bar line the break starts the next system
  // with it; placed after it, the system it ends closes with that bar line.
  std::vector<std::unique_ptr<nChord>> entries;
  for (int bar = 0; bar < 8; ++bar) {
    entries.push_back(Quarter(60));
    entries.push_back(Quarter(62));
    entries.push_back(Bar());
  }
  const auto at = [&entries](size_t i) { return entries[i].get(); };
  EXPECT_EQ(StaveBreakPlaces(entries.size(), 4, at), (std::vector<size_t>{5, 11}));
  const std::vector<size_t> after = StaveBreakPlaces(entries.size(), 4, at, BreakAtBar::kAfter);
  EXPECT_EQ(after, (std::vector<size_t>{6, 12}));
  for (size_t place : after) EXPECT_TRUE(entries[place - 1]->IsBarLine()) << place;
}

TEST(VoiceStaveBreaks, EveryLineLongerThanNGetsABreakBeforeItsBarLine) {
  auto staveBreak = std::make_shared<nChord>(0x41);
  nChordArray voice;
  for (int bar = 0; bar < 8; ++bar) {
    voice.push_back(Quarter(60));
    voice.push_back(Quarter(62));
    voice.push_back(Bar());
  }
  EXPECT_EQ(voice.InsertStaveBreaks(4, staveBreak), 3);
  EXPECT_EQ(VoiceText(voice),
            "3(60) 3(62) | 3(60) 3(62) |b | 3(60) 3(62) | 3(60) 3(62) |b | 3(60) 3(62) | 3(60) 3(62) | "
            "3(60) 3(62) | 3(60) 3(62) |");  // none in the last ten events
  nChordArray shortVoice;
  for (int i = 0; i < 11; ++i) shortVoice.push_back(i % 2 ? Bar() : Quarter(60));
  EXPECT_EQ(shortVoice.InsertStaveBreaks(0, staveBreak), 1);

  // A break already in the voice starts the count again; blank entries count as events.
  nChordArray withBreak;
  for (int bar = 0; bar < 8; ++bar) {
    withBreak.push_back(Quarter(60));
    withBreak.push_back(nullptr);
    if (bar == 1) withBreak.push_back(staveBreak);
    else withBreak.push_back(Bar());
  }
  EXPECT_EQ(withBreak.InsertStaveBreaks(4, staveBreak), 2);
  EXPECT_EQ(VoiceText(withBreak),
            "3(60) _ | 3(60) _ |b 3(60) _ | 3(60) _ |b | 3(60) _ | 3(60) _ | 3(60) _ | 3(60) _ |");
}

// ---------------------------------------------------------------------------------------------
// Walks

TEST(VoiceWalk, BarsAndChordsByIndex) {
  // 0 q, 1 |3, 2 _, 3 q, 4 s, 5 |4 (fixed), 6 q
  nChordArray voice;
  voice.push_back(Quarter(60));
  voice.push_back(Bar())->number = 3;
  voice.push_back(nullptr);
  voice.push_back(ChordOf(kQuarter));
  voice.push_back(std::make_unique<nChord>(0x92));
  voice.push_back(std::make_unique<nChord>(0x11))->number = 4;
  voice.push_back(Quarter(61));

  EXPECT_EQ(voice.GetBarLineIndex(0), 0u);
  EXPECT_EQ(voice.GetBarLineIndex(2), 5u);
  EXPECT_EQ(voice.GetBarLineIndex(3), 7u);
  EXPECT_EQ(voice.FindBarByNumber(4), 5u);
  EXPECT_EQ(voice.FindBarByNumber(2), 0u);
  EXPECT_EQ(voice.FindBarByNumber(9), 7u);
  EXPECT_EQ(voice.AfterFirstBarLine(), 2u);
  EXPECT_EQ(voice.LastBarStart(), 6);  // not a plain bar line: the bar starts after it
  EXPECT_EQ(nChordArray().LastBarStart(), -1);

  int index = 0;
  EXPECT_EQ(voice.NextNthChord(2, index), voice[3]);
  EXPECT_EQ(index, 4);
  EXPECT_EQ(voice.NextNthChord(2, index), nullptr);
  EXPECT_EQ(index, 7);
  index = 4;
  EXPECT_EQ(voice.SeekChord(index), voice[6]);
  EXPECT_EQ(index, 6);
  index = 2;
  EXPECT_EQ(voice.SeekChordBackward(index), voice[0]);
  EXPECT_EQ(index, 0);

  index = 6;
  EXPECT_TRUE(voice.FindPrevNearPitch(index, 59));
  EXPECT_EQ(index, 0);
  index = 0;
  EXPECT_FALSE(voice.FindPrevNearPitch(index, 60));
  index = 2;
  EXPECT_FALSE(voice.SkipToNextBar(index));
  EXPECT_EQ(index, 6);
  EXPECT_TRUE(voice.SkipToNextBar(index));
  EXPECT_EQ(index, 7);
  index = 5;
  EXPECT_FALSE(voice.PrevBarLine(index));
  EXPECT_EQ(index, 1);
  index = 1;
  EXPECT_TRUE(voice.PrevBarLine(index));
  EXPECT_EQ(voice.NextRestOrGhost(1), voice[3]);
  EXPECT_EQ(voice.NextRestOrGhost(3), nullptr);

  voice[4]->metaEvents.SetMetaEvent(CMetaEvent::kClef, "", 2, 1, 0x13);
  EXPECT_EQ(voice.FindPrecedingClefChange(6), voice[4]->metaEvents[0]);
  EXPECT_EQ(voice.FindPrecedingClefChange(3), nullptr);
  CClef stave;
  voice.ApplyClefChanges(stave);
  EXPECT_EQ(stave.key.alterations, 3u);  // three sharps
  EXPECT_EQ(stave.key.bemol, 0);
  EXPECT_EQ(stave.stepOffset, 1);
  index = -1;
  EXPECT_EQ(voice.FindNextNoteOnString(0, index), voice[0]->notes[0]);
  EXPECT_EQ(voice.FindNextNoteOnString(0, index), voice[6]->notes[0]);
  EXPECT_EQ(voice.FindNextNoteOnString(0, index), nullptr);
}

TEST(VoiceWalk, RestOfBeamGroupStopsAtTheGroupEnd) {
  nChordArray voice;
  for (int i = 0; i < 4; ++i) voice.push_back(ChordOf(kEighth, {{60, 0}}));
  voice.push_back(ChordOf(kQuarter, {{62, 0}}));
  voice.RebarVoice(4, 4);
  voice.cursor = 0;
  EXPECT_EQ(voice.RestOfBeamGroup(), 96u);  // the second eighth; the third starts a group
  EXPECT_EQ(voice.cursor, 2u);
  voice[3]->notes[0]->flags = nNotes::kLowerVoiceFlag;
  EXPECT_EQ(voice.RestOfBeamGroup(), 0u);
  EXPECT_EQ(voice.cursor, 3u);
}

// ---------------------------------------------------------------------------------------------
// Moving events and notes

TEST(VoiceMove, UntilStaveBreakAndByBars) {
  auto staveBreak = std::make_shared<nChord>(0x41);
  nChordArray voice;
  voice.push_back(Quarter(60));
  voice.push_back(Bar());
  voice.push_back(staveBreak);
  voice.push_back(Quarter(62));
  voice.push_back(Bar());
  voice.push_back(Quarter(64));
  nChordArray copy = voice;

  nChordArray line;
  EXPECT_EQ(voice.MoveUntilStaveBreak(line), 2u);
  EXPECT_EQ(VoiceText(line), "3(60) |");
  EXPECT_EQ(VoiceText(voice), "3(62) | 3(64)");

  nChordArray bars;
  bars.push_back(Quarter(70));
  EXPECT_EQ(copy.MoveBars(2, bars), 2u);  // the stave break counts as a bar line and is dropped
  EXPECT_EQ(VoiceText(bars), "3(60) |");
  EXPECT_EQ(VoiceText(copy), "3(62) | 3(64)");

  nChordArray mixed;
  mixed.push_back(nullptr);
  mixed.push_back(Quarter(60));
  mixed.push_back(staveBreak);
  mixed.push_back(Bar());
  mixed.push_back(std::make_unique<nChord>(0x92));
  mixed.KeepChordsAndStaveBreaks();
  EXPECT_EQ(VoiceText(mixed), "3(60) |b");
}

TEST(VoiceMove, OneEventIntoEachVoice) {
  nChordArray first = Quarters({60, 62});
  nChordArray second = Quarters({48});
  CVoicesArray voices;
  voices.push_back(&first);
  voices.push_back(&second);
  nChordArray column;
  column.push_back(std::make_unique<nChord>(0x92));
  column.push_back(std::make_unique<nChord>(0x12));
  column.push_back(Quarter(70));  // no third voice: stays in the list
  column.InsertIntoVoices(voices, 1);
  EXPECT_EQ(VoiceText(first), "3(60) s 3(62)");
  EXPECT_EQ(VoiceText(second), "3(48) s");
  EXPECT_EQ(VoiceText(column), "3(70)");
  EXPECT_THROW(column.InsertIntoVoices(voices, 9), std::out_of_range);
  EXPECT_EQ(VoiceText(column), "3(70)");
}

TEST(VoiceMove, OctaveFoldAndRaiseOnCourse) {
  nChordArray voice;
  voice.push_back(ChordOf(kQuarter, {{72, 0}, {60, 2}}));
  voice[0]->notes[0]->interval = 42;
  voice.push_back(ChordOf(kQuarter, {{50, 3}}));
  EXPECT_EQ(voice.OctaveFold(65, false), 1u);
  EXPECT_EQ(VoiceText(voice), "3(60,60) 3(50)");
  EXPECT_EQ(voice[0]->notes[0]->interval, 35);
  EXPECT_EQ(voice.OctaveFold(55, true), 1u);
  voice.RaiseOnCourse(2, 2);
  EXPECT_EQ(VoiceText(voice), "3(60,62) 3(62)");
}

TEST(VoiceMove, NoteToTheOtherVoiceAtTheSameTime) {
  nChordArray upper;
  upper.push_back(ChordOf(kQuarter, {{67, 0}, {60, 3}}));
  upper.push_back(ChordOf(kQuarter, {{69, 0}}));
  nChordArray lower;
  lower.push_back(ChordOf(kEighth));
  lower.push_back(ChordOf(kEighth, {{48, 5}}));
  lower.push_back(ChordOf(kQuarter));
  upper.RebarVoice(4, 4);
  lower.RebarVoice(4, 4);
  lower[2]->dy = 5;
  CVoicesArray voices;
  voices.push_back(&upper);
  voices.push_back(&lower);

  upper[0]->notes[1]->interval = 35;
  EXPECT_TRUE(nChordArray::MoveNoteToOtherVoice(0, voices, *upper[0], *upper[0]->notes[1]));
  EXPECT_EQ(VoiceText(upper), "3(67) 3(69)");
  EXPECT_EQ(VoiceText(lower), "4(60) 4(48) 3r");
  EXPECT_TRUE(nChordArray::MoveNoteToOtherVoice(0, voices, *upper[1], *upper[1]->notes[0]));
  EXPECT_EQ(lower[2]->dy, 0);
  EXPECT_FALSE(nChordArray::MoveNoteToOtherVoice(1, voices, *lower[1], *lower[1]->notes[0]));
}

TEST(VoiceEdit, CopyRangeRemoveAndGrow) {
  auto staveBreak = std::make_shared<nChord>(0x41);
  nChordArray source;
  source.push_back(Quarter(60));
  source.push_back(nullptr);
  source.push_back(staveBreak);
  source.push_back(Quarter(62));
  nChordArray copy;
  copy.push_back(Quarter(70));
  EXPECT_FALSE(copy.CopyRange(source, 4, 1));
  EXPECT_TRUE(copy.CopyRange(source, 1, 10));
  EXPECT_EQ(VoiceText(copy), "_ |b 3(62)");
  EXPECT_EQ(copy[1], staveBreak.get());
  EXPECT_NE(copy[2], source[3]);

  EXPECT_TRUE(copy.RemoveEvents(1, 5, true));
  EXPECT_EQ(VoiceText(copy), "_");
  EXPECT_FALSE(copy.RemoveEvents(1, 1, true));
  EXPECT_EQ(copy.GetOrCreateChord(0)->Kind(), nChord::kChord);
  copy.GetOrCreateChord(3);
  EXPECT_EQ(VoiceText(copy), "0r _ _ 0r");
  EXPECT_THROW(copy.GetOrCreateChord(1u << 30), std::out_of_range);
}

}  // namespace
}  // namespace vornel
