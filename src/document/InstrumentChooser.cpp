#include "document/InstrumentChooser.h"

#include "model/instrument/CInstrumentDlg.h"
#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "instrument chooser";

InstrumentChooser g_acceptingChooser;
ObjectSlot<InstrumentChooser> g_chooser(kServiceName, g_acceptingChooser);

}  // namespace

bool InstrumentChooser::ChooseInstrumentDefinition(CInstrumentDlg&) { return true; }

FixedInstrumentChooser::FixedInstrumentChooser(const CInstrumentDlg& definition) : definition_(definition.Clone()) {}

FixedInstrumentChooser::~FixedInstrumentChooser() = default;

bool FixedInstrumentChooser::ChooseInstrumentDefinition(CInstrumentDlg& definition) {
  definition.CopyFrom(*definition_);
  return true;
}

InstrumentChooser& InstrumentChoosers() { return g_chooser.Get(); }

ScopedInstrumentChooser::ScopedInstrumentChooser(InstrumentChooser& chooser) : previous_(g_chooser.Exchange(&chooser)) {}

ScopedInstrumentChooser::~ScopedInstrumentChooser() { g_chooser.Exchange(previous_); }

}  // namespace vornel
