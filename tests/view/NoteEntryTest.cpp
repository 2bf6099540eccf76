// Note entry by keys and the editing commands of the score view, driven headless.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ViewFixtures.h"
#include "document/DocumentDump.h"
#include "layout/dialogs/ChordDialogs.h"
#include "model/events/CMetaEvent.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/EntryForms.h"
#include "model/events/MetaEventEditor.h"
#include "model/voice/TabChordHelpers.h"
#include "model/voice/nNotes.h"
#include "support/Bytes.h"
#include "view/charts/ChordChartDlg.h"
#include "view/draw/FontChooser.h"
#include "view/entry/ChordClipboard.h"
#include "view/entry/KeyScript.h"
#include "view/entry/NoteEntry.h"

namespace vornel::testing {
namespace {

// A document of one empty section: eight systems of one line, a French lute tablature (the
// section's default definition), or a G-clef staff.
std::unique_ptr<CBriotabDoc> EmptyDocument(bool staff) {
  auto doc = std::make_unique<CBriotabDoc>();
  auto section = std::make_unique<CSystemArray>();
  if (staff) {
    section->Definition(0)->ApplyNotationPreset(1);
    section->Definition(0)->staves.at(0)->clefId = CClef::kGClef;
    section->DeleteAllSystems();
    for (int s = 0; s < 4; ++s) section->NewSystem(CSystemArray::kAppend);
  }
  doc->AppendSection(std::move(section));
  doc->settings.pageSettings.paperFormat = 9;
  doc->sections.activeSection = 0;
  doc->GetActiveSection()->activeSystem = 0;
  return doc;
}

// The first voice of a system's line, one event a line: status, rhythm, and each note's
// pitch/string/interval.
std::string VoiceText(const CBriotabDoc& doc, size_t system = 0) {
  std::ostringstream out;
  const nChordArray& voice = doc.GetActiveSection()->System(system)->Line(0)->firstVoice;
  for (size_t i = 0; i < voice.size(); ++i) {
    const nChord* e = voice.at(i);
    if (e == nullptr) {
      out << "null\n";
      continue;
    }
    out << "status " << e->status << " rhythm " << (e->rhythm & 0xFF);
    for (const auto& n : e->notes) out << " " << int(n->pitch) << "/" << int(n->string) << "/" << int(n->interval);
    out << "\n";
  }
  return out.str();
}

struct EntryRig : ViewRig {
  explicit EntryRig(bool staff) : ViewRig(EmptyDocument(staff)) { view.OnSetFocus(); }
  void Run(const std::string& script) { ASSERT_TRUE(view::ReplayKeyScript(view, script)); }
  CInstrument& Line() { return *view.ActiveLine(); }
  nChordArray& Voice() { return Line().firstVoice; }
  view::CommandState State(int id) { return view.Commands().State(id); }
  bool Run(int id, std::optional<long> value = std::nullopt) {
    return view.Commands().Execute(view::CommandEvent{id, value, {}});
  }
};

TEST(NoteEntryTest, TypingOnAFrenchLuteTablature) {
  EntryRig rig(false);
  // Letters on the first course, fingerings by digits, Space over a chord, "<" and ">" for the
  // value, Tab to the next bar (none: the next system).
  rig.Run(
      "char a\n"
      "char c\n"
      "key Down\n"
      "char d\n"
      "key Left\n"
      "char 3\n"
      "char <\n"
      "char e\n"
      "char >\n"
      "char >\n"
      "char f\n"
      "key Tab\n"
      "char h\n");
  EXPECT_EQ(VoiceText(*rig.doc, 0),
            "status 8 rhythm 3 67/0/39\n"
            "status 8 rhythm 3 69/0/40\n"
            "status 8 rhythm 2 66/1/38\n"
            "status 0 rhythm 4 67/1/39\n");
  EXPECT_EQ(VoiceText(*rig.doc, 1), "status 0 rhythm 4 50/5/29\n");
  EXPECT_EQ(rig.doc->GetActiveSection()->activeSystem, 1);
}

// A click on a typed letter puts the cursor on the letter's course and column, wherever on the
// letter it falls: its upper half is not the course above, its left half not the column before.
TEST(NoteEntryTest, AClickOnALetterLandsOnItsCourseAndColumn) {
  for (const bool betweenLines : {false, true}) {
    EntryRig rig(false);
    rig.Stave().tabInstrument->betweenLines = betweenLines ? 1 : 0;
    // "a" on the first course in the first column, "b" on the second in the second ...
    rig.Run("char a\nkey Down\nchar b\nkey Down\nchar c\nkey Down\nchar d\nkey Down\nchar e\n");
    const std::string log = rig.Draw();
    const int32_t s = rig.Stave().lineSpacing;
    const int32_t w = rig.Stave().columnWidth;
    ASSERT_GT(s, 8);
    ASSERT_GT(w, 8);
    int letters = 0;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line)) {
      int32_t x = 0;
      int32_t baseline = 0;
      char letter = 0;
      // Letters are drawn centred on their place, standing on their base line.
      if (std::sscanf(line.c_str(), "TextOut %d %d \"%c\"", &x, &baseline, &letter) != 3) continue;
      if (letter < 'a' || letter > 'e') continue;
      const int course = letter - 'a';
      ++letters;
      const Point points[] = {{x, baseline - s / 3},
                              {x - w / 5, baseline - s * 3 / 5},
                              {x + w / 5, baseline - s * 3 / 5},
                              {x - w / 5, baseline - 1},
                              {x + w / 5, baseline - 1}};
      for (const Point& at : points) {
        rig.Stave().cursorRow = 5 - course;
        rig.Stave().cursorColumn = 9;
        rig.view.OnLButtonDown({at, view::kLeftButton, 0});
        rig.view.OnLButtonUp({at, view::kLeftButton, 0});
        EXPECT_EQ(rig.Stave().cursorRow, course) << letter << " at " << at.x - x << "," << at.y - baseline
                                                 << (betweenLines ? " between lines" : "");
        EXPECT_EQ(rig.Stave().cursorColumn, course) << letter << " at " << at.x - x << "," << at.y - baseline
                                                    << (betweenLines ? " between lines" : "");
      }
    }
    EXPECT_EQ(letters, 5);
  }
}

