#pragma once
// The document's associations as the "Document associations" dialog edits them: the image,
// PDF and HTML files that go with the document and the three bundle options that decide what
// its index and zip package include. The window layer installs the dialog behind
// `AssociationsEditors()`; until then the editor accepts the values as they are.

#include <string>

namespace vornel {

class CBriotabDoc;
class CDocumentSettings;

struct DocumentAssociationFields {
  std::string imagePath;  // "images-path"
  std::string pdfPath;    // "pdf-rendition"
  std::string htmlPath;   // "html-table"
  bool includeFacsimiles = false;  // bundle option bit 0
  bool includeMidiFiles = false;   // bit 1
  bool autoGenerateMidi = false;   // bit 2
  // The HTML page is set by the HTML export: the dialog shows it without letting it be edited.
  bool lockHtmlField = true;

  // "Include MIDI files" carries "Auto Generate MIDI files" with it.
  void SetIncludeMidiFiles(bool include) {
    includeMidiFiles = include;
    autoGenerateMidi = include;
  }
};

DocumentAssociationFields AssociationFieldsOf(const CDocumentSettings& settings);
// The three paths back under their types (a cleared path stays as an empty association) and
// the bundle options set to exactly the three boxes.
void StoreAssociationFields(const DocumentAssociationFields& fields, CDocumentSettings& settings);

class AssociationsEditor {
 public:
  virtual ~AssociationsEditor() = default;
  // Edits `fields` for the document saved in `documentFolder`; false when cancelled.
  virtual bool Edit(DocumentAssociationFields& fields, const std::string& documentFolder);
};

// The editor in force.
AssociationsEditor& AssociationsEditors();

// Installs `editor` for its lifetime and restores the previous one after.
class ScopedAssociationsEditor {
 public:
  explicit ScopedAssociationsEditor(AssociationsEditor& editor);
  ~ScopedAssociationsEditor();
  ScopedAssociationsEditor(const ScopedAssociationsEditor&) = delete;
  ScopedAssociationsEditor& operator=(const ScopedAssociationsEditor&) = delete;

 private:
  AssociationsEditor* previous_;
};

// The document's associations command: the editor over the document's values; on OK they are
// stored back and the document marked modified. False (nothing changed) on Cancel.
bool EditDocumentAssociations(CBriotabDoc& doc);

}  // namespace vornel
