#pragma once
// The new-document wizard's further dialogs in the editor: the heading fonts in the font
// dialog, the image file chooser, the document fonts, page settings and document information of the settings
// commands, and a template of the templates folder.

#include "layout/wizard/WizardDialogs.h"

namespace vornel {

class CVornelTabApp;

class SettingsWizardDialogs : public WizardDialogs {
 public:
  static constexpr const char* kTemplatePromptTitle = "Load document template";
  static constexpr const char* kTemplatePattern = "*.bttx;*.btt";

  explicit SettingsWizardDialogs(const CVornelTabApp& app) : app_(app) {}
  bool EditTextFont(CTrackText& text) override;
  bool EditDocumentFonts(CPageDlg& page) override;
  bool EditPageSettings(CPageDlg& page) override;
  bool EditDocumentInformation(CDocumentSettings& settings) override;
  std::string ChooseImageFile() override;
  std::optional<std::string> ChooseDocumentTemplate() override;

 private:
  const CVornelTabApp& app_;
};

}  // namespace vornel