TEST(NoteEntryTest, TypingOnAGClefStaff) {
  EntryRig rig(true);
  rig.Stave().cursorRow = 4;  // the top line's next space down: D
  rig.Run(
      "char r\n"      // a quarter on the cursor's step
      "key Up\n"
      "char s\n"      // a sharp one step up
      "char t\n"      // an eighth: value row, then the step
      "key Down\n"
      "key Down\n"
      "char b\n"      // a flat two steps down
      "char p\n"      // a rest
      "key Enter\n"
      "char w\n");
  EXPECT_EQ(VoiceText(*rig.doc, 0),
            "status 8 rhythm 3 71/0/41\n"
            "status 8 rhythm 3 73/0/42\n"
            "status 0 rhythm 4 72/0/42\n"
            "status 8 rhythm 4 68/0/40\n"
            "status 4 rhythm 4\n");
  EXPECT_EQ(VoiceText(*rig.doc, 1), "status 0 rhythm 1 67/0/39\n");
}

TEST(NoteEntryTest, UndoGivesBackEveryKeystroke) {
  EntryRig rig(false);
  const std::string before = DumpDocument(*rig.doc);
  rig.Run("char a\nchar b\nchar c\nkey Ctrl+3\n");
  ASSERT_NE(DumpDocument(*rig.doc), before);
  // Each step named after its key, the newest first.
  EXPECT_EQ(rig.doc->UndoNames(), (std::vector<std::string>{"Type fret 13", "Type c", "Type b", "Type a"}));
  for (int i = 0; i < 4; ++i) rig.doc->OnEditUndo();
  EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "");
  // Back where it started: not modified.
  EXPECT_FALSE(rig.doc->IsModified());
}

// Keys reach the view as the window hands them over: the key goes down and, when the view does
// not take it, types its character; a key the view takes, or one held with Ctrl, types none.
TEST(NoteEntryTest, AKeyTypesItsCharacterUnlessTheViewTakesIt) {
  struct Case {
    std::string keys;
    std::string typed;  // the characters that make the same document
  };
  const Case cases[] = {
      {"key A\nkey C\nkey Shift+Backslash\nkey D\n", "char a\nchar c\nchar |\nchar d\n"},
      {"key Down\nkey 3\nkey F\n", "key Down\nchar 3\nchar f\n"},
      {"key Ctrl+A\nkey Numpad3\nkey Add\nkey Subtract\n", ""},
  };
  for (const Case& c : cases) {
    EntryRig keys(false);
    EntryRig typed(false);
    keys.Run(c.keys);
    typed.Run(c.typed);
    EXPECT_EQ(VoiceText(*keys.doc), VoiceText(*typed.doc)) << c.keys;
    EXPECT_EQ(c.typed.empty(), keys.Voice().size() == 0) << c.keys;
  }
  // Without a line a typed key beeps once.
  EntryRig rig(false);
  rig.doc->GetActiveSection()->DeleteAllSystems();
  rig.Run("key A\nkey Shift\n");
  EXPECT_EQ(rig.prompts.beeps.size(), 1u);
}

