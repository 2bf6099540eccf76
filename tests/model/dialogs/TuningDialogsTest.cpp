#include <gtest/gtest.h>

#include "model/score/SectionEditor.h"
#include "model/dialogs/TuningDialogs.h"
#include "support/MissingService.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(InstrumentTuningDialog, EachPresetSetsItsTextAndLines) {
  InstrumentTuningDlg dialog;
  nTuning start;
  start.SetTuning("GDAFCGF");
  dialog.Load(start);
  EXPECT_EQ(dialog.tuningText, "GDAFCGF");
  EXPECT_EQ(dialog.stringTexts[0], "G5(67)");
  EXPECT_EQ(dialog.stringTexts[7], "");
  for (size_t i = 0; i < kTuningPresets.size(); ++i) {
    dialog.lines = 12;
    dialog.ApplyPreset(i);
    EXPECT_EQ(dialog.lines, kTuningPresets[i].lines) << kTuningPresets[i].label;
    // The shown text is the courses' own spelling: octave marks are not kept.
    nTuning expected;
    expected.SetTuning(kTuningPresets[i].text);
    EXPECT_EQ(dialog.tuning.stringCount, expected.stringCount) << kTuningPresets[i].label;
    EXPECT_EQ(dialog.tuningText, expected.GetTuningText());
  }
  dialog.ApplyPreset(4);  // "Mandolin"
  EXPECT_EQ(dialog.stringTexts[0], "E6(76)");
  EXPECT_EQ(dialog.stringTexts[4], "");
}

TEST(InstrumentTuningDialog, TypedTextReducesLinesAndStringButtonsEditOneString) {
  InstrumentTuningDlg dialog;
  nTuning start;
  start.SetTuning("EBGDAE");
  dialog.Load(start);
  dialog.tuningText = "GDA";
  dialog.ApplyTuningText();
  EXPECT_EQ(dialog.lines, 3);
  EXPECT_EQ(dialog.tuning.stringCount, 3);

  EXPECT_EQ(dialog.NoteTextOf(0), "G5 ");
  // The button just past the last string adds one; further ones do nothing.
  EXPECT_TRUE(dialog.SetString(3, "F4#", 66));
  EXPECT_EQ(dialog.stringTexts[3], "F4#(66)");
  EXPECT_EQ(dialog.tuningText, "GDAF#");
  EXPECT_FALSE(dialog.SetString(5, "C4 ", 48));
  EXPECT_FALSE(dialog.SetString(0, "", 0));  // "Clear" in the string dialog changes nothing

  dialog.lines = 4;
  nTuning result;
  dialog.Store(result);
  EXPECT_EQ(result.stringCount, 4);
  EXPECT_EQ(result.lines, 4);
  EXPECT_EQ(result.courses[3].pitch + kCoursePitchOffset, 66);

  dialog.lines = 13;
  EXPECT_EQ(dialog.Validate(), "\"Number of tablature lines:\" must be between 3 and 12.");
  dialog.lines = 6;
  dialog.tempo = 9;
  EXPECT_FALSE(dialog.Validate().empty());
}

TEST(StringPitchDialog, NoteTextsAndMidiValues) {
  struct Case {
    const char* text;
    int letter, octave, accidental, midi;
    const char* back;
  };
  const Case cases[] = {
      {"", 2, 2, 0, 24, "C2 "},    // an empty text opens as C2
      {"D4#", 3, 4, 1, 51, "D4#"},  // 2 + 48 + 1
      {"B5b", 1, 5, 2, 70, "B5b"},
      {"A0 ", 0, 0, 0, 9, "A0 "},
  };
  for (const Case& c : cases) {
    CStringTuningDlg dialog;
    dialog.Load(c.text, 3);
    EXPECT_EQ(dialog.letterIndex, c.letter) << c.text;
    EXPECT_EQ(dialog.octave, c.octave) << c.text;
    EXPECT_EQ(dialog.accidental, c.accidental) << c.text;
    EXPECT_EQ(dialog.midiValue, c.midi) << c.text;
    EXPECT_EQ(dialog.GetNoteText(), c.back);
  }
  CStringTuningDlg dialog;
  dialog.Load("G5 ", 1);
  EXPECT_EQ(dialog.Caption(), "String tuning editor: string 1");
  // "Clear": no note, an empty text; the value is left as it was.
  dialog.letterIndex = -1;
  dialog.ComputeMidiValue();
  EXPECT_EQ(dialog.midiValue, 67);
  EXPECT_EQ(dialog.GetNoteText(), "");
}

