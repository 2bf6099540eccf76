#include "document/instruments/ShippedInstrumentData.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "document/CVornelTabDoc.h"
#include "document/SectionWizard.h"
#include "document/instruments/CInstrumentTemplates.h"
#include "model/score/CSystemArray.h"
#include "model/instrument/InstrumentTemplateTable.h"
#include "platform/io/FileIO.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

// The distinct records of both sets, by name, in table order.
std::vector<const InstrumentTemplateRecord*> DistinctRecords() {
  std::vector<const InstrumentTemplateRecord*> records;
  for (size_t set = 0; set < kTemplateSetCount; ++set) {
    for (const InstrumentTemplateRecord& record : InstrumentTemplateSet(set)) {
      const bool known = std::any_of(records.begin(), records.end(),
                                     [&](const InstrumentTemplateRecord* r) { return r->name == record.name; });
      if (!known) records.push_back(&record);
    }
  }
  return records;
}

}  // namespace

std::unique_ptr<CVornelTabDoc> MakeInstrumentDocument(const CInstrumentDlg& definition) {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  doc->sections.replace(0, SectionWith(definition));
  doc->sections.Renumber();
  doc->sections.activeSection = -1;
  doc->SetActiveSection(0);
  doc->GetActiveSection()->RecalculateSection(false);
  doc->SetModifiedFlag(false);
  return doc;
}

std::vector<std::string> ShippedTemplateNames() {
  std::vector<std::string> names;
  for (const InstrumentTemplateRecord* record : DistinctRecords()) names.push_back(std::string(record->name) + ".bttx");
  return names;
}

std::optional<std::vector<std::string>> WriteShippedInstrumentData(const std::string& dataFolder, std::string* error) {
  const fs::path templates = fs::path(dataFolder) / "Templates";
  std::error_code ec;
  fs::create_directories(templates, ec);
  std::vector<std::string> written;

  // The base keeps the set in use as it found it.
  const size_t setInUse = TemplateSetInUse();
  CInstrumentTemplates base;
  for (size_t set = 0; set < kTemplateSetCount; ++set) {
    SetTemplateSetInUse(set);
    base.instruments.FillFromTemplates();
  }
  SetTemplateSetInUse(setInUse);
  // The file names itself by its own name only, so that it is the same wherever it was made.
  const std::string basePath = (templates / CInstrumentTemplates::kDefaultBaseName).string();
  if (!WriteFileAtomically(basePath, base.BaseFileText(CInstrumentTemplates::kDefaultBaseName), error)) {
    return std::nullopt;
  }
  written.push_back(basePath);

  for (const InstrumentTemplateRecord* record : DistinctRecords()) {
    CInstrumentDlg definition;
    definition.SetFromTemplate(*record);
    const std::unique_ptr<CVornelTabDoc> doc = MakeInstrumentDocument(definition);
    const std::string path = (templates / (std::string(record->name) + ".bttx")).string();
    if (!doc->WriteXmlTemplate(path)) {
      if (error != nullptr) *error = "cannot write " + path;
      return std::nullopt;
    }
    written.push_back(path);
  }
  return written;
}

std::unique_ptr<CVornelTabDoc> OpenTemplateUntitled(const std::string& path) {
  auto doc = std::make_unique<CVornelTabDoc>();
  if (!doc->OpenDocumentInFolder(path)) return nullptr;
  doc->SetModifiedFlag(false);
  return doc;
}

}  // namespace vornel
