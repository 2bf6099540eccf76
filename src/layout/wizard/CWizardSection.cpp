#include "layout/wizard/CWizardSection.h"

#include <algorithm>

#include "document/CBriotabDoc.h"
#include "document/instruments/InstrumentBaseUse.h"
#include "platform/text/FieldRanges.h"
#include "layout/dialogs/SectionDialogs.h"
#include "layout/wizard/WizardDialogs.h"
#include "model/score/CSystemArray.h"
#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

// The working section of a section that exists: its instruments, its first system's layout
// values and its key and text settings, under default heading texts.
void InitFromTemplate(CSystemArray& section, const CSystemArray& model) {
  section.DeleteAllSystems();
  section.definitions.clear();
  for (const auto& definition : model.definitions.items()) {
    section.definitions.push_back(definition->Clone());
    section.definitions.back()->EnsureStave();
  }
  if (section.definitions.empty()) section.definitions.push_back(std::make_unique<CInstrumentDlg>());
  section.stavesPerPage = model.stavesPerPage;
  for (int32_t i = 0; i < std::max<int32_t>(section.stavesPerPage, 1); ++i) section.NewSystem(CSystemArray::kAppend);
  if (!model.systems.empty() && !section.systems.empty()) {
    const CStaveArray& first = *model.systems.at(0);
    CStaveArray& target = *section.systems.at(0);
    target.nameInstruments = first.nameInstruments;
    target.printTuning = first.printTuning;
    target.leftIndents = first.leftIndents;
  }
  section.key.alterations = model.key.alterations;
  section.key.bemol = model.key.bemol;
  section.key.mode = model.key.mode;
  section.texts.CopyFormatFrom(model.texts);
  section.Title().text = "Section title";
  section.Author().text = "Section author";
  section.Comments().text = "Comments";
  section.EndText().text.clear();
}

}  // namespace

CWizardSection::CWizardSection() { list_.OpenConfiguredBase(); }

CWizardSection::~CWizardSection() = default;

void CWizardSection::Init(CBriotabDoc& doc) {
  doc_ = &doc;
  section_ = std::make_unique<CSystemArray>();
  if (const CSystemArray* active = doc.GetActiveSection()) InitFromTemplate(*section_, *active);
  LoadInstruments();
}

void CWizardSection::LoadInstruments() {
  slots_.fill(nullptr);
  fields.selections.fill(-1);
  if (section_ == nullptr) return;
  const size_t count = std::min(section_->definitions.size(), kSlotCount);
  for (size_t i = 0; i < count; ++i) {
    CInstrumentDlg* copy = list_.instruments.insert(i, section_->definitions.at(i)->Clone());
    copy->EnsureStave();
    slots_[i] = copy;
    fields.selections[i] = static_cast<int32_t>(i);
  }
  ExchangeSectionData(true);
}

void CWizardSection::ExchangeSectionData(bool toPage) {
  if (section_ == nullptr) return;
  CSystemArray& s = *section_;
  if (toPage) {
    fields.name = s.Title().text;
    fields.author = s.Author().text;
    fields.alterations = static_cast<int32_t>(s.key.alterations);
    fields.flatsOrSharps = s.key.bemol != 0 ? 0 : 1;
    fields.denominator = s.denominator;
    fields.numerator = s.numerator;
    fields.tempo = s.tempo & 0xFFF;
    fields.leftOffset = s.leftOffset;
    fields.stavesPerPage = s.stavesPerPage;
    return;
  }
  s.Title().text = fields.name;
  s.Author().text = fields.author;
  s.key.alterations = static_cast<uint32_t>(std::clamp(fields.alterations, 0, 7));
  s.key.bemol = fields.flatsOrSharps == 0 ? 1 : 0;
  s.denominator = fields.denominator;
  s.numerator = fields.numerator;
  // The tempo word keeps its flag nibble and beat unit.
  s.tempo = (s.tempo & ~0xFFF) | (fields.tempo & 0xFFF);
  s.leftOffset = fields.leftOffset;
  s.stavesPerPage = fields.stavesPerPage;
}

std::vector<std::string> CWizardSection::RefreshInstrumentNames() {
  std::vector<std::string> names;
  for (const auto& definition : list_.instruments.items()) {
    if (definition->nameText.text.empty()) definition->nameText.text = kUnnamedInstrument;
    names.push_back(definition->nameText.text);
  }
  for (size_t slot = 0; slot < kSlotCount; ++slot) {
    // A box shows the entry its slot holds (a definition made for the slot is in no box).
    fields.selections[slot] = slots_[slot] != nullptr ? list_.instruments.IndexOf(slots_[slot]) : -1;
  }
  return names;
}

