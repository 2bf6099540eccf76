#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <functional>

#include "model/score/CSystemArray.h"
#include "model/score/SectionEditor.h"
#include "model/score/SystemSlots.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

std::unique_ptr<nChord> QuarterNote(uint8_t pitch = 60) {
  auto chord = std::make_unique<nChord>(nChord::kChord, 3);
  auto note = std::make_unique<nNotes>();
  note->pitch = pitch;
  chord->AddNote(std::move(note));
  return chord;
}

// A section of `systems` systems of one instrument, without the constructor's eight.
std::unique_ptr<CSystemArray> Section(size_t systems) {
  auto section = std::make_unique<CSystemArray>();
  section->systems.clear();
  for (size_t s = 0; s < systems; ++s) section->NewSystem(CSystemArray::kAppend);
  return section;
}

// Kinds of a voice as text: q chord, | bar line, B stave break, s special event, _ empty.
std::string Shape(const nChordArray& voice) {
  std::string shape;
  for (const auto& e : voice) {
    if (e == nullptr) shape += '_';
    else if (e->IsStaveBreak()) shape += 'B';
    else if (e->IsChord()) shape += 'q';
    else if (e->IsBarLine()) shape += '|';
    else shape += 's';
  }
  return shape;
}

std::vector<std::string> Shapes(const CSystemArray& section, size_t line = 0, size_t voice = 0) {
  std::vector<std::string> shapes;
  for (const auto& system : section.systems.items()) shapes.push_back(Shape(system->Line(line)->Voice(voice)));
  return shapes;
}

void Fill(CSystemArray& section, size_t system, int quarters, size_t voice = 0) {
  for (int i = 0; i < quarters; ++i) section.System(system)->Line(0)->Voice(voice).push_back(QuarterNote());
}

TEST(SectionGather, ThreeSystemsTheLastEmpty) {
  auto section = Section(3);
  Fill(*section, 0, 2);
  Fill(*section, 1, 3);
  const nChord* last = section->System(1)->Line(0)->firstVoice.back();
  CInstrumentDlg& definition = section->GatherVoice(0, 0, 0, 0);
  const nChordArray& list = definition.gathered[0];
  EXPECT_EQ(Shape(list), "qqBqqq");
  EXPECT_EQ(list.back(), last);
  EXPECT_EQ(list.at(2), section->SystemBreak().get());
  EXPECT_EQ(definition.staveBreakCounts[0], 1u);
  // Ticks run on across the systems.
  EXPECT_EQ(list.at(3)->delta, 384u);
  EXPECT_EQ(list.at(5)->delta, 768u);
  EXPECT_EQ(list.at(5)->number, 1u);

  section->GatherVoice(0, 0, 1, 400);
  EXPECT_EQ(definition.startIndexes[0], 4u);  // the first chord at or after tick 400
  EXPECT_EQ(definition.startIndexes[1], 0u);  // an empty list
  EXPECT_THROW(section->GatherVoice(0, 1, 0, 0), std::out_of_range);
  EXPECT_THROW(section->GatherVoice(0, 0, 2, 0), std::out_of_range);

  section->ClearGatheredVoices();
  EXPECT_TRUE(definition.gathered[0].empty());
  EXPECT_EQ(section->System(1)->Line(0)->firstVoice.size(), 3u);  // the music stays in the systems
}

TEST(SectionGather, GatherThenScatterIsAnIdentityWithAHiddenSystem) {
  auto section = Section(4);
  Fill(*section, 0, 2);
  Fill(*section, 1, 1);
  Fill(*section, 2, 4);
  Fill(*section, 3, 3);
  Fill(*section, 1, 2, 1);
  section->System(1)->hidden = 1;
  std::vector<std::vector<const nChord*>> before;
  for (const auto& system : section->systems.items()) {
    std::vector<const nChord*> events;
    for (const auto& e : system->Line(0)->firstVoice) events.push_back(e.get());
    before.push_back(events);
  }
  for (size_t v = 0; v < 2; ++v) section->GatherVoice(0, 0, v, 0);
  section->ClearInstrumentData(0, false);
  EXPECT_EQ(Shapes(*section), (std::vector<std::string>{"", "q", "", ""}));  // the hidden system keeps its music
  for (size_t v = 0; v < 2; ++v) section->ScatterVoice(section->Definition(0)->gathered[v], 0, v);
  section->ClearGatheredVoices();
  for (size_t s = 0; s < 4; ++s) {
    std::vector<const nChord*> events;
    for (const auto& e : section->System(s)->Line(0)->firstVoice) events.push_back(e.get());
    EXPECT_EQ(events, before[s]) << "system " << s;
  }
  EXPECT_EQ(section->System(1)->Line(0)->secondVoice.size(), 2u);
  EXPECT_EQ(section->systems.size(), 4u);
}

