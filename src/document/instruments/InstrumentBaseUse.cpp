#include "document/instruments/InstrumentBaseUse.h"

#include "document/InstrumentChooser.h"
#include "document/instruments/CInstrumentTemplates.h"

namespace vornel {

bool SaveToInstrumentBase(const CInstrumentDlg& definition) {
  CInstrumentTemplates base;
  base.OpenConfiguredBase();
  base.InsertByFamily(definition);
  return base.SaveInstrumentBase();
}

bool SaveAndShowInstrumentBase(CInstrumentDlg& definition) {
  if (definition.nameText.text.empty()) definition.nameText.text = definition.tabInstrument.name;
  if (!SaveToInstrumentBase(definition)) return false;
  ChooseFromTemplates(definition);
  return true;
}

bool ChooseFromTemplates(CInstrumentDlg& definition) { return InstrumentChoosers().ChooseInstrumentDefinition(definition); }

}  // namespace vornel
