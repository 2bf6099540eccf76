// Notation from tablature, the instrument clipboard and base, tuning, bar moves and the
// dialog-opening commands of the score view, driven headless through the view's command
// table with scripted prompts and scripted dialogs.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ViewFixtures.h"
#include "document/DocumentDump.h"
#include "layout/dialogs/SectionDialogs.h"
#include "layout/dialogs/SmallDialogs.h"
#include "model/instrument/CTabInstrument.h"
#include "model/instrument/CKey.h"
#include "model/voice/EntryForms.h"
#include "model/events/MetaEventEditor.h"
#include "model/score/SectionEditor.h"
#include "model/score/SectionTools.h"
#include "model/voice/nNotes.h"
#include "model/instrument/nTuning.h"
#include "support/Bytes.h"
#include "support/RecordingLauncher.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/commands/ScoreDialogs.h"
#include "view/draw/FontChooser.h"
#include "view/entry/ChordClipboard.h"

namespace vornel {
namespace {

using testing::ExpectOneUndoStep;
using testing::NoFailures;
using testing::SettleAsStored;
using testing::ViewDocument;
using testing::ViewRig;

bool DispatchWithValue(ViewRig& rig, int id, std::optional<long> value = std::nullopt) {
  return rig.view.Commands().Execute(view::CommandEvent{id, value, {}});
}
bool Enabled(ViewRig& rig, int id) { return rig.view.Commands().State(id).enabled; }

// Dialogs that answer as a test sets them up; anything not set up is cancelled.
struct ScriptedDialogs : view::ScoreDialogs {
  std::function<bool(CInstrumentDlg&)> tuning;
  std::optional<view::CourseTuningChoice> course;
  std::optional<int> globalShift;
  std::optional<COctaveDlg> octave;
  std::optional<std::pair<int, int>> barRange;
  CInstrumentArray base;
  bool hasBase = false;
  int saves = 0;
  std::unique_ptr<CInstrumentDlg> template_;
  bool ornaments = false;
  bool documentFonts = false;

