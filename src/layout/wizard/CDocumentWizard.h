#pragma once
// The new-document wizard: a first page with the document's general information and a
// section page. It creates a document ("New Vornel document wizard") or adds a section to an
// open one ("Add new section wizard"). The window layer shows the pages through a runner;
// what the wizard keeps when it ends is decided here.

#include <memory>
#include <string_view>

#include "document/SectionWizard.h"
#include "layout/wizard/CDocWizardPage.h"
#include "layout/wizard/CWizardSection.h"

namespace vornel {

class CBriotabDoc;
class CSystemArray;

class CDocumentWizard {
 public:
  static constexpr std::string_view kNewDocumentCaption = "New Vornel document wizard";
  static constexpr std::string_view kAddSectionCaption = "Add new section wizard";

  // The pages take their values from the document.
  CDocumentWizard(CBriotabDoc& doc, bool addSection);

  static constexpr std::string_view kTemplateTitle = "Document title";
  static constexpr std::string_view kTemplateAuthor = "Document author";

  std::string_view Caption() const { return addSection_ ? kAddSectionCaption : kNewDocumentCaption; }
  bool AddsSection() const { return addSection_; }
  CBriotabDoc& Document() const { return doc_; }
  // "Load document template" is offered while a document is being created.
  bool OffersTemplate() const { return !addSection_; }

  // The first page's buttons (the page's fields are read from its controls first).
  // The font button beside "Book Title" (`author` false) or "Book Author".
  bool EditHeadingFont(bool author);
  // "..." beside the image path: a chosen image file becomes the page's image path.
  bool BrowseImage();
  // "Section fonts": the document fonts on the document's page settings.
  bool EditSectionFonts();
  // "More document properties": the fields go into the document, the document information
  // dialog runs, and on OK the fields are loaded from the document again.
  bool EditMoreProperties();
  // "Load document template": the chosen template is opened into the document (without its
  // name), the section page starts again from it, and the title and author read "Document
  // title" and "Document author", the source and comments empty. False when none was loaded.
  bool LoadDocumentTemplate();

  // The wizard ended with Finish (true) or Cancel. The first page's values go into the
  // document on Finish; when creating a document, on Cancel too. The section built from the
  // section page is returned on Finish; null on Cancel.
  std::unique_ptr<CSystemArray> End(bool finished);

  CDocWizardPage documentPage;
  CWizardSection sectionPage;

 private:
  CBriotabDoc& doc_;
  bool addSection_;
};

// Shows the wizard's pages; true when the user pressed Finish. The window layer installs one.
class DocumentWizardRunner {
 public:
  virtual ~DocumentWizardRunner() = default;
  virtual bool Run(CDocumentWizard& wizard) = 0;
};

// The runner in force; null until the window layer installs one (tools and tests then make
// documents without the wizard).
DocumentWizardRunner* WizardRunnerInForce();

// Installs `runner` for its lifetime and restores the previous one after.
class ScopedWizardRunner {
 public:
  explicit ScopedWizardRunner(DocumentWizardRunner& runner);
  ~ScopedWizardRunner();
  ScopedWizardRunner(const ScopedWizardRunner&) = delete;
  ScopedWizardRunner& operator=(const ScopedWizardRunner&) = delete;

 private:
  DocumentWizardRunner* previous_;
};

// The add-section wizard over a runner, installed behind "Add section" and the imports.
class RunnerSectionWizard : public SectionWizard {
 public:
  explicit RunnerSectionWizard(DocumentWizardRunner& runner) : runner_(runner) {}
  std::unique_ptr<CSystemArray> BuildSection(CBriotabDoc& doc) override;

 private:
  DocumentWizardRunner& runner_;
};

// The create mode on a new document: the pages' values go into it and its only section is
// replaced by the one the section page built. False when the user cancelled (the first
// page's values are kept all the same).
bool RunNewDocumentWizard(CBriotabDoc& doc, DocumentWizardRunner& runner);

}  // namespace vornel
