#pragma once
// The list of instrument definitions: one row per definition with its eight columns, its image
// that of its family. The family images are drawn by code (a tinted tile with the family's
// initial), so no picture file is needed.

#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include <memory>
#include <vector>

#include "model/dialogs/InstrumentPages.h"

namespace vornel {

class CInstrumentListCtrl : public wxListCtrl {
 public:
  static constexpr int kImageSize = 16;
  CInstrumentListCtrl(wxWindow* parent, wxWindowID id = wxID_ANY);
  // The definitions whose family is `filter` (all for -1), in order.
  void Fill(const CInstrumentArray& definitions, int filter = -1);
  // Refills with `definitions`, in order. Each item carries its definition.
  void Fill(const std::vector<CInstrumentDlg*>& definitions);
  // Inserts one definition's item at `index`; the other columns are filled in the report view.
  void InsertDefinition(long index, CInstrumentDlg* definition);
  // The eight columns, when the list has none (a change of view may drop them).
  void AddColumns();
  // The definition of the first selected item; null without one.
  CInstrumentDlg* Selected() const;
  long SelectedIndex() const;

 private:
  std::unique_ptr<wxImageList> images_;
};

}  // namespace vornel