TEST(NoteEntryTest, FretLettersAndDigitsByTablatureStyle) {
  // 'j' counts as 'i'; digit styles type the digit's own fret; letter styles take the digit as
  // a letter 'k'.. and on the French style 0-5 are fingerings.
  struct Case {
    int32_t style;
    const char* script;
    int pitch;  // of the note on course 0; -1 none
  } cases[] = {
      {CTabInstrument::kFrench, "char i\n", 67 + 8},
      {CTabInstrument::kFrench, "char j\n", 67 + 8},
      {CTabInstrument::kFrench, "char k\n", 67 + 9},
      {CTabInstrument::kFrench, "char 3\n", -1},
      {CTabInstrument::kItalian, "char 3\n", 67 + 3},
      {CTabInstrument::kMixedFrench, "char 3\n", 67 + 12},
      {CTabInstrument::kItalian, "key Ctrl+3\n", 67 + 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    EntryRig rig(false);
    rig.Line().definition->tabInstrument.tabStyle = c.style;
    rig.view.State().autoAdvance = false;
    rig.Run(c.script);
    nChord* chord = rig.Voice().empty() ? nullptr : rig.Voice().at(0);
    const nNotes* note = chord != nullptr ? chord->notes.NoteOnCourse(0) : nullptr;
    EXPECT_EQ(note != nullptr ? note->pitch : -1, c.pitch);
  }
}

TEST(NoteEntryTest, SpanishStyleRowZeroIsTheLastCourse) {
  EntryRig rig(false);
  rig.Line().definition->tabInstrument.tabStyle = CTabInstrument::kSpanish;
  rig.Stave().cursorRow = 0;
  EXPECT_EQ(rig.Line().RowToString(0), rig.Line().definition->tabInstrument.tuning.lines - 1);
  rig.Run("char a\n");
  ASSERT_EQ(rig.Voice().size(), 1u);
  EXPECT_NE(rig.Voice().at(0)->notes.NoteOnCourse(static_cast<uint8_t>(rig.Line().RowToString(0))), nullptr);
}

TEST(NoteEntryTest, TypingOnBarLinesAndBeforeTheStart) {
  EntryRig rig(false);
  rig.view.State().autoAdvance = false;
  // A plain bar line: the entry goes to the element after it, which was a plain bar line too
  // and becomes a chord.
  rig.Voice().push_back(std::make_unique<nChord>(nChord::kBarLine));
  rig.Voice().push_back(std::make_unique<nChord>(nChord::kBarLine));
  rig.Stave().cursorColumn = 0;
  rig.Run("char c\n");
  EXPECT_EQ(rig.Stave().cursorColumn, 1);
  EXPECT_TRUE(rig.Voice().at(1)->IsChord());
  EXPECT_EQ(rig.Voice().at(1)->notes.size(), 1u);
  // A cursor before the start enters at the start, without an exception.
  rig.Stave().cursorColumn = -1;
  EXPECT_EQ(rig.Line().GetCursorChord(), nullptr);
  rig.Run("char a\n");
  EXPECT_GE(rig.Stave().cursorColumn, 0);
  EXPECT_TRUE(rig.prompts.messages.empty());
}

// With no line to type on a character and an entry key beep and change nothing.
TEST(NoteEntryTest, TypingWithoutALineBeeps) {
  EntryRig rig(false);
  rig.doc->GetActiveSection()->DeleteAllSystems();
  const std::string before = DumpDocument(*rig.doc);
  rig.Run("char a\nchar 3\n");
  EXPECT_EQ(rig.prompts.beeps.size(), 2u);
  EXPECT_EQ(DumpDocument(*rig.doc), before);
}

TEST(NoteEntryTest, PitchesOfTheSpecialEventsAreRefused) {
  EntryRig rig(false);
  rig.Voice().push_back(std::make_unique<nChord>(uint16_t{0x12}));
  rig.Stave().cursorColumn = 0;
  EXPECT_EQ(rig.Line().InputPitch(60, 3), nullptr);
  EXPECT_TRUE(rig.Voice().at(0)->notes.empty());
}

TEST(NoteEntryTest, SplittingQuarters) {
  struct Case {
    uint16_t rhythm;
    uint16_t first;
    uint16_t second;
  } cases[] = {{3 | 8, 3, 4}, {3, 4, 4}};
  for (const Case& c : cases) {
    EntryRig rig(false);
    rig.Voice().push_back(std::make_unique<nChord>(nChord::kChord, c.rhythm));
    rig.Stave().cursorColumn = 0;
    ASSERT_EQ(rig.Line().SplitCursorChord(true), 1);
    ASSERT_EQ(rig.Voice().size(), 2u);
    EXPECT_EQ(rig.Voice().at(0)->rhythm, c.first);
    EXPECT_EQ(rig.Voice().at(1)->rhythm, c.second);
  }
}

// One chord, one bar line and nothing at the cursor: the three places every command meets.
enum class Place { kChord, kBarLine, kEmpty };

void Prepare(EntryRig& rig, Place place) {
  if (place == Place::kEmpty) return;
  auto e = std::make_unique<nChord>(place == Place::kChord ? nChord::kChord : nChord::kBarLine, uint16_t{3});
  if (place == Place::kChord) {
    auto n = std::make_unique<nNotes>();
    n->pitch = 67;
    n->interval = 39;
    e->notes.push_back(std::move(n));
    e->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kAlfabeto, "", 0, 0, 0));
  }
  // A bar line closes a bar of a whole note.
  if (place == Place::kBarLine) rig.Voice().push_back(std::make_unique<nChord>(nChord::kChord, uint16_t{1}));
  rig.Voice().push_back(std::move(e));
  rig.Stave().cursorColumn = place == Place::kBarLine ? 1 : 0;
  rig.Stave().cursorRow = 0;
}

// Forms that answer every question and form with a cancel.
class CancellingPrompts : public ConsolePrompts {
 public:
  void ShowMessage(std::string_view, MessageKind, std::string_view) override {}
  Answer Ask(std::string_view, Buttons, MessageKind, std::string_view) override { return Answer::kCancel; }
  void Beep(BeepKind) override {}
  std::optional<long> PromptNumber(std::string_view, std::string_view, long, long, long) override { return 3; }
};

// The editors of meta-events and chords and the font dialog, each cancelled.
struct CancellingEditors : MetaEventEditor, ChordDialogs, FontChooser {
  std::optional<FontChoice> Choose(const FontChoice&, bool) override { return std::nullopt; }
  bool RunEditor(CMetaEvent&, int) override { return false; }
  bool EditChordProperties(CChordProperties&) override { return false; }
  bool EditGraceNotes(CGraceNotesDlg&) override { return false; }
  bool SwapOrnament(CSwapOrnamentDlg&) override { return false; }
};

