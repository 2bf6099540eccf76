// "Ornaments": the slots follow the group, a cancelled slot edit keeps its glyph, an accepted
// one takes the group, and the default set loads only when one is chosen.

#include <gtest/gtest.h>

#include "layout/dialogs/CustomOrnaments.h"

namespace vornel {
namespace {

TEST(CustomOrnaments, SwitchingGroupChangesEveryButton) {
  COrnamentGlyphTable table;
  CCustomOrnamentDlg dialog(table);
  const auto tablature = dialog.slots;
  dialog.SelectGroup(1);
  int changed = 0;
  for (size_t i = 0; i < tablature.size(); ++i) {
    EXPECT_FALSE(tablature[i].notation);
    EXPECT_TRUE(dialog.slots[i].notation);
    EXPECT_EQ(dialog.slots[i].index, int(i));
    EXPECT_EQ(dialog.slots[i].glyph, table.table.at(table.table.entriesPerGroup + i)->glyph & 0xFFFF);
    changed += tablature[i].glyph != dialog.slots[i].glyph;
  }
  EXPECT_GT(changed, 16);
  dialog.SelectGroup(2);  // no such group
  EXPECT_EQ(dialog.group, 1);
}

TEST(CustomOrnaments, SlotEditsCancelAndAccept) {
  COrnamentGlyphTable table;
  CCustomOrnamentDlg dialog(table);
  dialog.SelectGroup(1);
  COrnamentProps& entry = *table.table.at(table.table.entriesPerGroup + 3);
  const uint32_t before = entry.glyph;
  entry.type = 7;
  EXPECT_FALSE(dialog.EditSlot(3, [](COrnamentProps& e) { e.glyph = 0x41; return false; }));
  EXPECT_EQ(entry.glyph, before);
  EXPECT_EQ(entry.type, 7);
  EXPECT_FALSE(dialog.edited);
  entry.type = 1;
  EXPECT_TRUE(dialog.EditSlot(3, [](COrnamentProps&) { return true; }));
  EXPECT_FALSE(dialog.edited);  // accepted without a change
  EXPECT_TRUE(dialog.EditSlot(3, [](COrnamentProps& e) { e.glyph = 0x41; return true; }));
  EXPECT_TRUE(dialog.edited);
  EXPECT_EQ(entry.glyph, 0x41u);
  EXPECT_EQ(entry.type, 1);
  EXPECT_EQ(dialog.slots[3].glyph, 0x41u);
  EXPECT_FALSE(dialog.EditSlot(32, [](COrnamentProps&) { return true; }));
}

TEST(CustomOrnaments, DefaultSetOnlyWhenChosenAndShortTablesLeaveSlotsEmpty) {
  COrnamentGlyphTable table;
  CCustomOrnamentDlg dialog(table);
  table.table.at(0)->glyph = 0x41;
  EXPECT_FALSE(dialog.LoadDefaultSet());
  EXPECT_EQ(table.table.at(0)->glyph, 0x41u);
  EXPECT_FALSE(dialog.edited);
  dialog.defaultSet = 1;
  EXPECT_TRUE(dialog.LoadDefaultSet());
  EXPECT_TRUE(dialog.edited);
  EXPECT_NE(table.table.at(0)->glyph, 0x41u);
  EXPECT_EQ(dialog.slots[0].glyph, table.table.at(0)->glyph & 0xFFFF);

  // A table of 20 rows per group: the last twelve slots show nothing and cannot be edited.
  while (table.table.size() > 40) table.table.erase(table.table.size() - 1);
  table.table.entriesPerGroup = 20;
  dialog.FillGlyphButtons();
  EXPECT_NE(dialog.slots[19].glyph, 0u);
  EXPECT_EQ(dialog.slots[20].glyph, 0u);
  EXPECT_FALSE(dialog.EditSlot(25, [](COrnamentProps&) { return true; }));
}

}  // namespace
}  // namespace vornel
