#pragma once
// The add-section wizard: the user sets up a new section (its instrument, its layout) before
// the section is inserted after the active one. The window layer installs the wizard's pages;
// until then the wizard answers at once with a section of the default shape whose instrument
// is a copy of the active section's first one.

#include <memory>

namespace vornel {

class CBriotabDoc;
class CInstrumentDlg;
class CSystemArray;

class SectionWizard {
 public:
  virtual ~SectionWizard() = default;
  // The section the wizard built for `doc`; null when the user cancelled.
  virtual std::unique_ptr<CSystemArray> BuildSection(CBriotabDoc& doc);
};

// Builds every section with a copy of one definition (tools and tests).
class FixedSectionWizard : public SectionWizard {
 public:
  explicit FixedSectionWizard(const CInstrumentDlg& definition);
  ~FixedSectionWizard() override;
  std::unique_ptr<CSystemArray> BuildSection(CBriotabDoc& doc) override;

 private:
  std::unique_ptr<CInstrumentDlg> definition_;
};

// A section of the default shape (eight systems) holding a copy of `definition`.
std::unique_ptr<CSystemArray> SectionWith(const CInstrumentDlg& definition);

// The wizard in force.
SectionWizard& SectionWizards();

// Installs `wizard` for its lifetime and restores the previous one after.
class ScopedSectionWizard {
 public:
  explicit ScopedSectionWizard(SectionWizard& wizard);
  ~ScopedSectionWizard();
  ScopedSectionWizard(const ScopedSectionWizard&) = delete;
  ScopedSectionWizard& operator=(const ScopedSectionWizard&) = delete;

 private:
  SectionWizard* previous_;
};

// Runs the wizard. On OK the new section takes the page settings' systems per page, is laid
// out, inserted after the active section and made active; it is returned. Null, with nothing
// changed, when the wizard was cancelled.
CSystemArray* AddSectionWithWizard(CBriotabDoc& doc);

}  // namespace vornel