TEST(NoteEntryTest, EveryCommandDispatchesAndOneUndoGivesBackTheSection) {
  const std::vector<std::pair<int, int>> ranges = {
      {32798, 32798}, {32800, 32820}, {32834, 32861}, {32863, 32940}, {32961, 32962}, {32999, 32999},
      {33008, 33008}, {33116, 33116}, {33120, 33143}, {33150, 33160}, {33201, 33201}, {33216, 33218},
      {33240, 33242}, {33250, 33253}, {33259, 33259}, {33303, 33363}, {33385, 33394}, {33400, 33401},
      {33506, 33506}, {33963, 33978}, {33990, 34000}, {34304, 34304}, {57634, 57637}};
  for (const Place place : {Place::kChord, Place::kBarLine, Place::kEmpty}) {
    for (const auto& [first, last] : ranges) {
      for (int id = first; id <= last; ++id) {
        SCOPED_TRACE("command " + std::to_string(id) + " place " + std::to_string(static_cast<int>(place)));
        EntryRig rig(false);
        CancellingPrompts cancel;
        ScopedPrompts scoped(cancel);
        CancellingEditors editors;
        ScopedMetaEventEditor scopedEditor(editors);
        ScopedChordDialogs scopedChordDialogs(editors);
        ScopedFontChooser scopedFonts(editors);
        Prepare(rig, place);
        const view::CommandState state = rig.State(id);
        // Rules that hold at each place.
        if (id >= 33313 && id <= 33338 && id != 33315 && id != 33323 && id != 33320 && id != 33322) {
          EXPECT_EQ(state.enabled, place == Place::kChord);
        }
        if (id == 32820) {
          EXPECT_EQ(state.enabled, place == Place::kBarLine);
        }
        if (id >= 32863 && id < 32924) {
          EXPECT_EQ(state.enabled, place == Place::kChord);
        }
        if (id == 57635) {
          EXPECT_FALSE(state.enabled);  // no selection: narrower than 11 units
        }
        if (!state.enabled) continue;
        const std::string before = DumpDocument(*rig.doc);
        const size_t snapshots = rig.doc->undoStack.size();
        rig.Run(id, 64);
        if (DumpDocument(*rig.doc) == before) continue;
        EXPECT_GT(rig.doc->undoStack.size(), snapshots);
        EXPECT_TRUE(rig.doc->IsModified());
        rig.doc->OnEditUndo();
        // A rest takes two snapshots: the second Undo changes nothing.
        if (id == 33008) rig.doc->OnEditUndo();
        EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "");
      }
    }
  }
}

TEST(NoteEntryTest, ChordAttributeToggles) {
  struct Case {
    std::vector<int> ids;
    uint16_t status;
    uint16_t dy;
  } cases[] = {
      {{33313, 33313}, 0, 0},
      {{33313, 33314}, 0, 7},
      {{33358, 33362}, 0x100, 0},  // hidden replaces ghost: one field
      {{33330, 33330}, 0x50, 0},
      {{33330, 33331}, 0, 0},  // bigger on the smaller size: the normal size
  };
  for (const Case& c : cases) {
    EntryRig rig(false);
    Prepare(rig, Place::kChord);
    for (const int id : c.ids) rig.Run(id);
    // Bar cutting keeps its own marks in bits 2-3 of a chord.
    EXPECT_EQ(rig.Voice().at(0)->status & ~0x0C, c.status);
    EXPECT_EQ(rig.Voice().at(0)->dy, c.dy);
  }
}

TEST(NoteEntryTest, ForceGroupTieOnAQuarterBeeps) {
  EntryRig rig(false);
  Prepare(rig, Place::kChord);
  rig.Run(33355);
  EXPECT_EQ(rig.Voice().at(0)->status & 0x70, 0);
  EXPECT_FALSE(rig.prompts.beeps.empty());
}

TEST(NoteEntryTest, SlurWordsOfTheNoteCommands) {
  struct Case {
    std::vector<int> ids;
    uint32_t start;
    uint32_t slur;
  } cases[] = {
      {{32845}, 0, 0x240},           // Hammer on a bare word
      {{32845}, 0x200, 0},           // Hammer again clears the type
      {{32836}, 7, 7},               // the step stops at 7
      {{32840}, 0, 0},               // and at 0
      {{32841}, 0x300, 0},           // straight/curved clears a slide
      {{33122}, 0, 0x800},
      {{33122}, 0x800, 0},
  };
  for (const Case& c : cases) {
    EntryRig rig(false);
    Prepare(rig, Place::kChord);
    nNotes* note = rig.Voice().at(0)->notes.at(0);
    note->string = 0;
    note->slur = c.start;
    for (const int id : c.ids) rig.Run(id);
    EXPECT_EQ(note->slur & ~0x40u, c.slur & ~0x40u) << c.ids.front();
  }
}

TEST(NoteEntryTest, DurationAndPitchLimits) {
  EntryRig rig(false);
  Prepare(rig, Place::kChord);
  nChord& chord = *rig.Voice().at(0);
  nNotes* note = chord.notes.at(0);
  note->string = 0;
  chord.rhythm = 7;
  rig.Run(33127);  // 7 - (-1) = 8: the offset is reset
  EXPECT_EQ(note->flags & 0x0B, 0);
  note->pitch = 127;
  rig.Run(33120);  // stops at 127 with a beep
  EXPECT_EQ(note->pitch, 127);
  EXPECT_FALSE(rig.prompts.beeps.empty());
}

TEST(NoteEntryTest, BourdonFretToggles) {
  EntryRig rig(false);
  view::NoteEntry& entry = rig.view.Entry();
  rig.Run(32939);
  rig.Run(32939);
  EXPECT_EQ(entry.bourdonFret, 0);
  rig.Run(32939);
  rig.Run(32940);
  EXPECT_EQ(entry.bourdonFret, 0);
}

TEST(NoteEntryTest, RaiseAlfabetoPosition) {
  EntryRig rig(false);
  Prepare(rig, Place::kChord);
  rig.Voice().at(0)->al = 0x25;
  rig.prompts.QueueNumber(3);
  rig.Run(33306);
  EXPECT_EQ(rig.Voice().at(0)->al, 0x30);
}

// The chord palette names its letter with the insert command; a letter the chart lacks beeps
// and inserts nothing.
TEST(NoteEntryTest, PaletteLetterInsertsItsChord) {
  EntryRig rig(false);
  Prepare(rig, Place::kChord);
  CTabInstrument& tab = rig.Line().definition->tabInstrument;
  const auto chord = MakeChord(LowestCoursePitch(tab) + 5, 0, false, false, tab);
  ASSERT_NE(chord, nullptr);
  tab.alfabeto.description = chord->name;
  tab.alfabeto.AssignChord(u'B', *chord);
  const std::string before = VoiceText(*rig.doc, 0);
  EXPECT_TRUE(rig.Run(33322, 2));
  EXPECT_EQ(VoiceText(*rig.doc, 0), before);
  ASSERT_EQ(rig.prompts.beeps.size(), 1u);
  EXPECT_TRUE(rig.Run(33322, 1));
  EXPECT_NE(VoiceText(*rig.doc, 0), before);
  EXPECT_EQ(rig.prompts.beeps.size(), 1u);
}