TEST(SectionGather, ScatteringBeyondTheSystemsMakesNewOnes) {
  auto section = Section(1);
  nChordArray list;
  list.push_back(QuarterNote());
  list.push_back(section->SystemBreak());
  list.push_back(QuarterNote());
  list.push_back(std::make_unique<nChord>(0x45));  // a stave break of another section counts too
  list.push_back(QuarterNote());
  list.push_back(nullptr);
  section->ScatterVoice(list, 0, 0);
  EXPECT_EQ(Shapes(*section), (std::vector<std::string>{"q", "q", "q_"}));
  EXPECT_EQ(section->System(2)->Line(0)->definition, section->Definition(0));
}

TEST(SectionBars, NumberingRestartsAndSkipsHiddenSystems) {
  auto section = Section(4);
  section->barOffset = 10;
  for (size_t s = 0; s < 4; ++s) {
    nChordArray& voice = section->System(s)->Line(0)->firstVoice;
    for (int i = 0; i < 3; ++i) {
      voice.push_back(QuarterNote());
      voice.push_back(std::make_unique<nChord>(nChord::kBarLine));
    }
  }
  section->System(2)->hidden = 1;
  section->System(3)->barSequenceRestart = 1;
  std::vector<int32_t> starts;
  const int32_t last = section->GetSystemStartBars(starts);
  EXPECT_EQ(section->System(0)->firstBar, 10u);
  EXPECT_EQ(section->System(1)->firstBar, 13u);  // bars 10, 11 and 12 before it
  EXPECT_EQ(section->System(3)->firstBar, 1u);  // restart gives bar 1 whatever the offset
  EXPECT_EQ(section->System(2)->firstBar, 0u);  // hidden: not numbered
  EXPECT_EQ(starts, (std::vector<int32_t>{13, -13, 1}));
  EXPECT_EQ(last, static_cast<int32_t>(section->System(3)->nextBar) - 1);
  EXPECT_EQ(section->System(3)->positionWord, 0x00030003u);
  EXPECT_EQ(section->System(2)->positionWord, 0x00030002u);

  auto single = Section(1);
  std::vector<int32_t> none;
  EXPECT_EQ(single->GetSystemStartBars(none), 0);
  EXPECT_TRUE(none.empty());
}

TEST(SectionBars, RebarringCarriesTheBarAcrossSystems) {
  auto section = Section(2);
  section->numerator = 3;
  Fill(*section, 0, 4);  // one bar and a quarter of the next
  Fill(*section, 1, 3);
  section->RecalculateSection(false);
  EXPECT_EQ(Shape(section->System(0)->Line(0)->firstVoice), "qqq|q");
  EXPECT_EQ(Shape(section->System(1)->Line(0)->firstVoice), "qq|q");
  EXPECT_EQ(section->System(0)->Line(0)->barPosition, 192u);

  // Aligned: both voices of the line re-barred together.
  section->System(1)->Line(0)->secondVoice.push_back(std::make_unique<nChord>(nChord::kChord, 2));
  section->RebarSystem(1, true);
  EXPECT_EQ(Shape(section->System(1)->Line(0)->secondVoice), "q__|");

  // A system without music warns when its voices are aligned.
  testing::ScriptedPrompts prompts;
  auto empty = Section(1);
  empty->RebarSystem(0, true);
  EXPECT_EQ(prompts.beeps.size(), 1u);
}

TEST(SectionSystems, DeletingMergingAndMovingBars) {
  auto one = Section(1);
  Fill(*one, 0, 2);
  EXPECT_EQ(one->DeleteActiveSystem(), 1);
  ASSERT_EQ(one->systems.size(), 1u);
  EXPECT_TRUE(one->System(0)->HasNoMusic());

  auto section = Section(3);
  Fill(*section, 0, 2);
  Fill(*section, 1, 3);
  Fill(*section, 1, 1, 1);
  section->activeSystem = 2;
  section->MergeSystemIntoPrevious(0);  // nothing before the first
  EXPECT_EQ(section->systems.size(), 3u);
  section->MergeSystemIntoPrevious(1);
  ASSERT_EQ(section->systems.size(), 2u);
  EXPECT_EQ(section->activeSystem, 1);
  EXPECT_EQ(Shape(section->System(0)->Line(0)->firstVoice), "qqqq|q");  // merged and re-barred
  EXPECT_EQ(section->System(0)->Line(0)->secondVoice.size(), 1u);  // the other voice goes along

  // Bars between neighbours: the first bar up, the last bar down.
  auto moves = Section(2);
  nChordArray& top = moves->System(0)->Line(0)->firstVoice;
  nChordArray& bottom = moves->System(1)->Line(0)->firstVoice;
  top.push_back(QuarterNote());
  top.push_back(std::make_unique<nChord>(1));
  top.push_back(QuarterNote());
  top.push_back(std::make_unique<nChord>(0x11));  // a fixed bar line: the run starts after it
  top.push_back(QuarterNote());
  top.push_back(QuarterNote());
  bottom.push_back(QuarterNote());
  bottom.push_back(std::make_unique<nChord>(1));
  bottom.push_back(QuarterNote());
  EXPECT_EQ(moves->MoveLineBarAcrossSystems(1, 0, 0, false), 1);
  EXPECT_EQ(Shape(top), "q|q|qqq|");
  EXPECT_EQ(Shape(bottom), "q");
  // Down: from the bar line before the last element; after a bar line that is not plain.
  EXPECT_EQ(moves->MoveLineBarAcrossSystems(0, 0, 1, false), 1);
  EXPECT_EQ(Shape(top), "q|q|");
  EXPECT_EQ(Shape(bottom), "qqq|q");
  EXPECT_EQ(moves->MoveLineBarAcrossSystems(0, 0, 0, false), 1);  // nothing above the first
  // The last system's bar goes to a new system.
  moves->activeSystem = 1;
  EXPECT_EQ(moves->ShiftSystemBars(1), 1);
  ASSERT_EQ(moves->systems.size(), 3u);
  EXPECT_EQ(Shape(moves->System(1)->Line(0)->firstVoice), "qqq");  // from the plain bar line on
  EXPECT_EQ(Shape(moves->System(2)->Line(0)->firstVoice), "|q");
}