  bool EditTuning(CInstrumentDlg& d) override { return tuning && tuning(d); }
  bool ChooseTextureBitmap() override { return false; }
  bool ToggleChordChart(const CTabInstrument&) override { return false; }
  bool ChooseCourseTuning(const CInstrumentDlg&, view::CourseTuningChoice& c) override {
    if (!course) return false;
    c = *course;
    return true;
  }
  bool ChooseGlobalTuningShift(int& shift) override {
    if (!globalShift) return false;
    shift = *globalShift;
    return true;
  }
  bool ChooseOctaveLimit(COctaveDlg& d) override {
    if (!octave) return false;
    d = *octave;
    return true;
  }
  bool ChooseBarRange(CBarRangeDlg& d) override {
    if (!barRange) return false;
    d.begin = barRange->first;
    d.end = barRange->second;
    return true;
  }
  CInstrumentArray* InstrumentBase() override { return hasBase ? &base : nullptr; }
  bool SaveInstrumentBase() override { return ++saves > 0; }
  std::unique_ptr<CInstrumentDlg> ChooseFromTemplates(const CInstrumentDlg&) override { return std::move(template_); }
  bool CustomizeOrnaments(CInstrumentDlg& d) override {
    if (!ornaments) return false;
    d.ornaments.table.at(0)->alignment = (d.ornaments.table.at(0)->alignment + 1) % 12;
    return true;
  }
  bool EditDocumentFonts(CBriotabDoc& doc) override {
    if (!documentFonts) return false;
    doc.settings.pageSettings.DocumentFont(kFontTitles).logFont.lfFaceName = "VN Serif";
    return true;
  }
};

// The section's and the definition's own dialogs, the meta-event editors and the font dialog,
// each cancelled.
struct CancelledDialogs : SectionEditor, SectionDialogs, MetaEventEditor, FontChooser {
  CancelledDialogs() : editorScope(*this), dialogsScope(*this), metaEventScope(*this), fontScope(*this) {}
  bool RunEditor(CMetaEvent&, int) override { return false; }
  std::optional<FontChoice> Choose(const FontChoice&, bool) override { return std::nullopt; }
  bool EditInstrument(CInstrumentDlg&) override { return false; }
  bool ParseVoices(int&, int&) override { return false; }
  bool EditSystemOptions(CStaveArray&) override { return false; }
  bool EditTrackText(CTrackText&) override { return false; }
  bool EditTuning(nTuning&) override { return false; }
  bool EditSection(CSectionDlg&) override { return false; }
  bool ParseVoices(CAnalyzeVoicesDlg&) override { return false; }
  bool EditSystem(CSegOffsetDlg&) override { return false; }
  bool ReformatPage(CReformatPageDlg&) override { return false; }
  bool EditTrackText(CTrackTextDlg&) override { return false; }
  ScopedSectionEditor editorScope;
  ScopedSectionDialogs dialogsScope;
  ScopedMetaEventEditor metaEventScope;
  ScopedFontChooser fontScope;
};

// The fixture's line as a tablature: its stave shows tablature, the notes sit on courses and
// every chord has a lower-voice bass note (one pitch, so that no bar holds two pitches on one
// step, whose spelling the stored form does not keep).
void MakeTablature(ViewRig& rig) {
  CSystemArray& section = rig.Section();
  ToggleTablatureNotationMode(section);
  for (const auto& system : section.systems.items()) {
    for (const auto& e : system->Line(0)->firstVoice) {
      if (e == nullptr || !e->IsChord()) continue;
      if (e->notes.empty()) continue;
      auto bass = std::make_unique<nNotes>();
      bass->pitch = 45;
      bass->flags = nNotes::kLowerVoiceFlag;
      e->AddNote(std::move(bass));
    }
  }
  section.RecalculateFingerings();
  section.RecalculateNotation();
}

// The font dialog: OK gives the face "VN Serif", else it is cancelled.
struct SerifChooser : FontChooser {
  bool ok = false;
  std::optional<FontChoice> Choose(const FontChoice& initial, bool) override {
    if (!ok) return std::nullopt;
    FontChoice c = initial;
    c.face = "VN Serif";
    return c;
  }
};

std::unique_ptr<CInstrumentDlg> NamedDefinition(const std::string& name) {
  auto d = std::make_unique<CInstrumentDlg>();
  d->tabInstrument.name = name;
  return d;
}

// "Transpose" answers with its half steps; anything else is cancelled.
struct TransposingForms : EntryForms {
  int halfSteps = 2;
  bool Has(EntryForm form) const override { return form == EntryForm::kTranspose; }
  std::optional<TransposeChoice> Transpose() override { return TransposeChoice{halfSteps, true}; }
};

// The page text editor renames the text it is given.
struct TextRenaming : SectionEditor {
  bool EditTrackText(CTrackText& text) override {
    text.text = "Fine";
    return true;
  }
};

// Each command that changes the active section: it dispatches, changes the document, marks
// it modified, and one Undo gives back the section's dump exactly.
TEST(ScoreInstrumentCommands, EachEditIsUndoneByOneUndo) {
  TransposingForms forms;
  ScopedEntryForms transposing(forms);
  TextRenaming renaming;
  ScopedSectionEditor editor(renaming);
  struct Case {
    int id;
    std::function<void(ViewRig&, ScriptedDialogs&)> prepare;
  };
  const auto none = [](ViewRig&, ScriptedDialogs&) {};
  const auto tablatureOk = [](ViewRig& rig, ScriptedDialogs&) {
    MakeTablature(rig);
    rig.prompts.QueueAnswer(Answer::kOk);
  };
  const auto copied = [](ViewRig& rig, ScriptedDialogs&) { ASSERT_TRUE(DispatchWithValue(rig, 32980)); };
  const std::vector<Case> cases = {
      {33809, tablatureOk},
      {33811, tablatureOk},
      {33193, [](ViewRig& rig, ScriptedDialogs&) { rig.Section().Definition(0)->key.transpose = 2; }},
      {33006, [](ViewRig& rig, ScriptedDialogs&) { rig.Section().activeSystem = 1; }},
      {33007, none},
      {32984, copied},
      {32985, copied},
      {32986, copied},
      {33010, [](ViewRig&, ScriptedDialogs& d) { d.template_ = NamedDefinition("Theorbo in A"); }},
      {33189,
       [](ViewRig&, ScriptedDialogs& d) {
         d.tuning = [](CInstrumentDlg& def) {
           def.tabInstrument.tuning.SetCoursePitch(0, 69);
           return true;
         };
       }},
      {33015, [](ViewRig&, ScriptedDialogs& d) { d.course = view::CourseTuningChoice{1, 58, false}; }},
      {34275,
       [](ViewRig& rig, ScriptedDialogs& d) {
         d.globalShift = 2;
         rig.prompts.QueueAnswer(Answer::kOk);
       }},
      {32947, [](ViewRig&, ScriptedDialogs& d) { d.octave = COctaveDlg{0, 60}; }},
      {34130, none},
      {34157, none},
      {34074, [](ViewRig&, ScriptedDialogs& d) { d.ornaments = true; }},
      {33051, none},  // "Transpose instrument"
      {34089, none},  // "Edit section end text"
      {34233, [](ViewRig& rig, ScriptedDialogs&) { rig.Section().Author().text = "John Dowland"; }},
  };
  for (const Case& c : cases) {
    ViewRig rig(ViewDocument(1, 3, 4));
    ScriptedDialogs dialogs;
    view::ScopedScoreDialogs installed(dialogs);
    view::InstrumentClipboard().reset();
    rig.Stave().cursorColumn = 0;
    c.prepare(rig, dialogs);
    SettleAsStored(rig);
    // The cursor on the first chord's note (the stored form keeps no cursor).
    rig.Stave().cursorColumn = 0;
    for (rig.Stave().cursorRow = -40; rig.Stave().cursorRow < 80; ++rig.Stave().cursorRow) {
      if (rig.view.ActiveLine()->GetCursorNote() != nullptr) break;
    }
    ExpectOneUndoStep(rig, c.id);
  }
  view::InstrumentClipboard().reset();
}

// On a section without systems and on a document without sections nothing is thrown out of a
// command and nothing changes, whatever the dialogs answer.
TEST(ScoreInstrumentCommands, NothingToActOnChangesNothing) {
  const std::vector<int> ids = {33809, 33811, 34020, 33193, 33006, 33007, 32980, 32981, 32982, 32984, 32985,
                                32986, 33010, 33176, 33633, 33189, 33015, 34275, 32947, 34123, 34130, 34157,
                                33181, 33297, 33028, 33182, 34074, 33986, 33407, 33192, 33064, 34254, 32793};
  const auto check = [&ids](ViewRig& rig, const char* what) {
    CancelledDialogs cancelled;
    ScriptedDialogs dialogs;
    dialogs.course = view::CourseTuningChoice{0, 60, true};
    dialogs.globalShift = 1;
    dialogs.octave = COctaveDlg{};
    dialogs.barRange = {1, 2};
    dialogs.template_ = NamedDefinition("Cittern");
    view::ScopedScoreDialogs installed(dialogs);
    for (const int id : ids) {
      const std::string before = DumpDocument(*rig.doc);
      DispatchWithValue(rig, id, 0);
      NoFailures(rig.prompts, id);
      EXPECT_TRUE(DumpDocument(*rig.doc) == before) << what << " " << id;
    }
  };
  view::InstrumentClipboard().reset();
  {
    auto doc = ViewDocument(1, 2, 4);
    doc->GetActiveSection()->DeleteAllSystems();
    ViewRig rig(std::move(doc));
    check(rig, "no systems");
  }
  {
    ViewRig rig(std::make_unique<CBriotabDoc>());
    rig.doc->sections.DeleteSection(0);
    check(rig, "no sections");
  }
}

// The tablature line gives a new notation instrument: the grand staff splits the voices by
// their marks over two staves; the active line (here the second instrument) takes the space
// below in every system, the first instrument's lines keep theirs. Cancel, or a line without
// notes, leaves no undo step.
// "Chord chart" hands the chart window the active line's tablature settings, each time anew.
TEST(ScoreInstrumentCommands, ChordChartTogglesTheChartWindowOnTheActiveLine) {
  struct ChartWindow : view::ScoreDialogs {
    bool ToggleChordChart(const CTabInstrument& instrument) override {
      shown.push_back(&instrument);
      return true;
    }
    std::vector<const CTabInstrument*> shown;
  } window;
  view::ScopedScoreDialogs installed(window);
  ViewRig rig(ViewDocument(1, 2, 4));
  ASSERT_TRUE(Enabled(rig, 32793));
  ASSERT_TRUE(DispatchWithValue(rig, 32793));
  ASSERT_TRUE(DispatchWithValue(rig, 32793));
  const CTabInstrument* line = &rig.view.ActiveLine()->definition->tabInstrument;
  EXPECT_EQ(window.shown, (std::vector<const CTabInstrument*>{line, line}));

  ViewRig empty(std::make_unique<CBriotabDoc>());
  EXPECT_FALSE(Enabled(empty, 32793));
}

TEST(ScoreInstrumentCommands, NotationFromTablature) {
  ViewRig rig(ViewDocument(1, 2, 4));
  MakeTablature(rig);
  CSystemArray& section = rig.Section();
  // A second instrument before the tablature: the tablature becomes the second line.
  section.AddInstrument(std::make_unique<CInstrumentDlg>());
  std::swap(section.definitions.items().at(0), section.definitions.items().at(1));
  for (const auto& system : section.systems.items()) {
    std::swap(system->lines.items().at(0), system->lines.items().at(1));
    system->activeInstrument = 1;
  }
  const uint32_t firstLineSpace = section.System(0)->Line(0)->staves.at(0)->spaceBelow;

  rig.prompts.QueueAnswer(Answer::kCancel);
  ASSERT_TRUE(DispatchWithValue(rig, 33811));
  EXPECT_EQ(section.definitions.size(), 2u);
  EXPECT_TRUE(rig.doc->undoStack.empty());

  rig.prompts.QueueAnswer(Answer::kOk);
  ASSERT_TRUE(DispatchWithValue(rig, 33811));
  ASSERT_EQ(section.definitions.size(), 3u);
  const CInstrumentDlg& added = *section.Definition(2);
  EXPECT_EQ(added.staves.size(), 2u);
  size_t upper = 0;
  size_t lower = 0;
  for (const auto& system : section.systems.items()) {
    EXPECT_EQ(system->Line(1)->staves.at(0)->spaceBelow, 3u);
    EXPECT_EQ(system->Line(0)->staves.at(0)->spaceBelow, firstLineSpace);
    for (size_t v = 0; v < 2; ++v) {
      for (const auto& e : system->Line(2)->Voice(v)) {
        if (e == nullptr || !e->IsChord()) continue;
        for (const auto& n : e->notes) {
          EXPECT_EQ((n->flags & nNotes::kLowerVoiceFlag) != 0, v == 1);
          ++(v == 0 ? upper : lower);
        }
        if (v == 1) {
          EXPECT_TRUE(e->metaEvents.empty());
        }
      }
    }
  }
  EXPECT_GT(upper, 0u);
  EXPECT_GT(lower, 0u);
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);