TEST(NoteEntryTest, CopyRhythmThenPaste) {
  view::ChordClipboard clipboard;
  view::ScopedChordClipboard scoped(clipboard);
  EntryRig rig(false);
  Prepare(rig, Place::kChord);
  rig.view.State().selection = {0, 0, 1, 1};
  rig.Run(57634);  // an empty selection copies the cursor chord
  ASSERT_EQ(clipboard.Count(), 1u);
  nChordArray rhythm = clipboard.Get();
  for (size_t i = 0; i < rhythm.size(); ++i) rhythm.at(i)->notes.DeleteAll();
  clipboard.Put(rhythm);
  rig.Stave().cursorColumn = 1;
  rig.Run(57637);
  ASSERT_EQ(rig.Voice().size(), 2u);
  EXPECT_TRUE(rig.Voice().at(1)->notes.empty());
  EXPECT_EQ(rig.Voice().at(1)->rhythm & 7, 3);
  EXPECT_EQ(rig.Stave().cursorColumn, static_cast<int32_t>(rig.Voice().size()));
}

TEST(NoteEntryTest, ClipboardTextReadsBackAndRefusesForeignText) {
  nChordArray chords;
  chords.push_back(std::make_unique<nChord>(nChord::kChord, uint16_t{4}));
  nChordArray read;
  ASSERT_TRUE(view::ChordsFromClipboardText(view::ChordsToClipboardText(chords), read));
  EXPECT_EQ(read, chords);
  for (const char* foreign : {"", "hello", "<staff/>", "<vornel-chords><staff><event status=\"x\"/></staff>"}) {
    nChordArray untouched;
    EXPECT_FALSE(view::ChordsFromClipboardText(foreign, untouched)) << foreign;
    EXPECT_TRUE(untouched.empty());
  }
}

TEST(NoteEntryTest, RhythmPatternChordsPerBar) {
  struct Case {
    uint16_t flags;
    uint16_t denominatorCode;
    size_t chords;
  } cases[] = {{2, 1, 2}, {3, 1, 1}, {2, 3, 8}};
  for (const Case& c : cases) {
    EntryRig rig(false);
    CInstrument& line = rig.Line();
    line.rhythmPattern = {1, 4, c.denominatorCode, c.flags, 0};
    ASSERT_NE(line.GenerateRhythmPattern(), nullptr);
    size_t chords = 0;
    for (size_t i = 0; i < rig.Voice().size(); ++i) chords += rig.Voice().at(i)->IsChord() ? 1 : 0;
    EXPECT_EQ(chords, c.chords);
  }
}

TEST(NoteEntryTest, RhythmPatternOutOfRangeIsRefused) {
  struct Forms : EntryForms {
    bool Has(EntryForm) const override { return true; }
    std::optional<RhythmPatternChoice> RhythmPattern(const RhythmPatternChoice& initial) override {
      RhythmPatternChoice c = initial;
      c.pattern.bars = 1;
      c.pattern.chordsPerBar = 40000;
      return c;
    }
  } forms;
  ScopedEntryForms scoped(forms);
  EntryRig rig(false);
  rig.Run(34304);
  EXPECT_TRUE(rig.Voice().empty());
  EXPECT_EQ(rig.prompts.messages.size(), 1u);
}

// Cut and Clear rests over a selection of two chords and a rest: each is one undo step and
// marks the document modified; Cut needs a selection at least 11 units wide.
TEST(NoteEntryTest, SelectionEditsAreOneUndoStep) {
  constexpr int kCut = 57635;
  constexpr int kClearRests = 32999;
  for (const int id : {kCut, kClearRests}) {
    SCOPED_TRACE("command " + std::to_string(id));
    view::ChordClipboard clipboard;
    view::ScopedChordClipboard scoped(clipboard);
    EntryRig rig(false);
    rig.Run("char a\nchar c\n");
    rig.Voice().insert(1, std::make_unique<nChord>(nChord::kChord, uint16_t{3}));
    rig.doc->SetModifiedFlag(false);
    const Rect line = rig.view.LineRect();
    const int32_t w = rig.Stave().columnWidth;
    ASSERT_GT(w, 11);
    rig.view.State().selection = {line.left, line.top, line.left + 10, line.bottom};
    EXPECT_EQ(rig.State(kCut).enabled, false);
    rig.view.State().selection = {line.left, line.top, line.left + 3 * w, line.bottom};
    ASSERT_TRUE(rig.State(id).enabled);
    const std::string before = DumpDocument(*rig.doc);
    const size_t steps = rig.doc->undoStack.size();
    rig.Run(id);
    EXPECT_NE(DumpDocument(*rig.doc), before);
    EXPECT_EQ(rig.doc->undoStack.size(), steps + 1);
    EXPECT_TRUE(rig.doc->IsModified());
    rig.doc->OnEditUndo();
    EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "");
  }
}

// A band far larger than the staff stops at the fields of the legato word: 255 columns, line
// 15 at most.
TEST(NoteEntryTest, DynamicLegatoClampsItsBand) {
  EntryRig rig(false);
  Prepare(rig, Place::kChord);
  ASSERT_TRUE(rig.view.Commands().Execute(view::CommandEvent{33352, 1000000, "1000000"}));
  const CMetaEvent* legato = rig.Voice().at(0)->metaEvents.Find(CMetaEvent::kLegato);
  ASSERT_NE(legato, nullptr);
  EXPECT_EQ(legato->value & 0xFF, 255u);
  const uint32_t lines = (legato->value >> 16) & 0xFF;  // on a tablature
  EXPECT_EQ(lines >> 4, 15u);
  EXPECT_LE(lines & 0x0F, 15u);
  EXPECT_EQ(legato->value >> 24, 0u);
}

