#pragma once
// The section editor of the editor's windows: the section dialogs' answers (system options,
// "Parse voices") plus the "Instrument properties" sheet, the "Instrument tuning" dialog and
// the font dialog on an instrument's name.

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
  bool EditTrackFont(CInstrumentDlg& definition) override;
  // The font of a text placed on a page (its text itself is edited where it is shown).
  bool EditTrackText(CTrackText& text) override;

 private:
  InstrumentSheetActions actions_;
  wxWindow* parent_ = nullptr;
};

}  // namespace vornel
