// The section, voice, instrument, stave, chord and layout tools of the score view, driven
// headless through the view's command table with scripted prompts.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ViewFixtures.h"
#include "document/DocumentDump.h"
#include "layout/dialogs/SectionDialogs.h"
#include "model/events/CMetaEvent.h"
#include "model/score/SectionTools.h"
#include "model/voice/nNotes.h"
#include "view/commands/ScoreCommandSupport.h"

namespace vornel {
namespace {

using testing::ViewDocument;
using testing::ExpectOneUndoStep;
using testing::NoFailures;
using testing::SettleAsStored;
using testing::ViewRig;

bool DispatchTool(ViewRig& rig, int id) { return rig.view.Commands().Execute(view::CommandEvent{id, std::nullopt, {}}); }
bool ToolEnabled(ViewRig& rig, int id) { return rig.view.Commands().State(id).enabled; }
std::optional<bool> Checked(ViewRig& rig, int id) { return rig.view.Commands().State(id).checked; }
CInstrumentDlg& Definition(ViewRig& rig) { return *rig.Section().Definition(0); }
nChord& CursorChord(ViewRig& rig) { return *rig.view.ActiveLine()->firstVoice.at(0); }

// Each command that changes the active section: it dispatches, changes the document, marks
// it modified, and one Undo gives back the section's dump exactly.
TEST(ScoreToolCommands, EachEditIsUndoneByOneUndo) {
  struct Case {
    int id;
    std::function<void(ViewRig&)> prepare;
  };
  const auto none = [](ViewRig&) {};
  // Fingerings, ornaments, note flags and a meta-event for the "Remove all..." family to remove.
  const auto decorated = [](ViewRig& rig) {
    nNotes& note = *CursorChord(rig).notes.at(0);
    note.fingering = 3;
    note.ornament = 2;
    note.flags = 0x3F;
    CursorChord(rig).status |= 0x80;
    CursorChord(rig).metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kTempo, "", 0, 0, 0));
  };
  const auto signature = [](ViewRig& rig) { rig.Section().InsertInitialTimeSignature(); };
  const auto markBegin = [](ViewRig& rig) {
    CursorChord(rig).metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kMarker, "", 0, 0, 0));
    rig.view.ActiveLine()->firstVoice.at(5)->metaEvents.push_back(
        std::make_unique<CMetaEvent>(CMetaEvent::kMarker, "", 1, 1, 0));
    UpdateMarkedArea(rig.Section());
  };
  const std::vector<Case> cases = {
      // "Remove all..." and the section tools
      {33100, decorated}, {33101, decorated}, {33103, decorated}, {33105, none}, {33258, decorated},
      {34263, decorated}, {1175, none}, {33254, [](ViewRig& rig) { rig.Section().System(1)->hidden = 1; }},
      {32995, none}, {32996, none}, {32998, none}, {34085, none}, {33405, none}, {33200, none},
      {34247, none}, {34261, none}, {33937, none}, {33255, none}, {33295, none}, {33411, none},
      // options of the definition and its stave
      {33435, none}, {33625, none}, {34092, none}, {34081, none}, {34082, signature}, {34083, none},
      {34084, none}, {33979, none}, {33180, none}, {33204, none}, {33214, none},
      {33290, none}, {33293, none}, {34172, none}, {32769, none},
      // chord events and the marked area
      {34226, none}, {34180, none}, {34196, none}, {34175, none}, {34230, markBegin},
  };
  for (const Case& c : cases) {
    ViewRig rig(ViewDocument(1, 2, 4));
    rig.Stave().cursorColumn = 0;
    SettleAsStored(rig);
    c.prepare(rig);
    ExpectOneUndoStep(rig, c.id);
  }
}

