// The "Ornaments" window: glyph buttons with their ids follow the group tabs, a click on a slot
// goes through the editor given, and the dialog is saved as a PNG for review.

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/notebook.h>

#include "support/ui/DialogCapture.h"

#include "view/ui/charts/MusicOrnamentDialog.h"
#include "view/ui/dialogs/CGlyphButton.h"
#include "view/ui/dialogs/CustomOrnamentDialog.h"

namespace vornel {
namespace {

TEST(CustomOrnamentDialog, ButtonsFollowTabsAndSlotClicks) {
  COrnamentGlyphTable table;
  int edits = 0;
  CustomOrnamentDialog dialog(nullptr, table, [&edits](COrnamentProps& e) {
    ++edits;
    e.glyph = 0x42;
    return true;
  });
  EXPECT_EQ(dialog.GetTitle(), "Ornaments");
  auto* first = dynamic_cast<CGlyphButton*>(dialog.FindWindow(CustomOrnamentDialog::kFirstSlot));
  auto* last = dynamic_cast<CGlyphButton*>(dialog.FindWindow(CustomOrnamentDialog::kLastSlot));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(first->Glyph(), table.table.at(0)->glyph & 0xFFFF);
  EXPECT_FALSE(first->Notation());
  EXPECT_EQ(last->Slot(), 31);

  auto* tabs = dynamic_cast<wxNotebook*>(dialog.FindWindow(CustomOrnamentDialog::kGroupTabs));
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->GetPageText(0), "Tablature");
  dialog.SelectGroup(1);
  EXPECT_EQ(tabs->GetSelection(), 1);
  EXPECT_TRUE(first->Notation());
  EXPECT_EQ(first->Glyph(), table.table.at(table.table.entriesPerGroup)->glyph & 0xFFFF);

  // A click event on a button reaches the slot's editor.
  wxCommandEvent click(wxEVT_BUTTON, CustomOrnamentDialog::kFirstSlot + 2);
  click.SetEventObject(&dialog.SlotButton(2));
  dialog.SlotButton(2).ProcessWindowEvent(click);
  EXPECT_EQ(edits, 1);
  EXPECT_EQ(dialog.SlotButton(2).Glyph(), 0x42u);
  EXPECT_EQ(table.table.at(table.table.entriesPerGroup + 2)->type, 1);

  dialog.SelectGroup(0);
  CaptureDialog(dialog, "custom-ornaments");
}

// A slot's editor is "Music ornament" on the slot's entry: what it takes comes back into the
// table and the button; a cancelled one leaves the table as it was.
TEST(CustomOrnamentDialog, SlotsAreEditedInTheMusicOrnamentDialog) {
  COrnamentGlyphTable table;
  bool accept = true;
  CustomOrnamentDialog dialog(nullptr, table, [&](COrnamentProps& entry) {
    MusicOrnamentDialog editor(nullptr, entry);
    EXPECT_TRUE(editor.TransferDataToWindow());
    Control<wxChoice>(editor, MusicOrnamentDialog::kFlag)->SetSelection(2);
    Control<wxChoice>(editor, MusicOrnamentDialog::kAlignment)->SetSelection(5);
    return accept && editor.TransferDataFromWindow();
  });
  const COrnamentProps& entry = *table.table.at(4);
  accept = false;
  dialog.ClickSlot(4);
  EXPECT_NE(entry.flagValue, 2);
  EXPECT_FALSE(dialog.Fields().edited);
  accept = true;
  dialog.ClickSlot(4);
  EXPECT_EQ(entry.flagValue, 2);
  EXPECT_EQ(entry.alignment, 5);
  EXPECT_EQ(entry.type, 0);
  EXPECT_EQ(dialog.SlotButton(4).Glyph(), entry.glyph & 0xFFFF);
  EXPECT_TRUE(dialog.Fields().edited);
}

}  // namespace
}  // namespace vornel
