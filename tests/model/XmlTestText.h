#pragma once
// Compact text of an element, for byte-exact comparisons of XML forms.

#include <tinyxml2.h>

#include <string>

namespace vornel::testing {

inline std::string CompactXml(tinyxml2::XMLDocument& doc, tinyxml2::XMLElement* element) {
  doc.InsertEndChild(element);
  tinyxml2::XMLPrinter printer(nullptr, true);
  element->Accept(&printer);
  return printer.CStr();
}

}  // namespace vornel::testing