// Every command on a section without systems, on a document without sections, on systems
// without lines, on lines without music and with the cursor beyond the voice: nothing is
// thrown out of a command and nothing changes but what acts on the systems themselves.
TEST(ScoreToolCommands, NothingToActOnChangesNothing) {
  const std::vector<int> ids = {33100, 33105, 34263, 32995, 32996, 32997, 32998, 32989, 32990, 34085, 33405,
                                33200, 33194, 34247, 34261, 33937, 33004, 32787, 33295, 33283, 33430, 33964,
                                33620, 34091, 34081, 34082, 34083, 33979, 33987, 33180, 33183, 33186, 33187,
                                33202, 33213, 34307, 33289, 33292, 33290, 33050, 33293, 33048, 34226, 34228,
                                34229, 34230, 34231, 34087, 34175, 34180, 34196, 34205, 34207, 33411, 33171,
                                32769, 32771, 33210};
  // `changing`: the commands that may still act (on the systems themselves).
  const auto check = [&ids](ViewRig& rig, const char* what, const std::set<int>& changing = {}) {
    for (const int id : ids) {
      const std::string before = DumpDocument(*rig.doc);
      DispatchTool(rig, id);
      NoFailures(rig.prompts, id);
      if (changing.count(id) == 0) {
        EXPECT_TRUE(DumpDocument(*rig.doc) == before) << what << " " << id;
      }
    }
  };
  {
    auto doc = ViewDocument(1, 2, 4);
    doc->GetActiveSection()->DeleteAllSystems();
    ViewRig rig(std::move(doc));
    check(rig, "no systems");
  }
  {
    ViewRig rig(std::make_unique<CBriotabDoc>());
    check(rig, "no sections");
  }
  {
    // Systems without lines: no active line.
    auto doc = ViewDocument(1, 2, 4);
    CSystemArray& section = *doc->GetActiveSection();
    for (const auto& system : section.systems.items()) system->lines.clear();
    section.definitions.clear();
    ViewRig rig(std::move(doc));
    // The copied system is pasted, blank systems go, the systems are reflowed.
    check(rig, "no active line", {32990, 33048, 33411});
  }
  {
    // Systems whose lines hold no music, and no marked area: every command runs without a
    // failure; those that work on the music or the marked area change nothing. The options of
    // the definition, its staves and its systems still change.
    auto doc = ViewDocument(1, 2, 4);
    for (const auto& system : doc->GetActiveSection()->systems.items()) {
      for (const auto& line : system->lines.items()) {
        for (nChordArray* voice : line->Voices()) voice->DeleteChords();
      }
    }
    ViewRig rig(std::move(doc));
    const std::set<int> music = {33100, 34263, 32995, 32996, 32997, 32998, 34247, 34261, 33937, 34226,
                                 34228, 34229, 34230, 34231, 34087, 34175, 34180, 34196, 34205, 34207};
    for (const int id : ids) {
      const std::string before = DumpDocument(*rig.doc);
      if (id == 33289) rig.prompts.QueueAnswer(Answer::kCancel);
      DispatchTool(rig, id);
      NoFailures(rig.prompts, id);
      if (music.count(id) != 0) {
        EXPECT_TRUE(DumpDocument(*rig.doc) == before) << "empty section " << id;
      }
    }
  }
  {
    ViewRig rig(ViewDocument(1, 2, 4));
    rig.Stave().cursorColumn = 500;
    for (const int id : {34226, 34180, 34196, 34087, 34175}) EXPECT_FALSE(ToolEnabled(rig, id)) << id;
  }
}

TEST(ScoreToolCommands, SectionFlagsBeatsAndKeys) {
  EXPECT_EQ(TogglePageBreak(0x101), 0x001);
  EXPECT_EQ(TogglePageBreak(0), 0x100);
  for (const auto& [code, ticks] : std::vector<std::pair<int, uint32_t>>{{0, 192}, {8, 192}, {1, 384}, {6, 144}}) {
    EXPECT_EQ(GetBeatTicks(code), ticks) << code;
  }
  struct KeyCase {
    std::vector<int> pitches;
    int fifths;
  };
  const std::vector<KeyCase> keys = {
      {{66, 61, 68, 64}, 3},           // F sharp, C sharp, G sharp, no D sharp
      {{70, 70, 63, 64, 71}, -2},      // B flat more often than B: two flats
      {{70, 63, 64, 71, 71, 71}, 0},   // B more often: no flats
  };
  for (const KeyCase& k : keys) {
    int counts[12] = {};
    for (int p : k.pitches) ++counts[p % 12];
    EXPECT_EQ(AnalyzeKeyCounts(counts).first, k.fifths);
  }
}