// Forms that answer every form the commands open, counting what they were asked.
struct AnsweringForms : EntryForms {
  std::vector<EntryForm> asked;
  bool Has(EntryForm) const override { return true; }
  std::optional<uint16_t> ChordEffect(uint16_t) override {
    asked.push_back(EntryForm::kChordEffect);
    return uint16_t{5};
  }
  std::optional<RhythmPatternChoice> RhythmPattern(const RhythmPatternChoice& initial) override {
    asked.push_back(EntryForm::kRhythmPattern);
    RhythmPatternChoice c = initial;
    c.pattern.bars = 1;
    c.otherVoiceToo = true;
    return c;
  }
  std::optional<SlurChoice> SlurControl(const SlurChoice&) override {
    asked.push_back(EntryForm::kSlurControl);
    return SlurChoice{3, 9, true, 2};
  }
  std::optional<TransposeChoice> Transpose() override {
    asked.push_back(EntryForm::kTranspose);
    return TransposeChoice{2, false};
  }
  std::optional<std::vector<ChordOperation>> Transformations(int) override {
    asked.push_back(EntryForm::kTransformations);
    return std::vector<ChordOperation>{{ChordOperation::kTransposeSemitones, 2}};
  }
  std::optional<int32_t> ChooseSymbol(int32_t, bool) override {
    asked.push_back(EntryForm::kSymbolChooser);
    return 65;
  }
  std::optional<AlfabetoLetterChoice> AlfabetoLetter(const AlfabetoLetterChoice&) override {
    asked.push_back(EntryForm::kAlfabetoLetter);
    return AlfabetoLetterChoice{u'C', "chart"};
  }
  bool ConfigureChordChart(CTabInstrument& instrument) override {
    asked.push_back(EntryForm::kChartConfiguration);
    instrument.alfabeto.showAlfabeto = 0;
    return true;
  }
};

// "Configure slur" rebuilds the slur word from its form but keeps the shape and melody bits
// (12-15), which the form does not show.
TEST(NoteEntryTest, ConfigureSlurKeepsShapeAndMelody) {
  AnsweringForms forms;
  ScopedEntryForms installed(forms);
  EntryRig rig(false);
  Prepare(rig, Place::kChord);
  nNotes* note = rig.Voice().at(0)->notes.at(0);
  note->string = 0;
  note->slur = 0xB000;
  rig.Run(32842);
  EXPECT_EQ(note->slur & 0xF000, 0xB000u);
  EXPECT_NE(note->slur & 0x0FFF, 0u);
}

// Each command that opens a form is shown disabled while no form is installed; with scripted
// forms it asks its form, changes the section and one Undo gives the section back.
TEST(NoteEntryTest, CommandsAskTheirFormsAndUndoInOneStep) {
  struct Case {
    int id;
    Place place;
    std::vector<EntryForm> forms;
  } cases[] = {
      {33315, Place::kChord, {EntryForm::kChordEffect}},
      {33323, Place::kChord, {EntryForm::kChartConfiguration, EntryForm::kChordEffect}},
      {34304, Place::kEmpty, {EntryForm::kRhythmPattern}},
      {32842, Place::kChord, {EntryForm::kSlurControl}},
      {33259, Place::kChord, {EntryForm::kTranspose}},
      {33218, Place::kChord, {EntryForm::kTranspose}},
      {33253, Place::kChord, {EntryForm::kTransformations}},
      {32863 + 61, Place::kChord, {EntryForm::kSymbolChooser}},
      {33303, Place::kChord, {EntryForm::kAlfabetoLetter}},
      {33307, Place::kChord, {EntryForm::kAlfabetoLetter}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("command " + std::to_string(c.id));
    EntryRig rig(false);
    Prepare(rig, c.place);
    rig.view.State().selection = {0, 0, 1, 1};
    nChord* chord = c.place == Place::kChord ? rig.Voice().at(0) : nullptr;
    // "Add chord to alfabeto" wants a chord without a letter; the others keep theirs.
    if (c.id == 33303) chord->metaEvents.RemoveKind(CMetaEvent::kAlfabeto);
    EXPECT_FALSE(rig.State(c.id).enabled);

    AnsweringForms forms;
    ScopedEntryForms installed(forms);
    ASSERT_TRUE(rig.State(c.id).enabled);
    const std::string before = DumpDocument(*rig.doc);
    rig.Run(c.id);
    EXPECT_EQ(forms.asked, c.forms);
    EXPECT_NE(DumpDocument(*rig.doc), before);
    EXPECT_TRUE(rig.doc->IsModified());
    rig.doc->OnEditUndo();
    EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "");
  }
}

