#include <gtest/gtest.h>

#include <cstdio>

#include "model/instrument/CKey.h"
#include "model/score/CVoicesArray.h"
#include "model/voice/RhythmValues.h"
#include "model/voice/nChordArray.h"
#include "model/ScoreText.h"

namespace vornel {
namespace {

using testing::ChordOf;
using testing::NoteOn;
using testing::VoiceText;

constexpr uint16_t kWhole = 1;
constexpr uint16_t kHalf = 2;
using testing::kQuarter;
using testing::kEighth;

// Quarter chords of one note each.
nChordArray QuarterChords(std::initializer_list<uint8_t> pitches) {
  nChordArray voice;
  for (uint8_t p : pitches) voice.push_back(ChordOf(kQuarter, {{p, 0}}));
  return voice;
}

// ---------------------------------------------------------------------------------------------
// Chord transformations

struct TransformCase {
  const char* name;
  std::vector<uint8_t> chords;  // one note each; 0 adds the chord C-E-G
  std::vector<ChordOperation> stages;
  const char* expected;
  bool ok = true;
};

class ChordTransformation : public ::testing::TestWithParam<TransformCase> {};

TEST_P(ChordTransformation, ReplacesTheSelection) {
  const TransformCase& c = GetParam();
  nChordArray selection;
  for (uint8_t p : c.chords) {
    selection.push_back(p == 0 ? ChordOf(kQuarter, {{60, 3}, {64, 2}, {67, 1}}) : ChordOf(kQuarter, {{p, 0}}));
    selection.back()->notes.Respell(CKey());
  }
  EXPECT_EQ(selection.TransformChords(c.stages, CKey()), c.ok);
  EXPECT_EQ(VoiceText(selection), c.expected);
}

using Op = ChordOperation;

INSTANTIATE_TEST_SUITE_P(
    Stages, ChordTransformation,
    ::testing::Values(
        TransformCase{"RotateOne", {60, 62, 64}, {{Op::kRotate, 1}}, "3(64) 3(60) 3(62)"},
        TransformCase{"RotateMinusOne", {60, 62, 64}, {{Op::kRotate, -1}}, "3(62) 3(64) 3(60)"},
        TransformCase{"RotateThree", {60, 62, 64}, {{Op::kRotate, 3}}, "3(60) 3(62) 3(64)"},
        TransformCase{"ShiftTwo", {60, 62, 64, 65}, {{Op::kShift, 2}}, "3(60) 3(62)"},
        TransformCase{"ShiftMinusTwo", {60, 62, 64, 65}, {{Op::kShift, -2}}, "3(64) 3(65)"},
        TransformCase{"RotateAndShiftOfNothing", {}, {{Op::kRotate, 2}, {Op::kShift, -1}}, ""},
        TransformCase{"CloneTwo", {60, 62}, {{Op::kClone, 2}}, "3(60) 3(62) 3(60) 3(62) 3(60) 3(62)"},
        TransformCase{"RepeatThenMirror", {60, 62}, {{Op::kRepeat, 0}, {Op::kMirror, 0}}, "3(62) 3(60) 3(62) 3(60)"},
        TransformCase{"ArpeggiateUpAndDown", {0}, {{Op::kArpeggiateUpDown, 1}}, "3(60) 3(64) 3(67) 3(64)"},
        TransformCase{"ArpeggiateDownAndUpTwice",
                      {0},
                      {{Op::kArpeggiateDownUp, 2}},
                      "3(67) 3(64) 3(60) 3(64) 3(67) 3(64) 3(60) 3(64)"},
        TransformCase{"ArpeggiateDown", {0, 62}, {{Op::kArpeggiateDown, 1}}, "3(67) 3(64) 3(60) 3(62)"},
        TransformCase{"TremoloizeTwo", {60}, {{Op::kTremoloize, 2}}, "5(60) 5(60) 5(60)"},
        TransformCase{"TremoloizeOutOfRange", {60}, {{Op::kTremoloize, 7}}, "3(60)"},
        TransformCase{"RotateFlags", {60, 62}, {{Op::kRotateFlags, 2}}, "5(60) 5(62)"},
        TransformCase{"RotateFlagsPastTheShortest", {60, 62}, {{Op::kRotateFlags, 5}}, "3(60) 3(62)", false},
        TransformCase{"DotFlags", {60, 62, 64}, {{Op::kDotFlags, 0}}, "3.(60) 4(62) 3.(64)"},
        TransformCase{"TransposeTwoStepsInC", {0, 71}, {{Op::kTransposeScale, 2}}, "3(71,67,64) 3(74)"},
        TransformCase{"TransposeOneSemitone", {0}, {{Op::kTransposeSemitones, -1}}, "3(66,63,59)"},
        TransformCase{"NothingFlipCascadeAmplify",
                      {60, 62},
                      {{Op::kNothing, 3}, {Op::kFlip, 1}, {Op::kCascade, 1}, {Op::kAmplify, 1}},
                      "3(60) 3(62)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChordTransformation, RotateFlagsStopsAtTheFirstChordThatCannotMove) {
  nChordArray selection;
  selection.push_back(ChordOf(kQuarter | 8, {{60, 0}}));
  selection.push_back(ChordOf(6, {{62, 0}}));
  selection.push_back(ChordOf(kHalf, {{64, 0}}));
  EXPECT_FALSE(selection.TransformChords({{Op::kRotateFlags, 2}}, CKey()));
  EXPECT_EQ(VoiceText(selection), "5(60) 6(62) 2(64)");
}

TEST(ChordTransformation, AChordOfEmptyNoteEntriesIsKeptLikeARest) {
  nChordArray selection;
  selection.push_back(std::make_unique<nChord>(nChord::kChord, kQuarter));
  selection.back()->notes.push_back(nullptr);
  EXPECT_TRUE(selection.TransformChords({{Op::kArpeggiateUpDown, 1}}, CKey()));
  ASSERT_EQ(selection.size(), 1u);
  EXPECT_EQ(selection[0]->notes.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// "Remove all..."

std::string Describe(const nChord& chord) {
  const nNotes& n = *chord.notes[0];
  char text[128];
  std::snprintf(text, sizeof text, "st=%X fi=%X or=%X sl=%X ns=%X fl=%X meta=", chord.status, n.fingering, n.ornament,
                n.slur, n.status, n.flags);
  std::string out = text;
  for (const auto& e : chord.metaEvents) {
    out += std::to_string(e->kind);
    out += ',';
  }
  return out;
}

struct ClearCase {
  ClearCommand command;
  const char* expected;
};

class RemoveAll : public ::testing::TestWithParam<ClearCase> {};

TEST_P(RemoveAll, ChangesChordsAndNotes) {
  auto chord = ChordOf(kQuarter, {{60, 0}});
  chord->status = 0x0C90;
  nNotes& n = *chord->notes[0];
  n.fingering = 0x21;
  n.ornament = 0x41;
  n.slur = 0x01F5;
  n.status = 0x26;
  n.flags = 0x80FF;
  chord->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, "la", 0, 0, 0);
  chord->metaEvents.SetMetaEvent(CMetaEvent::kMarker, "", 0, 1, 0);  // an end marker
  chord->metaEvents.SetMetaEvent(CMetaEvent::kTempo, "", 0, 0, 0);
  nChordArray voice;
  voice.push_back(std::move(chord));
  voice.push_back(std::make_unique<nChord>(1));
  CVoicesArray voices;
  voices.push_back(&voice);
  voices.ClearItems(GetParam().command);
  EXPECT_EQ(Describe(*voice[0]), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RemoveAll,
    ::testing::Values(ClearCase{ClearCommand::kFingerings, "st=C90 fi=0 or=41 sl=1F5 ns=26 fl=80FF meta=0,48,14,"},
                      ClearCase{ClearCommand::kOrnaments, "st=C90 fi=21 or=0 sl=1F5 ns=26 fl=80FF meta=0,48,14,"},
                      ClearCase{ClearCommand::kLinks, "st=C90 fi=21 or=41 sl=0 ns=26 fl=80FF meta=0,48,14,"},
                      ClearCase{ClearCommand::kVoicingCues, "st=C00 fi=21 or=41 sl=1F5 ns=26 fl=E meta=0,48,14,"},
                      ClearCase{ClearCommand::kLyrics, "st=C90 fi=21 or=41 sl=1F5 ns=26 fl=80FF meta=48,14,"},
                      ClearCase{ClearCommand::kSectionNotes, "st=C90 fi=21 or=41 sl=1F5 ns=22 fl=80FF meta=0,48,14,"},
                      ClearCase{ClearCommand::kNoteFlag6, "st=C90 fi=21 or=41 sl=1F5 ns=26 fl=80BF meta=0,48,14,"},
                      // slur bits 3-8 packed down by one place: 0x1F5 -> 0x7D
                      ClearCase{ClearCommand::kPackSlurs, "st=C90 fi=21 or=41 sl=7D ns=26 fl=80FF meta=0,48,14,"},
                      ClearCase{ClearCommand::kNoteBeamFormatting, "st=C00 fi=21 or=41 sl=1F5 ns=26 fl=0 meta=0,48,14,"},
                      ClearCase{ClearCommand::kMetaEvents, "st=C90 fi=21 or=41 sl=1F5 ns=26 fl=80FF meta="},
                      ClearCase{ClearCommand::kNoteValues, "st=C90 fi=21 or=41 sl=1F5 ns=26 fl=F0 meta=0,48,14,"},
                      ClearCase{ClearCommand::kMarkers, "st=C90 fi=21 or=41 sl=1F5 ns=26 fl=80FF meta=0,14,"},
                      ClearCase{ClearCommand::kEndMarkers, "st=C90 fi=21 or=41 sl=1F5 ns=26 fl=80FF meta=0,14,"}));

TEST(RemoveAll, DanglingFloatingOrnamentsLoseTheirMark) {
  nChordArray voice;
  for (const bool floating : {false, true}) {
    auto chord = ChordOf(kQuarter, {{60, 0}, {64, 1}});
    chord->notes[0]->ornament = 0x0C1;
    chord->notes[1]->ornament = 0;
    if (floating) chord->metaEvents.SetMetaEvent(CMetaEvent::kFloatingOrnament, "", 0, 0, 0);
    voice.push_back(std::move(chord));
  }
  CVoicesArray voices;
  voices.push_back(&voice);
  voices.ClearItems(ClearCommand::kDanglingFloatingOrnaments);
  EXPECT_EQ(voice[0]->notes[0]->ornament, 0x041);  // no floating ornament left on the chord
  EXPECT_EQ(voice[0]->notes[1]->ornament, 0);
  EXPECT_EQ(voice[1]->notes[0]->ornament, 0x0C1);  // its floating ornament is still there
}

TEST(RemoveAll, StaticSpacesLeaveEmptySlots) {
  auto shared = std::make_shared<nChord>(0x182);
  nChordArray voice;
  voice.push_back(std::make_unique<nChord>(0x0B2));
  voice.push_back(shared);
  voice.push_back(std::make_unique<nChord>(0x092));
  voice.ClearItems(ClearCommand::kStaticSpaces);
  EXPECT_EQ(VoiceText(voice), "_ _ s");
  EXPECT_EQ(shared.use_count(), 1);

  nChordArray markers;
  markers.push_back(ChordOf(kQuarter))->metaEvents.SetMetaEvent(CMetaEvent::kMarker, "", 0, 0, 0);
  markers.ClearItems(ClearCommand::kEndMarkers);  // a begin marker stays
  EXPECT_EQ(markers[0]->metaEvents.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Rests, lyrics and ghosts

TEST(VoiceRests, AppendByNoteValue) {
  nChordArray voice;
  EXPECT_EQ(voice.AppendRests(3, 0), 0u);  // no value, no rests
  EXPECT_EQ(voice.AppendRests(1, 1), 1u);
  EXPECT_EQ(voice.AppendRests(2, 4), 2u);
  EXPECT_EQ(voice.AppendRests(1, 6), 1u);    // log2 rounds down: a quarter
  EXPECT_EQ(voice.AppendRests(1, 512), 1u);  // at most a sixty-fourth
  EXPECT_EQ(voice.AppendRests(1u << 30, 4), 0u);
  EXPECT_EQ(VoiceText(voice), "1r 3r 3r 3r 7r");
}

TEST(VoiceRests, ClearRestsAndGhosts) {
  nChordArray voice = QuarterChords({60, 62});
  voice.insert(1, ChordOf(kQuarter));
  voice.insert(2, std::make_unique<nChord>(1));
  voice.push_back(ChordOf(kQuarter));
  voice[3]->ToggleGhost();
  EXPECT_EQ(voice.RemoveEmptyChords(0, 4), 1u);  // the bar line stays; the last rest lies outside
  EXPECT_EQ(VoiceText(voice), "3(60) | 3(62) 3r");
  voice.GhostsToRests();
  EXPECT_EQ(VoiceText(voice), "3(60) | 3r 3r");
  EXPECT_EQ(voice[2]->ChordMark(), 0);
}

TEST(VoiceLyrics, WordsGoToTheChordsWithNotes) {
  nChordArray voice = QuarterChords({60, 62, 64, 65});
  voice.insert(2, ChordOf(kQuarter));
  voice.DistributeLyrics("  Al-  le\r\nlu", 1);
  const auto lyric = [&](size_t i) {
    const CMetaEvent* e = voice[i]->metaEvents.Find(CMetaEvent::kLyrics);
    return e != nullptr ? e->text : std::string("-");
  };
  EXPECT_EQ(lyric(0), "-");
  EXPECT_EQ(lyric(1), "Al-");
  EXPECT_EQ(lyric(2), "-");
  EXPECT_EQ(lyric(3), "le");
  EXPECT_EQ(lyric(4), "lu");

  nChordArray two = QuarterChords({60, 62});
  two.DistributeLyrics("a  b", 0);
  EXPECT_EQ(two[1]->metaEvents.Find(CMetaEvent::kLyrics)->text, "b");
}

// ---------------------------------------------------------------------------------------------
// Merging and tick ranges

TEST(VoiceMerge, JoinsByStartSplittingWhereNeeded) {
  nChordArray voice = QuarterChords({67, 69});
  nChordArray other;
  other.push_back(ChordOf(kEighth));
  other.push_back(ChordOf(kEighth, {{55, 4}}));
  other.push_back(ChordOf(kQuarter, {{57, 4}}));
  other.push_back(ChordOf(kHalf));
  other.push_back(ChordOf(kQuarter, {{50, 5}}));
  EXPECT_EQ(voice.MergeVoice(other, 4, 4, -2), 0u);
  EXPECT_EQ(VoiceText(voice), "4(67) 4(55,67) 3(57,69) 2r | 3(50)");
  EXPECT_EQ(voice[1]->notes[0]->flags, 0x8A);  // lower voice, voice 2, negative
  EXPECT_EQ(voice[1]->notes[1]->flags, 0);
  // The split quarter's note is held on, the joined one struck.
  EXPECT_EQ(voice[1]->notes[0]->slur, 0u);
  EXPECT_EQ(voice[1]->notes[1]->slur, kHeldSlurWord);
  EXPECT_EQ(voice[0]->notes[0]->slur, 0u);

  nChordArray empty;
  empty.push_back(nullptr);
  empty.MergeVoice(other, 4, 4);
  EXPECT_EQ(VoiceText(empty), "4r 4(55) 3(57) 2r | 3(50)");
  EXPECT_EQ(empty[1]->notes[0]->flags, 0);
}

TEST(VoiceMerge, ASplitChordKeepsOnlyItsOwnNotesAndMarksComeAlong) {
  // A whole rest cut by three quarters of the other voice: each piece takes one chord's notes
  // and value, not those joined to the pieces before it; the rest goes on after them.
  nChordArray voice;
  voice.push_back(ChordOf(kWhole));
  nChordArray other;
  other.push_back(ChordOf(kQuarter, {{60, 4}}));
  other.push_back(ChordOf(kQuarter, {{62, 4}}));
  other.push_back(ChordOf(kQuarter, {{64, 4}}));
  other[1]->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "la", 0, 0, 0));
  other[2]->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "le", 0, 0, 0));
  voice[0]->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kCaption, "dolce", 0, 0, 0));
  other[0]->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kCaption, "dolce", 0, 0, 0));
  voice.MergeVoice(other, 4, 4);
  EXPECT_EQ(VoiceText(voice), "3(60) 3(62) 3(64) 3r");
  // The joined chords' marks come along, a mark the chord holds already only once.
  const auto marks = [&](size_t i) {
    std::string text;
    for (const auto& m : voice[i]->metaEvents) text += m->text + ";";
    return text;
  };
  EXPECT_EQ(marks(0), "dolce;");
  EXPECT_EQ(marks(1), "la;");
  EXPECT_EQ(marks(2), "le;");
}

