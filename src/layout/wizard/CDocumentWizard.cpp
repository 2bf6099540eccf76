#include "layout/wizard/CDocumentWizard.h"

#include <algorithm>

#include "document/CBriotabDoc.h"
#include "document/CVornelTabDoc.h"
#include "layout/wizard/WizardDialogs.h"
#include "model/score/CSystemArray.h"
#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

// The slot's default is never handed out: without a runner there is no wizard to run.
// A service the editor's window installs, not drawing state: one per process by design.
class NoRunner : public DocumentWizardRunner {
 public:
  bool Run(CDocumentWizard&) override { return false; }
} g_noRunner;
ObjectSlot<DocumentWizardRunner> g_runner("document wizard", g_noRunner);

}  // namespace

DocumentWizardRunner* WizardRunnerInForce() {
  return g_runner.InForce() != nullptr ? &g_runner.Get() : nullptr;
}

ScopedWizardRunner::ScopedWizardRunner(DocumentWizardRunner& runner) : previous_(g_runner.Exchange(&runner)) {}

ScopedWizardRunner::~ScopedWizardRunner() { g_runner.Exchange(previous_); }

CDocumentWizard::CDocumentWizard(CBriotabDoc& doc, bool addSection) : doc_(doc), addSection_(addSection) {
  documentPage.ExchangeWithDocument(doc, true);
  sectionPage.Init(doc);
}

bool CDocumentWizard::EditHeadingFont(bool author) {
  return WizardDialogsInForce().EditTextFont(
      doc_.settings.Text(author ? CDocumentSettings::kAuthor : CDocumentSettings::kTitle));
}

bool CDocumentWizard::BrowseImage() {
  std::string path = WizardDialogsInForce().ChooseImageFile();
  if (path.empty()) return false;
  documentPage.imagePath = std::move(path);
  return true;
}

bool CDocumentWizard::EditSectionFonts() { return WizardDialogsInForce().EditDocumentFonts(doc_.settings.pageSettings); }

bool CDocumentWizard::EditMoreProperties() {
  documentPage.ExchangeWithDocument(doc_, false);
  if (!WizardDialogsInForce().EditDocumentInformation(doc_.settings)) return false;
  documentPage.ExchangeWithDocument(doc_, true);
  return true;
}

bool CDocumentWizard::LoadDocumentTemplate() {
  auto* file = dynamic_cast<CVornelTabDoc*>(&doc_);
  if (file == nullptr || !OffersTemplate()) return false;
  const std::optional<std::string> path = WizardDialogsInForce().ChooseDocumentTemplate();
  if (!path || path->empty()) return false;
  // A template that cannot be opened leaves the document and the pages as they were.
  if (!file->OpenDocumentInFolder(*path)) return false;
  sectionPage.Init(doc_);
  doc_.settings.Text(CDocumentSettings::kTitle).text = kTemplateTitle;
  doc_.settings.Text(CDocumentSettings::kAuthor).text = kTemplateAuthor;
  doc_.settings.Text(CDocumentSettings::kSource).text.clear();
  doc_.settings.Text(CDocumentSettings::kComments).text.clear();
  documentPage.ExchangeWithDocument(doc_, true);
  return true;
}

std::unique_ptr<CSystemArray> CDocumentWizard::End(bool finished) {
  if (finished || !addSection_) documentPage.ExchangeWithDocument(doc_, false);
  if (!finished) return nullptr;
  return sectionPage.BuildSection();
}

std::unique_ptr<CSystemArray> RunnerSectionWizard::BuildSection(CBriotabDoc& doc) {
  CDocumentWizard wizard(doc, true);
  const bool finished = runner_.Run(wizard);
  return wizard.End(finished);
}

bool RunNewDocumentWizard(CBriotabDoc& doc, DocumentWizardRunner& runner) {
  CDocumentWizard wizard(doc, false);
  const bool finished = runner.Run(wizard);
  std::unique_ptr<CSystemArray> section = wizard.End(finished);
  if (section == nullptr) return false;
  section->RecalculateSection(false);
  if (doc.sections.empty()) {
    doc.sections.push_back(std::move(section));
  } else {
    doc.sections.replace(static_cast<size_t>(std::max(doc.sections.activeSection, 0)), std::move(section));
  }
  doc.sections.Renumber();
  doc.sections.activeSection = -1;
  doc.SetActiveSection(0);
  return true;
}

}  // namespace vornel