  // A tablature line without notes.
  ViewRig empty(ViewDocument(1, 2, 4));
  MakeTablature(empty);
  ClearAllNotes(empty.Section());
  empty.prompts.QueueAnswer(Answer::kOk);
  ASSERT_TRUE(DispatchWithValue(empty, 33809));
  EXPECT_EQ(empty.Section().definitions.size(), 1u);
  EXPECT_TRUE(empty.doc->undoStack.empty());
  EXPECT_EQ(empty.prompts.messages.back(), "The active instrument holds no notes to write in staff notation.");
  // In staff notation there is no tablature to start from.
  ViewRig notation(ViewDocument(1, 2, 4));
  EXPECT_FALSE(Enabled(notation, 33809));
}

// "Transpose instrument" moves every note of the active instrument by the chosen half steps;
// without the dialog it is disabled, and 0 half steps leave no undo step.
TEST(ScoreInstrumentCommands, TransposeInstrument) {
  ViewRig rig(ViewDocument(1, 2, 4));
  EXPECT_FALSE(Enabled(rig, 33051));
  TransposingForms forms;
  ScopedEntryForms transposing(forms);
  const auto pitches = [&rig] {
    std::vector<int> all;
    for (const auto& system : rig.Section().systems.items()) {
      for (const auto& e : system->Line(0)->firstVoice) {
        if (e == nullptr || !e->IsChord()) continue;
        for (const auto& n : e->notes) all.push_back(n->pitch);
      }
    }
    return all;
  };
  std::vector<int> expected = pitches();
  ASSERT_FALSE(expected.empty());
  forms.halfSteps = 0;
  ASSERT_TRUE(DispatchWithValue(rig, 33051));
  EXPECT_TRUE(rig.doc->undoStack.empty());
  forms.halfSteps = -3;
  ASSERT_TRUE(DispatchWithValue(rig, 33051));
  for (int& p : expected) p -= 3;
  EXPECT_EQ(pitches(), expected);
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);
}

