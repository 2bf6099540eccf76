// The "Instrument properties" sheet under a virtual display, on a baroque-guitar definition:
// six pages filled from the working copy, edited through their controls and read back with
// OK's copy-back; a flag mode the list cannot show selects nothing and keeps its bits. Each
// page is saved as a PNG for review. The instrument list shows a row per definition.

#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/frame.h>

#include "midi/ui/MidiSettingsDialogs.h"
#include "support/ScriptedPrompts.h"
#include "support/ui/WindowPng.h"
#include "support/ui/WindowTest.h"
#include "view/ui/instrument/InstrumentListCtrl.h"
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

  // Name page: the name and family; the database buttons wait for the instrument base.
  EXPECT_EQ(sheet.NamePage()->Fields().name, "Baroque guitar");
  EXPECT_FALSE(Named<wxWindow>(sheet.NamePage(), "View Database")->IsEnabled());
  EXPECT_FALSE(Named<wxWindow>(sheet.NamePage(), "Add to database")->IsEnabled());
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
    testing::SaveWindowPng(sheet, names[i]);
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
