#pragma once
// Dialog "Document associations": the image, PDF and HTML files of a document with browse,
// preview and clear buttons, and the three bundle options. Its data exchange fills the
// controls from `DocumentAssociationFields` and reads them back. The HTML page is set by the
// HTML export, so its field and preview stay disabled while the lock is on.

#include <wx/dialog.h>

#include <functional>
#include <string>

#include "document/library/DocumentAssociations.h"

class wxButton;
class wxCheckBox;
class wxTextCtrl;

namespace vornel {

class CAssociationsDlg : public wxDialog {
 public:
  enum Field { kImage, kPdf, kHtml };

  CAssociationsDlg(wxWindow* parent, DocumentAssociationFields& fields, std::string documentFolder);

  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  // The buttons' work: a preview of an empty path only beeps; the image is shown by the
  // image previewer, the PDF and HTML files opened by the desktop.
  void Preview(Field field);
  void Clear(Field field);
  // A chosen file; one outside the document's folder may be copied into it first.
  void TakeChosenFile(Field field, std::string path);
  // "Include MIDI files" clicked: "Auto Generate MIDI files" follows it.
  void OnIncludeMidi();

  // Shows an image (the image preview dialog when installed, else the desktop's viewer).
  static void SetImagePreviewer(std::function<void(const std::string& path)> previewer);

  wxTextCtrl* edits[3] = {};
  wxButton* browseButtons[3] = {};
  wxButton* previewButtons[3] = {};
  wxButton* clearButtons[3] = {};
  wxCheckBox* includeFacsimiles = nullptr;
  wxCheckBox* autoGenerateMidi = nullptr;
  wxCheckBox* includeMidiFiles = nullptr;

 private:
  void Browse(Field field);

  DocumentAssociationFields& fields_;
  std::string documentFolder_;
};

// Runs the dialog for the document's associations command.
class WxAssociationsEditor : public AssociationsEditor {
 public:
  bool Edit(DocumentAssociationFields& fields, const std::string& documentFolder) override;
};

}  // namespace vornel
