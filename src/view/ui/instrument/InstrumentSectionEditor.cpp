#include "view/ui/instrument/InstrumentSectionEditor.h"

#include "midi/ui/TuningDialogWindows.h"
#include "model/CTrackText.h"
#include "view/draw/FontChooser.h"

namespace vornel {

bool InstrumentSectionEditor::EditInstrument(CInstrumentDlg& definition) {
  return ShowInstrumentSheet(parent_, definition, actions_);
}

bool InstrumentSectionEditor::EditTuning(nTuning& tuning) { return ShowInstrumentTuningDialog(parent_, tuning); }

bool InstrumentSectionEditor::EditTrackFont(CInstrumentDlg& definition) { return ChooseFont(definition.nameText.font); }

bool InstrumentSectionEditor::EditTrackText(CTrackText& text) { return ChooseFont(text.font); }

}  // namespace vornel
