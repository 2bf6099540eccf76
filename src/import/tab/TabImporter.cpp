#include "import/tab/TabImporter.h"

#include <array>
#include <filesystem>
#include <memory>

#include "document/CBriotabDoc.h"
#include "document/SectionWizard.h"
#include "import/ImportWarnings.h"
#include "import/tab/TabImport.h"
#include "import/text/TextImportSupport.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

constexpr std::array<std::string_view, 1> kExtensions = {".tab"};

// Reads `bytes` into `target`, made active first. The sections the read added, with `target`
// first; none when the read failed (they are taken out again).
std::vector<CSystemArray*> ReadInto(CSystemArray& target, std::string_view bytes, const std::string& path,
                                    CBriotabDoc& doc, const CSystemArray* activeBefore) {
  doc.SetActiveSection(doc.sections.IndexOf(&target));
  TabImport tab(doc);
  std::vector<CSystemArray*> sections = {&target};
  const std::vector<CSystemArray*>& more = tab.AddedSectionList();
  const int read = tab.ReadText(bytes, path);
  sections.insert(sections.end(), more.begin(), more.end());
  if (read != 0) return sections;
  RemoveSections(doc, sections, activeBefore);
  return {};
}

}  // namespace

std::span<const std::string_view> TabImporter::Extensions() const { return kExtensions; }

bool TabImporter::TakesSignature(std::span<const uint8_t>) const { return false; }

std::string_view TabImporter::PromptTitle() const { return TabImport::kPromptTitle; }

std::string_view TabImporter::FilePattern() const { return TabImport::kFilePattern; }

size_t TabImporter::ImportSections(const std::string& path, CBriotabDoc& doc) const { return ImportTabFile(path, doc); }

size_t ImportTabFile(const std::string& path, CBriotabDoc& doc) {
  const ImportReport report(path);
  const std::optional<std::string> bytes = OpenImportFile(path, TabImport::kOpenFailedMessage);
  if (!bytes) return 0;
  const CSystemArray* activeBefore = ActiveSectionOf(doc);
  CSystemArray* target = AddSectionWithWizard(doc);
  if (target == nullptr) return 0;
  return ReadInto(*target, *bytes, path, doc, activeBefore).size();
}

size_t ImportTabFiles(const std::vector<std::string>& files, CBriotabDoc& doc) {
  if (files.empty()) return 0;
  const ImportReport report(std::filesystem::path(files.front()).parent_path().string());
  const CSystemArray* activeBefore = ActiveSectionOf(doc);
  CSystemArray* target = AddSectionWithWizard(doc);
  if (target == nullptr) return 0;
  // Every file after the first gets a section of its own with the wizard's instrument.
  FixedSectionWizard sameInstrument(*target->definitions.at(0));
  size_t added = 0;
  for (const std::string& path : files) {
    const std::optional<std::string> bytes = OpenImportFile(path, TabImport::kOpenFailedMessage);
    if (!bytes) continue;
    if (target == nullptr) target = doc.AppendSection(sameInstrument.BuildSection(doc));
    const size_t read = ReadInto(*target, *bytes, path, doc, activeBefore).size();
    if (read == 0) {
      target = nullptr;  // the section went with the failed read
      continue;
    }
    added += read;
    target = nullptr;
  }
  if (target != nullptr) RemoveSections(doc, {target}, activeBefore);
  return added;
}

}  // namespace vornel
