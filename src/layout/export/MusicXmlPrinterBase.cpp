#include "layout/export/MusicXmlPrinterBase.h"

#include "platform/text/NumberText.h"

namespace vornel::musicxml_export {

MusicXmlPrinterBase::MusicXmlPrinterBase(std::string& out, int depth) : XmlTextPrinter(out, depth) {
  // Every element starts on a line of its own, also the first one this printer writes.
  ClearBuffer(false);
}

void MusicXmlPrinterBase::WriteTextElement(const char* name, std::string_view text) {
  OpenElement(name);
  PushText(std::string(text).c_str());
  CloseElement();
}

void MusicXmlPrinterBase::WriteIntElement(const char* name, int value) {
  WriteTextElement(name, FormatInt(value));
}

void MusicXmlPrinterBase::WriteEmptyElement(const char* name) {
  OpenElement(name);
  CloseElement();
}

void MusicXmlPrinterBase::WriteCreator(const char* type, std::string_view text) {
  OpenElement("creator");
  PushAttribute("type", type);
  PushText(std::string(text).c_str());
  CloseElement();
}

const tinyxml2::XMLElement* ChildNamed(const tinyxml2::XMLElement* parent, const char* child) {
  return parent != nullptr ? parent->FirstChildElement(child) : nullptr;
}

const tinyxml2::XMLElement* ChildAt(const tinyxml2::XMLElement* parent, int index) {
  if (parent == nullptr || index < 0) return nullptr;
  const tinyxml2::XMLElement* child = parent->FirstChildElement();
  for (int i = 0; i < index && child != nullptr; ++i) child = child->NextSiblingElement();
  return child;
}

}  // namespace vornel::musicxml_export
