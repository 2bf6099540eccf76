#include "model/voice/EntryForms.h"

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "entry forms";

EntryForms g_noForms;
ObjectSlot<EntryForms> g_forms(kServiceName, g_noForms);

}  // namespace

EntryForms& EntryFormsInForce() { return g_forms.Get(); }

ScopedEntryForms::ScopedEntryForms(EntryForms& forms) : previous_(g_forms.Exchange(&forms)) {}

ScopedEntryForms::~ScopedEntryForms() { g_forms.Exchange(previous_); }

}  // namespace vornel
