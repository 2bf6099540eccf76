#include "layout/wizard/WizardDialogs.h"

namespace vornel {

namespace {

WizardDialogs& Cancelling() {
  static WizardDialogs dialogs;
  return dialogs;
}

WizardDialogs* g_dialogs = nullptr;

}  // namespace

bool WizardDialogs::EditTextFont(CTrackText&) { return false; }
bool WizardDialogs::EditDocumentFonts(CPageDlg&) { return false; }
bool WizardDialogs::EditPageSettings(CPageDlg&) { return false; }
bool WizardDialogs::EditDocumentInformation(CDocumentSettings&) { return false; }
std::string WizardDialogs::ChooseImageFile() { return {}; }
std::optional<std::string> WizardDialogs::ChooseDocumentTemplate() { return std::nullopt; }

WizardDialogs& WizardDialogsInForce() { return g_dialogs != nullptr ? *g_dialogs : Cancelling(); }

ScopedWizardDialogs::ScopedWizardDialogs(WizardDialogs& dialogs) : previous_(g_dialogs) { g_dialogs = &dialogs; }

ScopedWizardDialogs::~ScopedWizardDialogs() { g_dialogs = previous_; }

}  // namespace vornel
