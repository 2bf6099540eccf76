#include "import/musicxml/MusicXMLImportDriver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "document/zip/ZipBundle.h"
#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/MxlContainer.h"
#include "import/musicxml/xml2vornelvisitor.h"
#include "musicxml/reader/xmlreader.h"
#include "musicxml/visitors/browser.h"
#include "platform/io/FileIO.h"

namespace vornel {

using namespace MusicXML2;

// ---------------------------------------------------------------------------------------------
// The part list

std::string partlist::workText() const { return workNumber.empty() ? workTitle : workTitle + " -- " + workNumber; }

PartRecord& partlist::current() {
  PartRecord& record = parts[currentId_];
  record.id = currentId_;
  return record;
}

void partlist::visitEnd(S<ElementType("part-list")>&) { partCount = static_cast<int>(parts.size()); }

void partlist::visitStart(S<ElementType("score-part")>& elt) {
  currentId_ = elt->getAttributeValue("id");
  current();
}

void partlist::visitStart(S<ElementType("part-name")>& elt) { current().partName = elt; }

void partlist::visitStart(S<ElementType("instrument-name")>& elt) { current().name = elt->getValue(); }

void partlist::visitStart(S<ElementType("midi-instrument")>& elt) {
  current().program = elt->getChildIntValue(ElementType("midi-program"), 0);
}

void partlist::visitStart(S<ElementType("movement-title")>& elt) { movementTitle = elt->getValue(); }

void partlist::visitStart(S<ElementType("creator")>& elt) {
  const std::string type = elt->getAttributeValue("type");
  if (type == "Composer" || type == "composer") {
    composer = elt->getValue();
  } else {
    otherCreators[type] = elt->getValue();
  }
}

void partlist::visitStart(S<ElementType("work-title")>& elt) { workTitle = elt->getValue(); }

void partlist::visitStart(S<ElementType("work-number")>& elt) { workNumber = elt->getValue(); }

// ---------------------------------------------------------------------------------------------
// The driver

bool MusicXMLImportDriver::read(const std::string& path) {
  fileName_ = path;
  root_ = nullptr;
  converted_ = nullptr;
  partList_ = partlist();

  std::FILE* file = OpenFileForReading(path);
  if (file == nullptr) return false;
  uint8_t head[4] = {};
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);

  TemporaryFolder folder;
  std::string scorePath = path;
  if (HasZipSignature(std::span(head, got))) {
    if (!folder.Create()) return false;
    const std::optional<std::string> extracted = ExtractMxlScore(path, folder, kMaxScoreBytes);
    if (!extracted) return false;
    scorePath = *extracted;
  } else {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxScoreBytes) return false;
  }

  xmlreader reader;
  const STXMLFile parsed = reader.readFile(scorePath.c_str());
  if (!parsed) return false;
  const Sxmlelement root = parsed->getRoot();
  if (!root || root->getType() != ElementType("score-partwise")) return false;
  root_ = root;
  typed_tree_browser(&partList_).browse(*root_);
  return true;
}

std::vector<PartRecord> MusicXMLImportDriver::parts() const {
  std::vector<PartRecord> list;
  if (!root_ || partList_.partCount == 0) return list;
  for (const Sxmlelement& child : root_->elements()) {
    if (!child || child->getType() != ElementType("part")) continue;
    if (list.size() == kMaxParts) {
      ImportWarning("warning: only the first 128 parts are imported");
      break;
    }
    const std::string id = child->getAttributeValue("id");
    const auto found = partList_.parts.find(id);
    PartRecord record = found != partList_.parts.end() ? found->second : PartRecord{};
    record.id = id;
    list.push_back(std::move(record));
  }
  return list;
}

Svornelelement MusicXMLImportDriver::convert() {
  if (!root_) return nullptr;
  // The driver's options: no measure comments, stems and bars asked for.
  xml2vornelvisitor converter(false, true, true);
  converted_ = converter.convert(root_);
  return flattenTree(converted_);
}

}  // namespace vornel
