#include "layout/dialogs/CustomOrnaments.h"

namespace vornel {

void CCustomOrnamentDlg::FillGlyphButtons() {
  table.FillGlyphList(group != 0);
  for (int i = 0; i < kSlots; ++i) {
    Slot& slot = slots[static_cast<size_t>(i)];
    slot.index = i;
    slot.notation = group != 0;
    slot.glyph = static_cast<size_t>(i) < table.glyphCodes.size() ? table.glyphCodes[static_cast<size_t>(i)] & 0xFFFF : 0;
  }
}

void CCustomOrnamentDlg::SelectGroup(int newGroup) {
  if (newGroup < 0 || newGroup >= static_cast<int>(kGroups.size())) return;
  group = newGroup;
  FillGlyphButtons();
}

bool CCustomOrnamentDlg::EditSlot(int i, const EntryEditor& editor) {
  if (i < 0 || i >= kSlots || !editor) return false;
  const size_t index = static_cast<size_t>(table.table.entriesPerGroup) * static_cast<size_t>(group) + static_cast<size_t>(i);
  if (static_cast<size_t>(i) >= table.table.entriesPerGroup || index >= table.table.size() ||
      table.table.at(index) == nullptr)
    return false;
  COrnamentProps& entry = *table.table.at(index);
  const COrnamentProps before = entry;
  const bool accepted = editor(entry);
  if (accepted) {
    entry.type = group;
  } else {
    entry.glyph = before.glyph;
  }
  edited = edited || !(entry == before);
  FillGlyphButtons();
  return accepted;
}

bool CCustomOrnamentDlg::LoadDefaultSet() {
  if (defaultSet < 0 || defaultSet >= static_cast<int>(kDefaultSets.size())) return false;
  table.table.ResetGroup(group);
  edited = true;
  FillGlyphButtons();
  return true;
}

}  // namespace vornel