TEST(VoiceMerge, SplitPartsKeepTheirLengthsInHeldValues) {
  // A whole note cut after five eighths: a half and an eighth, then a dotted quarter, all
  // holding the note; the bar stays after the fourth quarter.
  nChordArray voice;
  voice.push_back(ChordOf(kWhole, {{60, 2}}));
  voice.push_back(ChordOf(kQuarter, {{62, 2}}));
  nChordArray other;
  other.push_back(ChordOf(kHalf));
  other.push_back(ChordOf(kEighth));
  other.push_back(ChordOf(kQuarter | 8, {{67, 0}}));
  EXPECT_EQ(voice.MergeVoice(other, 4, 4), 0u);
  EXPECT_EQ(VoiceText(voice), "2(60) 4(60) 3.(60,67) | 3(62)");
  const auto slur = [&](size_t chord, size_t note) { return voice[chord]->notes[note]->slur; };
  EXPECT_EQ(slur(0, 0), 0u);
  EXPECT_EQ(slur(1, 0), kHeldSlurWord);
  EXPECT_EQ(slur(2, 0), kHeldSlurWord);
  EXPECT_EQ(slur(2, 1), 0u);  // the joined note
  EXPECT_EQ(voice[4]->time, 768u);
}

// A voice as VoiceText writes it, a note held from the chord before marked "~".
std::string HeldText(const nChordArray& voice) {
  std::string text;
  for (const auto& e : voice) {
    if (e == nullptr) continue;
    if (!text.empty()) text += ' ';
    if (!e->IsChord()) {
      text += e->IsBarLine() ? "|" : "s";
      continue;
    }
    text += std::to_string(e->rhythm & 7) + ((e->rhythm & 8) != 0 ? "." : "");
    if (e->notes.empty()) {
      text += 'r';
      continue;
    }
    text += '(';
    for (size_t n = 0; n < e->notes.size(); ++n) {
      if (n > 0) text += ',';
      text += std::to_string(e->notes[n]->pitch) + (e->notes[n]->slur == kHeldSlurWord ? "~" : "");
    }
    text += ')';
  }
  return text;
}

