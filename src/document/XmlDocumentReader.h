#pragma once
// Reading the XML document from its text a part at a time. The text is walked once by the XML
// scanner; the settings, the head of each section (everything but its systems) and each system
// are parsed by tinyxml2 on their own, checked as CheckDocumentXml checks them, read, and freed
// before the next part is parsed, so that a long document never stands as one tree. The
// elements around them (the root, "sections", "systems") are read from their start tags.

#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace vornel {

class CDocumentSettings;
class CSectionArray;

// The text is not well-formed XML, or holds an element beyond the scanner's limits; the text of
// the failure is the parser's complaint with the line.
class XmlParseFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The version numbers the root carries.
struct XmlDocumentVersion {
  int32_t major = 0;
  int32_t minor = 0;
};

// Checks and reads the document in `text` into `settings` and `sections`, which the caller
// makes new and keeps only when the whole document was read. Raises XmlParseFailure,
// XmlTagMismatch (shown already or not, as the check raises it) and whatever the readers raise.
XmlDocumentVersion ReadXmlDocument(std::string_view text, CDocumentSettings& settings, CSectionArray& sections);

}  // namespace vornel
