// The chord chart and glyph grid controls, the alfabeto chart dialog, the chord palette and
// the alfabeto letter dialog under a display: mouse events reach the grids and come back as
// chart events, the dialogs exchange data with their cores. Each window is saved as a PNG.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "layout/dialogs/ChordDialogs.h"
#include "model/voice/TabChordHelpers.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/DialogCapture.h"
#include "view/FramePanes.h"
#include "view/charts/ChordChartDlg.h"
#include "view/ui/charts/AlfabetoFunctionDialog.h"
#include "view/ui/charts/ChartControls.h"
#include "view/ui/charts/ChordChartDialog.h"
#include "view/ui/charts/ChordPalette.h"
#include "view/ui/charts/OrnamentGlyphsDialog.h"
#include "view/ui/charts/SymbolChooserDialog.h"
#include "view/ui/dialogs/CGlyphButton.h"
#include "view/ui/charts/MusicOrnamentDialog.h"
#include "model/ornament/COrnamentProps.h"
#include "model/events/CMetaEvent.h"
#include <wx/spinctrl.h>
#include <wx/stattext.h>

namespace vornel {
namespace {

void Settle() {
  for (int i = 0; i < 10; ++i) wxTheApp->Yield(true);
}

void SavePng(wxWindow& window, const std::string& name) { CaptureDialog(window, name); }

void Mouse(wxWindow& window, wxEventType type, int x, int y) {
  wxMouseEvent event(type);
  event.SetPosition(wxPoint(x, y));
  event.SetEventObject(&window);
  window.ProcessWindowEvent(event);
}

void SetReentrantGuitar(CTabInstrument& tab) {
  tab.tuning.SetTuning("EBGD+1A+1");
  tab.tuning.lines = 5;
}

// Records the commands a pane sends to the main window.
struct SentCommands : view::NoFramePanes {
  bool DispatchCommandEvent(const view::CommandEvent& event) override {
    sent.push_back(event);
    return true;
  }
  bool DispatchCommand(int id) override { return DispatchCommandEvent(view::CommandEvent{id, std::nullopt, {}}); }
  std::vector<view::CommandEvent> sent;
};

TEST(ChartWindows, ClicksBecomeChartEvents) {
  testing::ScriptedPrompts prompts;
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Charts", wxDefaultPosition, wxSize(500, 500));
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  FillCommonChords(guitar);
  auto* chart = new CStaticChordChart(frame, 1500, wxSize(450, 225));
  chart->SetSize(0, 0, 450, 225);
  chart->LoadInstrument(&guitar);
  auto* glyphs = new CStaticGlyphChart(frame, 1501, wxSize(270, 90));
  glyphs->SetSize(0, 240, 270, 90);
  glyphs->Grid().SetupGrid(9, 3, "VAVADURURA", 36, {0x41, 0x42, 0x43, 0x44}, 20, 1);
  std::vector<int> notices;
  frame->Bind(EVT_CHART_DOUBLE_CLICK, [&](wxCommandEvent& e) { notices.push_back(e.GetInt()); });
  frame->Bind(EVT_GLYPH_CHOSEN, [&](wxCommandEvent& e) { notices.push_back(e.GetInt()); });

  Mouse(*chart, wxEVT_LEFT_UP, 160, 10);
  EXPECT_EQ(chart->Grid().SelectedLetter(), u'D');
  Mouse(*chart, wxEVT_LEFT_DCLICK, 160, 10);
  chart->Grid().SetNotifyOnCell(true);
  Mouse(*chart, wxEVT_LEFT_DCLICK, 10, 80);
  EXPECT_EQ(chart->Grid().SelectedLetter(), u'J');

  Mouse(*glyphs, wxEVT_LEFT_UP, 35, 5);
  Mouse(*glyphs, wxEVT_LEFT_UP, 40, 20);  // the same cell: nothing told
  Mouse(*glyphs, wxEVT_LEFT_UP, 65, 5);
  EXPECT_EQ(glyphs->Grid().SelectedCode(), 0x43u);
  EXPECT_EQ(notices, (std::vector<int>{kChartEmptyCellDoubleClick, kChartCellDoubleClick, kGlyphChosen, kGlyphChosen}));
  SavePng(*frame, "chart_controls");
  frame->Destroy();
  wxTheApp->ProcessIdle();
}

TEST(ChartWindows, ChordChartDialogExchangesWithItsCore) {
  testing::ScriptedPrompts prompts;
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  FillCommonChords(guitar);
  CChordChartDlg core(&guitar);
  core.chordType = 2;
  core.insertMode = 1522;
  ChordChartDialog dialog(nullptr, core);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "Manage alfabeto charts");
  EXPECT_EQ(dialog.Background().SolidColour(), wxColour(0xF0, 0xF0, 0xF0));
  auto* type = dynamic_cast<wxChoice*>(dialog.FindWindow(ChordChartDialog::kChordType));
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(type->GetStringSelection(), "6");
  EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(ChordChartDialog::kInsertChart))->GetValue());

  type->SetSelection(4);
  dynamic_cast<wxCheckBox*>(dialog.FindWindow(ChordChartDialog::kSkipThird))->SetValue(true);
  dynamic_cast<wxRadioButton*>(dialog.FindWindow(ChordChartDialog::kInsertSymbol))->SetValue(true);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(core.chordType, 4);
  EXPECT_TRUE(core.skipThird);
  EXPECT_EQ(core.insertMode, 1523);

  // "+/-" shows the source chart below and grows the dialog; Auto fill fills it.
  EXPECT_FALSE(dialog.SourceShown());
  const int shortHeight = dialog.GetSize().y;
  dialog.ToggleSource();
  EXPECT_TRUE(dialog.SourceShown());
  EXPECT_GT(dialog.GetSize().y, shortHeight + 200);
  core.AutoFill();
  EXPECT_EQ(core.source.Instrument().alfabeto.chart.size(), 24u);
  SavePng(dialog, "chord_chart_dialog");
  dialog.ToggleSource();
  EXPECT_EQ(dialog.GetSize().y, shortHeight);
}

