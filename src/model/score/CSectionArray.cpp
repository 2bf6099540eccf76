#include "model/score/CSectionArray.h"

#include <algorithm>

#include "model/OwnedArrayRecords.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

std::string CSectionArray::GetSectionLabel(size_t i) const {
  const CSystemArray& section = *at(i);
  const std::string& title = section.Title().text;
  return section.excluded != 0 ? std::string(kExcludedPrefix) + title : title;
}

int CSectionArray::DeleteSection(size_t i) {
  if (size() < 2) return 0;
  erase(i);
  Renumber();
  activeSection = std::min(activeSection, static_cast<int32_t>(size()) - 1);
  return 1;
}

void CSectionArray::MoveSection(size_t from, size_t to) {
  if (from == to) return;
  std::unique_ptr<CSystemArray> section = release(from);
  insert(std::min(to, size()), std::move(section));
  Renumber();
}

void CSectionArray::ResetSections() {
  clear();
  activeSection = -1;
}

// A line deletes its chords with itself: deleting the sections deletes all their music.
void CSectionArray::DeleteAllSections() { ResetSections(); }

void CSectionArray::ApplyCommandToAllSections(ClearCommand command) {
  for (auto& section : items()) {
    if (section != nullptr) section->ApplyCommandToAllLines(command);
  }
}

void CSectionArray::Renumber(size_t from) {
  for (size_t position = from; position < size(); ++position) {
    if (CSystemArray* section = at(position)) section->index = static_cast<int32_t>(position);
  }
}

void CSectionArray::ClampActiveSection() {
  activeSection = empty() ? -1 : std::clamp(activeSection, 0, static_cast<int32_t>(size()) - 1);
}

void CSectionArray::Store(ArchiveWriter& ar) const {
  ar.WriteObjectArray(items());
  ar.WriteI32(activeSection);
}

void CSectionArray::Load(ArchiveReader& ar) {
  OwnedArray<CSystemArray> read;
  LoadArrayOfParts(ar, read);
  const int32_t active = ar.ReadI32();
  static_cast<OwnedArray<CSystemArray>&>(*this) = std::move(read);
  activeSection = active;
  ClampActiveSection();
  Renumber();
}

tinyxml2::XMLElement* CSectionArray::WriteXml(tinyxml2::XMLDocument& doc) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out); });
}

void CSectionArray::WriteXml(XmlSink& out) const {
  out.Open("sections");
  out.Int("count", static_cast<int32_t>(size()));
  out.Int("active-section", activeSection);
  int32_t position = 0;
  for (const auto& section : items()) section->WriteXml(out, position++);
  out.Close();
}

const tinyxml2::XMLElement* CSectionArray::ReadXml(const tinyxml2::XMLElement* element) {
  ResetSections();
  if (element == nullptr) return nullptr;
  const int32_t count = ReadIntAttribute(element, "count");
  activeSection = ReadIntAttribute(element, "active-section");
  const tinyxml2::XMLElement* child = element->FirstChildElement();
  for (int32_t i = 0; i < count && child != nullptr; ++i) {
    auto section = std::make_unique<CSystemArray>();
    child = section->ReadXml(child);
    push_back(std::move(section));
  }
  ClampActiveSection();
  Renumber();
  return element->NextSiblingElement();
}

tinyxml2::XMLElement* CSectionArray::WriteMetadataXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("sections");
  SetIntAttribute(element, "count", static_cast<int32_t>(size()));
  for (const auto& section : items()) element->InsertEndChild(section->WriteMetadataXml(doc));
  return element;
}

}  // namespace vornel
