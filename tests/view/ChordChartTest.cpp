// The chord diagram and glyph grids (hit tests, selection, painting), the music helpers that
// build and read tablature chords, and the alfabeto chart dialog's actions on a re-entrant
// baroque guitar.

#include <gtest/gtest.h>

#include <algorithm>

#include "GoldenLog.h"
#include "layout/dialogs/ChordDialogs.h"
#include "TabFixtures.h"
#include "model/events/CMetaEvent.h"
#include "model/ornament/COrnamentProps.h"
#include "model/voice/TabChordHelpers.h"
#include "platform/draw/RecordingDevice.h"
#include "support/ScriptedPrompts.h"
#include "view/FramePanes.h"
#include "view/charts/ChartGrids.h"
#include "view/charts/ChordChartDlg.h"
#include "view/charts/ChordPaletteLayout.h"
#include "view/charts/OrnamentGlyphChooser.h"
#include "view/charts/SymbolChooser.h"

namespace vornel {
namespace {

// E4 B3 G3 D4 A3: the fourth and fifth courses tuned an octave up.
void SetReentrantGuitar(CTabInstrument& tab) {
  tab.tuning.SetTuning("EBGD+1A+1");
  tab.tuning.lines = 5;
  tab.tabStyle = CTabInstrument::kItalian;
}

// Letter and name of each chord of the chart, "A=G B=Ab ...".
std::string ChartText(const CTabInstrument& tab) {
  std::string text;
  for (char16_t letter = u'A'; letter <= u'['; ++letter) {
    const nChord* chord = tab.alfabeto.FindChordByLetter(letter);
    if (chord == nullptr) continue;
    if (!text.empty()) text += ' ';
    text += static_cast<char>(letter);
    text += '=';
    text += chord->name.view();
  }
  return text;
}

TEST(MusicHelpers, PitchNamesAndFretSigns) {
  EXPECT_EQ(GetPitchName(0), "C 0");
  EXPECT_EQ(GetPitchName(127), "G 10");
  CTabInstrument tab;
  SetReentrantGuitar(tab);
  const int open = 64;  // course 1, E4
  struct Case {
    char sign;
    int pitch;
  };
  for (const Case c : {Case{'a', open}, Case{'i', open + 8}, Case{'j', open + 8}, Case{'k', open + 9},
                       Case{'z', open + 24}, Case{'0', open}, Case{'7', open + 7}, Case{'A', -1}, Case{'+', -1}}) {
    EXPECT_EQ(TabCharToPitch(c.sign, tab, 0), c.pitch) << c.sign;
  }
  EXPECT_EQ(TabCharToPitch('c', tab, 3), 62 + 2);
  EXPECT_EQ(TabCharToPitch('c', tab, 5), -1) << "a course not in use";
  EXPECT_EQ(TabCharToPitch('c', tab, -1), -1);
}

TEST(MusicHelpers, LowestFretOfAChord) {
  CTabInstrument tab;
  SetReentrantGuitar(tab);
  EXPECT_EQ(GetLowestFret(nChord(nChord::kChord), tab), 255);
  const auto chord = testing::TabChord(tab, 3, {{0, 3}, {1, 5}, {4, 2}});
  EXPECT_EQ(GetLowestFret(*chord, tab), 2);
}

TEST(MusicHelpers, ChordNamesAndPlacing) {
  struct Case {
    int root;
    int kind;
    bool minor;
    const char* name;
  };
  // Pitch byte 34 is A3 (MIDI 57), 32 G3.
  for (const Case c : {Case{34, 0, false, "A"}, Case{32, 0, true, "Gm"}, Case{35, 3, false, "Bb7m"},
                       Case{36, 10, true, "Bm4s"}, Case{37, -4, false, "C"}, Case{41, 11, false, "E"}}) {
    EXPECT_EQ(ChordSymbolName(c.root, c.kind, c.minor), c.name) << c.root << " " << c.kind;
  }
  CTabInstrument tab;
  SetReentrantGuitar(tab);
  const auto chord = MakeChord(32 + 5, 0, false, false, tab);  // C
  ASSERT_NE(chord, nullptr);
  EXPECT_EQ(chord->name, "C");
  EXPECT_FALSE(chord->notes.empty());
  for (const auto& note : chord->notes)
    EXPECT_TRUE(note->pitch % 12 == 0 || note->pitch % 12 == 4 || note->pitch % 12 == 7) << int(note->pitch);
  CTabInstrument empty;
  empty.tuning.SetTuning("");
  EXPECT_EQ(MakeChord(34, 0, false, false, empty), nullptr);
}

TEST(ChordChartDialog, AutoFillAndCommonChordsOnAReentrantGuitar) {
  testing::ScriptedPrompts prompts;
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  EXPECT_EQ(LowestCoursePitch(guitar), 55 - 23);

  CChordChartDlg dialog(&guitar);
  dialog.AutoFill();
  EXPECT_EQ(ChartText(dialog.source.Instrument()),
            "A=G B=Ab C=A D=Bb E=B F=C G=C# H=D I=Eb J=E K=F L=F# M=Gm N=Abm O=Am P=Bbm Q=Bm R=Cm S=C#m T=Dm "
            "U=Ebm V=Em W=Fm X=F#m");
  EXPECT_TRUE(guitar.alfabeto.chart.empty()) << "auto fill writes the source chart only";
  dialog.chordType = 3;
  dialog.AutoFill();
  EXPECT_EQ(dialog.source.Instrument().alfabeto.FindChordByLetter(u'M')->name, "Gm7m");

  // An empty alfabeto is filled without a question.
  ASSERT_TRUE(dialog.LoadCommonChords());
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(ChartText(guitar), "A=A B=B C=C D=D E=E F=F G=G H=Bb I=Am J=Bm K=Cm L=Dm M=Em N=Fm O=Gm P=Bbm");
  EXPECT_EQ(ChartText(dialog.alfabeto.Instrument()), ChartText(guitar));

  // A second load asks first; No keeps the chart.
  guitar.alfabeto.FindChordByLetter(u'A')->name = "kept";
  prompts.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(dialog.LoadCommonChords());
  ASSERT_EQ(prompts.captions.size(), 1u);
  EXPECT_EQ(prompts.captions[0], CChordChartDlg::kReplaceCaption);
  EXPECT_EQ(guitar.alfabeto.FindChordByLetter(u'A')->name, "kept");
}

TEST(ChordChartDialog, AutoFillWithoutCoursesMakesNothing) {
  testing::ScriptedPrompts prompts;
  CTabInstrument none;
  none.tuning.SetTuning("");
  EXPECT_EQ(LowestCoursePitch(none), 127);
  AutoFillChart(none, 0, false);
  EXPECT_TRUE(none.alfabeto.chart.empty());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(ChordChartDialog, LetterActionsAskAndBeep) {
  testing::ScriptedPrompts prompts;
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  FillCommonChords(guitar);
  CChordChartDlg dialog(&guitar);
  dialog.alfabeto.SetClientSize(450, 225);

  // Nothing selected: every letter action beeps.
  EXPECT_FALSE(dialog.DeleteChord());
  EXPECT_FALSE(dialog.ToggleAsterisk());
  EXPECT_FALSE(dialog.RenameChord());
  EXPECT_EQ(prompts.beeps.size(), 3u);

  // The third cell is 'C'.
  ASSERT_TRUE(dialog.alfabeto.OnLeftUp({2 * 50 + 10, 10}));
  EXPECT_EQ(dialog.alfabeto.SelectedLetter(), u'C');
  ASSERT_TRUE(dialog.ToggleAsterisk());
  EXPECT_EQ(guitar.alfabeto.FindChordByLetter(u'C')->metaEvents.Find(CMetaEvent::kAlfabeto)->cy, 1);
  EXPECT_EQ(dialog.alfabeto.Selected(), ChordChartGrid::kNoCell) << "reloading clears the selection";

  dialog.alfabeto.OnLeftUp({2 * 50 + 10, 10});
  prompts.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(dialog.DeleteChord());
  prompts.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(dialog.DeleteChord());
  EXPECT_EQ(guitar.alfabeto.FindChordByLetter(u'C'), nullptr);
  EXPECT_EQ(prompts.captions.back(), CChordChartDlg::kDeleteCaption);

  prompts.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(dialog.ClearAll());
  EXPECT_EQ(guitar.alfabeto.chart.size(), 15u);
  prompts.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(dialog.ClearAll());
  EXPECT_TRUE(guitar.alfabeto.chart.empty());
}

// "Edit chord" shows the selected letter's chord with its asterisk; OK stores the frets, the
// asterisk and the name, Cancel or a fret out of range nothing.
TEST(ChordChartDialog, EditChordOpensChordPropertiesOnTheSelectedLetter) {
  struct Answers : ChordDialogs {
    bool ok = true;
    CChordProperties shown;
    std::function<void(CChordProperties&)> change;
    bool EditChordProperties(CChordProperties& d) override {
      shown = d;
      if (change) change(d);
      return ok;
    }
  } answers;
  ScopedChordDialogs scoped(answers);
  testing::ScriptedPrompts prompts;
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  FillCommonChords(guitar);
  CChordChartDlg dialog(&guitar);
  dialog.alfabeto.SetClientSize(450, 225);

  EXPECT_FALSE(dialog.EditChord());
  EXPECT_EQ(prompts.beeps.size(), 1u);
  EXPECT_FALSE(EditAlfabetoChord(nullptr, u'C'));
  EXPECT_EQ(prompts.beeps.size(), 2u);

  nChord& c = *guitar.alfabeto.FindChordByLetter(u'C');
  c.metaEvents.Find(CMetaEvent::kAlfabeto)->cy = 1;
  const std::string name = c.name.str();
  const int fret = [&] {
    CChordProperties opened;
    opened.Open(c, guitar.tuning);
    return opened.rows[0].fret;
  }();
  ASSERT_GE(fret, 0);
  const int pitch = c.notes.NoteOnCourse(0)->pitch;

  // Cancel, then a fret out of range: nothing stored.
  const auto select = [&] {
    dialog.alfabeto.OnLeftUp({2 * 50 + 10, 10});
    ASSERT_EQ(dialog.alfabeto.SelectedLetter(), u'C');
  };
  answers.change = [](CChordProperties& d) {
    d.description = "changed";
    d.asterixed = false;
  };
  answers.ok = false;
  select();
  EXPECT_FALSE(dialog.EditChord());
  answers.ok = true;
  answers.change = [](CChordProperties& d) {
    d.description = "changed";
    d.rows[0].fret = 30;
  };
  select();
  EXPECT_FALSE(dialog.EditChord());
  EXPECT_EQ(c.name, name);
  EXPECT_EQ(c.notes.NoteOnCourse(0)->pitch, pitch);
  EXPECT_EQ(c.metaEvents.Find(CMetaEvent::kAlfabeto)->cy, 1);

  answers.change = [](CChordProperties& d) {
    d.description = "C sus";
    d.asterixed = false;
    d.rows[0].fret += 1;
  };
  select();
  ASSERT_TRUE(dialog.EditChord());
  EXPECT_TRUE(answers.shown.asterixed);
  EXPECT_EQ(answers.shown.description, name);
  EXPECT_EQ(c.name, "C sus");
  EXPECT_EQ(c.notes.NoteOnCourse(0)->pitch, pitch + 1);
  EXPECT_EQ(c.metaEvents.Find(CMetaEvent::kAlfabeto)->cy, 0);
  EXPECT_EQ(dialog.alfabeto.Selected(), ChordChartGrid::kNoCell) << "the chart is reloaded";
}

TEST(ChordChartDialog, SourceChordGoesToTheSelectedLetter) {
  testing::ScriptedPrompts prompts;
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  CChordChartDlg dialog(&guitar);
  dialog.source.SetClientSize(450, 225);
  dialog.alfabeto.SetClientSize(450, 225);
  EXPECT_EQ(dialog.source.DoubleClickNotification(), kChartCellDoubleClick);
  EXPECT_EQ(dialog.alfabeto.DoubleClickNotification(), kChartEmptyCellDoubleClick);
  EXPECT_FALSE(dialog.AssignFromSource());
  EXPECT_EQ(prompts.beeps.size(), 1u) << "no source chord";

  dialog.AutoFill();
  dialog.source.OnLeftUp({5 * 50 + 1, 1});  // F: C major
  ASSERT_TRUE(dialog.AssignFromSource());
  EXPECT_EQ(ChartText(guitar), "A=C") << "the first free letter when none is chosen";
  dialog.alfabeto.OnLeftUp({1, 1});
  dialog.source.OnLeftUp({7 * 50 + 1, 1});  // H: D major
  prompts.QueueAnswer(Answer::kOk);
  ASSERT_TRUE(dialog.AssignFromSource());
  EXPECT_EQ(prompts.captions.back(), "Letter is already assigned");
  EXPECT_EQ(ChartText(guitar), "A=D");
}

// Cells, hit tests and the selection: a click on the selected cell changes nothing.
TEST(ChartGrids, HitTestAndSelection) {
  GlyphChartGrid grid;
  grid.SetupGrid(4, 2, "VAVADURURA", 30, {0x41, 0x42, 0x43}, 20, 1);
  grid.SetClientSize(203, 101);  // cells 50 by 50, a pixel left over
  struct Case {
    Point at;
    int cell;
  };
  for (const Case c : {Case{{0, 0}, 0}, Case{{49, 49}, 0}, Case{{50, 0}, 1}, Case{{199, 99}, 7},
                       Case{{-1, 0}, -1}, Case{{203, 0}, -1}, Case{{0, 101}, -1}}) {
    EXPECT_EQ(grid.HitTest(c.at, false), c.cell) << c.at.x << "," << c.at.y;
  }
  EXPECT_TRUE(grid.OnLeftUp({60, 10}));
  EXPECT_EQ(grid.SelectedCode(), 0x42u);
  EXPECT_FALSE(grid.OnLeftUp({70, 20})) << "the same cell tells nothing";
  EXPECT_TRUE(grid.OnLeftUp({160, 60}));
  EXPECT_EQ(grid.SelectedCode(), std::nullopt) << "a cell without a code";
  EXPECT_FALSE(grid.OnLeftUp({300, 10}));

  grid.SetGlyphs({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  EXPECT_EQ(grid.Codes().size(), 8u);

  ChordChartGrid chart;
  chart.SetClientSize(450, 225);
  chart.SetScrollOffset({50, 0});
  EXPECT_EQ(chart.HitTest({0, 0}, true), 1);
  EXPECT_EQ(chart.HitTest({0, 0}, false), 0);
}

TEST(ChartGrids, GoldenChordChartAndGlyphGrid) {
  testing::ScriptedPrompts prompts;
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  // Letters A and C: C takes the second cell.
  for (const auto& [letter, root] : {std::pair{u'A', 37}, std::pair{u'C', 39}}) {
    const auto chord = MakeChord(root, 0, false, true, guitar);
    guitar.alfabeto.description = chord->name;
    guitar.alfabeto.AssignChord(letter, *chord);
  }
  ChordChartGrid chart;
  chart.SetLayout(3, 2);
  chart.SetClientSize(151, 150);
  chart.LoadInstrument(&guitar);
  chart.OnLeftUp({60, 10});
  EXPECT_EQ(chart.SelectedLetter(), u'C');
  RecordingDevice dc(96, false);
  chart.Paint(dc);
  std::string log = "# chord chart of A and C, C selected\n" + dc.Log();

  GlyphChartGrid glyphs;
  glyphs.SetupGrid(3, 2, "VAVADURURA", 24, {0x10041, 0x42, 0x43, 0x44}, 25, 0);
  glyphs.SetClientSize(120, 80);
  glyphs.OnLeftUp({45, 10});
  dc.ClearLog();
  glyphs.Paint(dc);
  log += "# glyph grid, cell 1 selected\n" + dc.Log();
  testing::ExpectGoldenLog("chart_grids", log);
}

// The palette's grid follows the pane's width; a double-click inserts the letter drawn in the
// cell, and with no letter selected beeps and inserts nothing.
TEST(ChordPalette, LayoutAndInsert) {
  struct Case {
    int width;
    int columns;
    int rows;
  };
  for (const Case c : {Case{10, 1, 26}, Case{50, 1, 26}, Case{400, 8, 4}, Case{460, 9, 3}, Case{1400, 28, 1}}) {
    const PaletteLayout layout = LayoutChordPalette(c.width);
    EXPECT_EQ(layout.columns, c.columns) << c.width;
    EXPECT_EQ(layout.rows, c.rows) << c.width;
    EXPECT_EQ(layout.chart.top, kPaletteToolbarHeight);
    EXPECT_EQ(layout.chart.Height(), c.rows * kPaletteCellHeight);
  }

  testing::ScriptedPrompts prompts;
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  FillCommonChords(guitar);
  guitar.alfabeto.chart.erase(0);  // no 'A': the first cell is 'B'
  ChordChartGrid grid;
  grid.SetLayout(8, 4);
  grid.SetClientSize(400, 300);
  grid.LoadInstrument(&guitar);
  EXPECT_EQ(PaletteInsertCommand(grid), std::nullopt);
  ASSERT_EQ(prompts.beeps.size(), 1u);
  grid.OnLeftUp({390, 290});  // a cell past the last letter
  EXPECT_EQ(PaletteInsertCommand(grid), std::nullopt);
  EXPECT_EQ(prompts.beeps.size(), 2u);
  grid.OnLeftUp({5, 5});
  const auto insert = PaletteInsertCommand(grid);
  ASSERT_TRUE(insert.has_value());
  EXPECT_EQ(insert->id, kInsertAlfabetoCommand);
  EXPECT_EQ(insert->value, 1) << "'B'";
}

// A graphic ornament opens with its glyph selected in the chooser's grid and is written back
// as glyph, alignment, zoom and font.
TEST(OrnamentGlyphChooser, EventRoundTrip) {
  struct Case {
    uint32_t value;
    int32_t cy;
    const char* text;
    int cell;
    int zoom;
    const char* font;
  };
  for (const Case c : {Case{0x41, 0, "", 0x41 - 32, 100, "VAVadurura"},
                       Case{0x19F, 150, "VornelNotation", 0x9F - 32, 150, "VornelNotation"},
                       Case{0x10, 80, "", 0, 80, "VAVADURURA"}}) {
    COrnamentDlg chooser;
    chooser.FromEvent(CMetaEvent(CMetaEvent::kGraphicOrnament, c.text, c.value, 3, c.cy));
    EXPECT_EQ(chooser.grid.Selected(), c.cell) << c.value;
    EXPECT_EQ(chooser.zoom, c.zoom);
    EXPECT_EQ(chooser.fontName, c.font);
    EXPECT_EQ(chooser.alignment, 3);
  }
  COrnamentDlg chooser;
  EXPECT_EQ(chooser.grid.Codes().size(), 129u);
  chooser.FromEvent(CMetaEvent(CMetaEvent::kGraphicOrnament, "", 0x41, 0, 0));
  EXPECT_EQ(chooser.text, "41 [A]");
  chooser.grid.SetClientSize(8 * 40, 12 * 40);
  ASSERT_TRUE(chooser.grid.OnLeftUp({45, 45}));  // cell 9: code 41
  ASSERT_TRUE(chooser.TakeSelection());
  EXPECT_EQ(chooser.text, "29 [)]");
  chooser.zoom = 201;
  EXPECT_FALSE(chooser.Validate().empty());
  chooser.zoom = 120;
  CMetaEvent back(CMetaEvent::kGraphicOrnament, "", 0, 0, 0);
  chooser.ToEvent(back);
  EXPECT_EQ(back.value, 41u);
  EXPECT_EQ(back.cy, 120);
  EXPECT_EQ(back.text, "VAVadurura");
  EXPECT_EQ(COrnamentDlg::AlignmentEntry(9), "(Above staff)Extra high");
}

// The chooser of an ornament definition shows the catalogue of its type; a glyph chosen brings
// its catalogue alignment.
TEST(OrnamentGlyphChooser, CatalogueOfADefinition) {
  const uint32_t third = COrnamentProps::CatalogueGlyph(1, 3);
  COrnamentDlg chooser = COrnamentDlg::ForCatalogue(1, third, 5);
  EXPECT_EQ(chooser.grid.Codes().size(), 150u);
  EXPECT_EQ(chooser.grid.Columns(), 15);
  EXPECT_EQ(chooser.fontName, "VornelNotation");
  EXPECT_EQ(chooser.grid.Selected(), COrnamentProps::FindCatalogueRow(1, third));
  EXPECT_EQ(chooser.alignment, 5) << "opening keeps the definition's alignment";
  chooser.grid.SetClientSize(15 * 40, 10 * 40);
  ASSERT_TRUE(chooser.grid.OnLeftUp({7 * 40 + 3, 40 + 3}));  // row 22
  ASSERT_TRUE(chooser.TakeSelection());
  EXPECT_EQ(chooser.glyph, COrnamentProps::CatalogueGlyph(1, 22));
  EXPECT_EQ(chooser.alignment, COrnamentProps::CatalogueAlignment(1, 22));
  EXPECT_EQ(COrnamentDlg::ForCatalogue(0, 0xFFFF, 0).grid.Selected(), 0) << "a glyph outside the catalogue";
}

// The symbol chooser shows the catalogue of the stave's face and opens on the current symbol:
// its cell when the catalogue has it, no cell for a file's own code, none for 0, a space or a
// code no symbol can have.
TEST(SymbolChooser, OpensOnTheCurrentSymbol) {
  const uint32_t fifth = COrnamentProps::CatalogueGlyph(0, 5);
  SymbolChooser probe(true, 0);
  uint32_t foreign = 33;
  while (std::find(probe.grid.Codes().begin(), probe.grid.Codes().end(), foreign) != probe.grid.Codes().end()) ++foreign;
  struct Case {
    bool tablature;
    int32_t current;
    int32_t symbol;
    int cell;
  };
  for (const Case c : {Case{true, static_cast<int32_t>(fifth), static_cast<int32_t>(fifth), 5},
                       Case{true, static_cast<int32_t>(foreign), static_cast<int32_t>(foreign), ChartGrid::kNoCell},
                       Case{false, 0, ' ', ChartGrid::kNoCell}, Case{false, ' ', ' ', ChartGrid::kNoCell},
                       Case{true, -7, ' ', ChartGrid::kNoCell}, Case{true, 0x10041, ' ', ChartGrid::kNoCell}}) {
    SCOPED_TRACE(c.current);
    const SymbolChooser chooser(c.tablature, c.current);
    EXPECT_EQ(chooser.symbol, c.symbol);
    EXPECT_EQ(chooser.grid.Selected(), c.cell);
    EXPECT_EQ(chooser.grid.Face(), c.tablature ? "VornelTabFlags" : "VornelNotation");
    EXPECT_EQ(chooser.grid.Codes().size(), static_cast<size_t>(COrnamentProps::kCatalogueSize));
    EXPECT_EQ(chooser.Validate(), "");
  }
}

TEST(SymbolChooser, ChoosingAndNone) {
  SymbolChooser chooser(false, 0);
  EXPECT_EQ(chooser.Shown(), "None");
  EXPECT_FALSE(chooser.TakeSelection()) << "no cell selected";
  chooser.grid.SetClientSize(15 * 40, 10 * 40);
  ASSERT_TRUE(chooser.grid.OnLeftUp({3 * 40 + 5, 40 + 5}));  // row 18
  ASSERT_TRUE(chooser.TakeSelection());
  const uint32_t chosen = COrnamentProps::CatalogueGlyph(1, 18);
  EXPECT_EQ(chooser.symbol, static_cast<int32_t>(chosen));
  EXPECT_EQ(chooser.Shown(), GlyphCodeText(chosen));
  EXPECT_EQ(GlyphCodeText(0x141), "141 [A]");
  EXPECT_EQ(GlyphCodeText(0xE0A9), "e0a9") << "no lone byte above 0x7E in a label";
  chooser.ChooseNone();
  EXPECT_EQ(chooser.symbol, SymbolChooser::kNone);
  EXPECT_EQ(chooser.grid.Selected(), ChartGrid::kNoCell);
  EXPECT_EQ(chooser.Validate(), "");
  for (const int32_t bad : {0, 31, 0x10000}) {
    chooser.symbol = bad;
    EXPECT_EQ(chooser.Validate(), SymbolChooser::kNothingChosen) << bad;
  }
}

// The chart configuration on a definition's tablature: the view's checked insert mode is where
// the dialog starts, a mode changed in it is sent back as the view's command, and the result
// says whether the alfabeto changed.
TEST(ChordChartDialog, ConfigurationKeepsTheViewsInsertMode) {
  struct Panes : view::NoFramePanes {
    bool DispatchCommand(int id) override {
      sent.push_back(id);
      return true;
    }
    view::CommandState CommandStateOf(int id) const override {
      view::CommandState state;
      state.checked = id == 33392;
      return state;
    }
    std::vector<int> sent;
  } panes;
  view::ScopedFramePanes installed(panes);
  testing::ScriptedPrompts prompts;
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);

  int opened = 0;
  EXPECT_FALSE(ConfigureChordChart(guitar, [&](CChordChartDlg& core) { opened = core.insertMode; }));
  EXPECT_EQ(opened, 1523);
  EXPECT_TRUE(panes.sent.empty());

  EXPECT_TRUE(ConfigureChordChart(guitar, [](CChordChartDlg& core) {
    core.LoadCommonChords();
    core.insertMode = 1522;
  }));
  EXPECT_EQ(ChartText(guitar).substr(0, 3), "A=A");
  EXPECT_EQ(panes.sent, std::vector<int>{33394});
  EXPECT_EQ(InsertModeCommand(1521), 33393);
  EXPECT_EQ(InsertModeCommand(7), 0);
}

}  // namespace
}  // namespace vornel
