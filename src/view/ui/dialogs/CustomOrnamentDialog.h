#pragma once
// "Ornaments": the 32 glyph buttons of one group of an ornament table, a tab per group, each
// button opening its entry in the ornament properties editor the caller gives, and the default
// sets.

#include <array>

#include "layout/dialogs/CustomOrnaments.h"
#include "layout/ui/dialogs/TexturedDialog.h"

class wxChoice;
class wxNotebook;

namespace vornel {

class CGlyphButton;

class CustomOrnamentDialog : public TexturedDialog {
 public:
  enum : int { kGroupTabs = 1657, kFirstSlot = 1601, kLastSlot = 1632, kDefaultSet = 1354, kLoadDefaultSet = 1353 };

  CustomOrnamentDialog(wxWindow* parent, COrnamentGlyphTable& table, CCustomOrnamentDlg::EntryEditor editor);

  CCustomOrnamentDlg& Fields() { return fields_; }
  CGlyphButton& SlotButton(int i) { return *buttons_[static_cast<size_t>(i)]; }
  // The group shown by the tabs; the buttons follow.
  void SelectGroup(int group);
  // The work of a click on slot `i` and of "Load Default Set".
  void ClickSlot(int i);
  void LoadDefaultSet();

 private:
  void ShowSlots();

  CCustomOrnamentDlg fields_;
  CCustomOrnamentDlg::EntryEditor editor_;
  wxNotebook* tabs_;
  wxChoice* defaultSet_;
  std::array<CGlyphButton*, CCustomOrnamentDlg::kSlots> buttons_{};
};

// Runs the dialog modally; the table is edited in place. True when it changed.
bool ShowCustomOrnamentDialog(wxWindow* parent, COrnamentGlyphTable& table, CCustomOrnamentDlg::EntryEditor editor);

}  // namespace vornel