TEST(VoiceMerge, EveryNoteOfBothVoicesSoundsItsWholeLength) {
  struct Case {
    const char* label;
    std::vector<std::pair<uint16_t, uint8_t>> voice;  // value and pitch; 0 a rest
    std::vector<std::pair<uint16_t, uint8_t>> other;
    const char* merged;
  };
  const Case cases[] = {
      {"a whole note under quarters is held under each", {{kQuarter, 67}, {kQuarter, 69}, {kQuarter, 71}, {kQuarter, 72}},
       {{kWhole, 60}}, "3(60,67) 3(60~,69) 3(60~,71) 3(60~,72)"},
      {"a half note of this voice over a quarter goes on alone", {{kHalf, 67}, {kHalf, 0}}, {{kQuarter, 60}},
       "3(60,67) 3(67~) 2r"},
      {"a half note under a quarter and a rest goes on under the rest", {{kQuarter, 67}, {kQuarter, 0}, {kHalf, 0}},
       {{kHalf, 60}}, "3(60,67) 3(60~) 2r"},
      {"overlapping lengths cut both ways", {{kQuarter | 8, 67}, {kEighth, 69}, {kHalf, 0}}, {{kEighth, 0}, {kHalf, 60}},
       "4(67) 3(60,67~) 4(60~,69) 4(60~) 3.r"},
      {"the other voice goes on past this one's end", {{kHalf, 67}}, {{kQuarter, 0}, {kHalf, 60}},
       "3(67) 3(60,67~) 3(60~)"},
  };
  for (const Case& c : cases) {
    const auto build = [](const std::vector<std::pair<uint16_t, uint8_t>>& chords) {
      nChordArray voice;
      for (const auto& [value, pitch] : chords) {
        voice.push_back(pitch == 0 ? ChordOf(value) : ChordOf(value, {{pitch, 0}}));
      }
      return voice;
    };
    nChordArray voice = build(c.voice);
    nChordArray other = build(c.other);
    EXPECT_EQ(voice.MergeVoice(other, 4, 4), 0u) << c.label;
    EXPECT_EQ(HeldText(voice), c.merged) << c.label;
  }
}

