#pragma once
// The instrument definition's uses of the instrument base: saving a definition into it, and
// choosing one from it through the templates dialog (the instrument chooser the window layer
// installs).

namespace vornel {

class CInstrumentDlg;

// Inserts a copy of the definition before the first entry of its family in the configured
// base (at the end when none) and saves the base; false, after the message, when the save
// failed.
bool SaveToInstrumentBase(const CInstrumentDlg& definition);
// Names the definition from its name text when it has none, saves it into the base, then
// opens the templates dialog (whose choice, if any, is copied into the definition).
bool SaveAndShowInstrumentBase(CInstrumentDlg& definition);
// The templates dialog over the base; on OK with a choice the chosen definition is copied
// into this one. False when nothing was chosen.
bool ChooseFromTemplates(CInstrumentDlg& definition);

}  // namespace vornel
