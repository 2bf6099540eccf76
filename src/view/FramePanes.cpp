#include "view/FramePanes.h"

namespace vornel::view {

namespace {

NoFramePanes g_none;
FramePanes* g_panes = &g_none;

}  // namespace

FramePanes& Panes() { return *g_panes; }

ScopedFramePanes::ScopedFramePanes(FramePanes& panes) : previous_(g_panes) { g_panes = &panes; }

ScopedFramePanes::~ScopedFramePanes() { g_panes = previous_; }

}  // namespace vornel::view
