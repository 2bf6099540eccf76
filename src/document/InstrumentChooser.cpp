#include "document/InstrumentChooser.h"

#include "model/CInstrumentDlg.h"

namespace vornel {

namespace {

InstrumentChooser g_acceptingChooser;
InstrumentChooser* g_chooser = &g_acceptingChooser;

}  // namespace

bool InstrumentChooser::ChooseInstrumentDefinition(CInstrumentDlg&) { return true; }

FixedInstrumentChooser::FixedInstrumentChooser(const CInstrumentDlg& definition) : definition_(definition.Clone()) {}

FixedInstrumentChooser::~FixedInstrumentChooser() = default;

bool FixedInstrumentChooser::ChooseInstrumentDefinition(CInstrumentDlg& definition) {
  definition.CopyFrom(*definition_);
  return true;
}

InstrumentChooser& InstrumentChoosers() { return *g_chooser; }

ScopedInstrumentChooser::ScopedInstrumentChooser(InstrumentChooser& chooser) : previous_(g_chooser) {
  g_chooser = &chooser;
}

ScopedInstrumentChooser::~ScopedInstrumentChooser() { g_chooser = previous_; }

}  // namespace vornel
