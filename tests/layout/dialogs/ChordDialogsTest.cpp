// The chord dialogs' cores: chord properties against a tuning (opening, spin steps, OK leaving
// unchanged rows alone), the grace-note code table, the rhythm pattern's fields and preview.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "layout/dialogs/ChordDialogs.h"
#include "layout/dialogs/StaffPreview.h"
#include "model/events/CMetaEvent.h"
#include "model/ornament/COrnamentProps.h"
#include "model/instrument/InstrumentTemplateTable.h"
#include "platform/draw/RecordingDevice.h"

namespace vornel {
namespace {

// A six-course guitar: E4 B3 G3 D3 A2 E2 from the first course, or `extra` bass courses more.
nTuning Guitar(int extra = 0) {
  nTuning tuning;
  static constexpr int kPitches[] = {64, 59, 55, 50, 45, 40, 38, 36};
  for (int i = 0; i < 6 + extra; ++i) tuning.SetCoursePitch(i, kPitches[i]);
  tuning.stringCount = 6 + extra;
  tuning.lines = 6;
  return tuning;
}

nNotes* AddNote(nChord& chord, int pitch, int course, uint16_t fingering = 0) {
  nNotes* note = chord.notes.SetNote(static_cast<uint8_t>(pitch), static_cast<uint8_t>(course), 0, true);
  note->fingering = fingering;
  return note;
}

TEST(ChordProperties, OpeningShowsCoursesNotesAndDiapasons) {
  nChord chord;
  chord.name = "D";
  AddNote(chord, 62, 1, 0x0083);  // course 2 at fret 3, barre marked, fingering 3
  CChordProperties dialog;
  dialog.Open(chord, Guitar());
  EXPECT_EQ(dialog.description, "D");
  const auto& row = dialog.rows[1];
  EXPECT_TRUE(row.Editable());
  EXPECT_EQ(row.fret, 3);
  EXPECT_EQ(row.noteText, "62 [D5]");
  EXPECT_TRUE(row.barre);
  for (int r : {0, 2, 3, 4, 5}) {
    EXPECT_TRUE(dialog.rows[size_t(r)].shown);
    EXPECT_EQ(dialog.rows[size_t(r)].fret, -1);
    EXPECT_FALSE(dialog.rows[size_t(r)].Editable());
  }
  EXPECT_FALSE(dialog.allowDiapason);

  nTuning four = Guitar();
  four.stringCount = 4;
  four.lines = 4;
  dialog.Open(chord, four);
  EXPECT_FALSE(dialog.rows[4].shown);
  EXPECT_FALSE(dialog.rows[5].shown);

  dialog.Open(chord, Guitar(2));
  EXPECT_TRUE(dialog.allowDiapason);
  EXPECT_EQ(dialog.diapasonMaximum, 2);
  EXPECT_EQ(dialog.diapason, -1);
}

TEST(ChordProperties, OkLeavesUnchangedRowsAloneAndChangedRowsKeepTheirMarks) {
  nChord chord;
  chord.dy = 0x1234;
  nNotes* first = AddNote(chord, 64, 0, 0x3A52);  // fingering bits 4-15 set, no barre
  first->ornament = 7;
  AddNote(chord, 62, 1, 0x0082);
  AddNote(chord, 57, 2, 0x0041);
  chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kGraceNote, "", 57u << 16, 0, 0));
  const nTuning tuning = Guitar();
  CChordProperties dialog;
  dialog.Open(chord, tuning);

  dialog.rows[1].fret = 5;         // changed fret: the pitch follows, the barre mark stays
  dialog.rows[2].barre = true;     // changed barre only
  dialog.StepSpin(2, -1);          // ... and then the course is cleared: its note and events go
  dialog.StepSpin(3, 2);           // a new note on course 4
  dialog.rows[3].barre = true;
  ASSERT_EQ(dialog.Validate(), "");
  dialog.Apply(chord, tuning, CKey());

  const nNotes* kept = chord.notes.NoteOnCourse(0);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->fingering, 0x3A52);
  EXPECT_EQ(kept->ornament, 7);
  EXPECT_EQ(chord.notes.NoteOnCourse(1)->pitch, 64);
  EXPECT_EQ(chord.notes.NoteOnCourse(1)->fingering, 0x0082);
  EXPECT_NE(chord.notes.NoteOnCourse(1)->name, 0);
  EXPECT_EQ(chord.notes.NoteOnCourse(2), nullptr);
  EXPECT_EQ(chord.metaEvents.size(), 0u);
  EXPECT_EQ(chord.notes.NoteOnCourse(3)->pitch, 52);
  EXPECT_EQ(chord.notes.NoteOnCourse(3)->fingering, 0x0080);
  EXPECT_EQ(chord.dy, 0x1234);

  // Unchecking a barre clears only that mark.
  dialog.Open(chord, tuning);
  dialog.rows[1].barre = false;
  dialog.Apply(chord, tuning, CKey());
  EXPECT_EQ(chord.notes.NoteOnCourse(1)->fingering, 0x0002);
}

