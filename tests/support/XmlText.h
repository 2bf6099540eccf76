#pragma once
// XML helpers of the record tests: the compact text of a node, for byte-exact comparisons of
// the XML forms, and the check that a reader refuses a misplaced element.

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

#include "platform/xml/XmlHelpers.h"
#include "support/ScriptedPrompts.h"

namespace vornel::testing {

inline std::string PrintXml(const tinyxml2::XMLNode* node) {
  tinyxml2::XMLPrinter printer(nullptr, true);
  node->Accept(&printer);
  return printer.CStr();
}

// Reads `xml` into a new Record and expects the read to be refused after showing `message`;
// an empty message means that nothing is shown (a missing element is refused silently).
template <typename Record>
void ExpectXmlReadRefused(const std::string& xml, const std::string& message) {
  ScriptedPrompts prompts;
  tinyxml2::XMLDocument doc;
  doc.Parse(xml.c_str());
  Record record;
  EXPECT_THROW(record.ReadXml(doc.FirstChildElement()), XmlTagMismatch) << xml;
  EXPECT_EQ(prompts.messages, message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message})
      << xml;
}

}  // namespace vornel::testing