// "Position titles" places the headings as the page formatting does by default (title
// centred, author right, comments left) and shows the page at 100 percent.
TEST(ScoreInstrumentCommands, PositionTitles) {
  ViewRig rig(ViewDocument(1, 2, 4));
  CSystemArray& section = rig.Section();
  section.Author().text = "John Dowland";
  section.Comments().text = "Lachrimae";
  rig.doc->settings.pageSettings.zoom = 150;
  ASSERT_TRUE(DispatchWithValue(rig, 34233));
  EXPECT_LT(section.Comments().x, section.Title().x);
  EXPECT_LT(section.Title().x, section.Author().x);
  EXPECT_EQ(rig.doc->settings.pageSettings.zoom, 100);
  EXPECT_TRUE(rig.doc->IsModified());
}

TEST(ScoreInstrumentCommands, VoicingGalleryRunsItsItem) {
  ViewRig rig(ViewDocument(1, 2, 4));
  // Item 3 is the key analysis, which asks; No analyses the active section alone.
  rig.prompts.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(DispatchWithValue(rig, 34020, 3));
  EXPECT_NE(rig.prompts.questions.at(0).find("analyse the key signature"), std::string::npos);
  EXPECT_EQ(rig.prompts.messages.back(), "Change Style 3");
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);
  // No item, or one past the gallery, runs nothing.
  const size_t shown = rig.prompts.messages.size();
  DispatchWithValue(rig, 34020);
  DispatchWithValue(rig, 34020, 6);
  EXPECT_EQ(rig.prompts.messages.size(), shown);
}

TEST(ScoreInstrumentCommands, TransposedKeys) {
  struct Row {
    int fifths;
    bool minor;
    int shift;
    uint32_t alterations;
    bool flats;
  };
  const std::vector<Row> rows = {
      {0, false, 2, 2, false},   // C to D
      {-1, false, 2, 1, false},  // F to G: one sharp rather than eleven flats
      {-3, false, 2, 1, true},   // E flat to F keeps writing flats
      {0, true, 2, 2, false},    // a minor to b minor
      {5, false, 1, 0, true},    // B to C
      {0, false, 12, 0, true},   // an octave keeps the key
  };
  for (const Row& r : rows) {
    CKey key;
    key.SetSignature(r.fifths, r.minor);
    const CKey moved = TransposedKey(key, r.shift);
    EXPECT_EQ(moved.alterations, r.alterations) << r.fifths << " " << r.shift;
    EXPECT_EQ(moved.bemol != 0, r.flats) << r.fifths << " " << r.shift;
    EXPECT_EQ((moved.mode & CKey::kMinorBit) != 0, r.minor) << r.fifths << " " << r.shift;
  }
}