TEST(StringPitchDialog, OctaveStopsAtNineSoTheNoteTextKeepsADigit) {
  CStringTuningDlg dialog;
  dialog.Load("C9 ", 1);
  EXPECT_EQ(dialog.Validate(), "");
  // C10 is MIDI 120, in range, but its octave would put ':' into the note text.
  dialog.octave = 10;
  dialog.ComputeMidiValue();
  EXPECT_EQ(dialog.midiValue, 120);
  EXPECT_EQ(dialog.Validate(), "\"Octave\" must be between 0 and 9.");
  dialog.octave = 9;
  dialog.letterIndex = 6;  // G9# = 116; B9 = 119; the value's own limit stays 124
  dialog.midiValue = 125;
  EXPECT_EQ(dialog.Validate(), "\"MIDI value\" must be between 0 and 124.");
}

TEST(CourseTuningDialog, ListsCoursesAndSpellsThePitch) {
  nTuning tuning;
  tuning.SetTuning("GDAFCGF");
  CBourdonTuningDlg dialog;
  dialog.Load(tuning);
  ASSERT_EQ(dialog.courses.size(), 7u);
  EXPECT_EQ(dialog.courses[0], "1: G5(67)");
  EXPECT_EQ(dialog.courses[6], "7: F3(41)");
  EXPECT_EQ(dialog.courseIndex, 0);
  EXPECT_EQ(dialog.newPitch, 67);
  EXPECT_EQ(dialog.noteText, "G5");
  dialog.SelectCourse(tuning, 6);
  EXPECT_EQ(dialog.newPitch, 41);
  for (auto [pitch, text] : {std::pair{66, "F#5"}, {70, "Bb5"}, {60, "C5"}, {8, "Ab0"}}) {
    dialog.SetPitch(pitch);
    EXPECT_EQ(dialog.noteText, text);
  }
  EXPECT_EQ(dialog.Validate(), "");
  dialog.SetPitch(7);
  EXPECT_FALSE(dialog.Validate().empty());

  nTuning empty;
  CBourdonTuningDlg none;
  none.Load(empty);
  EXPECT_EQ(none.courseIndex, -1);
  EXPECT_FALSE(none.Validate().empty());
}

struct TuningEditor : SectionEditor {
  bool answer = true;
  bool EditTuning(nTuning& tuning) override {
    InstrumentTuningDlg dialog;
    dialog.Load(tuning);
    dialog.ApplyPreset(2);  // "Baroque lute"
    dialog.lines = 7;
    if (answer) dialog.Store(tuning);
    return answer;
  }
};

TEST(EditTuning, TakesTheDialogsTuningOnOkOnly) {
  nTuning tuning;
  tuning.SetTuning("GDAFCGF");
  testing::ScriptedPrompts prompts;
  EXPECT_MISSING_SERVICE(prompts, EXPECT_FALSE(tuning.EditTuning()), "section editor");
  EXPECT_EQ(tuning.GetTuningText(), "GDAFCGF");
  TuningEditor editor;
  ScopedSectionEditor scoped(editor);
  editor.answer = false;
  EXPECT_FALSE(tuning.EditTuning());
  EXPECT_EQ(tuning.GetTuningText(), "GDAFCGF");
  editor.answer = true;
  EXPECT_TRUE(tuning.EditTuning());
  EXPECT_EQ(tuning.GetTuningText(), "FDAFDAGFEDCBA");
  EXPECT_EQ(tuning.stringCount, 13);
  EXPECT_EQ(tuning.lines, 7);
}

}  // namespace
}  // namespace vornel
