#include "import/musicxml/MusicXMLImportDriver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>

#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/MxlContainer.h"
#include "import/musicxml/xml2vornelvisitor.h"
#include "musicxml/reader/xmlreader.h"
#include "musicxml/visitors/browser.h"
#include "platform/BuildBudget.h"
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

void partlist::visitStart(S<ElementType("part-list")>&) { inPartList_ = true; }

void partlist::visitEnd(S<ElementType("part-list")>&) {
  partCount = static_cast<int>(parts.size());
  inPartList_ = false;
}

void partlist::visitStart(S<ElementType("score-part")>& elt) {
  currentId_ = elt->getAttributeValue("id");
  current();
}

void partlist::visitStart(S<ElementType("part-name")>& elt) { current().partName = elt; }

void partlist::visitStart(S<ElementType("part-abbreviation")>& elt) { current().abbreviation = elt->getValue(); }

// A display element's texts, one after the other, stand for the name or the abbreviation.
void partlist::visitStart(S<ElementType("part-name-display")>&) {
  if (!inPartList_) return;
  shownText_ = &current().shownName;
  shownText_->clear();
}

void partlist::visitEnd(S<ElementType("part-name-display")>&) { shownText_ = nullptr; }

void partlist::visitStart(S<ElementType("part-abbreviation-display")>&) {
  if (!inPartList_) return;
  shownText_ = &current().shownAbbreviation;
  shownText_->clear();
}

void partlist::visitEnd(S<ElementType("part-abbreviation-display")>&) { shownText_ = nullptr; }

void partlist::visitStart(S<ElementType("display-text")>& elt) {
  if (shownText_ != nullptr) *shownText_ += elt->getValue();
}

// An accidental among the texts, as its sign.
void partlist::visitStart(S<ElementType("accidental-text")>& elt) {
  if (shownText_ == nullptr) return;
  static const std::map<std::string, std::string> kSigns = {
      {"sharp", "\u266F"}, {"flat", "\u266D"}, {"natural", "\u266E"}, {"double-sharp", "\U0001D12A"},
      {"flat-flat", "\U0001D12B"}, {"sharp-sharp", "\u266F\u266F"}};
  const auto found = kSigns.find(elt->getValue());
  if (found != kSigns.end()) *shownText_ += found->second;
}

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
  failure_.clear();
  root_ = nullptr;
  converted_ = nullptr;
  partList_ = partlist();
  const auto fail = [this](std::string reason) {
    failure_ = std::move(reason);
    return false;
  };

  std::FILE* file = OpenFileForReading(path);
  if (file == nullptr) return fail("the file cannot be opened");
  uint8_t head[4] = {};
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);

  xmlreader reader;
  STXMLFile parsed;
  if (HasZipSignature(std::span(head, got))) {
    // The score of a compressed file is inflated in memory, never onto the disk.
    std::string score;
    std::string reason;
    if (!ExtractMxlScore(path, kMaxScoreBytes, score, reason)) return fail(reason);
    if (score.empty()) return fail("the score is empty");
    const HeldBuild held(score.size());
    std::FILE* stream = fmemopen(score.data(), score.size(), "rb");
    if (stream == nullptr) return fail("the score cannot be read");
    parsed = reader.readStream(stream);
    std::fclose(stream);
  } else {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxScoreBytes) return fail("the file is larger than " + std::to_string(kMaxScoreBytes) + " bytes");
    parsed = reader.readFile(path.c_str());
  }
  if (!parsed) return fail(reader.lastError().empty() ? "it cannot be parsed" : reader.lastError());
  const Sxmlelement root = parsed->getRoot();
  if (!root || root->getType() != ElementType("score-partwise")) {
    return fail("it is not a partwise MusicXML score" + (root ? " (its root is <" + root->getName() + ">)" : std::string()));
  }
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
