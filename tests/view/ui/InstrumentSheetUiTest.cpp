// The "Instrument properties" sheet under a virtual display, on a baroque-guitar definition:
// six pages filled from the working copy, edited through their controls and read back with
// OK's copy-back; a flag mode the list cannot show selects nothing and keeps its bits. Each
// page is saved as a PNG for review. The instrument list shows a row per definition.

#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/frame.h>

#include "document/DocumentEnvironment.h"
#include "document/InstrumentChooser.h"
#include "document/instruments/CInstrumentTemplates.h"
#include "midi/ui/MidiSettingsDialogs.h"
#include "model/score/SectionEditor.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/DialogCapture.h"
#include "support/ui/WindowTest.h"
#include "layout/dialogs/SectionDialogs.h"
#include "layout/dialogs/TrackTextDialog.h"
#include "view/ui/instrument/InstrumentListCtrl.h"
#include "view/ui/instrument/InstrumentSectionEditor.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/ui/dialogs/CStaticStaff.h"
#include "view/ui/instrument/InstrumentSheetWindows.h"

namespace vornel {
namespace {

template <typename T>
T* Named(const wxWindow* parent, const char* name) {
  return dynamic_cast<T*>(wxWindow::FindWindowByLabel(name, const_cast<wxWindow*>(parent)));
}

std::unique_ptr<CInstrumentDlg> BaroqueGuitar() {
  auto definition = std::make_unique<CInstrumentDlg>();
  definition->nameText.text = "Baroque guitar";
  definition->family = 4;
  definition->tabInstrument.tuning.SetTuning("EBGDA");
  definition->tabInstrument.tuningText = "EBGDA";
  definition->tabInstrument.flagGroup = 0x52;  // a mode beyond the list's seven entries
  definition->tabInstrument.baroqueStrumming = 1;
  definition->key.transpose = 2;
  definition->pedals.at(1)->stringMask = 0b10;
  definition->pedals.at(1)->action = 1;
  return definition;
}

using InstrumentSheetTest = testing::WindowTest;

TEST_F(InstrumentSheetTest, SixPagesOnABaroqueGuitarExchangeAndCopyBack) {
  std::unique_ptr<CInstrumentDlg> working = BaroqueGuitar();
  InstrumentSheet::Open(*working);
  InstrumentSheetDialog sheet(frame, *working);
  ASSERT_TRUE(sheet.TransferDataToWindow());
  ASSERT_EQ(sheet.GetBookCtrl()->GetPageCount(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(sheet.GetBookCtrl()->GetPageText(i).utf8_string(), InstrumentSheet::kPages[i]);
  }
  EXPECT_EQ(sheet.GetTitle(), "Instrument properties");

  // Name page: the name and family; a definition of a document reaches the instrument base.
  EXPECT_EQ(sheet.NamePage()->Fields().name, "Baroque guitar");
  EXPECT_TRUE(Named<wxWindow>(sheet.NamePage(), "View Database")->IsEnabled());
  EXPECT_TRUE(Named<wxWindow>(sheet.NamePage(), "Add to database")->IsEnabled());
  EXPECT_TRUE(Named<wxWindow>(sheet.TablaturePage(), "Edit alfabeto")->IsEnabled());
  EXPECT_FALSE(Named<wxWindow>(sheet.TablaturePage(), "Font")->IsEnabled());  // no document font to reach
  // Tablature page: the tuning text, and no flag group shown for the mode outside the list.
  EXPECT_EQ(sheet.TablaturePage()->Fields().tuningText, "EBGDA");
  EXPECT_EQ(sheet.TablaturePage()->FlagGroups()->GetSelection(), wxNOT_FOUND);
  // Pedals page: one row per course, the pedal's strings checked.
  sheet.PedalsPage()->SelectPedal(1);
  ASSERT_EQ(sheet.PedalsPage()->Strings()->GetItemCount(), 5);
  EXPECT_TRUE(sheet.PedalsPage()->Strings()->IsItemChecked(1));
  EXPECT_FALSE(sheet.PedalsPage()->Strings()->IsItemChecked(0));
  // Fonts page: the notation slider reaches -36, the others -30.
  EXPECT_EQ(sheet.FontsPage()->Micro(CTabFontsDlg::kNotation)->GetMin(), -36);
  EXPECT_EQ(sheet.FontsPage()->Micro(CTabFontsDlg::kTablature)->GetMin(), -30);

  const char* names[] = {"sheet-name", "sheet-staves", "sheet-tablature", "sheet-fonts", "sheet-midi", "sheet-pedals"};
  for (size_t i = 0; i < 6; ++i) {
    sheet.GetBookCtrl()->SetSelection(i);
    CaptureDialog(sheet, names[i]);
  }

  // Edits on several pages, then OK (showing the sheet filled it again).
  sheet.PedalsPage()->SelectPedal(1);
  Named<wxCheckBox>(sheet.NamePage(), "Short time signatures")->SetValue(true);
  sheet.StavesPage()->ApplyPreset(7);  // "Tablature + guitar staff"
  sheet.StavesPage()->SelectStave(1);  // its staff shows the merged voices, which no entry names
  sheet.PedalsPage()->Strings()->CheckItem(4, true);
  sheet.PedalsPage()->Action()->SetValue(-1);
  sheet.FontsPage()->Micro(CTabFontsDlg::kNotation)->SetValue(-36);
  ASSERT_TRUE(sheet.TransferDataFromWindow());
  EXPECT_EQ(working->tabInstrument.shortSignature, 1);
  EXPECT_EQ(working->key.transpose, 2);
  EXPECT_EQ(working->family, 4);
  EXPECT_EQ(working->tabInstrument.name, "Baroque guitar");
  EXPECT_EQ(working->staves.size(), 2u);
  EXPECT_EQ(working->staves.at(1)->enabledVoices, CClef::kBothVoicesMerged);
  EXPECT_EQ(working->tabInstrument.flagGroup, 0x52);  // nothing picked: the bits stay
  EXPECT_EQ(working->pedals.at(1)->stringMask, 0b10010u);
  EXPECT_EQ(working->pedals.at(1)->action, -1);
  EXPECT_EQ(working->notationFont.microTuning, -36);
  EXPECT_EQ(working->tabInstrument.baroqueStrumming, 1);
}

TEST_F(InstrumentSheetTest, APickedFlagGroupAndATypedTuningAreStored) {
  std::unique_ptr<CInstrumentDlg> working = BaroqueGuitar();
  InstrumentSheet::Open(*working);
  InstrumentSheetDialog sheet(frame, *working);
  sheet.TransferDataToWindow();
  sheet.TablaturePage()->FlagGroups()->SetSelection(1);  // "Lute beams"
  sheet.TablaturePage()->TuningText()->ChangeValue("GDAFCGF");
  EXPECT_TRUE(sheet.TransferDataFromWindow());
  EXPECT_EQ(working->tabInstrument.flagGroup, 1);
  EXPECT_EQ(working->tabInstrument.tuning.stringCount, 7);
}

bool PreviewIsTablature(InstrumentSheetDialog& sheet) {
  return sheet.NamePage()->Preview()->Preview().Line().GetCurrentStave()->IsTablature();
}

// The name page's staff preview: tablature when the first stave is one, the other kind on the
// radio button, and the other pages' edits once they are left.
TEST_F(InstrumentSheetTest, NamePagePreviewFollowsTheRadiosAndThePagesLeft) {
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer scoped(renderer);
  std::unique_ptr<CInstrumentDlg> working = BaroqueGuitar();
  working->ApplyNotationPreset(0);
  InstrumentSheet::Open(*working);
  InstrumentSheetDialog sheet(frame, *working);
  sheet.TransferDataToWindow();
  EXPECT_TRUE(sheet.NamePage()->TablatureRadio()->GetValue());
  EXPECT_TRUE(PreviewIsTablature(sheet));
  Named<wxRadioButton>(sheet.NamePage(), "Notation")->SetValue(true);
  sheet.NamePage()->ShowPreview();
  EXPECT_FALSE(PreviewIsTablature(sheet));
  EXPECT_EQ(working->staves.at(0)->type, CClef::kTablature) << "the preview works on its own line";

  // A page left is read back: the typed tuning is in the working copy at once.
  sheet.GetBookCtrl()->SetSelection(2);
  sheet.TablaturePage()->TuningText()->ChangeValue("GDAFCGF");
  sheet.GetBookCtrl()->SetSelection(0);
  EXPECT_EQ(working->tabInstrument.tuning.stringCount, 7);
  EXPECT_TRUE(Named<wxRadioButton>(sheet.NamePage(), "Notation")->GetValue());
  EXPECT_FALSE(PreviewIsTablature(sheet));
  CaptureDialog(sheet, "sheet-name-preview");
}

// "View Database" and "Add to database": offered only outside the base's own dialog; a chosen
// template fills every page; adding saves what all the pages hold into the configured base.
TEST_F(InstrumentSheetTest, DatabaseButtonsChooseAndSaveTheWorkingCopy) {
  {
    std::unique_ptr<CInstrumentDlg> inBase = BaroqueGuitar();
    inBase->editContext = false;
    InstrumentSheetDialog sheet(frame, *inBase);
    EXPECT_FALSE(Named<wxWindow>(sheet.NamePage(), "View Database")->IsEnabled());
    EXPECT_FALSE(Named<wxWindow>(sheet.NamePage(), "Add to database")->IsEnabled());
  }
  std::unique_ptr<CInstrumentDlg> working = BaroqueGuitar();
  InstrumentSheet::Open(*working);
  InstrumentSheetDialog sheet(frame, *working);
  sheet.TransferDataToWindow();

  CInstrumentDlg theorbo;
  theorbo.nameText.text = "Theorbo";
  theorbo.family = 3;
  theorbo.tabInstrument.tuning.SetTuning("GDAFCGF");
  theorbo.tabInstrument.tuningText = "GDAFCGF";
  {
    FixedInstrumentChooser chooser(theorbo);
    ScopedInstrumentChooser scope(chooser);
    sheet.NamePage()->ViewDatabase();
  }
  EXPECT_EQ(sheet.NamePage()->NameText()->GetValue(), "Theorbo");
  EXPECT_EQ(sheet.TablaturePage()->TuningText()->GetValue(), "GDAFCGF");
  EXPECT_EQ(working->familyPage, 3);

  struct Declining : InstrumentChooser {
    int asked = 0;
    bool ChooseInstrumentDefinition(CInstrumentDlg&) override { return ++asked, false; }
  } declining;
  ScopedInstrumentChooser scope(declining);
  testing::TempDir dir;
  const std::string saved = Environment().instrumentBasePath;
  Environment().instrumentBasePath = dir.File("Base.btix");
  sheet.NamePage()->NameText()->ChangeValue("Theorbo in A");
  sheet.TablaturePage()->TuningText()->ChangeValue("A-1E-1BGDAGFEDCBAGFE");
  sheet.NamePage()->AddToDatabase();
  Environment().instrumentBasePath = saved;
  EXPECT_EQ(declining.asked, 1) << "the base is shown after the save";
  CInstrumentTemplates base;
  ASSERT_TRUE(base.ReadBaseFile(dir.File("Base.btix")));
  const CInstrumentDlg* stored = nullptr;
  for (const auto& d : base.instruments.items()) {
    if (d->nameText.text == "Theorbo in A") stored = d.get();
  }
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->tabInstrument.tuning.stringCount, 16);
  EXPECT_EQ(stored->family, 3);
  EXPECT_EQ(sheet.NamePage()->NameText()->GetValue(), "Theorbo in A");
}

// "Edit alfabeto" opens the chart on the working copy's tablature with the tuning typed on the
// page; the name's "..." edits the name text and shows it again.
TEST_F(InstrumentSheetTest, AlfabetoChartAndNameTextOnTheWorkingCopy) {
  std::unique_ptr<CInstrumentDlg> working = BaroqueGuitar();
  InstrumentSheet::Open(*working);
  InstrumentSheetActions actions;
  const CTabInstrument* charted = nullptr;
  int courses = 0;
  actions.editAlfabeto = [&](wxWindow*, CTabInstrument& tab) {
    charted = &tab;
    courses = tab.tuning.stringCount;
  };
  int fontPresses = 0;
  actions.documentTabFont = [&] { ++fontPresses; };
  InstrumentSheetDialog sheet(frame, *working, actions);
  sheet.TransferDataToWindow();
  auto* font = Named<wxButton>(sheet.TablaturePage(), "Font");
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(font->IsEnabled());
  wxCommandEvent press(wxEVT_BUTTON, font->GetId());
  press.SetEventObject(font);
  font->ProcessWindowEvent(press);
  EXPECT_EQ(fontPresses, 1);
  sheet.TablaturePage()->TuningText()->ChangeValue("GDAFCGF");
  sheet.TablaturePage()->EditAlfabeto();
  EXPECT_EQ(charted, &working->tabInstrument);
  EXPECT_EQ(courses, 7);

  struct Renaming : SectionEditor {
    std::string seen;
    bool EditTrackText(CTrackText& text) override {
      seen = text.text;
      text.text = "Chitarra spagnola";
      return true;
    }
  } renaming;
  ScopedSectionEditor scope(renaming);
  sheet.NamePage()->NameText()->ChangeValue("Guitarra");
  sheet.NamePage()->EditNameText();
  EXPECT_EQ(renaming.seen, "Guitarra");
  EXPECT_EQ(sheet.NamePage()->NameText()->GetValue(), "Chitarra spagnola");
  ASSERT_TRUE(sheet.TransferDataFromWindow());
  EXPECT_EQ(working->tabInstrument.name, "Chitarra spagnola");
}

// The editor's section editor shows page texts and instrument names in "Track text settings",
// the dialog the page numbering, document information and title page buttons open.
TEST_F(InstrumentSheetTest, NamesAndPageTextsOpenTheTrackTextSettings) {
  struct Dialogs : SectionDialogs {
    std::vector<std::string> shown;
    bool EditTrackText(CTrackTextDlg& d) override {
      shown.push_back(d.text);
      d.text = "Arciliuto";
      return true;
    }
  } dialogs;
  ScopedSectionDialogs scope(dialogs);
  InstrumentSectionEditor editor;
  CInstrumentDlg definition;
  definition.nameText.text = "Liuto";
  CTrackText pageNumber("page-number");
  pageNumber.text = "p. %d";
  EXPECT_TRUE(editor.EditTrackFont(definition));
  EXPECT_TRUE(editor.EditTrackText(pageNumber));
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Liuto", "p. %d"}));
  EXPECT_EQ(definition.nameText.text, "Arciliuto");
  EXPECT_EQ(pageNumber.text, "Arciliuto");
}

}  // namespace
}  // namespace vornel


namespace vornel {
namespace {

TEST_F(InstrumentSheetTest, InstrumentListShowsOneRowPerDefinition) {
  CInstrumentArray definitions;
  definitions.push_back(BaroqueGuitar());
  definitions.push_back(std::make_unique<CInstrumentDlg>());
  definitions.at(1)->tabInstrument.ornamentStyle = 3;
  definitions.LinkAll();
  CInstrumentListCtrl list(frame);
  list.Fill(definitions);
  ASSERT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(list.GetColumnCount(), 8);
  EXPECT_EQ(list.GetItemText(0, 0), "Baroque guitar");
  EXPECT_EQ(list.GetItemText(0, 1), "EBGDA");
  EXPECT_EQ(list.GetItemText(1, 5), "");
  list.Fill(definitions, 4);
  EXPECT_EQ(list.GetItemCount(), 1);
}

}  // namespace
}  // namespace vornel