// "Copy instrument" keeps copies: deleting the systems afterwards leaves the clipboard whole,
// and "Paste instrument as new" brings the music back as a new instrument and empties the
// clipboard. "Copy voice" keeps the selected voice on one stave; "Paste voice" inserts it at
// the cursor.
TEST(ScoreInstrumentCommands, InstrumentClipboard) {
  view::InstrumentClipboard().reset();
  ViewRig rig(ViewDocument(1, 2, 4));
  CSystemArray& section = rig.Section();
  EXPECT_FALSE(Enabled(rig, 32985));
  EXPECT_FALSE(Enabled(rig, 32986));
  ASSERT_TRUE(DispatchWithValue(rig, 32980));
  ASSERT_NE(view::InstrumentClipboard(), nullptr);
  const size_t firstVoiceChords = view::InstrumentClipboard()->gathered[0].size();
  for (const auto& system : section.systems.items()) system->Line(0)->firstVoice.DeleteChords();
  EXPECT_EQ(view::InstrumentClipboard()->gathered[0].size(), firstVoiceChords);
  EXPECT_TRUE(Enabled(rig, 32985));
  ASSERT_TRUE(DispatchWithValue(rig, 32984));
  EXPECT_EQ(view::InstrumentClipboard(), nullptr);
  ASSERT_EQ(section.definitions.size(), 2u);
  size_t pasted = 0;
  for (const auto& system : section.systems.items()) pasted += system->Line(1)->firstVoice.size();
  EXPECT_GT(pasted, 0u);
  // Without a clipboard the paste says why and takes no undo step.
  const size_t steps = rig.doc->undoStack.size();
  ASSERT_TRUE(DispatchWithValue(rig, 32984));
  EXPECT_EQ(rig.prompts.messages.back(), "The instrument clipboard is empty: copy an instrument or a voice first.");
  EXPECT_EQ(rig.doc->undoStack.size(), steps);

  ViewRig voices(ViewDocument(1, 1, 4));
  CInstrument& line = *voices.view.ActiveLine();
  ASSERT_TRUE(DispatchWithValue(voices, 32981));
  ASSERT_NE(view::InstrumentClipboard(), nullptr);
  EXPECT_TRUE(view::InstrumentClipboard()->gathered[1].empty());
  EXPECT_EQ(view::InstrumentClipboard()->staves.size(), 1u);
  const size_t before = line.firstVoice.size();
  voices.Stave().cursorColumn = 2;
  const nChord* third = line.firstVoice.at(2);
  ASSERT_TRUE(DispatchWithValue(voices, 32986));
  EXPECT_EQ(view::InstrumentClipboard()->gathered[0].size(), 0u);
  EXPECT_GT(voices.Section().System(0)->Line(0)->firstVoice.size() +
                (voices.Section().systems.size() > 1 ? voices.Section().System(1)->Line(0)->firstVoice.size() : 0),
            before);
  EXPECT_NE(line.firstVoice.at(2), third);
  view::InstrumentClipboard().reset();
}

TEST(ScoreInstrumentCommands, CopyBarRange) {
  ViewRig rig(ViewDocument(1, 2, 4));
  ScriptedDialogs dialogs;
  view::ScopedScoreDialogs installed(dialogs);
  view::ChordClipboard clipboard;
  view::ScopedChordClipboard scoped(clipboard);
  // Three bars of eight eighths and a bar line in each of the two systems.
  EXPECT_EQ(CountActiveInstrumentBars(rig.Section()), 6);
  dialogs.barRange = {3, 3};
  ASSERT_TRUE(DispatchWithValue(rig, 32982));
  EXPECT_EQ(clipboard.Count(), 9u);
  dialogs.barRange = {4, 6};
  ASSERT_TRUE(DispatchWithValue(rig, 32982));
  EXPECT_EQ(clipboard.Count(), 27u);
  EXPECT_TRUE(rig.doc->undoStack.empty());
}

// Without dialogs of their own installed, the octave and bar range commands show the small
// editing dialogs; an answer out of range is taken as Cancel.
TEST(ScoreInstrumentCommands, OctaveAndBarRangeOpenTheSmallDialogs) {
  struct SmallAnswers : SmallDialogs {
    std::optional<COctaveDlg> octave;
    std::optional<std::pair<int, int>> range;
    CBarRangeDlg shownRange;
    bool Octave(COctaveDlg& d) override {
      if (!octave) return false;
      d = *octave;
      return true;
    }
    bool BarRange(CBarRangeDlg& d) override {
      shownRange = d;
      if (!range) return false;
      d.begin = range->first;
      d.end = range->second;
      return true;
    }
  } small;
  ScopedSmallDialogs installed(small);
  view::ChordClipboard clipboard;
  view::ScopedChordClipboard scoped(clipboard);

  ViewRig rig(ViewDocument(1, 2, 4));
  small.range = {3, 3};
  ASSERT_TRUE(DispatchWithValue(rig, 32982));
  EXPECT_EQ(small.shownRange.barCount, 6);
  EXPECT_EQ(small.shownRange.end, 6);
  EXPECT_EQ(clipboard.Count(), 9u);
  small.range = {4, 7};
  ASSERT_TRUE(DispatchWithValue(rig, 32982));
  EXPECT_EQ(clipboard.Count(), 9u);

  // Every note below E7 goes up an octave: one undo step; a limit out of range or Cancel: none.
  for (const std::optional<COctaveDlg>& answer : {std::optional<COctaveDlg>{}, std::optional{COctaveDlg{0, 200}}}) {
    small.octave = answer;
    ASSERT_TRUE(DispatchWithValue(rig, 32947));
    EXPECT_TRUE(rig.doc->undoStack.empty());
  }
  small.octave = COctaveDlg{1, 100};
  ASSERT_TRUE(DispatchWithValue(rig, 32947));
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);
}

