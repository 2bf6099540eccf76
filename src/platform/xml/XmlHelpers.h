#pragma once
// Shared helpers of every XML reader and writer: the strict element check, text elements,
// node copies, the element-name list and attributes in the number forms the files use.

#include <tinyxml2.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

// Raised when an element is missing or misplaced. Ends the read in progress; the document
// check and the document readers turn it into a refusal.
class XmlTagMismatch : public std::runtime_error {
 public:
  explicit XmlTagMismatch(const std::string& what, bool shown = false) : std::runtime_error(what), shown_(shown) {}
  static constexpr int kCode = -5;
  int Code() const { return kCode; }
  // Whether the user has seen the mismatch message already.
  bool Shown() const { return shown_; }

 private:
  bool shown_;
};

std::string TagMismatchMessage(std::string_view found, std::string_view expected);

// Returns `node` as an element when it is an element named `expected` (case-sensitive).
// A null node or a node that is not an element raises XmlTagMismatch without a message; an
// element of another name shows the mismatch message first.
const tinyxml2::XMLElement* ExpectChildElement(const tinyxml2::XMLNode* node, std::string_view expected);
tinyxml2::XMLElement* ExpectChildElement(tinyxml2::XMLNode* node, std::string_view expected);
// The same check for a reader that walks the text: `name` is the node's element name, or
// nothing when the node is absent or not an element.
void ExpectElementName(std::optional<std::string_view> name, std::string_view expected);

// A new, unattached element whose text is `text` (no text node when empty).
tinyxml2::XMLElement* AddTextElement(tinyxml2::XMLDocument& doc, const char* name, std::string_view text);

// A copy of `node` and all its descendants, made in `target` and returned unattached.
tinyxml2::XMLNode* DeepCopyXmlNode(const tinyxml2::XMLNode* node, tinyxml2::XMLDocument& target);

// The fixed list of element names the HTML printers choose by.
void LoadElementNameList(std::vector<std::string>& names);
int FindElementName(const std::vector<std::string>& names, std::string_view name);

// The text of an element's first text child, or empty.
std::string ElementText(const tinyxml2::XMLElement* element);

// Attributes in the files' number forms: integers "%d" (the value as a signed 32-bit number),
// unsigned "%u", reals "%.17g"; texts are UTF-8.
void SetIntAttribute(tinyxml2::XMLElement* element, const char* name, int32_t value);
void SetUnsignedAttribute(tinyxml2::XMLElement* element, const char* name, uint32_t value);
void SetRealAttribute(tinyxml2::XMLElement* element, const char* name, double value);
void SetTextAttribute(tinyxml2::XMLElement* element, const char* name, std::string_view text);

// Reading scans into a zero: a missing or unreadable attribute gives 0. Integers keep the
// low 32 bits of what was written ("-1" gives 0xFFFFFFFF, "3.9" gives 3); callers truncate
// to their field width.
int32_t ReadIntAttribute(const tinyxml2::XMLElement* element, const char* name);
uint32_t ReadUnsignedAttribute(const tinyxml2::XMLElement* element, const char* name);
double ReadRealAttribute(const tinyxml2::XMLElement* element, const char* name);
// A real attribute truncated toward zero to a 64-bit integer, of which the low 32 bits are
// kept (the form of unsigned fields written with "%.17g"). Values beyond the 64-bit range and
// NaN give 0.
uint32_t ReadTruncatedRealAttribute(const tinyxml2::XMLElement* element, const char* name);
// 8-bit attribute text: kept when valid UTF-8, otherwise read as Windows-1252.
std::string ReadTextAttribute(const tinyxml2::XMLElement* element, const char* name);
// A flag written as an integer or as "true"/"false": an integer reads as non-zero, "true"
// (also "True", "TRUE") as true, anything else or a missing attribute as false.
bool ReadBoolAttribute(const tinyxml2::XMLElement* element, const char* name);

// Reads the attributes of one element in the forms above, for readers that take many of them:
// each lookup starts after the attribute found last, so attributes read in the order they are
// written cost one comparison each (any order still finds them).
class AttributeReader {
 public:
  explicit AttributeReader(const tinyxml2::XMLElement* element)
      : first_(element != nullptr ? element->FirstAttribute() : nullptr), next_(first_) {}

  // The value of `name`, or null when the element has none.
  const char* Find(const char* name);
  int32_t Int(const char* name) { return static_cast<int32_t>(Unsigned(name)); }
  uint32_t Unsigned(const char* name);
  uint32_t TruncatedReal(const char* name);
  std::string Text(const char* name);

 private:
  const tinyxml2::XMLAttribute* first_;
  const tinyxml2::XMLAttribute* next_;
};

}  // namespace vornel