TEST(SectionSystems, SpecialEventColumnsAndBlankSystems) {
  auto section = Section(3);
  Fill(*section, 0, 3);
  Fill(*section, 0, 1, 1);
  EXPECT_EQ(section->InsertSpecialEventColumn(0, 1, false), 1);
  EXPECT_EQ(section->System(0)->Line(0)->firstVoice.at(1)->status, 178);
  EXPECT_EQ(section->InsertSpecialEventColumn(0, 1, true), 1);
  EXPECT_EQ(section->System(0)->Line(0)->firstVoice.at(2)->status, 386);
  EXPECT_EQ(Shape(section->System(0)->Line(0)->firstVoice), "qssqq");
  EXPECT_EQ(Shape(section->System(0)->Line(0)->secondVoice), "q");  // not longer than the position
  EXPECT_EQ(section->InsertSpecialEventColumn(1, 0, false), 0);

  section->System(0)->Line(0)->GetCurrentStave()->cursorColumn = 0;
  EXPECT_EQ(section->InsertSpecialEventColumnAtCursor(false), 1);
  EXPECT_EQ(section->GetCursorChord()->status, 178);

  auto blanks = Section(5);
  Fill(*blanks, 2, 1);
  blanks->System(3)->hidden = 1;
  blanks->System(4)->EditCaption().captionString = "Coda";
  blanks->activeSystem = 4;
  blanks->DeleteBlankSystems();
  ASSERT_EQ(blanks->systems.size(), 4u);  // the first, the music, the hidden, the caption
  EXPECT_EQ(blanks->activeSystem, 3);
}

TEST(SectionInstruments, AddingMovingAndRemovingInstruments) {
  auto section = Section(2);
  auto second = std::make_unique<CInstrumentDlg>();
  second->ApplyNotationPreset(CInstrumentDlg::kGrandStaffPreset);
  CInstrumentDlg* added = section->AddInstrument(std::move(second));
  ASSERT_EQ(section->definitions.size(), 2u);
  EXPECT_EQ(added->spacingBelowPage, 3);
  // The first definition's stave agrees with its lines, as a reader of the file will have it.
  EXPECT_EQ(section->Definition(0)->staves.back()->spaceBelow, 3u);
  EXPECT_EQ(section->Definition(0)->spacingBelowPage, 3);
  for (const auto& system : section->systems.items()) {
    ASSERT_EQ(system->lines.size(), 2u);
    EXPECT_EQ(system->Line(0)->staves.back()->spaceBelow, 3u);
    EXPECT_EQ(system->Line(1)->staves.at(0)->spaceBelow, 3u);
    EXPECT_EQ(system->Line(1)->staves.back()->spaceBelow, 0u);
    EXPECT_EQ(system->Line(1)->definition, added);
  }
  EXPECT_EQ(section->GetTotalStaveCount(), 3u);

  Fill(*section, 0, 2);
  section->System(0)->activeInstrument = 0;
  section->activeSystem = 0;
  EXPECT_EQ(section->MoveActiveInstrumentDown(), 1);
  EXPECT_EQ(section->Definition(0), added);
  EXPECT_EQ(section->System(1)->Line(0)->definition, added);
  EXPECT_EQ(section->System(0)->Line(1)->firstVoice.size(), 2u);
  EXPECT_EQ(section->System(1)->Line(0)->staves.back()->spaceBelow, 3u);
  section->System(0)->activeInstrument = 1;
  EXPECT_EQ(section->MoveActiveInstrumentDown(), 0);  // the last stays

  EXPECT_EQ(section->RemoveInstrument(0, true), 2);
  EXPECT_EQ(section->definitions.size(), 1u);
  EXPECT_EQ(section->System(0)->lines.size(), 1u);
  EXPECT_EQ(section->System(0)->activeInstrument, 0);

  section->newSystemValues = {7, 7};
  EXPECT_EQ(section->RemoveInstrument(0, false), 1);
  EXPECT_TRUE(section->System(0)->HasNoMusic());
  EXPECT_EQ(section->newSystemValues, (std::array<int32_t, 2>{4, 4}));
  auto empty = Section(0);
  empty->newSystemValues = {1, 2};
  EXPECT_EQ(empty->ClearInstrumentData(0, true), 4);
  EXPECT_EQ(empty->newSystemValues, (std::array<int32_t, 2>{4, 4}));
}