// The instrument base: a negative index does nothing, one outside the base says so, "No"
// leaves the document unmodified and "Yes" replaces the definition as one undo step. Editing
// an entry saves the base after a change.
TEST(ScoreInstrumentCommands, InstrumentBase) {
  ViewRig rig(ViewDocument(1, 2, 4));
  ScriptedDialogs dialogs;
  view::ScopedScoreDialogs installed(dialogs);
  EXPECT_FALSE(view::ReplaceInstrumentFromLibrary(rig.view, 0));
  EXPECT_EQ(rig.prompts.messages.back(), "Invalid instrument selection");
  dialogs.hasBase = true;
  dialogs.base.push_back(NamedDefinition("Bass viol"));
  const size_t shown = rig.prompts.messages.size();
  EXPECT_FALSE(view::ReplaceInstrumentFromLibrary(rig.view, -1));
  EXPECT_EQ(rig.prompts.messages.size(), shown);
  EXPECT_FALSE(view::ReplaceInstrumentFromLibrary(rig.view, 1));
  EXPECT_EQ(rig.prompts.messages.back(), "Invalid instrument selection");

  rig.doc->SetModifiedFlag(false);
  rig.prompts.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(view::ReplaceInstrumentFromLibrary(rig.view, 0));
  EXPECT_EQ(rig.prompts.questions.back(), "Replace current instrument definition?");
  EXPECT_FALSE(rig.doc->IsModified());
  EXPECT_TRUE(rig.doc->undoStack.empty());
  rig.prompts.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(view::ReplaceInstrumentFromLibrary(rig.view, 0));
  EXPECT_EQ(rig.Section().Definition(0)->tabInstrument.name, "Bass viol");
  EXPECT_TRUE(rig.doc->IsModified());
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);

  struct Renaming : SectionEditor {
    bool EditInstrument(CInstrumentDlg& d) override {
      d.tabInstrument.name = "Tenor viol";
      return true;
    }
  } renaming;
  EXPECT_FALSE(view::EditLibraryInstrument(3));
  EXPECT_EQ(dialogs.saves, 0);
  {
    ScopedSectionEditor editor(renaming);
    EXPECT_TRUE(view::EditLibraryInstrument(0));
  }
  EXPECT_EQ(dialogs.base.at(0)->tabInstrument.name, "Tenor viol");
  EXPECT_EQ(dialogs.saves, 1);
}

// One course retuned everywhere: the notes on it follow; a section without instruments is
// skipped and named. The whole tuning raised moves every note's pitch with it.
TEST(ScoreInstrumentCommands, Tuning) {
  ViewRig rig(ViewDocument(2, 1, 4));
  ScriptedDialogs dialogs;
  view::ScopedScoreDialogs installed(dialogs);
  for (const auto& section : rig.doc->sections.items()) section->RecalculateFingerings();
  rig.doc->sections.at(1)->DeleteAllSystems();
  rig.doc->sections.at(1)->definitions.clear();
  CSystemArray& section = rig.Section();
  const CTabInstrument& tab = section.Definition(0)->tabInstrument;
  const int open = tab.OpenPitch(0) + kCoursePitchOffset;
  const auto pitchesOnCourse = [&section](uint8_t course) {
    std::vector<int> pitches;
    for (const auto& e : section.System(0)->Line(0)->firstVoice) {
      if (e == nullptr || !e->IsChord()) continue;
      for (const auto& n : e->notes) {
        if (n->string == course) pitches.push_back(n->pitch);
      }
    }
    return pitches;
  };
  const std::vector<int> before = pitchesOnCourse(0);
  ASSERT_FALSE(before.empty());

  dialogs.course = view::CourseTuningChoice{0, -1, false};
  ASSERT_TRUE(DispatchWithValue(rig, 33015));
  EXPECT_EQ(rig.prompts.messages.back(), "No changes ...");
  dialogs.course = view::CourseTuningChoice{0, open - 1, true};
  ASSERT_TRUE(DispatchWithValue(rig, 33015));
  NoFailures(rig.prompts, 33015);
  EXPECT_EQ(tab.OpenPitch(0) + kCoursePitchOffset, open - 1);
  EXPECT_NE(rig.prompts.messages.back().find("Section 2"), std::string::npos);
  std::vector<int> lowered = before;
  for (int& p : lowered) --p;
  EXPECT_EQ(pitchesOnCourse(0), lowered);

  dialogs.globalShift = 3;
  rig.prompts.QueueAnswer(Answer::kCancel);
  ASSERT_TRUE(DispatchWithValue(rig, 34275));
  EXPECT_EQ(pitchesOnCourse(0), lowered);
  rig.prompts.QueueAnswer(Answer::kOk);
  ASSERT_TRUE(DispatchWithValue(rig, 34275));
  for (int& p : lowered) p += 3;
  EXPECT_EQ(pitchesOnCourse(0), lowered);
  EXPECT_EQ(tab.OpenPitch(0) + kCoursePitchOffset, open + 2);
}