TEST(ScoreToolCommands, KeyAnalysisAnswers) {
  ViewRig rig(ViewDocument(2, 2, 4));
  const std::string before = DumpDocument(*rig.doc);
  rig.prompts.QueueAnswer(Answer::kCancel);
  DispatchTool(rig, 33804);
  EXPECT_EQ(DumpDocument(*rig.doc), before);
  EXPECT_TRUE(rig.doc->undoStack.empty());
  rig.prompts.QueueAnswer(Answer::kYes);
  DispatchTool(rig, 33804);
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);  // every section: one step
  rig.prompts.QueueAnswer(Answer::kNo);
  DispatchTool(rig, 33804);
  EXPECT_EQ(rig.doc->undoStack.size(), 2u);
}

TEST(ScoreToolCommands, VoiceFillingAndAutoDot) {
  nChordArray pairs;
  EXPECT_EQ(FillEmptyVoice(pairs, 2, 6, 8), 1);
  ASSERT_EQ(pairs.size(), 4u);
  EXPECT_EQ(pairs[0]->rhythm, 1);
  EXPECT_EQ(pairs[1]->rhythm, 2);
  nChordArray singles;
  FillEmptyVoice(singles, 2, 3, 8);
  ASSERT_EQ(singles.size(), 2u);
  EXPECT_EQ(singles[0]->rhythm, 3);
  EXPECT_EQ(FillEmptyVoice(singles, 2, 3, 8), 0);

  nChordArray voice;
  for (uint32_t tick : {0u, 384u, 768u}) {
    auto chord = std::make_unique<nChord>(nChord::kChord, uint16_t{2});
    chord->AddNote(std::make_unique<nNotes>());
    chord->delta = tick;
    voice.push_back(std::move(chord));
  }
  AutoDotRange(voice, 0, voice.size());
  EXPECT_EQ(voice[1]->notes.at(0)->fingering & 0xF, 1u);  // 384 is not a multiple of 768
  EXPECT_EQ(voice[2]->notes.at(0)->fingering & 0xF, 0u);
}

TEST(ScoreToolCommands, TranspositionSizeKeepsItsSign) {
  ViewRig rig(ViewDocument(1, 2, 4));
  Definition(rig).midi.transpose = -3;
  DispatchTool(rig, 33442);  // "1 Octave"
  EXPECT_EQ(Definition(rig).midi.transpose, -12);
  DispatchTool(rig, 33964);
  EXPECT_EQ(Definition(rig).midi.transpose, 12);
  EXPECT_EQ(Checked(rig, 33442), true);
  DispatchTool(rig, 33430);
  DispatchTool(rig, 33964);
  EXPECT_EQ(Definition(rig).midi.transpose, 0);
}

TEST(ScoreToolCommands, FlagStylesTablatureStylesAndBeams) {
  ViewRig rig(ViewDocument(1, 2, 4));
  DispatchTool(rig, 33629);
  EXPECT_EQ(Definition(rig).tabInstrument.flagStyle, 9);
  EXPECT_EQ(Checked(rig, 33629), true);
  // "Show ornaments" is checked while they show.
  EXPECT_EQ(Checked(rig, 34083), true);
  DispatchTool(rig, 34083);
  EXPECT_EQ(Definition(rig).hideOrnaments, 1);
  EXPECT_EQ(Checked(rig, 34083), false);

  EXPECT_FALSE(ToolEnabled(rig, 33185));  // tablature styles want a tablature
  DispatchTool(rig, 33180);
  ASSERT_TRUE(rig.Stave().IsTablature());
  const std::pair<int, int32_t> styles[] = {{33183, 0}, {33184, 2}, {33185, 1}};
  for (const auto& [id, style] : styles) {
    DispatchTool(rig, id);
    EXPECT_EQ(Definition(rig).tabInstrument.tabStyle, style) << id;
    for (const auto& [other, unused] : styles) EXPECT_EQ(Checked(rig, other), other == id) << id;
  }
  Definition(rig).beamMode = 1;
  DispatchTool(rig, 33187);
  EXPECT_EQ(Definition(rig).beamMode, 0);
  DispatchTool(rig, 33187);
  EXPECT_EQ(Definition(rig).beamMode, 2);
}