// The user cancels every dialog.
struct CancellingChordDialogs : ChordDialogs {
  bool EditChordProperties(CChordProperties&) override { return false; }
  bool EditGraceNotes(CGraceNotesDlg&) override { return false; }
};

TEST(ChordProperties, RangesEmptyChordAndCancel) {
  nChord chord;
  chord.dy = 0x55;
  CChordProperties dialog;
  dialog.Open(chord, Guitar());
  dialog.rows[0].fret = 25;
  EXPECT_NE(dialog.Validate().find("1st string"), std::string::npos);
  dialog.rows[0].fret = 0;
  dialog.Apply(chord, Guitar(), CKey());
  EXPECT_EQ(chord.notes.size(), 1u);
  EXPECT_EQ(chord.dy, 0);  // a chord that had no notes starts a fresh effect word

  // Cancel: the chord is as it was.
  CancellingChordDialogs cancelling;
  ScopedChordDialogs scoped(cancelling);
  chord.dy = 0x55;
  EXPECT_FALSE(EditChordProperties(chord, Guitar(), CKey()));
  EXPECT_EQ(chord.notes.NoteOnCourse(0)->pitch, 64);
  EXPECT_EQ(chord.dy, 0x55);
}

// Answers OK after changing the fields as the test asks.
struct ScriptedChordDialogs : ChordDialogs {
  std::function<void(CChordProperties&)> properties;
  std::function<void(CGraceNotesDlg&)> grace;
  bool EditChordProperties(CChordProperties& dialog) override {
    properties(dialog);
    return true;
  }
  bool EditGraceNotes(CGraceNotesDlg& dialog) override {
    grace(dialog);
    return true;
  }
};

TEST(ChordDialogEntryPoints, OkAppliesAndOutOfRangeChangesNothing) {
  ScriptedChordDialogs dialogs;
  ScopedChordDialogs scoped(dialogs);
  nChord chord;
  chord.name = "E";
  AddNote(chord, 64, 0);
  dialogs.properties = [](CChordProperties& d) {
    d.rows[0].fret = 2;
    d.description = "F#";
  };
  CChordProperties result;
  ASSERT_TRUE(EditChordProperties(chord, Guitar(), CKey(), &result));
  EXPECT_EQ(chord.notes.NoteOnCourse(0)->pitch, 66);
  EXPECT_EQ(result.description, "F#");
  dialogs.properties = [](CChordProperties& d) { d.rows[0].fret = 30; };
  EXPECT_FALSE(EditChordProperties(chord, Guitar(), CKey()));
  EXPECT_EQ(chord.notes.NoteOnCourse(0)->pitch, 66);

  int code = 70;
  dialogs.grace = [](CGraceNotesDlg& d) {
    EXPECT_EQ(d.type, 4);
    d.descending = false;
  };
  ASSERT_TRUE(EditGraceNotes(code));
  EXPECT_EQ(code, 6);
}

TEST(GraceNotes, CodesOpenAsTypeAndDirectionAndComeBack) {
  struct Case {
    int code;
    int type;
    bool descending;
    int back;
  };
  const Case cases[] = {{1, 0, false, 1},  {70, 4, true, 70}, {36, 2, false, 36}, {97, 7, true, 97},
                        {38, 5, false, 38}, {9, 11, false, 9}, {103, 9, true, 103}, {50, 9, false, 39}};
  for (const Case& c : cases) {
    CGraceNotesDlg dialog;
    dialog.code = c.code;
    dialog.Open();
    EXPECT_EQ(dialog.type, c.type) << c.code;
    EXPECT_EQ(dialog.descending, c.descending) << c.code;
    EXPECT_EQ(dialog.Code(), c.back) << c.code;
  }
  for (int outside : {0, 104, -3}) {
    CGraceNotesDlg dialog;
    dialog.type = 5;
    dialog.code = outside;
    dialog.Open();
    EXPECT_EQ(dialog.type, 5);
  }
  CGraceNotesDlg dialog;
  EXPECT_EQ(dialog.RotationText(), "0 flats");
  dialog.rotations = 3;
  EXPECT_EQ(dialog.RotationText(), "3 sharps");
  dialog.rotations = -2;
  EXPECT_EQ(dialog.RotationText(), "2 flats");
  dialog.rotations = 8;
  EXPECT_NE(dialog.Validate().find("Key rotations"), std::string::npos);
  CancellingChordDialogs cancelling;
  ScopedChordDialogs scoped(cancelling);
  int code = 70;
  EXPECT_FALSE(EditGraceNotes(code));
  EXPECT_EQ(code, 70);
}

