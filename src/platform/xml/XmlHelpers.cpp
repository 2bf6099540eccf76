#include "platform/xml/XmlHelpers.h"

#include <array>
#include <cstring>

#include "platform/UserPrompts.h"
#include "platform/text/NumberText.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr std::array<const char*, 50> kElementNames = {
    "DocumentGroup", "synopsis", "document-title", "document-author", "documents", "document",
    "metadata", "track-texts", "track-text", "sections", "section", "section-texts",
    "section-settings", "signature", "tempo", "key", "instruments", "instrument", "midi-file",
    "associations", "association", "vornel-document", "document-settings", "identity",
    "preliminaries", "title-elements", "rtf-track-text", "preface", "dib-image", "rtf-text",
    "facsimiles", "image", "div", "font", "b", "i", "p", "ulayout", "margins", "print-setup",
    "pagination", "section-options", "format", "font-stack", "track-font", "mlf", "contents",
    "titlepage-fonts", "braille-settings", "metadata-fonts"};

uint32_t UnsignedOf(const char* text) {
  uint32_t value = 0;
  if (text != nullptr) ScanInt(text, value);
  return value;
}

double RealOf(const char* text) {
  double value = 0;
  if (text != nullptr) ScanReal(text, value);
  return value;
}

uint32_t TruncatedOf(double value) {
  // NaN fails both comparisons.
  if (!(value > -9.2e18 && value < 9.2e18)) return 0;
  return static_cast<uint32_t>(static_cast<int64_t>(value));
}

std::string TextOf(const char* text) { return text != nullptr ? Decode8BitText(text) : std::string(); }

}  // namespace

std::string TagMismatchMessage(std::string_view found, std::string_view expected) {
  return "Mismatch error on tag: <" + std::string(found) + "> should be <" + std::string(expected) + ">";
}

void ExpectElementName(std::optional<std::string_view> name, std::string_view expected) {
  if (!name) throw XmlTagMismatch("The element <" + std::string(expected) + "> is missing.");
  if (expected != *name) {
    const std::string message = TagMismatchMessage(*name, expected);
    Prompts().ShowMessage(message, MessageKind::kError);
    throw XmlTagMismatch(message, true);
  }
}

const tinyxml2::XMLElement* ExpectChildElement(const tinyxml2::XMLNode* node, std::string_view expected) {
  const tinyxml2::XMLElement* element = node != nullptr ? node->ToElement() : nullptr;
  ExpectElementName(element != nullptr ? std::optional<std::string_view>(element->Name()) : std::nullopt, expected);
  return element;
}

tinyxml2::XMLElement* ExpectChildElement(tinyxml2::XMLNode* node, std::string_view expected) {
  return const_cast<tinyxml2::XMLElement*>(
      ExpectChildElement(static_cast<const tinyxml2::XMLNode*>(node), expected));
}

tinyxml2::XMLElement* AddTextElement(tinyxml2::XMLDocument& doc, const char* name, std::string_view text) {
  tinyxml2::XMLElement* element = doc.NewElement(name);
  if (!text.empty()) element->SetText(std::string(text).c_str());
  return element;
}

tinyxml2::XMLNode* DeepCopyXmlNode(const tinyxml2::XMLNode* node, tinyxml2::XMLDocument& target) {
  // Iterative, so that a deep tree cannot exhaust the stack.
  struct Pending {
    const tinyxml2::XMLNode* source;
    tinyxml2::XMLNode* copyParent;
  };
  tinyxml2::XMLNode* root = node->ShallowClone(&target);
  std::vector<Pending> pending;
  for (const tinyxml2::XMLNode* child = node->LastChild(); child; child = child->PreviousSibling()) {
    pending.push_back({child, root});
  }
  while (!pending.empty()) {
    const Pending item = pending.back();
    pending.pop_back();
    tinyxml2::XMLNode* copy = item.source->ShallowClone(&target);
    item.copyParent->InsertEndChild(copy);
    for (const tinyxml2::XMLNode* child = item.source->LastChild(); child; child = child->PreviousSibling()) {
      pending.push_back({child, copy});
    }
  }
  return root;
}

void LoadElementNameList(std::vector<std::string>& names) {
  for (const char* name : kElementNames) names.emplace_back(name);
}

int FindElementName(const std::vector<std::string>& names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  return -1;
}

std::string ElementText(const tinyxml2::XMLElement* element) {
  const char* text = element != nullptr ? element->GetText() : nullptr;
  return text != nullptr ? std::string(text) : std::string();
}

void SetIntAttribute(tinyxml2::XMLElement* element, const char* name, int32_t value) {
  NumberBuffer buffer;
  element->SetAttribute(name, FormatInt(value, buffer));
}

void SetUnsignedAttribute(tinyxml2::XMLElement* element, const char* name, uint32_t value) {
  NumberBuffer buffer;
  element->SetAttribute(name, FormatUnsigned(value, buffer));
}

void SetRealAttribute(tinyxml2::XMLElement* element, const char* name, double value) {
  NumberBuffer buffer;
  element->SetAttribute(name, FormatReal(value, buffer));
}

void SetTextAttribute(tinyxml2::XMLElement* element, const char* name, std::string_view text) {
  element->SetAttribute(name, std::string(text).c_str());
}

uint32_t ReadUnsignedAttribute(const tinyxml2::XMLElement* element, const char* name) {
  return UnsignedOf(element != nullptr ? element->Attribute(name) : nullptr);
}

int32_t ReadIntAttribute(const tinyxml2::XMLElement* element, const char* name) {
  return static_cast<int32_t>(ReadUnsignedAttribute(element, name));
}

double ReadRealAttribute(const tinyxml2::XMLElement* element, const char* name) {
  return RealOf(element != nullptr ? element->Attribute(name) : nullptr);
}


uint32_t ReadTruncatedRealAttribute(const tinyxml2::XMLElement* element, const char* name) {
  return TruncatedOf(ReadRealAttribute(element, name));
}

std::string ReadTextAttribute(const tinyxml2::XMLElement* element, const char* name) {
  return TextOf(element != nullptr ? element->Attribute(name) : nullptr);
}

const char* AttributeReader::Find(const char* name) {
  if (first_ == nullptr) return nullptr;
  const tinyxml2::XMLAttribute* start = next_ != nullptr ? next_ : first_;
  const tinyxml2::XMLAttribute* attribute = start;
  do {
    const tinyxml2::XMLAttribute* following = attribute->Next();
    if (std::strcmp(attribute->Name(), name) == 0) {
      next_ = following;
      return attribute->Value();
    }
    attribute = following != nullptr ? following : first_;
  } while (attribute != start);
  return nullptr;
}

uint32_t AttributeReader::Unsigned(const char* name) { return UnsignedOf(Find(name)); }

uint32_t AttributeReader::TruncatedReal(const char* name) { return TruncatedOf(RealOf(Find(name))); }

std::string AttributeReader::Text(const char* name) { return TextOf(Find(name)); }

bool ReadBoolAttribute(const tinyxml2::XMLElement* element, const char* name) {
  const char* text = element != nullptr ? element->Attribute(name) : nullptr;
  if (text == nullptr) return false;
  uint32_t value = 0;
  if (ScanInt(text, value)) return value != 0;
  const std::string_view word(text);
  return word == "true" || word == "True" || word == "TRUE";
}

}  // namespace vornel
