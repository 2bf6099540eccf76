#include "layout/wizard/CDocumentWizard.h"

#include <algorithm>

#include "document/CBriotabDoc.h"
#include "model/CSystemArray.h"

namespace vornel {

namespace {

DocumentWizardRunner* g_runner = nullptr;

}  // namespace

DocumentWizardRunner* WizardRunnerInForce() { return g_runner; }

ScopedWizardRunner::ScopedWizardRunner(DocumentWizardRunner& runner) : previous_(g_runner) { g_runner = &runner; }

ScopedWizardRunner::~ScopedWizardRunner() { g_runner = previous_; }

CDocumentWizard::CDocumentWizard(CBriotabDoc& doc, bool addSection) : doc_(doc), addSection_(addSection) {
  documentPage.ExchangeWithDocument(doc, true);
  sectionPage.Init(doc);
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