void CWizardSection::SelectInstrument(size_t slot, int32_t listIndex) {
  if (slot >= kSlotCount) return;
  const bool inside = listIndex >= 0 && static_cast<size_t>(listIndex) < list_.instruments.size();
  slots_[slot] = inside ? list_.instruments.at(static_cast<size_t>(listIndex)) : nullptr;
  fields.selections[slot] = inside ? listIndex : -1;
}

void CWizardSection::ClearSlot(size_t slot) {
  if (slot == 0 || slot >= kSlotCount) return;  // instrument 1 cannot be cleared
  slots_[slot] = nullptr;
  fields.selections[slot] = -1;
}

int CWizardSection::EditInstrument(int32_t listIndex, size_t slot) {
  if (listIndex < 0 || static_cast<size_t>(listIndex) >= list_.instruments.size() || slot >= kSlotCount) {
    Prompts().ShowMessage("Instrument index invalid: " + std::to_string(listIndex), MessageKind::kWarning);
    return 0;
  }
  CInstrumentDlg temporary(*list_.instruments.at(static_cast<size_t>(listIndex)));
  temporary.EnsureStave();
  if (!SectionEditors().EditInstrument(temporary)) return 0;
  if (slots_[slot] == nullptr) {
    madeForSlots_.push_back(std::make_unique<CInstrumentDlg>());
    slots_[slot] = madeForSlots_.back().get();
  }
  slots_[slot]->CopyFrom(temporary);
  slots_[slot]->EnsureStave();
  return 1;
}

bool CWizardSection::EditHeadingText(bool author) {
  if (section_ == nullptr) return false;
  CTrackText& text = author ? section_->Author() : section_->Title();
  text.text = author ? fields.author : fields.name;
  const bool accepted = SectionEditors().EditTrackText(text);
  (author ? fields.author : fields.name) = text.text;
  return accepted;
}

int CWizardSection::MoreSectionOptions() {
  if (section_ == nullptr) return 0;
  ExchangeSectionData(false);
  if (EditSectionProperties(*section_) == 0) return 0;
  ExchangeSectionData(true);
  return 1;
}

int CWizardSection::EditPageSettings() {
  if (doc_ == nullptr) return 0;
  CPageDlg& page = doc_->settings.pageSettings;
  if (!WizardDialogsInForce().EditPageSettings(page)) return 0;
  fields.stavesPerPage = static_cast<int32_t>(page.systemsPerPage);
  if (section_ != nullptr) section_->stavesPerPage = fields.stavesPerPage;
  return 1;
}

bool CWizardSection::ChooseFromDatabase() {
  if (list_.instruments.empty()) return false;
  return ChooseFromTemplates(*list_.instruments.at(0));
}

std::string CWizardSection::Validate() const {
  return CheckFieldRanges({{"Clef alterations", fields.alterations, 0, 7},
                           {"Signature", fields.numerator, 1, 32},
                           {"Signature", fields.denominator, 1, 32},
                           {"Tempo", fields.tempo, 10, 200},
                           {"L.Offset", fields.leftOffset, -7, 10},
                           {"per page", fields.stavesPerPage, 1, 30}});
}

std::unique_ptr<CSystemArray> CWizardSection::BuildSection() {
  if (section_ == nullptr) return nullptr;
  ExchangeSectionData(false);
  CSystemArray& s = *section_;
  s.DeleteAllSystems();
  s.definitions.clear();
  for (const CInstrumentDlg* definition : slots_) {
    if (definition == nullptr) continue;
    std::unique_ptr<CInstrumentDlg> copy = definition->Clone();
    copy->EnsureStave();
    for (const auto& stave : copy->staves.items()) stave->spaceBelow = kBuiltStaveSpacing;
    copy->spacingBelowPage = static_cast<int32_t>(kBuiltStaveSpacing);
    s.definitions.push_back(std::move(copy));
  }
  // A section holds at least one instrument.
  if (s.definitions.empty()) {
    s.definitions.push_back(std::make_unique<CInstrumentDlg>());
    s.definitions.back()->EnsureStave();
  }
  s.stavesPerPage = std::clamp(fields.stavesPerPage, 1, 30);
  if (doc_ != nullptr) doc_->settings.pageSettings.systemsPerPage = static_cast<uint32_t>(s.stavesPerPage);
  for (int32_t i = 0; i < s.stavesPerPage; ++i) s.NewSystem(CSystemArray::kAppend);
  slots_.fill(nullptr);
  return std::move(section_);
}

}  // namespace vornel
