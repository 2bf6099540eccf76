#include "model/EntryForms.h"

namespace vornel {

namespace {

EntryForms g_noForms;
EntryForms* g_forms = &g_noForms;

}  // namespace

EntryForms& EntryFormsInForce() { return *g_forms; }

ScopedEntryForms::ScopedEntryForms(EntryForms& forms) : previous_(g_forms) { g_forms = &forms; }

ScopedEntryForms::~ScopedEntryForms() { g_forms = previous_; }

}  // namespace vornel
