#include "view/FramePanes.h"

#include "platform/ServiceSlots.h"

namespace vornel::view {

namespace {

NoFramePanes g_none;
ObjectSlot<FramePanes> g_panes("main frame", g_none);

}  // namespace

FramePanes& Panes() { return g_panes.Get(); }

ScopedFramePanes::ScopedFramePanes(FramePanes& panes) : previous_(g_panes.Exchange(&panes)) {}

ScopedFramePanes::~ScopedFramePanes() { g_panes.Exchange(previous_); }

}  // namespace vornel::view