TEST(VoiceMerge, AChordNeverPassesThirtyTwoNotes) {
  nChordArray voice;
  voice.push_back(ChordOf(kQuarter));
  nChordArray other;
  other.push_back(ChordOf(kQuarter));
  for (uint8_t p = 0; p < 20; ++p) {
    voice[0]->AddNote(NoteOn(static_cast<uint8_t>(40 + p), 0));
    other[0]->AddNote(NoteOn(static_cast<uint8_t>(70 + p), 1));
  }
  voice.MergeVoice(other, 4, 4);
  EXPECT_EQ(voice[0]->notes.size(), nNoteArray::kMaxNotes);
}

TEST(VoiceTickRange, CopyAndDeleteBetweenChords) {
  auto staveBreak = std::make_shared<nChord>(0x41);
  nChordArray voice = QuarterChords({60, 62});
  voice.push_back(staveBreak);
  voice.push_back(ChordOf(kQuarter, {{64, 0}}));
  voice.push_back(ChordOf(kQuarter, {{65, 0}}));
  voice.UpdateTickPositions(4, 4);

  nChordArray copy;
  EXPECT_FALSE(voice.CopyRangeBetweenTicks(copy, 384, 192));
  EXPECT_FALSE(voice.CopyRangeBetweenTicks(copy, 0, 1000));
  EXPECT_TRUE(voice.CopyRangeBetweenTicks(copy, 100, 384));
  EXPECT_EQ(VoiceText(copy), "3(62) |b 3(64)");
  EXPECT_NE(copy[0], voice[1]);

  EXPECT_TRUE(voice.DeleteRangeBetweenTicks(0, 384));
  EXPECT_EQ(VoiceText(voice), "3(65)");
  EXPECT_EQ(staveBreak.use_count(), 2);  // still held by the copy
}