// Dialogs of the section and the definition: a cancelled one leaves no undo step; a confirmed
// one is one. An older binary document is saved only after asking.
TEST(ScoreInstrumentCommands, DialogsTakeOneUndoStepOnOk) {
  struct Renaming : SectionEditor {
    int runs = 0;
    bool EditInstrument(CInstrumentDlg& d) override {
      ++runs;
      d.tabInstrument.name = "Mandora";
      return true;
    }
  } renaming;
  CancelledDialogs cancelled;
  SerifChooser fonts;
  ScopedFontChooser chooser(fonts);
  ViewRig rig(ViewDocument(1, 2, 4));
  ScriptedDialogs scoreDialogs;
  view::ScopedScoreDialogs scopedScoreDialogs(scoreDialogs);
  for (const int id : {33182, 33181, 33297, 33028, 34074, 34123}) {
    ASSERT_TRUE(DispatchWithValue(rig, id)) << id;
    EXPECT_TRUE(rig.doc->undoStack.empty()) << id;
  }
  fonts.ok = true;
  ASSERT_TRUE(DispatchWithValue(rig, 33182));
  EXPECT_EQ(rig.Section().Definition(0)->notationFont.face, "VN Serif");
  EXPECT_EQ(rig.doc->undoStack.size(), 1u);

  // Read from an older binary file: No edits without saving, Cancel does nothing.
  rig.doc->xmlFlag = 0;
  rig.doc->SetPathName("/nonexistent/old.btb");
  ScopedSectionEditor editor(renaming);
  rig.prompts.QueueAnswer(Answer::kCancel);
  ASSERT_TRUE(DispatchWithValue(rig, 33181));
  const bool older = rig.doc->binaryFileVersion() < "6.5";
  EXPECT_EQ(rig.prompts.questions.size(), older ? 1u : 0u);
  if (older) {
    EXPECT_EQ(renaming.runs, 0);
    rig.prompts.QueueAnswer(Answer::kNo);
    ASSERT_TRUE(DispatchWithValue(rig, 33181));
  }
  EXPECT_EQ(renaming.runs, 1);
  EXPECT_EQ(rig.Section().Definition(0)->tabInstrument.name, "Mandora");
  EXPECT_EQ(rig.doc->undoStack.size(), 2u);
}

// The model's hyperlinks reach the view: an internal link jumps, a web link opens after
// asking, a target outside the document's folder is refused with a message.
TEST(ScoreInstrumentCommands, HyperlinksAreFollowedByTheView) {
  testing::RecordingLauncher launcher;
  ViewRig rig(ViewDocument(2, 2, 4));
  const CMetaEvent internal(CMetaEvent::kHyperlink, "|To the second", 0, (1 << 8) | 2, 0);
  MetaEventEditors().FollowHyperlink(internal);
  EXPECT_EQ(rig.doc->sections.activeSection, 1);

  const CMetaEvent web(CMetaEvent::kHyperlink, "https://example.org/lute|Lute", 0, 0, 2);
  rig.prompts.QueueAnswer(Answer::kNo);
  MetaEventEditors().FollowHyperlink(web);
  EXPECT_TRUE(launcher.opened.empty());
  rig.prompts.QueueAnswer(Answer::kYes);
  MetaEventEditors().FollowHyperlink(web);
  EXPECT_EQ(launcher.opened, std::vector<std::string>{"https://example.org/lute"});

  const CMetaEvent outside(CMetaEvent::kHyperlink, "../../etc/passwd", 0, 0, 1);
  const size_t questions = rig.prompts.questions.size();
  MetaEventEditors().FollowHyperlink(outside);
  EXPECT_EQ(rig.prompts.questions.size(), questions);
  EXPECT_EQ(launcher.opened.size(), 1u);
}

// "Send...": a zipped copy goes to the mail program; the document's file stays; an unsaved
// document, or no mail program, is said.
TEST(ScoreInstrumentCommands, MailSendsAZippedCopy) {
  testing::RecordingLauncher launcher;
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  CBriotabDoc doc;
  EXPECT_EQ(view::SendDocumentByMail(doc), std::nullopt);
  EXPECT_NE(prompts.messages.back().find("Save the document"), std::string::npos);

  testing::WriteText(dir.File("Suite.btxml"), "<VornelTabXML/>");
  doc.SetPathName(dir.File("Suite.btxml"));
  doc.SetModifiedFlag(false);
  const std::optional<std::string> zip = view::SendDocumentByMail(doc);
  ASSERT_TRUE(zip.has_value());
  EXPECT_TRUE(std::filesystem::exists(*zip));
  EXPECT_NE(std::filesystem::path(*zip).parent_path(), std::filesystem::path(dir.path()));
  EXPECT_TRUE(std::filesystem::exists(dir.File("Suite.btxml")));
  EXPECT_EQ(doc.GetPathName(), dir.File("Suite.btxml"));
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0], (std::vector<std::string>{"xdg-email", "--subject", "Suite.btxml", "--attach", *zip}));
  // Without a mail program the message says where the zip is.
  launcher.starts = false;
  const std::optional<std::string> kept = view::SendDocumentByMail(doc);
  ASSERT_TRUE(kept.has_value());
  EXPECT_NE(prompts.messages.back().find(*kept), std::string::npos);
  std::filesystem::remove_all(std::filesystem::path(*kept).parent_path());
  std::filesystem::remove_all(std::filesystem::path(*zip).parent_path());
}