TEST(ScoreToolCommands, MarkersDynamicsBracketsAndPositions) {
  ViewRig rig(ViewDocument(1, 2, 4));
  rig.Stave().cursorColumn = 0;
  nChord& chord = CursorChord(rig);
  DispatchTool(rig, 34226);
  EXPECT_EQ(Definition(rig).markers[0], 0);
  // An end marker on the begin marker removes it and adds none.
  DispatchTool(rig, 34227);
  EXPECT_EQ(chord.metaEvents.Find(CMetaEvent::kMarker), nullptr);
  EXPECT_EQ(Definition(rig).markers[0], -1);

  DispatchTool(rig, 34184);  // "mf"
  DispatchTool(rig, 34180);  // "ppp" replaces it in place
  ASSERT_EQ(chord.metaEvents.size(), 1u);
  EXPECT_EQ(chord.metaEvents.Find(CMetaEvent::kDynamics)->cy, 64);

  EXPECT_FALSE(ToolEnabled(rig, 34204));  // nothing to lengthen yet
  DispatchTool(rig, 34197);                // "Stave L bracket left"
  for (int k = 0; k < 70; ++k) DispatchTool(rig, 34204);  // "Lengthen bracket"
  const CMetaEvent* bracket = chord.metaEvents.Find(33);
  ASSERT_NE(bracket, nullptr);
  EXPECT_EQ(bracket->value & 0xFFFF, 64u);
  for (int k = 0; k < 70; ++k) DispatchTool(rig, 34205);
  EXPECT_EQ(bracket->value & 0xFFFF, 0u);
  DispatchTool(rig, 34206);
  EXPECT_EQ(chord.metaEvents.Find(33), nullptr);

  chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kFermata, "", 0, 0, 0));
  chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kTempo, "", 0, 0, 0));
  chord.metaEvents.Find(CMetaEvent::kTempo)->location.notationCx = 33;
  DispatchTool(rig, 34087);
  const EventLocation& fermata = chord.metaEvents.Find(CMetaEvent::kFermata)->location;
  EXPECT_EQ(fermata.notationCx, -100);
  EXPECT_EQ(fermata.notationCy, -300);
  EXPECT_EQ(fermata.tablatureCx, -200);
  EXPECT_EQ(fermata.tablatureCy, -750);
  EXPECT_EQ(chord.metaEvents.Find(CMetaEvent::kTempo)->location, EventLocation());
}

TEST(ScoreToolCommands, InstrumentsAndStavesPerPage) {
  ViewRig rig(ViewDocument(2, 2, 4));
  rig.prompts.QueueAnswer(Answer::kOk);
  DispatchTool(rig, 33289);  // the only instrument stays, emptied
  EXPECT_EQ(rig.Section().definitions.size(), 1u);
  EXPECT_TRUE(rig.view.ActiveLine()->firstVoice.empty());

  rig.doc->settings.pageSettings.systemsPerPage = 6;
  DispatchTool(rig, 1175);
  DispatchTool(rig, 1175);
  EXPECT_EQ(rig.Section().stavesPerPage, 5);
  rig.doc->settings.pageSettings.systemsPerPage = 15;
  DispatchTool(rig, 1176);
  EXPECT_EQ(rig.Section().stavesPerPage, 15);

  rig.doc->SaveSnapshot();
  rig.prompts.QueueNumber(2);
  DispatchTool(rig, 33172);  // moving a section empties undo
  EXPECT_TRUE(rig.doc->undoStack.empty());
  EXPECT_EQ(rig.doc->GetActiveSection()->Title().text, "Section 1");
  EXPECT_EQ(rig.doc->sections.activeSection, 1);
}

// "Page formatting" answered by a script: what it opened with, then its choice.
struct PageFormatting : SectionDialogs {
  bool ok = true;
  std::function<void(CReformatPageDlg&)> answer;
  CReformatPageDlg shown;
  int opened = 0;
  bool ReformatPage(CReformatPageDlg& d) override {
    ++opened;
    shown = d;
    if (answer) answer(d);
    return ok;
  }
};

