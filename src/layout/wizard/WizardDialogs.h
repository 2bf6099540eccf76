#pragma once
// The dialogs the new-document wizard's buttons open beyond its own pages: the font of a
// heading text, the title page's image, the document fonts, the page settings, the document information and the
// choice of a document template. They belong to the window layer, which installs them; until
// it does, each says that none is installed and changes nothing.

#include <optional>
#include <string>

namespace vornel {

class CDocumentSettings;
class CPageDlg;
class CTrackText;

class WizardDialogs {
 public:
  virtual ~WizardDialogs() = default;
  // The font of a heading text of the document; true on OK.
  virtual bool EditTextFont(CTrackText& text);
  // "Document fonts" on the document's page settings; true on OK.
  virtual bool EditDocumentFonts(CPageDlg& page);
  // "Page settings" on the document's page settings; true on OK.
  virtual bool EditPageSettings(CPageDlg& page);
  // The document information dialog; true on OK.
  virtual bool EditDocumentInformation(CDocumentSettings& settings);
  // An image file for the title page; empty when cancelled.
  virtual std::string ChooseImageFile();
  // The path of a document template to load; nothing when cancelled.
  virtual std::optional<std::string> ChooseDocumentTemplate();
};

// The dialogs in force.
WizardDialogs& WizardDialogsInForce();

// Installs `dialogs` for its lifetime and restores the previous ones after.
class ScopedWizardDialogs {
 public:
  explicit ScopedWizardDialogs(WizardDialogs& dialogs);
  ~ScopedWizardDialogs();
  ScopedWizardDialogs(const ScopedWizardDialogs&) = delete;
  ScopedWizardDialogs& operator=(const ScopedWizardDialogs&) = delete;

 private:
  WizardDialogs* previous_;
};

}  // namespace vornel