TEST(SectionInstruments, StavesOfTheActiveInstrument) {
  auto section = Section(3);
  section->activeSystem = 1;
  EXPECT_EQ(section->RemoveActiveStave(), 0);  // a line keeps its last stave
  EXPECT_EQ(section->AddStaveToActiveInstrument(), 1);
  for (const auto& system : section->systems.items()) EXPECT_EQ(system->Line(0)->staves.size(), 2u);
  EXPECT_EQ(section->Definition(0)->staves.size(), 2u);

  section->System(1)->Line(0)->activeStave = 1;
  EXPECT_EQ(section->ChangeActiveStaveSpaceBelow(true), 1);
  EXPECT_EQ(section->Definition(0)->staves.at(1)->spaceBelow, 2u);
  EXPECT_EQ(section->Definition(0)->spacingBelowPage, 2);
  EXPECT_EQ(section->System(2)->Line(0)->staves.at(1)->spaceBelow, 2u);
  for (int i = 0; i < 20; ++i) section->ChangeActiveStaveSpaceBelow(false);
  EXPECT_EQ(section->Definition(0)->staves.at(1)->spaceBelow, 0u);  // no wrapping below 0
  for (int i = 0; i < 20; ++i) section->ChangeActiveStaveSpaceBelow(true);
  EXPECT_EQ(section->Definition(0)->staves.at(1)->spaceBelow, 14u);

  EXPECT_EQ(section->RemoveActiveStave(), 2);
  EXPECT_EQ(section->Definition(0)->staves.size(), 1u);
  for (const auto& system : section->systems.items()) {
    EXPECT_EQ(system->Line(0)->staves.size(), 1u);
    EXPECT_EQ(system->Line(0)->activeStave, 0);
  }

  // A redefined instrument reaches every line.
  CInstrumentDlg& definition = *section->Definition(0);
  definition.ApplyNotationPreset(6);
  section->key.alterations = 3;
  definition.key.transpose = 2;
  section->ApplyInstrumentDefinition(definition, 0);
  for (const auto& system : section->systems.items()) {
    ASSERT_EQ(system->Line(0)->staves.size(), 3u);
    EXPECT_EQ(system->Line(0)->staves.at(2)->clefId, CClef::kCClef);
  }
  EXPECT_EQ(definition.key.alterations, 3u);
  EXPECT_EQ(definition.key.transpose, 2);
  EXPECT_EQ(section->key.transpose, 2);
  EXPECT_EQ(section->CopyFirstSystemStaves(), 1u);
}

TEST(SectionInstruments, TablatureFontsFromTheDocumentDefault) {
  auto section = Section(1);
  section->AddInstrument(std::make_unique<CInstrumentDlg>());
  dfLogFont font;
  font.logFont.lfFaceName = "VN_Quintelle";
  font.staveAdjust = {44, 22};
  font.zoomScale = {90, 80};
  font.microTuning = 3;
  section->ResetTablatureFonts(font);
  for (const auto& definition : section->definitions.items()) {
    EXPECT_EQ(definition->tabInstrument.tabFont.logFont.lfFaceName, "VN_Quintelle");
    EXPECT_EQ(definition->tabInstrument.tabFont.staveAdjust, (SizePair{44, 22}));
    EXPECT_EQ(definition->tabInstrument.tabFont.zoomScale, (SizePair{90, 80}));
    EXPECT_EQ(definition->tabInstrument.microTuning, 3);
  }
}

