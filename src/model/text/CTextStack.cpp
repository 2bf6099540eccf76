#include "model/text/CTextStack.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/xml/XmlHelpers.h"

namespace vornel {

tinyxml2::XMLElement* CTextStack::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("track-texts");
  SetIntAttribute(element, "count", static_cast<int32_t>(size()));
  for (const auto& text : items()) {
    if (text) element->InsertEndChild(text->WriteXml(doc));
  }
  return element;
}

const tinyxml2::XMLElement* CTextStack::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "track-texts");
  const int32_t count = ReadIntAttribute(element, "count");
  if (count > 0 && static_cast<size_t>(count) > size()) {
    throw std::out_of_range("track-texts count " + std::to_string(count) + " beyond the " +
                            std::to_string(size()) + " texts held");
  }
  const tinyxml2::XMLElement* child = element->FirstChildElement();
  for (int32_t i = 0; i < count && child != nullptr; ++i) {
    CTrackText* text = at(static_cast<size_t>(i));
    child = text != nullptr ? text->ReadXml(child) : child->NextSiblingElement();
  }
  return element->NextSiblingElement();
}

tinyxml2::XMLElement* CTextStack::WriteFontsXml(tinyxml2::XMLDocument& doc, const char* name) const {
  tinyxml2::XMLElement* element = doc.NewElement(name);
  SetIntAttribute(element, "count", static_cast<int32_t>(size()));
  for (const auto& text : items()) {
    if (text) element->InsertEndChild(text->font.WriteXml(doc, "track-font", text->descriptor));
  }
  return element;
}

const tinyxml2::XMLElement* CTextStack::ReadFontsXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  const int32_t count = ReadIntAttribute(element, "count");
  const size_t readable = count > 0 ? std::min(static_cast<size_t>(count), size()) : 0;
  const tinyxml2::XMLElement* child = element->FirstChildElement();
  for (size_t i = 0; i < readable && child != nullptr; ++i) {
    CTrackText* text = at(i);
    child = text != nullptr ? text->font.ReadXml(child) : child->NextSiblingElement();
  }
  return element->NextSiblingElement();
}

void CTextStack::CalcTextRects(int32_t left, int32_t top, int32_t right, int32_t bottom, const Measure& measure) {
  for (const auto& text : items()) {
    if (!text || text->flags == 0 || text->IsPicture()) continue;
    text->size = measure(*text);
    text->span = {std::max(left, right), std::max(top, bottom)};
    text->x = left + (right - left) / 2 - text->size.cx / 2;
  }
}

void CTextStack::ClearTexts() {
  for (const auto& text : items()) {
    if (text) text->text.clear();
  }
}

void CTextStack::CopyFormatFrom(const CTextStack& other) {
  const size_t count = std::min(size(), other.size());
  for (size_t i = 0; i < count; ++i) {
    if (at(i) != nullptr && other.at(i) != nullptr) at(i)->font = other.at(i)->font;
  }
}

}  // namespace vornel