TEST(ScoreToolCommands, PageFormattingReformatsAndPlacesHeadings) {
  ViewRig rig(ViewDocument(2, 4, 4));
  PageFormatting dialogs;
  ScopedSectionDialogs installed(dialogs);
  CPageDlg& page = rig.doc->settings.pageSettings;
  page.systemsPerPage = 30;
  page.cursorWidth = 100;
  for (const auto& section : rig.doc->sections.items()) {
    section->Author().text = "John Dowland";
    section->Comments().text = "Lachrimae";
  }
  CSystemArray& first = *rig.doc->sections.at(0);
  CSystemArray& second = *rig.doc->sections.at(1);

  // Cancel changes nothing; the sliders open from the page settings, kept in their ranges.
  dialogs.ok = false;
  std::string before = DumpDocument(*rig.doc);
  DispatchTool(rig, 33412);
  EXPECT_EQ(dialogs.shown.stavesPerPage, 12);
  EXPECT_EQ(dialogs.shown.spacing, 100);
  EXPECT_EQ(dialogs.shown.pageSettings, &page);
  EXPECT_TRUE(DumpDocument(*rig.doc) == before);
  EXPECT_TRUE(rig.doc->undoStack.empty());

  // The active section alone, one undo step; the headings by their alignments everywhere, at
  // the active section's heights.
  dialogs.ok = true;
  first.Title().x = 5;
  first.Title().y = 25;
  dialogs.answer = [](CReformatPageDlg& d) {
    d.reformatStaves = true;
    d.stavesPerPage = 3;
    d.spacing = 150;
    d.titleAlignment = 2;     // Center
    d.authorAlignment = 1;    // Right
    d.commentsAlignment = 0;  // Left
  };
  DispatchTool(rig, 33065);
  EXPECT_EQ(page.systemsPerPage, 3u);
  EXPECT_EQ(page.cursorWidth, 150u);
  EXPECT_EQ(first.stavesPerPage, 3);
  EXPECT_EQ(second.stavesPerPage, 4);
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);
  for (const CSystemArray* section : {&first, &second}) {
    EXPECT_LT(section->Comments().x, section->Title().x);
    EXPECT_LT(section->Title().x, section->Author().x);
    EXPECT_EQ(section->Title().y, 25);
    EXPECT_EQ(section->Author().y, first.Author().y);
  }
  EXPECT_NE(first.Author().y, 0);
  EXPECT_TRUE(rig.doc->IsModified());

  // Every section: each takes the staves per page, one undo step giving back the whole
  // document. Headings moved to the left.
  dialogs.answer = [](CReformatPageDlg& d) {
    d.reformatStaves = true;
    d.reformatAllSections = true;
    d.stavesPerPage = 5;
    d.titleAlignment = d.authorAlignment = d.commentsAlignment = 0;
  };
  DispatchTool(rig, 33412);
  EXPECT_EQ(first.stavesPerPage, 5);
  EXPECT_EQ(second.stavesPerPage, 5);
  EXPECT_EQ(rig.doc->undoStack.size(), 2u);
  EXPECT_EQ(second.Title().x, second.Author().x);
  EXPECT_EQ(dialogs.opened, 3);
}

TEST(ScoreToolCommands, CopiedSystemOutlivesItsSystem) {
  ViewRig rig(ViewDocument(1, 3, 4));
  const nChordArray first = rig.Section().System(0)->Line(0)->firstVoice;
  DispatchTool(rig, 32989);
  DispatchTool(rig, 32967);  // "Delete system"
  const size_t systems = rig.Section().systems.size();
  ASSERT_TRUE(DispatchTool(rig, 32990));
  ASSERT_EQ(rig.Section().systems.size(), systems + 1);
  EXPECT_EQ(rig.Section().systems.back()->Line(0)->firstVoice, first);
}

TEST(ScoreToolCommands, DeprecatedAndEmptyCommands) {
  ViewRig rig(ViewDocument(1, 2, 4));
  DispatchTool(rig, 33421);
  ASSERT_EQ(rig.prompts.messages.size(), 1u);
  EXPECT_EQ(rig.prompts.messages[0], "Deprecated function");
  const std::string before = DumpDocument(*rig.doc);
  for (const int id : {33737, 33090, 33099, 33644}) EXPECT_TRUE(DispatchTool(rig, id)) << id;
  EXPECT_EQ(DumpDocument(*rig.doc), before);
}