// The symbol chooser opens on the cursor note's symbol of the stave shown (cx on a tablature);
// the chosen glyph marks the note, and a space takes the symbol away with its event. Each
// choice that changes the note is one undo step.
TEST(NoteEntryTest, FloatingSymbolOfTheCursorNote) {
  constexpr int kChooseSymbol = 32863 + 61;
  struct Chooser : EntryForms {
    bool Has(EntryForm form) const override { return form == EntryForm::kSymbolChooser; }
    std::optional<int32_t> ChooseSymbol(int32_t current, bool tablature) override {
      seen.emplace_back(current, tablature);
      return answer;
    }
    std::vector<std::pair<int32_t, bool>> seen;
    std::optional<int32_t> answer;
  } chooser;
  ScopedEntryForms installed(chooser);
  EntryRig rig(false);
  Prepare(rig, Place::kChord);
  const nChord& chord = *rig.Voice().at(0);
  const std::string before = DumpDocument(*rig.doc);

  // A cancel leaves no undo step and no modified mark.
  const size_t steps = rig.doc->undoStack.size();
  rig.Run(kChooseSymbol);
  EXPECT_EQ(DumpDocument(*rig.doc), before);
  EXPECT_EQ(rig.doc->undoStack.size(), steps);
  EXPECT_FALSE(rig.doc->IsModified());

  chooser.answer = 0x41;
  ASSERT_TRUE(rig.Run(kChooseSymbol));
  const CMetaEvent* event = chord.metaEvents.Find(CMetaEvent::kFloatingOrnament);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event->cx, 0x41);
  EXPECT_EQ(event->cy, 0);
  EXPECT_NE(chord.notes.front()->ornament & 0x80, 0);
  const std::string chosen = DumpDocument(*rig.doc);
  // The symbol the note already has changes nothing and adds no step.
  ASSERT_TRUE(rig.Run(kChooseSymbol));
  EXPECT_EQ(rig.doc->undoStack.size(), steps + 1);

  chooser.answer = ' ';
  ASSERT_TRUE(rig.Run(kChooseSymbol));
  EXPECT_EQ(rig.Voice().at(0)->metaEvents.Find(CMetaEvent::kFloatingOrnament), nullptr);
  const std::vector<std::pair<int32_t, bool>> seen = {{0, true}, {0, true}, {0x41, true}, {0x41, true}};
  EXPECT_EQ(chooser.seen, seen);

  rig.doc->OnEditUndo();
  EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), chosen), "");
  rig.doc->OnEditUndo();
  EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "");
}

// "Configure chord charts" opens the alfabeto chart dialog on the line's definition, starting
// from the view's double-click insert mode and handing a new one back; the chart's new chords
// are one undo step, and a dialog that changed nothing leaves none.
TEST(NoteEntryTest, ChordChartConfigurationEditsTheLinesAlfabeto) {
  struct ChartForms : EntryForms {
    bool Has(EntryForm) const override { return true; }
    bool ConfigureChordChart(CTabInstrument& instrument) override {
      return vornel::ConfigureChordChart(instrument, [this](CChordChartDlg& core) {
        startMode = core.insertMode;
        if (!loadChords) return;
        core.LoadCommonChords();
        core.insertMode = 1522;
      });
    }
    bool loadChords = false;
    int startMode = 0;
  } forms;
  ScopedEntryForms installed(forms);
  EntryRig rig(false);
  // The main window's routing: the score view carries the insert modes.
  struct ToTheView : view::NoFramePanes {
    explicit ToTheView(view::CBriotabView& v) : target(v), scope(*this) {}
    bool DispatchCommand(int id) override { return target.Commands().Execute(view::CommandEvent{id, std::nullopt, {}}); }
    view::CommandState CommandStateOf(int id) const override { return target.Commands().State(id); }
    view::CBriotabView& target;
    view::ScopedFramePanes scope;
  } routing(rig.view);
  Prepare(rig, Place::kChord);
  ASSERT_TRUE(rig.Run(33393));  // "Input chord on double-click"
  const std::string before = DumpDocument(*rig.doc);

  ASSERT_TRUE(rig.Run(33323));
  EXPECT_EQ(forms.startMode, 1521);
  EXPECT_FALSE(rig.doc->CanUndo());
  EXPECT_FALSE(rig.doc->IsModified());

  forms.loadChords = true;
  ASSERT_TRUE(rig.Run(33323));
  EXPECT_FALSE(rig.Line().definition->tabInstrument.alfabeto.chart.empty());
  EXPECT_TRUE(rig.doc->IsModified());
  EXPECT_EQ(rig.State(33394).checked, true) << "the chart mode came back to the view";
  rig.doc->OnEditUndo();
  EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "");
}

TEST(NoteEntryTest, AlfabetoFontIsChosenAndUndone) {
  struct Chooser : FontChooser {
    std::optional<FontChoice> Choose(const FontChoice& initial, bool) override {
      FontChoice c = initial;
      c.face = "Garamond";
      return c;
    }
  } chooser;
  ScopedFontChooser scoped(chooser);
  EntryRig rig(false);
  const std::string before = DumpDocument(*rig.doc);
  ASSERT_TRUE(rig.State(33310).enabled);
  rig.Run(33310);
  EXPECT_EQ(rig.Line().definition->tabInstrument.alfabeto.letterFont.logFont.lfFaceName, "Garamond");
  rig.doc->OnEditUndo();
  EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "");
}

TEST(NoteEntryTest, RhythmPatternFillsTheOtherVoiceWithRests) {
  AnsweringForms forms;
  ScopedEntryForms installed(forms);
  EntryRig rig(false);
  rig.Stave().enabledVoices = CClef::kBothVoices;
  rig.Run(34304);
  size_t chords = 0;
  for (size_t i = 0; i < rig.Voice().size(); ++i) chords += rig.Voice().at(i)->IsChord() ? 1 : 0;
  const nChordArray& other = rig.Line().secondVoice;
  size_t rests = 0;
  for (size_t i = 0; i < other.size(); ++i) {
    if (!other.at(i)->IsChord()) continue;
    ++rests;
    EXPECT_TRUE(other.at(i)->notes.empty());
    EXPECT_EQ(other.at(i)->rhythm & 7, rig.Line().rhythmPattern.flags % 8 + 1);
  }
  EXPECT_GT(chords, 0u);
  EXPECT_EQ(rests, chords);
  EXPECT_NE(rig.Line().rhythmPattern.options & 2, 0u);
}

