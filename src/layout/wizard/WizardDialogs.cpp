#include "layout/wizard/WizardDialogs.h"

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "wizard dialog";

// A service the editor's window installs, not drawing state: one per process by design.
WizardDialogs g_none;
ObjectSlot<WizardDialogs> g_dialogs(kServiceName, g_none);

bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

}  // namespace

bool WizardDialogs::EditTextFont(CTrackText&) { return Missing(); }
bool WizardDialogs::EditDocumentFonts(CPageDlg&) { return Missing(); }
bool WizardDialogs::EditPageSettings(CPageDlg&) { return Missing(); }
bool WizardDialogs::EditDocumentInformation(CDocumentSettings&) { return Missing(); }
std::string WizardDialogs::ChooseImageFile() {
  Missing();
  return {};
}
std::optional<std::string> WizardDialogs::ChooseDocumentTemplate() {
  Missing();
  return std::nullopt;
}

WizardDialogs& WizardDialogsInForce() { return g_dialogs.Get(); }

ScopedWizardDialogs::ScopedWizardDialogs(WizardDialogs& dialogs) : previous_(g_dialogs.Exchange(&dialogs)) {}

ScopedWizardDialogs::~ScopedWizardDialogs() { g_dialogs.Exchange(previous_); }

}  // namespace vornel