TEST(RhythmPattern, FieldsAndPreviewOfThreeBars) {
  CInstrument::RhythmPattern stored;
  stored.bars = 40;
  stored.chordsPerBar = 4;
  stored.denominatorCode = 2;
  stored.flags = 3 | 8;
  stored.options = 1;
  CRhythmPattern fields;
  fields.From(stored);
  EXPECT_EQ(fields.bars, 12);
  EXPECT_EQ(fields.flag, 3);
  EXPECT_TRUE(fields.dotted);
  EXPECT_TRUE(fields.printSignature);
  fields.dotted = false;
  fields.triplets = true;
  EXPECT_EQ(fields.FlagWord(), 3 + 16);
  const CInstrument::RhythmPattern pattern = fields.Pattern(fields.bars);
  EXPECT_EQ(pattern.bars, 12);
  EXPECT_EQ(pattern.flags, 19);
  EXPECT_EQ(pattern.options, 1u);

  fields.chordsPerBar = 33;
  EXPECT_NE(fields.Validate().find("Chords per bar"), std::string::npos);
  fields.chordsPerBar = 2;
  fields.flag = 2;
  fields.triplets = false;
  fields.printSignature = false;

  StaffPreview preview(nullptr);
  preview.Rebuild(fields);
  int barLines = 0, chords = 0;
  for (size_t i = 0; i < preview.Line().firstVoice.size(); ++i) {
    const nChord* e = preview.Line().firstVoice.at(i);
    if (e == nullptr) continue;
    barLines += e->IsBarLine();
    chords += e->IsChord();
  }
  EXPECT_EQ(barLines, 3);
  EXPECT_EQ(chords, 6);
  EXPECT_EQ(preview.Line().GetCurrentStave()->type, 0);
  RecordingDevice dc;
  preview.Paint(dc, {400, 150});
  EXPECT_EQ(preview.ColumnWidth(), (400 - 60) / int(preview.ElementCount() + 1));
}

// The templates dialog's staff: the definition's own line with sample chords, shown as
// notation or tablature whatever its first stave is; the definition itself is not touched.
TEST(StaffPreview, ShowsADefinitionAsNotationOrTablature) {
  CInstrumentDlg guitar;
  guitar.SetFromTemplate(InstrumentTemplateSet(kEarlyMusicSet)[6]);
  guitar.EnsureStave();
  const int32_t ownType = guitar.staves.at(0)->type;
  StaffPreview preview(nullptr);
  for (const bool notation : {true, false, true}) {
    preview.ShowDefinition(guitar, notation);
    const CClef& stave = *preview.Line().GetCurrentStave();
    EXPECT_EQ(stave.IsTablature(), !notation);
    if (notation) {
      EXPECT_EQ(stave.lines, 5);
    }
    EXPECT_EQ(preview.Line().definition->nameText.text, "Baroque guitar");
    int chords = 0;
    for (size_t i = 0; i < preview.Line().firstVoice.size(); ++i) {
      const nChord* e = preview.Line().firstVoice.at(i);
      chords += e != nullptr && e->IsChord() && !e->notes.empty();
    }
    EXPECT_EQ(chords, StaffPreview::kSampleBars * 4) << notation;
    RecordingDevice dc;
    preview.Paint(dc, {400, 150});
  }
  EXPECT_EQ(guitar.staves.at(0)->type, ownType);
}

TEST(SwapOrnament, BothChoicesInRange) {
  CSwapOrnamentDlg dialog;
  dialog.replaceWith = 31;
  EXPECT_EQ(dialog.Validate(), "");
  dialog.select = 32;
  EXPECT_NE(dialog.Validate().find("Select ornament"), std::string::npos);
}

TEST(SwapOrnament, EntriesAreTheOrnamentKindsInKindOrder) {
  // The lists name the kinds of the ornament table; only entry 28 is worded otherwise.
  for (int kind = 0; kind < COrnamentProps::kKindCount; ++kind) {
    if (kind == 28) continue;
    EXPECT_EQ(CSwapOrnamentDlg::kOrnaments[static_cast<size_t>(kind)], COrnamentProps::KindName(kind)) << kind;
  }
  struct Case {
    int entry;
    uint8_t code;
  };
  for (const Case& c : std::vector<Case>{{0, 1}, {1, 65}, {2, 5}, {3, 69}, {4, 36}, {13, 102}, {16, 33}, {19, 98},
                                         {20, 22}, {28, 81}, {29, 28}, {30, 92}, {31, 91}, {32, 0}, {-1, 0}}) {
    CSwapOrnamentDlg dialog;
    dialog.select = c.entry;
    dialog.replaceWith = c.entry;
    EXPECT_EQ(dialog.SelectedCode(), c.code) << c.entry;
    EXPECT_EQ(dialog.ReplacementCode(), c.code) << c.entry;
  }
  // Each descending form is its ascending one plus 64.
  for (int kind = 0; kind < 20; kind += 2) {
    CSwapOrnamentDlg dialog;
    dialog.select = kind;
    dialog.replaceWith = kind + 1;
    EXPECT_EQ(dialog.ReplacementCode(), dialog.SelectedCode() + 64) << kind;
  }
}

}  // namespace
}  // namespace vornel