TEST(NoteEntryTest, SpecialEventsAtTheCursor) {
  // A full-bar pause at a plain chord: a bar line 0x24D; a static space after a plain bar
  // line makes it 17 and inserts a right static space.
  struct Editor : MetaEventEditor {
    bool RunEditor(CMetaEvent&, int) override { return true; }
  } editor;
  ScopedMetaEventEditor scoped(editor);
  {
    EntryRig rig(false);
    Prepare(rig, Place::kChord);
    rig.doc->InsertSpecialEvent(CMetaEvent::kBarPause);
    EXPECT_EQ(rig.Voice().at(0)->status, 0x24D);
  }
  {
    EntryRig rig(false);
    Prepare(rig, Place::kBarLine);
    rig.Stave().cursorColumn = 2;
    rig.Run(33116);
    ASSERT_EQ(rig.Voice().size(), 3u);
    EXPECT_EQ(rig.Voice().at(1)->status, 17);
    EXPECT_EQ(rig.Voice().at(2)->status, (24 << 4) | 2);
  }
}

// A full-bar pause in a system of two lines puts its special-event columns into the other
// line only: the active line keeps every chord, around the pause. Given again on that pause it
// edits the pause's event and inserts nothing; two Undos give the section back.
TEST(NoteEntryTest, FullBarPauseTakesColumnsInTheOtherLine) {
  constexpr int kInsertFullBarPause = 34123;
  struct Editor : MetaEventEditor {
    bool RunEditor(CMetaEvent&, int) override {
      ++runs;
      return true;
    }
    int runs = 0;
  } editor;
  ScopedMetaEventEditor scoped(editor);
  auto doc = EmptyDocument(false);
  CSystemArray& section = *doc->GetActiveSection();
  auto second = std::make_unique<CInstrumentDlg>();
  second->CopyFrom(*section.Definition(0));
  section.AddInstrument(std::move(second));
  section.DeleteAllSystems();
  section.NewSystem(CSystemArray::kAppend);
  section.activeSystem = 0;
  for (size_t l = 0; l < 2; ++l) {
    nChordArray& voice = section.System(0)->Line(l)->firstVoice;
    for (int c = 0; c < 2; ++c) {
      auto chord = std::make_unique<nChord>(nChord::kChord, uint16_t{3});
      auto note = std::make_unique<nNotes>();
      note->pitch = static_cast<uint8_t>(67 + c + 5 * l);
      note->string = 0;
      chord->notes.push_back(std::move(note));
      voice.push_back(std::move(chord));
    }
  }
  ViewRig rig(std::move(doc));
  // Each line's elements: 'q' a chord with its pitch, 'P' the pause, 's' a space, 'r' a right
  // static space, '.' an empty slot.
  const auto shape = [&](size_t l) {
    std::string out;
    const nChordArray& voice = rig.doc->GetActiveSection()->System(0)->Line(l)->firstVoice;
    for (size_t i = 0; i < voice.size(); ++i) {
      const nChord* e = voice.at(i);
      if (e == nullptr) out += ". ";
      else if (e->status == 0x24D) out += "P ";
      else if (e->status == 178) out += "s ";
      else if (e->status == 386) out += "r ";
      else if (e->IsChord() && !e->notes.empty()) out += "q" + std::to_string(e->notes.at(0)->pitch) + " ";
      else out += "? ";
    }
    return out;
  };
  CInstrument& line = *rig.doc->GetActiveSection()->System(0)->Line(0);
  line.GetCurrentStave()->cursorColumn = 1;
  const std::string before = DumpDocument(*rig.doc);

  ASSERT_TRUE(rig.view.Commands().Execute(view::CommandEvent{kInsertFullBarPause, std::nullopt, {}}));
  const std::string first = shape(0);
  EXPECT_NE(first.find("q67 P "), std::string::npos) << first;
  EXPECT_NE(first.find("q68"), std::string::npos) << first;
  EXPECT_EQ(first.find('s'), std::string::npos) << first;
  const std::string other = shape(1);
  EXPECT_NE(other.find('s'), std::string::npos) << other;
  EXPECT_NE(other.find('r'), std::string::npos) << other;

  line.GetCurrentStave()->cursorColumn = 1;
  ASSERT_TRUE(rig.view.Commands().Execute(view::CommandEvent{kInsertFullBarPause, std::nullopt, {}}));
  EXPECT_EQ(editor.runs, 2);
  EXPECT_EQ(shape(0), first);
  EXPECT_EQ(shape(1), other);

  rig.doc->OnEditUndo();
  rig.doc->OnEditUndo();
  EXPECT_EQ(FirstDifference(DumpDocument(*rig.doc), before), "");
}

// Ctrl+K puts a static space before the chord under the caret, and the caret stays with that
// chord; at the end of the voice it goes on past the space, as after a typed note.
TEST(NoteEntryTest, AStaticSpaceKeepsTheCaretOnItsChord) {
  struct Case {
    const char* moves;  // from the end of three typed chords
    int column;         // the caret's column after Ctrl+K
  };
  for (const Case& c : {Case{"", 4}, Case{"key Left\nkey Left\n", 2}}) {
    EntryRig rig(false);
    rig.Run("char a\nchar c\nchar d\n");
    rig.Run(c.moves);
    const int before = rig.Line().GetCurrentStave()->cursorColumn;
    const nChord* under = rig.Line().GetCursorChord();
    rig.Run("cmd 33116\n");
    EXPECT_EQ(rig.Voice().size(), 4u) << c.moves;
    EXPECT_EQ(rig.Line().GetCurrentStave()->cursorColumn, c.column) << c.moves;
    if (under != nullptr) {
      EXPECT_EQ(rig.Line().GetCursorChord(), under) << c.moves;
      ASSERT_NE(rig.Voice().at(static_cast<size_t>(before)), nullptr);
      EXPECT_TRUE(rig.Voice().at(static_cast<size_t>(before))->IsSpecialEvent()) << c.moves;
    }
  }
}

}  // namespace
}  // namespace vornel::testing
