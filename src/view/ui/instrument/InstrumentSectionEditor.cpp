#include "view/ui/instrument/InstrumentSectionEditor.h"

#include "midi/ui/TuningDialogWindows.h"

namespace vornel {

bool InstrumentSectionEditor::EditInstrument(CInstrumentDlg& definition) {
  return ShowInstrumentSheet(parent_, definition, actions_);
}

bool InstrumentSectionEditor::EditTuning(nTuning& tuning) { return ShowInstrumentTuningDialog(parent_, tuning); }

}  // namespace vornel
