#include "document/XmlDocumentCheck.h"

#include <string>
#include <string_view>

#include "document/CBriotabDoc.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlScanner.h"

namespace vornel {

namespace {

using tinyxml2::XMLElement;
using tinyxml2::XMLNode;

const XMLNode* FirstChild(const XMLNode* node) { return node != nullptr ? node->FirstChild() : nullptr; }
const XMLNode* Next(const XMLNode* node) { return node != nullptr ? node->NextSibling() : nullptr; }

// Walks `names` along the siblings starting at `node`; returns the last element checked.
const XMLElement* ExpectSequence(const XMLNode* node, std::initializer_list<const char*> names) {
  const XMLElement* element = nullptr;
  for (const char* name : names) {
    element = ExpectChildElement(node, name);
    node = element->NextSibling();
  }
  return element;
}

// `count` consecutive children named `name`; each is handed to `check`.
template <typename Check>
void ExpectCounted(const XMLElement* parent, const char* name, Check check) {
  const int count = ReadIntAttribute(parent, "count");
  const XMLNode* node = parent->FirstChild();
  for (int i = 0; i < count; ++i) {
    if (node == nullptr) throw CountedChildrenMissing(parent->Name(), count, name, i);
    const XMLElement* element = ExpectChildElement(node, name);
    check(element);
    node = element->NextSibling();
  }
}

void CheckInstrumentsXml(const XMLElement* instruments) {
  ExpectCounted(instruments, "instrument", [](const XMLElement* instrument) {
    const XMLNode* font = ExpectChildElement(FirstChild(instrument), "track-text")->NextSibling();
    // The name's font is a "track-font"; our earlier files name the element "name-font".
    const XMLElement* fontElement = font != nullptr ? font->ToElement() : nullptr;
    const bool nameFont = fontElement != nullptr && std::string_view(fontElement->Name()) == "name-font";
    const XMLNode* next = nameFont ? font->NextSibling() : ExpectChildElement(font, "track-font")->NextSibling();
    ExpectSequence(next, {"tablature-definition", "midi-controllers", "key", "notation-font", "ornament-table",
                          "options", "clefs"});
  });
}

void CheckSystemsXml(const XMLElement* systems) {
  ExpectCounted(systems, "system", [](const XMLElement*) {});
}

void CheckSectionXml(const XMLElement* section) { CheckSystemsXml(CheckSectionHeadXml(section)); }

void Refuse(const char* message) {
  Prompts().ShowMessage(message, MessageKind::kError);
  throw XmlTagMismatch(message, true);
}

}  // namespace

XmlTagMismatch CountedChildrenMissing(std::string_view parent, int count, std::string_view child, int held) {
  std::string message = "<";
  message.append(parent).append("> counts ").append(std::to_string(count)).append(" <").append(child);
  message.append("> but holds ").append(std::to_string(held)).append(".");
  return XmlTagMismatch(message);
}

void CheckRootXml(const XMLElement* root) {
  if (root == nullptr || std::string_view(root->Name()) != "VornelTabXML") Refuse("This is not a VornelTabXML document!");
  const char* version = root->Attribute("version");
  if (version == nullptr || *version == '\0') Refuse("No XML version given: is this a valid VornelTabXML file?");
}

void CheckSettingsXml(const XMLElement* settings) {
  const XMLElement* identity = ExpectChildElement(settings->FirstChild(), "identity");
  ExpectChildElement(identity->FirstChild(), "track-texts");
  ExpectSequence(identity->NextSibling(), {"layout", "preliminaries", "associations", "metadata-fonts", "section-fonts"});
}

const XMLElement* CheckSectionHeadXml(const XMLElement* section) {
  const XMLNode* node = FirstChild(section);
  const XMLElement* settings =
      ExpectSequence(node, {"section-texts", "section-layout", "midi-options", "section-settings"});
  const XMLElement* instruments = ExpectChildElement(Next(settings), "instruments");
  CheckInstrumentsXml(instruments);
  const XMLElement* accessories = ExpectChildElement(Next(instruments), "accessories");
  return ExpectChildElement(Next(accessories), "systems");
}

bool CheckDocumentXml(const tinyxml2::XMLDocument& doc, std::string* silentReason) {
  try {
    const XMLElement* root = doc.FirstChildElement();
    CheckRootXml(root);
    const XMLElement* settings = ExpectChildElement(root->FirstChild(), "document-settings");
    CheckSettingsXml(settings);
    const XMLElement* sections = ExpectChildElement(settings->NextSibling(), "sections");
    ExpectCounted(sections, "section", CheckSectionXml);
  } catch (const XmlTagMismatch& mismatch) {
    if (!mismatch.Shown() && silentReason != nullptr) *silentReason = mismatch.what();
    return false;
  } catch (const std::exception& e) {  // anything else that stops the walk
    if (silentReason != nullptr) *silentReason = e.what();
    return false;
  }
  return true;
}

bool ParseXmlFile(XMLWriter& writer) {
  const auto refuse = [](const std::string& reason) {
    Prompts().ShowMessage(std::string(kUnparsableXmlMessage) + "\n" + reason, MessageKind::kError);
    return false;
  };
  std::string error;
  const std::optional<std::string> text = ReadFileText(writer.GetFileName(), CBriotabDoc::kMaxFileBytes, &error);
  if (!text) return refuse(writer.GetFileName() + ":\n" + error);
  if (!ParseCheckedXml(writer, *text, &error)) return refuse(error);
  std::string reason;
  if (CheckDocumentXml(writer, &reason)) return true;
  // The check has shown the messages it has; a part that is simply missing still needs saying.
  if (!reason.empty()) refuse(reason);
  return false;
}

bool PromptAndParseXmlFile(XMLWriter& writer) {
  writer.ClearFlags();
  const auto path = Prompts().PromptOpenFile("Open a VornelTab XML file...", "*.btxml");
  if (!path) return false;
  writer.SetPath(*path);
  return ParseXmlFile(writer);
}

}  // namespace vornel
