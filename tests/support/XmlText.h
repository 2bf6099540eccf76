#pragma once
// Compact text of an XML node and everything below it, for byte-exact comparisons of the
// XML forms.

#include <tinyxml2.h>

#include <string>

namespace vornel::testing {

inline std::string PrintXml(const tinyxml2::XMLNode* node) {
  tinyxml2::XMLPrinter printer(nullptr, true);
  node->Accept(&printer);
  return printer.CStr();
}

}  // namespace vornel::testing
