#include "document/ActivePageSettings.h"

#include "document/CPageDlg.h"

namespace vornel {

namespace {
CPageDlg* g_active = nullptr;
}  // namespace

CPageDlg* ActivePageSettings() { return g_active; }

void SetActivePageSettings(CPageDlg* settings) { g_active = settings; }

int32_t ActiveZoomPercent() { return g_active != nullptr ? g_active->zoom : 100; }

ScopedActivePageSettings::ScopedActivePageSettings(CPageDlg* settings) : previous_(g_active) { g_active = settings; }

ScopedActivePageSettings::~ScopedActivePageSettings() { g_active = previous_; }

}  // namespace vornel