TEST(VoiceMarkers, RangeOfTheFirstBeginAndTheEndAfterIt) {
  nChordArray voice = QuarterChords({60, 62, 64, 65});
  voice.UpdateTickPositions(4, 4);
  EXPECT_EQ(voice.FindMarkedRange().start, 0);
  voice[1]->metaEvents.SetMetaEvent(CMetaEvent::kMarker, "", 0, 1, 0);  // an end before any begin
  voice[2]->metaEvents.SetMetaEvent(CMetaEvent::kMarker, "", 0, 0, 0);
  voice[3]->metaEvents.SetMetaEvent(CMetaEvent::kMarker, "", 0, 1, 0);
  const auto range = voice.FindMarkedRange();
  EXPECT_EQ(range.start, 384);
  EXPECT_EQ(range.end, 576);
  EXPECT_EQ(voice[2]->metaEvents[0]->referent, voice[2]);
  EXPECT_EQ(nChordArray().FindMarkedRange().start, -1);
}

// ---------------------------------------------------------------------------------------------
// Stems, slurs, ornaments and signatures

TEST(VoiceStems, TheFarthestNoteDecidesAndTiesKeepTheDirection) {
  nChordArray voice;
  voice.push_back(ChordOf(kQuarter, {{60, 0}}));
  voice.push_back(ChordOf(kQuarter, {{80, 0}}));
  voice.push_back(ChordOf(kQuarter));
  voice.push_back(ChordOf(kQuarter, {{77, 0}, {65, 1}}));
  voice.push_back(ChordOf(kQuarter, {{62, 0}}));
  voice[3]->notes[0]->slur = 0x0101;
  voice[4]->notes[0]->slur = 0x0181;
  voice[0]->status = 0x80;
  voice.SetStemDirections(71, false);
  EXPECT_EQ(voice[0]->status & 0x80, 0);
  EXPECT_EQ(voice[1]->status & 0x80, 0x80);
  EXPECT_EQ(voice[3]->status & 0x80, 0x80);  // as far above as below: still down
  EXPECT_EQ(voice[3]->notes[0]->slur, 0x0181u);
  EXPECT_EQ(voice[4]->notes[0]->slur, 0x0101u);
}