TEST(SectionInstruments, CentringRests) {
  auto section = Section(2);
  auto rest = std::make_unique<nChord>(nChord::kChord, 3);
  rest->dy = 5;
  section->System(1)->Line(0)->secondVoice.push_back(std::move(rest));
  nChord* chord = section->System(1)->Line(0)->firstVoice.push_back(QuarterNote());
  chord->dy = 6;
  section->CenterRests();
  EXPECT_EQ(section->System(1)->Line(0)->secondVoice.at(0)->dy, 0);
  EXPECT_EQ(chord->dy, 6);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

// A section of one instrument holding `bars` bars of four quarters spread over its systems.
std::unique_ptr<CSystemArray> Bars(size_t systems, int bars) {
  auto section = Section(systems);
  for (int b = 0; b < bars; ++b) {
    nChordArray& voice = section->System(static_cast<size_t>(b) % systems)->Line(0)->firstVoice;
    for (int q = 0; q < 4; ++q) voice.push_back(QuarterNote(static_cast<uint8_t>(60 + q)));
    voice.push_back(std::make_unique<nChord>(nChord::kBarLine));
  }
  return section;
}

size_t Chords(const CSystemArray& section) {
  size_t count = 0;
  for (const auto& system : section.systems.items()) {
    for (const auto& e : system->Line(0)->firstVoice) count += e != nullptr && e->IsChord() ? 1 : 0;
  }
  return count;
}

TEST(SectionReflow, JoinPutsEverythingIntoTheFirstSystem) {
  auto section = Bars(4, 12);
  section->System(2)->EditCaption().captionString = "Trio";  // kept: it carries a text
  ASSERT_EQ(section->ReflowSystems(true, 20), 1);
  ASSERT_EQ(section->systems.size(), 2u);
  EXPECT_EQ(Chords(*section), 48u);
  // Re-barring makes the bar lines again before the chords that begin bars: the final one goes.
  EXPECT_EQ(Shape(section->System(0)->Line(0)->firstVoice).size(), 48u + 11u);
  EXPECT_EQ(section->System(1)->Caption().captionString, "Trio");
  EXPECT_TRUE(section->System(1)->HasNoMusic());
}

TEST(SectionReflow, SplitCutsRunsOfTwentyAtBarLines) {
  auto section = Bars(1, 12);
  section->ReflowSystems(true, 20);
  section->ReflowSystems(false, 20);
  // A system ends before the first bar line after a run of more than 20 events, which then
  // opens the next system.
  ASSERT_EQ(section->systems.size(), 3u);
  EXPECT_EQ(Shapes(*section),
            (std::vector<std::string>{"qqqq|qqqq|qqqq|qqqq|qqqq", "|qqqq|qqqq|qqqq|qqqq", "|qqqq|qqqq|qqqq"}));
  EXPECT_EQ(Chords(*section), 48u);

  // Reflowing every instrument keeps the music where it is.
  section->ReflowAllInstruments();
  EXPECT_EQ(Chords(*section), 48u);
  EXPECT_EQ(section->systems.size(), 3u);
}

TEST(SectionReflow, SplitKeepsBlankEntriesSharedBreaksHiddenSystemsAndTheSecondVoice) {
  // Three systems, the middle one hidden: its music stays where it is. The first voice holds a
  // blank entry and the section's shared stave break, once within the music and once at its
  // end; the second voice runs over both shown systems.
  auto section = Section(3);
  section->System(1)->hidden = 1;
  Fill(*section, 1, 2);
  for (size_t s : {size_t{0}, size_t{2}}) {
    nChordArray& top = section->System(s)->Line(0)->firstVoice;
    nChordArray& bottom = section->System(s)->Line(0)->secondVoice;
    for (int b = 0; b < 6; ++b) {
      for (int q = 0; q < 4; ++q) top.push_back(QuarterNote());
      top.push_back(std::make_unique<nChord>(nChord::kBarLine));
      if (b % 2 == 0) {
        for (int q = 0; q < 4; ++q) bottom.push_back(QuarterNote());
        bottom.push_back(std::make_unique<nChord>(nChord::kBarLine));
      }
    }
  }
  nChordArray& first = section->System(0)->Line(0)->firstVoice;
  first.insert(2, nullptr);
  first.insert(16, section->SystemBreak());
  section->System(2)->Line(0)->firstVoice.push_back(section->SystemBreak());

  section->ReflowSystems(false, 8);
  // A system ends before the first bar line after a run of more than eight columns, the two
  // voices together: where both hold music a system holds the same bars in both. The shared
  // break within the music starts a system of its own and none is left in a voice; the hidden
  // system keeps its two quarters, re-barred; blank entries are what re-barring and aligning the
  // two voices make of the rest.
  EXPECT_EQ(Shapes(*section, 0, 0), (std::vector<std::string>{"qqqq|qqqq", "|qq", "qq|qq", "qq|qqqq|qq", "qq|qq__",
                                                               "qq|qqqq|qqqq", "|qqqq|qqqq", "|qqqq|qq"}));
  EXPECT_EQ(Shapes(*section, 0, 1),
            (std::vector<std::string>{"qqqq|qqqq", "", "qq|qq", "qq|qqqq__|", "qq|qqqq", "", "", ""}));
}

// Two staves of notation, one running in sixteenths and one in whole notes that opens with
// changes of clef the other lacks: the systems break at the same bars on both lines, and each
// (but the last) holds the bars whose shared columns fit the run.
TEST(SectionReflow, LinesOfShortAndLongNotesBreakTogether) {
  auto section = Section(1);
  section->Definition(0)->ApplyNotationPreset(2);
  auto second = std::make_unique<CInstrumentDlg>();
  second->CopyFrom(*section->Definition(0));
  section->AddInstrument(std::move(second));
  nChordArray& busy = section->System(0)->Line(0)->firstVoice;
  nChordArray& calm = section->System(0)->Line(1)->firstVoice;
  for (int k = 0; k < 3; ++k) calm.push_back(std::make_unique<nChord>(uint16_t{0x92}));
  for (int b = 0; b < 12; ++b) {
    for (int n = 0; n < 16; ++n) busy.push_back(std::make_unique<nChord>(nChord::kChord, uint16_t{5}));
    busy.push_back(std::make_unique<nChord>(nChord::kBarLine));
    calm.push_back(std::make_unique<nChord>(nChord::kChord, uint16_t{1}));
    calm.push_back(std::make_unique<nChord>(nChord::kBarLine));
  }
  ASSERT_EQ(busy.at(0)->GetDurationTicks() * 16, calm.at(3)->GetDurationTicks());
  section->ReflowSystems(true, 18);
  section->ReflowSystems(false, 18);
  ASSERT_GT(section->systems.size(), 2u);
  const auto barLines = [](const nChordArray& voice) {
    return std::count_if(voice.begin(), voice.end(), [](const auto& e) { return e != nullptr && e->IsBarLine(); });
  };
  for (size_t s = 0; s < section->systems.size(); ++s) {
    const CStaveArray& system = *section->System(s);
    EXPECT_EQ(barLines(system.Line(0)->firstVoice), barLines(system.Line(1)->firstVoice)) << "system " << s;
    EXPECT_EQ(system.Line(0)->firstVoice.empty(), system.Line(1)->firstVoice.empty()) << "system " << s;
    std::vector<SlotVoice> voices(2);
    for (size_t l = 0; l < 2; ++l) {
      for (const auto& e : system.Line(l)->firstVoice) voices[l].events.push_back(e.get());
    }
    if (s + 1 < section->systems.size()) {
      EXPECT_LE(LaySystemSlots(voices, SlotSpacing::kEngraved).end, 18 * SystemSlots::kUnitsPerColumn) << s;
    }
  }
}

TEST(SectionReflow, RecalculationSpellsTheFirstVoiceInTheSectionKey) {
  auto section = Section(1);
  section->key.bemol = 0;
  section->System(0)->Line(0)->firstVoice.push_back(QuarterNote(70));
  section->RecalculateSection(false);
  const nNotes* note = section->System(0)->Line(0)->firstVoice.at(0)->notes.at(0);
  EXPECT_EQ(nNotes::NameText(note->name), "B5b");  // no key: the flat is written
  section->key.alterations = 2;  // two flats: the key gives the flat
  section->key.bemol = 1;
  section->RecalculateSection(false);
  EXPECT_EQ(nNotes::NameText(note->name), "B5");
  EXPECT_EQ(section->System(0)->key, section->key);
}

TEST(SectionPlayback, StartTickOfTheCursorChord) {
  auto section = Bars(2, 3);
  section->activeSystem = 0;
  CClef& stave = *section->System(0)->Line(0)->GetCurrentStave();
  stave.cursorColumn = 4;  // the bar line: the chord after it
  EXPECT_EQ(section->GetPlaybackStartTick(), 768);
  EXPECT_EQ(stave.cursorColumn, 5);
  stave.cursorColumn = 40;
  EXPECT_EQ(section->GetPlaybackStartTick(), -1);
}

TEST(SectionInstruments, PastingAnInstrumentAndItsMusic) {
  auto section = Section(2);
  auto copied = std::make_unique<CInstrumentDlg>();
  copied->EnsureStave();
  for (int i = 0; i < 3; ++i) copied->gathered[0].push_back(QuarterNote(50));
  // The active instrument holds no music: it makes way for the pasted one.
  EXPECT_EQ(section->AddInstrumentWithVoices(std::move(copied)), 1);
  ASSERT_EQ(section->definitions.size(), 1u);
  EXPECT_EQ(Chords(*section), 3u);
  EXPECT_TRUE(section->Definition(0)->gathered[0].empty());

  CInstrumentDlg more;
  more.gathered[0].push_back(QuarterNote(55));
  more.gathered[1].push_back(QuarterNote(43));
  section->activeSystem = 0;
  section->System(0)->Line(0)->GetCurrentStave()->cursorColumn = 1;
  EXPECT_EQ(section->PasteInstrumentDataAtCursor(more), 1);
  EXPECT_EQ(Chords(*section), 4u);
  EXPECT_EQ(section->System(0)->Line(0)->firstVoice.at(1)->notes.at(0)->pitch, 55);
  EXPECT_EQ(more.gathered[0].size(), 1u);  // the copy stays as it was
}

class ScriptedSectionEditor : public SectionEditor {
 public:
  std::function<bool(CInstrumentDlg&)> edit;
  int proposedSplit = -1;
  bool EditInstrument(CInstrumentDlg& definition) override { return edit && edit(definition); }
  bool ParseVoices(int& split, int& highRange) override {
    proposedSplit = split;
    split = 62;
    highRange = 5;
    return true;
  }
};

TEST(SectionInstruments, EditingTheActiveInstrument) {
  auto section = Bars(2, 2);
  ScriptedSectionEditor editor;
  ScopedSectionEditor installed(editor);
  testing::ScriptedPrompts prompts;
  EXPECT_EQ(section->EditActiveInstrument(), 0);  // cancelled

  // Only the spelling of a course: the definition is applied, nothing asked.
  editor.edit = [](CInstrumentDlg& d) {
    d.tabInstrument.tuning.courses[6].accidental = '#';
    d.ApplyNotationPreset(CInstrumentDlg::kGrandStaffPreset);
    return true;
  };
  EXPECT_EQ(section->EditActiveInstrument(), 1);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(section->System(1)->Line(0)->staves.size(), 2u);
  EXPECT_EQ(section->Definition(0)->tabInstrument.tuning.courses[6].accidental, '#');

  // A course a tone lower: asked, and on Yes the notes move to the courses that now fit.
  nNotes* note = section->System(0)->Line(0)->firstVoice.at(0)->notes.at(0);
  section->Definition(0)->tabInstrument.FindStringForPitch(note->pitch - 23, -1);
  editor.edit = [](CInstrumentDlg& d) {
    d.tabInstrument.tuning.courses[0].pitch = static_cast<uint8_t>(d.tabInstrument.tuning.courses[0].pitch - 2);
    return true;
  };
  prompts.QueueAnswer(Answer::kYes);
  EXPECT_EQ(section->EditActiveInstrument(), 1);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].starts_with("You have modified the instrument tuning."));
  EXPECT_EQ(prompts.captions, std::vector<std::string>{"Please confirm"});
  EXPECT_EQ(note->string, section->Definition(0)->tabInstrument.FindStringForPitch(note->pitch - 23, -1));
}

