#pragma once
// The list of instrument definitions: one row per definition with its eight columns, its image
// that of its family. The family images are drawn by code (a tinted tile with the family's
// initial), so no picture file is needed.

#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include <memory>

#include "model/dialogs/InstrumentPages.h"

namespace vornel {

class CInstrumentListCtrl : public wxListCtrl {
 public:
  static constexpr int kImageSize = 16;
  CInstrumentListCtrl(wxWindow* parent, wxWindowID id = wxID_ANY);
  // The definitions whose family is `filter` (all for -1), in order.
  void Fill(const CInstrumentArray& definitions, int filter = -1);

 private:
  std::unique_ptr<wxImageList> images_;
};

}  // namespace vornel
