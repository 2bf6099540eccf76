#pragma once
// The section editor of the editor's windows: the section dialogs' answers (system options,
// "Parse voices", "Track text settings" for page texts and instrument names) plus the
// "Instrument properties" sheet and the "Instrument tuning" dialog.

#include <wx/window.h>

#include "layout/dialogs/SectionDialogs.h"
#include "view/ui/instrument/InstrumentSheetWindows.h"

namespace vornel {

class InstrumentSectionEditor : public DialogSectionEditor {
 public:
  explicit InstrumentSectionEditor(InstrumentSheetActions actions = {}) : actions_(std::move(actions)) {}
  void SetParent(wxWindow* parent) { parent_ = parent; }
  bool EditInstrument(CInstrumentDlg& definition) override;
  bool EditTuning(nTuning& tuning) override;

 private:
  InstrumentSheetActions actions_;
  wxWindow* parent_ = nullptr;
};

}  // namespace vornel
