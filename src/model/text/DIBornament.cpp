#include "model/text/DIBornament.h"

#include "model/StoredPath.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

DIBornament::DIBornament() {
  text = "Caption";
  dx = 50;
  dy = 50;
}

bool DIBornament::operator==(const DIBornament& o) const {
  return CTrackText::operator==(o) && autoIndent == o.autoIndent && indentedStaves == o.indentedStaves &&
         indentations == o.indentations && path == o.path && sizePercent == o.sizePercent &&
         captionPlacement == o.captionPlacement && active == o.active && mode == o.mode;
}

void DIBornament::Store(ArchiveWriter& ar) const {
  CTrackText::Store(ar);
  ar.WriteU32(active);
  // Every reader of the record places the caption below the picture, whatever it holds: the
  // record says so, and a record written again after reading keeps its bytes. An exact copy
  // keeps the placement.
  ar.WriteU32(ar.ExactCopy() ? captionPlacement : kCaptionBelow);
  ar.WriteText(path);
  ar.WriteU32(sizePercent);
  ar.WriteU32(indentations);
  ar.WriteU32(indentedStaves);
  ar.WriteU32(autoIndent);
}

void DIBornament::Load(ArchiveReader& ar) {
  CTrackText::Load(ar);
  active = ar.ReadU32();
  captionPlacement = ar.ReadU32();
  path = ar.ReadText();
  sizePercent = ar.ReadU32();
  indentations = ar.ReadU32();
  indentedStaves = ar.ReadU32();
  autoIndent = ar.ReadU32();
  if (!ar.ExactCopy()) captionPlacement = kCaptionBelow;
}

tinyxml2::XMLElement* DIBornament::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("dib-image");
  if (path.empty()) {
    SetIntAttribute(element, "empty", 1);
    return element;
  }
  const SplitPath parts = SplitStoredPath(path);
  SetTextAttribute(element, "name", parts.name);
  SetTextAttribute(element, "path", parts.folder);
  SetUnsignedAttribute(element, "size", sizePercent);
  SetIntAttribute(element, "active", static_cast<int32_t>(active));
  element->InsertEndChild(CTrackText::WriteXml(doc));
  tinyxml2::XMLElement* format = doc.NewElement("format");
  SetIntAttribute(format, "active", static_cast<int32_t>(active));
  SetUnsignedAttribute(format, "indentations", indentations);
  SetUnsignedAttribute(format, "indented-staves", indentedStaves);
  SetIntAttribute(format, "auto-indent", static_cast<int32_t>(autoIndent));
  element->InsertEndChild(format);
  return element;
}

const tinyxml2::XMLElement* DIBornament::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  const std::string name = ReadTextAttribute(element, "name");
  if (name.empty()) return element->NextSiblingElement();
  const tinyxml2::XMLElement* format = CTrackText::ReadXml(element->FirstChildElement());
  path = ReadTextAttribute(element, "path") + name;
  sizePercent = ReadUnsignedAttribute(element, "size");
  active = ReadBoolAttribute(element, "active") ? 1 : 0;
  if (format != nullptr) {
    active = ReadBoolAttribute(format, "active") ? 1 : 0;
    indentations = ReadUnsignedAttribute(format, "indentations");
    indentedStaves = ReadUnsignedAttribute(format, "indented-staves");
    autoIndent = ReadBoolAttribute(format, "auto-indent") ? 1 : 0;
  }
  return element->NextSiblingElement();
}

}  // namespace vornel