// The editing ids that the keyboard console and the ribbon send act as their keys do.
TEST(ScoreToolCommands, EditingIdsActAsTheirKeys) {
  ViewRig rig(ViewDocument(1, 2, 4));
  CClef& stave = rig.Stave();
  nChordArray& voice = rig.view.ActiveLine()->firstVoice;
  stave.cursorColumn = 0;
  DispatchTool(rig, 32794);  // "Cursor step right"
  EXPECT_EQ(stave.cursorColumn, 1);
  DispatchTool(rig, 32795);  // "Cursor step back"
  EXPECT_EQ(stave.cursorColumn, 0);
  DispatchTool(rig, 32765);  // "End of piece"
  EXPECT_EQ(stave.cursorColumn, stave.columnCount);

  // Longer and shorter note values; the shorter one steps on when the cursor auto-advances.
  view::ScoreViewState& state = rig.view.State();
  state.noteValue = 3;
  state.autoAdvance = false;
  stave.cursorColumn = 0;
  DispatchTool(rig, 32796);
  EXPECT_EQ(state.noteValue, 2);
  DispatchTool(rig, 32797);
  EXPECT_EQ(state.noteValue, 3);
  EXPECT_EQ(stave.cursorColumn, 0);
  state.autoAdvance = true;
  DispatchTool(rig, 32797);
  EXPECT_EQ(stave.cursorColumn, 1);
  state.noteValue = 0;
  DispatchTool(rig, 32796);
  EXPECT_EQ(state.noteValue, 0);
  state.noteValue = 7;
  state.autoAdvance = false;
  DispatchTool(rig, 32797);
  EXPECT_EQ(state.noteValue, 7);

  // "Insert dynamic space" and "Delete chord" at the cursor; "Format system" is one undo step.
  stave.cursorColumn = 1;
  const nChord* second = voice.at(1);
  DispatchTool(rig, 32786);
  ASSERT_NE(voice.at(1), second);
  EXPECT_TRUE(voice.at(1)->notes.empty());
  stave.cursorColumn = 1;
  DispatchTool(rig, 32785);
  EXPECT_EQ(voice.at(1), second);
  rig.doc->undoStack.clear();
  rig.doc->SetModifiedFlag(false);
  DispatchTool(rig, 32784);
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);
  EXPECT_TRUE(rig.doc->IsModified());

  // Without a line they are disabled.
  ViewRig empty(std::make_unique<CBriotabDoc>());
  for (const int id : {32765, 32784, 32785, 32786, 32794, 32795, 32796, 32797}) EXPECT_FALSE(ToolEnabled(empty, id)) << id;
}

// The section's system commands that end by updating the views mark the document modified,
// and one Undo gives the section back.
TEST(ScoreToolCommands, SystemCommandsMarkTheDocumentModified) {
  for (const int id : {810, 32946, 33002, 32967, 33049}) {
    ViewRig rig(ViewDocument(1, 3, 4));
    rig.Section().System(1)->Line(0)->firstVoice.DeleteChords();
    SettleAsStored(rig);
    if (id == 33049) rig.prompts.QueueNumber(2);
    ExpectOneUndoStep(rig, id);
  }
}

TEST(ScoreToolCommands, HyperlinkTargets) {
  const std::string folder = ::testing::TempDir();
  struct Case {
    std::string text;
    bool opens;
  };
  const Case cases[] = {{"https://example.org|Example", true},
                        {"https://example.org", true},  // no "|": the whole text
                        {"mailto:a@b.c|mail", true},
                        {"javascript:alert(1)|x", false},
                        {"../outside.pdf|x", false},
                        {"|empty", false}};
  for (const Case& c : cases) {
    CMetaEvent link(CMetaEvent::kHyperlink, c.text, 0, 0, 0);
    EXPECT_EQ(view::HyperlinkTarget(link, folder).has_value(), c.opens) << c.text;
  }
}

}  // namespace
}  // namespace vornel
