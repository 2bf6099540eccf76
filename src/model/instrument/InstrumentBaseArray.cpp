// The instrument base's side of the definition list: removal, the built-in fill and the
// binary base form.

#include <algorithm>

#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/InstrumentTemplateTable.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace vornel {

namespace {

constexpr std::string_view kBaseMagic = "VornelVersion";
// Archives from this version on begin with the two header texts.
constexpr std::string_view kHeaderVersion = "6.596";

size_t g_templateSet = kEarlyMusicSet;

}  // namespace

size_t TemplateSetInUse() { return g_templateSet; }

void SetTemplateSetInUse(size_t set) { g_templateSet = std::min(set, kTemplateSetCount - 1); }

bool CInstrumentArray::RemoveDefinition(const CInstrumentDlg* definition) {
  const int index = IndexOf(definition);
  if (definition == nullptr || index < 0) return false;
  erase(static_cast<size_t>(index));
  return true;
}

void CInstrumentArray::FillFromTemplates() {
  for (const InstrumentTemplateRecord& record : InstrumentTemplateSet(TemplateSetInUse())) {
    auto definition = std::make_unique<CInstrumentDlg>();
    definition->SetFromTemplate(record);
    push_back(std::move(definition));
  }
}

void CInstrumentArray::StoreBase(ArchiveWriter& ar) const {
  if (VersionAtLeast(ar.Version(), kHeaderVersion)) {
    ar.WriteText(kBaseMagic);
    ar.WriteText(ar.Version());
  }
  ar.WriteObjectArray(items());
}

void CInstrumentArray::LoadBase(ArchiveReader& ar) {
  const std::string outerVersion = ar.Version();
  try {
    if (ar.VersionAtLeast(kHeaderVersion)) {
      ar.ReadText();  // the magic word, not checked
      ar.SetVersion(ar.ReadText());
    }
    // Each definition is at least a tag, a name and a tablature record.
    const size_t count = ar.ReadCount(4);
    for (size_t i = 0; i < count; ++i) {
      std::unique_ptr<CInstrumentDlg> definition = ar.ReadOwnedObject<CInstrumentDlg>();
      if (definition != nullptr) push_back(std::move(definition));
    }
  } catch (...) {
    LinkAll();
    ar.SetVersion(outerVersion);
    throw;
  }
  LinkAll();
  ar.SetVersion(outerVersion);
}

}  // namespace vornel