TEST(VoiceMarks, SlurWidthOrnamentsSignaturesAndOffbeats) {
  nChordArray voice = QuarterChords({60, 62, 64, 65});
  voice.push_back(ChordOf(kQuarter, {{67, 0}, {60, 2}}));
  voice.push_back(ChordOf(kQuarter, {{69, 0}}));
  voice[0]->notes[0]->slur = 0x0003;
  voice[1]->notes[0]->slur = 0x1000;  // no slur in the low 12 bits
  voice[2]->notes[0]->ornament = 0x24;
  voice.SetSlurWidth(true);
  EXPECT_EQ(voice[0]->notes[0]->slur, 0x0D03u);
  EXPECT_EQ(voice[1]->notes[0]->slur, 0x1000u);
  voice.SetSlurWidth(false);
  EXPECT_EQ(voice[0]->notes[0]->slur, 0x0003u);
  EXPECT_EQ(voice.ReplaceOrnament(0x24, 0x02), 1u);
  EXPECT_EQ(voice[2]->notes[0]->ornament, 0x02);

  voice.insert(0, std::make_unique<nChord>(0x12))->metaEvents.SetMetaEvent(CMetaEvent::kTimeSignature, "", 1, 3, 4);
  voice.SetTimeSignatureShort(true);
  EXPECT_EQ(voice[0]->metaEvents[0]->value, 5u);
  voice.SetTimeSignatureShort(false);
  EXPECT_EQ(voice[0]->metaEvents[0]->value, 1u);

  // Off the beat of a half bar of 4/4 (384 ticks): the second and fourth quarters; the
  // chord of two notes is left alone.
  voice[4]->notes[0]->fingering = 0x01;  // already marked
  voice.MarkOffbeatNotes(2);
  std::string marks;
  for (size_t i = 1; i < voice.size(); ++i) {
    marks += std::to_string(voice[i]->notes[0]->fingering);
    marks += ' ';
  }
  EXPECT_EQ(marks, "0 1 0 1 0 1 ");

  int table[12] = {};
  voice.CountPitchClasses(table);
  EXPECT_EQ(table[0], 2);
  EXPECT_EQ(table[9], 1);
}

}  // namespace
}  // namespace vornel
