#pragma once
// The section page of the new-document wizard: it prepares the first section of a new
// document, or a section to add to an open one (its name and author, key and time signatures,
// tempo, left offset, staves per page and up to eight instruments chosen from the definitions
// at hand), on a working section of its own that the wizard's caller takes when the wizard
// finishes. The window layer shows these fields; everything the page decides is here.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/instruments/CInstrumentTemplates.h"

namespace vornel {

class CBriotabDoc;
class CSystemArray;

class CWizardSection {
 public:
  static constexpr size_t kSlotCount = 8;
  static constexpr std::string_view kCaption = "Section wizard";
  static constexpr std::string_view kUnnamedInstrument = "Unnamed instrument";
  static constexpr std::string_view kInvalidIndexMessage = "Instrument index invalid: %d";
  // The spacing below every stave of a section the wizard builds.
  static constexpr uint32_t kBuiltStaveSpacing = 3;

  // The page's fields (the defaults of a new page).
  struct Fields {
    std::string name;
    std::string author;
    int32_t alterations = 0;    // 0-7
    int32_t flatsOrSharps = 0;  // 0 "Bemol", 1 "Sharp"
    int32_t denominator = 4;    // 1-32
    int32_t numerator = 4;      // 1-32
    int32_t tempo = 100;        // 10-200
    int32_t leftOffset = 0;     // -7 to 10 mm
    int32_t stavesPerPage = 8;  // 1-30
    // The entry chosen in each instrument box, -1 for none.
    std::array<int32_t, kSlotCount> selections = {0, -1, -1, -1, -1, -1, -1, -1};
  };

  CWizardSection();
  ~CWizardSection();
  CWizardSection(const CWizardSection&) = delete;
  CWizardSection& operator=(const CWizardSection&) = delete;

  // Remembers the document and makes the working section: from the document's active section
  // (its instruments, its first system's layout, default heading texts) when there is one.
  // Then LoadInstruments.
  void Init(CBriotabDoc& doc);
  // Puts a copy of each of the working section's definitions (at most eight) at the head of
  // the instrument list and into the slot of the same number; then shows the section's values.
  void LoadInstruments();
  // Copies the fields between the page and the working section.
  void ExchangeSectionData(bool toPage);

  // What the instrument boxes list, in list order; a definition without a name is named
  // "Unnamed instrument" (and keeps that name). Each box's selection follows its slot.
  std::vector<std::string> RefreshInstrumentNames();
  // A box's selection changed: the slot takes the list's definition there, or none outside it.
  void SelectInstrument(size_t slot, int32_t listIndex);
  // "Clear" beside instruments 2 to 8.
  void ClearSlot(size_t slot);
  // "Edit": the property sheet on a copy of the list's entry; accepted, the copy goes into the
  // slot's definition. 0 when cancelled or the index is invalid (after the message), else 1.
  int EditInstrument(int32_t listIndex, size_t slot);

  // "..." beside the name or the author: the text's settings on the working section's title
  // (author) text; the field takes the text back.
  bool EditHeadingText(bool author);
  // "More section options...": the section properties dialog on the working section, which
  // then gives the fields their values again; 1 on OK.
  int MoreSectionOptions();

  // "Page settings": the document's page settings; on OK the staves per page of the page and
  // of the working section take the page settings' systems per page. 1 on OK.
  int EditPageSettings();

  // "Instrument database": the templates dialog on the first definition of the instrument
  // list, whose choice is copied into it; nothing when the list is empty.
  bool ChooseFromDatabase();

  // The message refusing a field outside its range; empty when every field is valid.
  std::string Validate() const;
  // Builds the working section from the fields and the slots and hands it over: a copy of
  // every slot's definition with stave spacing 3, and as many systems as the staves per page.
  // The document's default staves per page becomes the page's. Null after it was taken.
  std::unique_ptr<CSystemArray> BuildSection();

  Fields fields;
  CInstrumentTemplates& List() { return list_; }
  CSystemArray* WorkingSection() const { return section_.get(); }
  const CInstrumentDlg* Slot(size_t slot) const { return slot < kSlotCount ? slots_[slot] : nullptr; }
  CBriotabDoc* Document() const { return doc_; }

 private:
  CBriotabDoc* doc_ = nullptr;
  std::unique_ptr<CSystemArray> section_;
  CInstrumentTemplates list_;
  std::array<CInstrumentDlg*, kSlotCount> slots_{};
  // Definitions made for slots that held none when edited.
  std::vector<std::unique_ptr<CInstrumentDlg>> madeForSlots_;
};

}  // namespace vornel
