#include "document/SectionWizard.h"

#include <algorithm>

#include "document/CBriotabDoc.h"
#include "model/score/CSystemArray.h"
#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "section wizard";

SectionWizard g_defaultWizard;
ObjectSlot<SectionWizard> g_wizard(kServiceName, g_defaultWizard);

}  // namespace

std::unique_ptr<CSystemArray> SectionWith(const CInstrumentDlg& definition) {
  auto section = std::make_unique<CSystemArray>();
  section->definitions.replace(0, definition.Clone());
  section->definitions.at(0)->EnsureStave();
  // The systems' lines were built on the constructor's definition.
  section->DeleteAllSystems();
  for (size_t s = 0; s < CSystemArray::kNewSystemCount; ++s) section->NewSystem(CSystemArray::kAppend);
  return section;
}

std::unique_ptr<CSystemArray> SectionWizard::BuildSection(CBriotabDoc& doc) {
  const CSystemArray* active = doc.sections.activeSection >= 0 &&
                                       static_cast<size_t>(doc.sections.activeSection) < doc.sections.size()
                                   ? doc.sections.at(static_cast<size_t>(doc.sections.activeSection))
                                   : nullptr;
  if (active == nullptr || active->definitions.empty()) return std::make_unique<CSystemArray>();
  return SectionWith(*active->definitions.at(0));
}

FixedSectionWizard::FixedSectionWizard(const CInstrumentDlg& definition) : definition_(definition.Clone()) {}

FixedSectionWizard::~FixedSectionWizard() = default;

std::unique_ptr<CSystemArray> FixedSectionWizard::BuildSection(CBriotabDoc&) { return SectionWith(*definition_); }

SectionWizard& SectionWizards() { return g_wizard.Get(); }

ScopedSectionWizard::ScopedSectionWizard(SectionWizard& wizard) : previous_(g_wizard.Exchange(&wizard)) {}

ScopedSectionWizard::~ScopedSectionWizard() { g_wizard.Exchange(previous_); }

CSystemArray* AddSectionWithWizard(CBriotabDoc& doc) {
  std::unique_ptr<CSystemArray> section = SectionWizards().BuildSection(doc);
  if (section == nullptr) return nullptr;
  section->stavesPerPage = std::max<int32_t>(static_cast<int32_t>(doc.settings.pageSettings.systemsPerPage), 1);
  section->RecalculateSection(false);
  const int32_t active = doc.sections.activeSection;
  const size_t at = active >= 0 ? std::min(static_cast<size_t>(active) + 1, doc.sections.size()) : doc.sections.size();
  CSystemArray* added = doc.sections.insert(at, std::move(section));
  doc.sections.Renumber(at);
  doc.SetActiveSection(static_cast<int>(at));
  return added;
}

}  // namespace vornel