TEST(ChartWindows, PaletteInsertsTheDoubleClickedLetter) {
  testing::ScriptedPrompts prompts;
  SentCommands panes;
  view::ScopedFramePanes scoped(panes);
  CTabInstrument guitar;
  SetReentrantGuitar(guitar);
  FillCommonChords(guitar);
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Palette", wxDefaultPosition, wxSize(420, 400));
  auto* palette = new CChordPalette(frame, [&guitar] { return &guitar; }, {});
  palette->SetSize(0, 0, 410, 380);
  Settle();
  EXPECT_EQ(palette->Chart()->Grid().Columns(), 8);
  EXPECT_EQ(palette->Chart()->Grid().Rows(), 4);
  EXPECT_EQ(palette->Chart()->GetPosition().y, 20);

  // A double-click off the letters beeps and sends nothing.
  Mouse(*palette->Chart(), wxEVT_LEFT_DCLICK, 390, 290);
  EXPECT_TRUE(panes.sent.empty());
  EXPECT_EQ(prompts.beeps.size(), 1u);
  Mouse(*palette->Chart(), wxEVT_LEFT_DCLICK, 60, 80);  // the tenth letter, 'J'
  ASSERT_EQ(panes.sent.size(), 1u);
  EXPECT_EQ(panes.sent[0].id, 33322);
  EXPECT_EQ(panes.sent[0].value, 9);

  // The insert modes and the view's alfabeto commands go to the main window; "Remove chart"
  // takes the selected letter's chord out.
  EXPECT_TRUE(palette->RunCommand(33393));
  EXPECT_EQ(panes.sent.back().id, 33393);
  EXPECT_TRUE(palette->RunCommand(33395));
  EXPECT_EQ(guitar.alfabeto.FindChordByLetter(u'J'), nullptr);
  EXPECT_EQ(guitar.alfabeto.chart.size(), 15u);

  // "Edit selected chord" opens the chord properties on the selected letter's chord.
  struct Rename : ChordDialogs {
    bool EditChordProperties(CChordProperties& d) override {
      d.description = "renamed";
      return true;
    }
  } rename;
  {
    ScopedChordDialogs installed(rename);
    const size_t beeps = prompts.beeps.size();
    EXPECT_TRUE(palette->RunCommand(33390));
    EXPECT_EQ(prompts.beeps.size(), beeps + 1) << "no letter selected";
    Mouse(*palette->Chart(), wxEVT_LEFT_UP, 10, 10);
    ASSERT_EQ(palette->Chart()->Grid().SelectedLetter(), u'A');
    EXPECT_TRUE(palette->RunCommand(33390));
  }
  EXPECT_EQ(guitar.alfabeto.FindChordByLetter(u'A')->name, "renamed");
  SavePng(*frame, "chord_palette");
  frame->Destroy();
  wxTheApp->ProcessIdle();
}

