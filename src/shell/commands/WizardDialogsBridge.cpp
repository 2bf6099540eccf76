#include "shell/commands/WizardDialogsBridge.h"

#include "model/text/CTrackText.h"
#include "platform/UserPrompts.h"
#include "shell/app/CVornelTabApp.h"
#include "view/draw/FontChooser.h"
#include "view/draw/GraphicUtil.h"
#include "view/settings/SettingsCommands.h"

namespace vornel {

bool SettingsWizardDialogs::EditTextFont(CTrackText& text) { return ChooseFont(text.font); }

bool SettingsWizardDialogs::EditDocumentFonts(CPageDlg& page) { return CurrentSettingsDialogs().EditDocumentFonts(page); }

bool SettingsWizardDialogs::EditPageSettings(CPageDlg& page) { return CurrentSettingsDialogs().EditPageSettings(page); }

bool SettingsWizardDialogs::EditDocumentInformation(CDocumentSettings& settings) {
  return CurrentSettingsDialogs().EditDocumentInformation(settings);
}

std::string SettingsWizardDialogs::ChooseImageFile() { return BrowseImageFileName(); }

std::optional<std::string> SettingsWizardDialogs::ChooseDocumentTemplate() {
  std::optional<std::string> path =
      Prompts().PromptOpenFile(kTemplatePromptTitle, kTemplatePattern, app_.options.templatesFolder);
  if (path && path->empty()) return std::nullopt;
  return path;
}

}  // namespace vornel