TEST(SectionInstruments, WholeVoiceEditsOfTheActiveInstrument) {
  auto section = Bars(2, 2);
  EXPECT_EQ(section->TransposeActiveInstrument(2), 1);
  EXPECT_EQ(section->System(1)->Line(0)->firstVoice.at(0)->notes.at(0)->pitch, 62);
  EXPECT_EQ(section->TransposeNotesBeyondLimit(63, false), 4u);  // 64 and 65, twice
  EXPECT_EQ(section->System(0)->Line(0)->firstVoice.at(3)->notes.at(0)->pitch, 53);
  section->System(0)->Line(0)->firstVoice.at(0)->notes.at(0)->string = 2;
  section->ShiftCoursePitch(2, -1);
  EXPECT_EQ(section->System(0)->Line(0)->firstVoice.at(0)->notes.at(0)->pitch, 61);
  section->RecalculateFingerings();
  EXPECT_EQ(section->System(0)->Line(0)->firstVoice.at(0)->notes.at(0)->string,
            section->Definition(0)->tabInstrument.FindStringForPitch(61 - 23, -1));

  section->ChangeAllFlagValues(true);  // quarters become eighths
  EXPECT_EQ(section->System(0)->Line(0)->firstVoice.at(0)->rhythm & 7, 4);
  EXPECT_TRUE(section->Definition(0)->gathered[0].empty());
}

