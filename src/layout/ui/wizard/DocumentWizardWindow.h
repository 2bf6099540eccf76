#pragma once
// The new-document wizard on screen: a wxWizard with the document page and the section page,
// each filled from and read back into the wizard's pages (CDocumentWizard). A page whose
// fields are out of range shows the message and stays. The wizard and its pages have the
// textured backgrounds of the property sheets.

#include <wx/wizard.h>

#include <array>

#include "layout/ui/dialogs/TexturedDialog.h"
#include "layout/wizard/CDocumentWizard.h"

class wxButton;
class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSpinCtrl;
class wxTextCtrl;

namespace vornel {

class DocumentWizardPageWindow : public wxWizardPageSimple {
 public:
  DocumentWizardPageWindow(wxWizard* parent, CDocumentWizard& wizard);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  wxTextCtrl* title = nullptr;
  wxTextCtrl* author = nullptr;
  wxTextCtrl* imagePath = nullptr;
  wxSpinCtrl* firstMargin = nullptr;
  wxSpinCtrl* secondMargin = nullptr;
  wxRadioButton* portrait = nullptr;
  wxRadioButton* landscape = nullptr;
  wxChoice* frame = nullptr;
  wxCheckBox* alternateMargins = nullptr;
  wxCheckBox* printTitlePage = nullptr;
  wxCheckBox* printContents = nullptr;
  wxCheckBox* printAllSections = nullptr;
  wxCheckBox* newPageOnSection = nullptr;
  wxCheckBox* proportionalSpacing = nullptr;
  wxButton* loadTemplate = nullptr;

 private:
  CDocumentWizard& wizard_;
  CDocWizardPage& page_;
  TexturedBackground background_;
};

class SectionWizardPageWindow : public wxWizardPageSimple {
 public:
  SectionWizardPageWindow(wxWizard* parent, CWizardSection& page);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  // Refills the eight instrument boxes from the instrument list (on every activation).
  void RefillInstruments();

  wxTextCtrl* name = nullptr;
  wxTextCtrl* author = nullptr;
  wxSpinCtrl* alterations = nullptr;
  wxRadioButton* bemol = nullptr;
  wxRadioButton* sharp = nullptr;
  wxSpinCtrl* numerator = nullptr;
  wxSpinCtrl* denominator = nullptr;
  wxSpinCtrl* tempo = nullptr;
  wxSpinCtrl* leftOffset = nullptr;
  wxSpinCtrl* stavesPerPage = nullptr;
  std::array<wxChoice*, CWizardSection::kSlotCount> instruments{};

 private:
  // Reads the controls into the page's fields without checking them.
  void ReadControls();
  CWizardSection& page_;
  TexturedBackground background_;
};

class DocumentWizardWindow : public wxWizard {
 public:
  DocumentWizardWindow(wxWindow* parent, CDocumentWizard& wizard);
  // Runs the wizard modally; true on Finish.
  bool Run();

  DocumentWizardPageWindow* documentPage = nullptr;
  SectionWizardPageWindow* sectionPage = nullptr;
  const TexturedBackground& Background() const { return background_; }

 private:
  TexturedBackground background_;
};

// The runner the editor installs: the wizard window over the active top window.
class WxDocumentWizardRunner : public DocumentWizardRunner {
 public:
  bool Run(CDocumentWizard& wizard) override;
};

}  // namespace vornel
