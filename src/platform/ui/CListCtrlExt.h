#pragma once
// A single-selection list control whose items can be edited in place through a combo box
// that drops down over the item's label. The owner registers a combo box (its choices) for an
// item; a double-click on the label without Ctrl, or F4 on the selected item, places the box
// over the label with the item's text chosen in it and drops it down; closing the list writes
// the chosen (or typed) text back into the item. Never in icon view. The rules are those of
// platform/controls/CellCombo.

#include <wx/combobox.h>
#include <wx/listctrl.h>

#include <map>
#include <optional>
#include <string>

namespace vornel {

class CListCtrlExt : public wxListCtrl {
 public:
  CListCtrlExt(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = wxLC_REPORT);
  ~CListCtrlExt() override;

  int dropDownHeight = 200;
  int minimumWidth = 150;
  int maximumWidth = -1;  // no limit

  // Registers (or replaces) the combo box of an item, with its choices; the control owns it.
  wxComboBox* RegisterCombo(long item, const wxArrayString& choices);
  wxComboBox* ComboOf(long item) const;
  // Every registered combo box goes.
  void RemoveCombos();

  // Shows the item's combo box over its label (when the view and the registration allow it);
  // returns whether it showed.
  bool ShowCombo(long item);
  // What a double-click on an item's label does (Ctrl held: nothing); true when handled.
  bool OnLabelDoubleClick(long item, bool controlHeld);
  // The shown combo box's list closed: the chosen or typed text goes into the selected item.
  void CloseCombo();
  wxComboBox* ShownCombo() const { return shown_; }

 private:
  wxWindow* ItemArea() const;
  void OnMainDoubleClick(wxMouseEvent& event);
  void OnKeyDown(wxListEvent& event);
  void OnComboText(wxCommandEvent& event);

  std::map<long, wxComboBox*> combos_;
  wxComboBox* shown_ = nullptr;
  std::string typed_;
};

}  // namespace vornel