TEST(SectionInstruments, AnalyzingVoicesProposesASplitByClef) {
  auto section = Bars(1, 1);
  ScriptedSectionEditor editor;
  ScopedSectionEditor installed(editor);
  // A chord of two notes splits around its highest note less the range.
  nChord& chord = *section->System(0)->Line(0)->firstVoice.at(0);
  chord.notes.at(0)->pitch = 72;
  chord.notes.at(0)->string = 1;
  auto low = std::make_unique<nNotes>();
  low->pitch = 48;
  low->string = 4;
  chord.AddNote(std::move(low));
  CClef& stave = *section->System(0)->Line(0)->GetCurrentStave();
  stave.clefId = CClef::kCClef;
  stave.clefRaise = 5;
  EXPECT_EQ(section->AnalyzeVoices(), 1);
  EXPECT_EQ(editor.proposedSplit, 50);
  EXPECT_EQ(chord.notes.at(0)->flags & nNotes::kLowerVoiceFlag, 0);
  EXPECT_NE(chord.notes.at(1)->flags & nNotes::kLowerVoiceFlag, 0);

  stave.clefId = CClef::kFClef;
  section->AnalyzeVoices();
  EXPECT_EQ(editor.proposedSplit, 49);
}

// ---------------------------------------------------------------------------------------------
// Finishing an imported section