TEST(ChartWindows, AlfabetoLetterFieldNormalisesWhatIsTyped) {
  testing::ScriptedPrompts prompts;
  AlfabetoLetterChoice choice{u'[', "G major"};
  AlfabetoFunctionDialog dialog(nullptr, choice);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "Alfabeto function");
  auto* letter = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(AlfabetoFunctionDialog::kLetter));
  auto* description = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(AlfabetoFunctionDialog::kDescription));
  ASSERT_NE(letter, nullptr);
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(letter->GetValue(), "[");
  EXPECT_EQ(description->GetValue(), "G major");
  struct Case {
    const char* typed;
    const char* shown;
  };
  for (const Case c : {Case{"c", "C"}, Case{"+", "["}, Case{"\\", "\\"}, Case{"5", ""}}) {
    letter->SetValue(c.typed);
    EXPECT_EQ(letter->GetValue(), c.shown) << c.typed;
  }
  EXPECT_FALSE(dialog.TransferDataFromWindow()) << "an empty letter keeps the dialog open";
  EXPECT_EQ(prompts.beeps.size(), 1u);
  letter->SetValue("d");
  description->SetValue("D minor");
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(choice.letter, u'D');
  EXPECT_EQ(choice.description, "D minor");
  SavePng(dialog, "alfabeto_function_dialog");
}

TEST(ChartWindows, OrnamentGlyphsChooserShowsTheChosenCode) {
  testing::ScriptedPrompts prompts;
  COrnamentDlg chooser;
  chooser.FromEvent(CMetaEvent(CMetaEvent::kGraphicOrnament, "", 0x42, 2, 90));
  OrnamentGlyphsDialog dialog(nullptr, chooser);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  auto* code = dynamic_cast<wxStaticText*>(dialog.FindWindow(OrnamentGlyphsDialog::kCode));
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code->GetLabel(), "42 [B]");
  EXPECT_EQ(dynamic_cast<wxChoice*>(dialog.FindWindow(OrnamentGlyphsDialog::kAlignment))->GetSelection(), 2);
  EXPECT_EQ(dialog.Background().SolidColour(), wxColour(0xE6, 0xE6, 0xE6));
  SavePng(dialog, "ornament_glyphs");
  wxWindow* grid = dialog.FindWindow(OrnamentGlyphsDialog::kGrid);
  Mouse(*grid, wxEVT_LEFT_UP, 50, 5);  // second cell: code 33
  EXPECT_EQ(code->GetLabel(), "21 [!]");
  dynamic_cast<wxSpinCtrl*>(dialog.FindWindow(OrnamentGlyphsDialog::kZoom))->SetValue(150);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(chooser.zoom, 150);
  EXPECT_EQ(chooser.glyph, 33u);
}