TEST(ScoreInstrumentCommands, BarMovesAcrossSystems) {
  ViewRig rig(ViewDocument(1, 2, 4));
  EXPECT_FALSE(Enabled(rig, 33006));  // the first system has nothing above it
  CSystemArray& section = rig.Section();
  const auto events = [&section](size_t system, size_t voice) {
    const nChordArray& v = section.System(system)->Line(0)->Voice(voice);
    return std::count_if(v.begin(), v.end(), [](const auto& e) { return e != nullptr; });
  };
  const auto first = events(0, 0);
  const auto second = events(1, 0);
  ASSERT_TRUE(DispatchWithValue(rig, 33007));
  // The last bar went down and the systems were re-barred.
  EXPECT_LT(events(0, 0), first);
  EXPECT_GT(events(1, 0), second);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

// The commands that change every section: undo holds one section, so each takes one snapshot
// of the active section and marks the document modified; Undo gives back the active section
// while the others keep the change. Cancel changes nothing.
TEST(ScoreInstrumentCommands, EverySectionChangesInOneUndoStepOfTheWholeDocument) {
  SerifChooser fonts;
  fonts.ok = true;
  ScopedFontChooser chooser(fonts);
  struct Offsets : SectionDialogs {
    bool ok = true;
    bool resetAll = true;
    bool EditSection(CSectionDlg& d) override {
      d.leftOffset = 7;
      d.resetAllOffsets = resetAll;
      return ok;
    }
  } offsets;
  ScopedSectionDialogs sectionDialogs(offsets);
  struct Case {
    int id;
    std::function<std::string(const CSystemArray&)> field;
    std::function<void(ViewRig&, bool ok)> answer;
  };
  const auto noAnswer = [](ViewRig&, bool) {};
  const std::vector<Case> cases = {
      {33047, [](const CSystemArray& s) { return std::to_string(s.stavesPerPage); },
       [](ViewRig& rig, bool ok) { rig.prompts.QueueNumber(ok ? std::optional<long>(3) : std::nullopt); }},
      {33297, [](const CSystemArray& s) { return std::to_string(s.leftOffset); }, noAnswer},
      {33192, [](const CSystemArray& s) { return s.EndText().font.logFont.lfFaceName; }, noAnswer},
      {33176, [](const CSystemArray& s) { return s.Definition(0)->tabInstrument.tabFont.logFont.lfFaceName; },
       noAnswer},
      {33407, [](const CSystemArray& s) { return s.Title().font.logFont.lfFaceName; }, noAnswer},
  };
  for (const Case& c : cases) {
    for (const bool ok : {false, true}) {
      ViewRig rig(ViewDocument(2, 2, 4));
      ScriptedDialogs dialogs;
      dialogs.documentFonts = ok;
      view::ScopedScoreDialogs installed(dialogs);
      fonts.ok = ok;
      offsets.ok = ok;
      rig.doc->sections.activeSection = 1;
      SettleAsStored(rig);
      rig.doc->SetModifiedFlag(false);
      const std::string before = DumpDocument(*rig.doc);
      const std::string other = c.field(*rig.doc->sections.at(0));
      const std::string active = c.field(*rig.doc->sections.at(1));
      c.answer(rig, ok);
      ASSERT_TRUE(DispatchWithValue(rig, c.id)) << c.id;
      NoFailures(rig.prompts, c.id);
      if (!ok) {
        EXPECT_FALSE(rig.doc->IsModified()) << c.id;
        EXPECT_EQ(DumpDocument(*rig.doc), before) << c.id;
        EXPECT_TRUE(rig.doc->undoStack.empty()) << c.id;
        continue;
      }
      EXPECT_TRUE(rig.doc->IsModified()) << c.id;
      EXPECT_NE(c.field(*rig.doc->sections.at(0)), other) << c.id;
      EXPECT_NE(c.field(*rig.doc->sections.at(1)), active) << c.id;
      ASSERT_EQ(rig.doc->undoStack.size(), 1u) << c.id;
      rig.doc->OnEditUndo();
      EXPECT_EQ(c.field(*rig.doc->sections.at(1)), active) << c.id;
      EXPECT_EQ(c.field(*rig.doc->sections.at(0)), other) << c.id;
      EXPECT_EQ(DumpDocument(*rig.doc), before) << c.id;
      EXPECT_FALSE(rig.doc->IsModified()) << c.id;
    }
  }
  // Without "Reset all sections offsets" the other sections keep theirs.
  ViewRig rig(ViewDocument(2, 2, 4));
  offsets.ok = true;
  offsets.resetAll = false;
  ASSERT_TRUE(DispatchWithValue(rig, 33297));
  EXPECT_EQ(rig.doc->sections.at(0)->leftOffset, 7);
  EXPECT_EQ(rig.doc->sections.at(1)->leftOffset, 0);
}

}  // namespace
}  // namespace vornel