TEST(SectionImportFinish, DistributingHandsEachGatheredVoiceToItsLineAndStave) {
  CSystemArray section;
  section.DeleteAllSystems();
  section.definitions.clear();
  for (int d = 0; d < 2; ++d) {
    auto definition = std::make_unique<CInstrumentDlg>();
    definition->EnsureStave();
    definition->staves.at(0)->clefId = CClef::kFClef;
    section.definitions.push_back(std::move(definition));
  }
  CInstrumentDlg& second = *section.Definition(1);
  second.AddStave()->clefId = CClef::kCClef;
  second.LinkStaves();
  for (int i = 0; i < 3; ++i) section.Definition(0)->gathered[0].push_back(QuarterNote());
  section.Definition(0)->gathered[0].push_back(section.SystemBreak());
  section.Definition(0)->gathered[0].push_back(QuarterNote());
  second.gathered[0].push_back(QuarterNote());
  second.gathered[1].push_back(QuarterNote(48));
  section.NewSystem(CSystemArray::kAppend);
  // Stave settings of a line made before the definition changed them.
  second.staves.at(1)->clefId = CClef::kGClef;

  section.DistributeInstrumentVoices();
  ASSERT_EQ(section.systems.size(), 2u);  // the stave break opens a second system
  EXPECT_EQ(Shapes(section, 0), (std::vector<std::string>{"qqq", "q"}));
  EXPECT_EQ(Shapes(section, 1, 0), (std::vector<std::string>{"q", ""}));
  EXPECT_EQ(Shapes(section, 1, 1), (std::vector<std::string>{"q", ""}));
  for (size_t s = 0; s < 2; ++s) {
    EXPECT_EQ(section.System(s)->Line(0)->staves.at(0)->clefId, CClef::kFClef);
    EXPECT_EQ(section.System(s)->Line(1)->staves.at(1)->clefId, CClef::kGClef);
  }
  for (const auto& definition : section.definitions.items()) {
    EXPECT_TRUE(definition->gathered[0].empty());
    EXPECT_TRUE(definition->gathered[1].empty());
  }
}

TEST(SectionImportFinish, NotationIsRespelledInEachDefinitionsKeyInBothVoices) {
  auto section = Section(2);
  CInstrumentDlg& definition = *section->Definition(0);
  section->System(0)->Line(0)->firstVoice.push_back(QuarterNote(70));
  section->System(1)->Line(0)->secondVoice.push_back(QuarterNote(70));
  definition.key.bemol = 0;  // two sharps: A sharp
  definition.key.alterations = 2;
  section->RecalculateNotation();
  const nNotes* first = section->System(0)->Line(0)->firstVoice.at(0)->notes.at(0);
  const nNotes* second = section->System(1)->Line(0)->secondVoice.at(0)->notes.at(0);
  EXPECT_EQ(nNotes::NameText(first->name), "A5#");
  EXPECT_EQ(nNotes::NameText(second->name), "A5#");
  definition.key.bemol = 1;  // two flats: B flat, which the key gives
  section->RecalculateNotation();
  EXPECT_EQ(nNotes::NameText(first->name), "B5");
  EXPECT_EQ(nNotes::NameText(second->name), "B5");
  EXPECT_TRUE(definition.gathered[0].empty());
  EXPECT_EQ(section->System(1)->Line(0)->secondVoice.size(), 1u);  // the music stays in place
}

TEST(SectionImportFinish, CommandsReachOnlyTheActiveInstrument) {
  auto section = Section(2);
  section->AddInstrument(std::make_unique<CInstrumentDlg>());
  for (size_t s = 0; s < 2; ++s) {
    for (size_t j = 0; j < 2; ++j) {
      nChordArray& voice = section->System(s)->Line(j)->firstVoice;
      for (int q = 0; q < 4; ++q) voice.push_back(QuarterNote());
      voice.push_back(std::make_unique<nChord>(0x11));  // a fixed bar line where the bar ends
      voice.push_back(QuarterNote());
      voice.push_back(std::make_unique<nChord>(0x11));  // and one inside the next bar
      voice.push_back(QuarterNote());
      voice.at(0)->metaEvents.SetMetaEvent(CMetaEvent::kLyrics, "la", 0, 0, 0);
    }
  }
  section->System(0)->activeInstrument = 1;
  section->ApplyCommandToActiveInstrument(ClearCommand::kClearForcedBarlines);
  section->ApplyCommandToActiveInstrument(ClearCommand::kLyrics);
  for (size_t s = 0; s < 2; ++s) {
    const nChordArray& active = section->System(s)->Line(1)->firstVoice;
    const nChordArray& other = section->System(s)->Line(0)->firstVoice;
    EXPECT_EQ(active.at(4)->status, 1) << s;     // freed: an ordinary bar line
    EXPECT_EQ(active.at(6)->status, 0x11) << s;  // kept: it does not fall on a bar end
    EXPECT_TRUE(active.at(0)->metaEvents.empty());
    EXPECT_EQ(other.at(4)->status, 0x11);
    EXPECT_EQ(other.at(0)->metaEvents.size(), 1u);
  }
}

}  // namespace
}  // namespace vornel