TEST(ChartWindows, MusicOrnamentTakesTheCataloguesChoice) {
  COrnamentProps ornament(COrnamentProps::CatalogueGlyph(0, 2), 0, 6, -1);
  ornament.type = 0;
  MusicOrnamentDialog dialog(nullptr, ornament);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  EXPECT_EQ(dialog.GetTitle(), "Music ornament");
  auto* kind = dynamic_cast<wxChoice*>(dialog.FindWindow(MusicOrnamentDialog::kKind));
  ASSERT_NE(kind, nullptr);
  EXPECT_EQ(kind->GetSelection(), 6);
  EXPECT_EQ(dynamic_cast<wxChoice*>(dialog.FindWindow(MusicOrnamentDialog::kType))->GetStringSelection(), "Tablature");
  SavePng(dialog, "music_ornament");

  COrnamentDlg chooser = COrnamentDlg::ForCatalogue(0, ornament.glyph, ornament.alignment);
  chooser.grid.SetClientSize(15 * 40, 10 * 40);
  chooser.grid.OnLeftUp({4 * 40 + 1, 1});
  chooser.TakeSelection();
  dialog.TakeChoice(chooser);
  kind->SetSelection(7);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  EXPECT_EQ(ornament.glyph, COrnamentProps::CatalogueGlyph(0, 4));
  EXPECT_EQ(ornament.alignment, COrnamentProps::CatalogueAlignment(0, 4));
  EXPECT_EQ(ornament.kind, 7);
  EXPECT_EQ(ornament.ornamentValue, COrnamentProps::KindCode(7));
}

// The symbol chooser shows the current symbol on its glyph button with its code; a click in
// the grid chooses another, "None" takes it away.
TEST(ChartWindows, SymbolChooserShowsAndTakesTheChosenGlyph) {
  testing::ScriptedPrompts prompts;
  const uint32_t second = COrnamentProps::CatalogueGlyph(1, 1);
  SymbolChooser chooser(false, static_cast<int32_t>(second));
  SymbolChooserDialog dialog(nullptr, chooser);
  ASSERT_TRUE(dialog.TransferDataToWindow());
  auto* code = dynamic_cast<wxStaticText*>(dialog.FindWindow(SymbolChooserDialog::kCode));
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code->GetLabel(), wxString::FromUTF8(GlyphCodeText(second)));
  EXPECT_FALSE(code->GetLabel().empty());
  EXPECT_EQ(dialog.ChosenButton().Glyph(), second);
  EXPECT_TRUE(dialog.ChosenButton().Notation());
  EXPECT_EQ(dialog.Background().SolidColour(), wxColour(0xE6, 0xE6, 0xE6));
  SavePng(dialog, "symbol_chooser");

  wxWindow* grid = dialog.FindWindow(SymbolChooserDialog::kGrid);
  ASSERT_NE(grid, nullptr);
  const int cell = grid->GetClientSize().x / 15;
  Mouse(*grid, wxEVT_LEFT_UP, 2 * cell + 3, 3);
  const uint32_t third = COrnamentProps::CatalogueGlyph(1, 2);
  EXPECT_EQ(chooser.symbol, static_cast<int32_t>(third));
  EXPECT_EQ(dialog.ChosenButton().Glyph(), third);
  ASSERT_TRUE(dialog.TransferDataFromWindow());

  dialog.ChooseNone();
  EXPECT_EQ(chooser.symbol, SymbolChooser::kNone);
  EXPECT_EQ(code->GetLabel(), "None");
  EXPECT_EQ(dialog.ChosenButton().Glyph(), 0u);
  ASSERT_TRUE(dialog.TransferDataFromWindow());
  chooser.symbol = 0;
  EXPECT_FALSE(dialog.TransferDataFromWindow());
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.back(), SymbolChooser::kNothingChosen);
}

}  // namespace
}  // namespace vornel
