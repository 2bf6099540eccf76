#pragma once
// "Ornaments": the 32 slots of one group (0 "Tablature", 1 "Notation") of an instrument's
// ornament table shown as glyph buttons, each slot edited in the ornament properties dialog,
// and the default set of either group loaded on demand.

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "model/ornament/COrnamentGlyphTable.h"

namespace vornel {

struct CCustomOrnamentDlg {
  static constexpr int kSlots = 32;
  static constexpr std::array<std::string_view, 2> kGroups = {"Tablature", "Notation"};
  static constexpr std::array<std::string_view, 5> kDefaultSets = {"Renaissance lute", "Baroque lute", "Modern guitar",
                                                                   "Baroque Guitar", "Other"};
  static constexpr std::array<std::string_view, 21> kSlotLabels = {
      "asc. appo",        "desc. appo",      "asc acca.",   "desc. acca.",  "asc. coule",        "desc. coule",
      "asc.double appo.", "desc.dble appo.", "asc.mordent", "desc.mordent", "asc.long mordent",  "desc.long mordent",
      "asc. roulade",     "desc.roulade",    "asc. trill",  "desc trill",   "asc. coule",        "desc. coule",
      "ascending gruppetto", "descending gruppetto", "asterix"};

  // What one glyph button shows.
  struct Slot {
    uint32_t glyph = 0;  // 0: the group has no entry for this slot
    int index = kSlots;
    bool notation = false;
  };
  // Edits one entry of the table; false when cancelled.
  using EntryEditor = std::function<bool(COrnamentProps&)>;

  explicit CCustomOrnamentDlg(COrnamentGlyphTable& table) : table(table) { FillGlyphButtons(); }

  COrnamentGlyphTable& table;
  int group = 0;
  int defaultSet = -1;  // nothing chosen
  std::array<Slot, kSlots> slots;
  // Whether a slot edit or a default set changed the table (the edits are made in place).
  bool edited = false;

  // The buttons from the group's glyph list; slots past a short list stay empty.
  void FillGlyphButtons();
  void SelectGroup(int newGroup);
  // A click on slot `i`: its entry in the editor; on OK the entry takes the group, on Cancel its
  // glyph stays. False when the slot has no entry or the editor was cancelled.
  bool EditSlot(int i, const EntryEditor& editor);
  // "Load Default Set": the current group back to its built-in rows; only with a set chosen.
  bool LoadDefaultSet();
};

}  // namespace vornel
