#include "model/text/FontStack.h"

#include <algorithm>

#include "model/OwnedArrayRecords.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

void FontStack::Store(ArchiveWriter& ar) const { ar.WriteObjectArray(items()); }

void FontStack::Load(ArchiveReader& ar) { LoadArrayWithoutNulls<dfLogFont>(ar, *this); }

void FontStack::CopyFrom(const FontStack& other) { AssignByIndex<dfLogFont>(*this, other); }

tinyxml2::XMLElement* FontStack::WriteXml(tinyxml2::XMLDocument& doc, std::string_view targetName) const {
  tinyxml2::XMLElement* element = doc.NewElement("font-stack");
  SetTextAttribute(element, "target", targetName);
  SetIntAttribute(element, "count", static_cast<int32_t>(size()));
  int32_t index = 0;
  for (const auto& font : items()) {
    const dfLogFont written = font ? *font : dfLogFont();
    tinyxml2::XMLElement* child = written.WriteXml(doc);
    SetIntAttribute(child, "index", index++);
    element->InsertEndChild(child);
  }
  return element;
}

const tinyxml2::XMLElement* FontStack::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "font-stack");
  const size_t count = std::min<size_t>(ReadUnsignedAttribute(element, "count"), size());
  target = ReadTextAttribute(element, "target");
  const tinyxml2::XMLElement* child = element->FirstChildElement();
  for (size_t i = 0; i < count && child != nullptr; ++i) {
    if (at(i) == nullptr) items()[i] = std::make_unique<dfLogFont>();
    child = at(i)->ReadXml(child);
  }
  return element->NextSiblingElement();
}

}  // namespace vornel
