#include "document/XmlDocumentCheck.h"

#include <string>
#include <string_view>

#include "document/CBriotabDoc.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/xml/XmlHelpers.h"

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
    if (node == nullptr) {
      throw XmlTagMismatch("<" + std::string(parent->Name()) + "> counts " + std::to_string(count) + " <" + name +
                           "> but holds " + std::to_string(i) + ".");
    }
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

void CheckSectionXml(const XMLElement* section) {
  const XMLNode* node = FirstChild(section);
  const XMLElement* settings =
      ExpectSequence(node, {"section-texts", "section-layout", "midi-options", "section-settings"});
  const XMLElement* instruments = ExpectChildElement(Next(settings), "instruments");
  CheckInstrumentsXml(instruments);
  const XMLElement* accessories = ExpectChildElement(Next(instruments), "accessories");
  const XMLElement* systems = ExpectChildElement(Next(accessories), "systems");
  CheckSystemsXml(systems);
}

}  // namespace

bool CheckDocumentXml(const tinyxml2::XMLDocument& doc, std::string* silentReason) {
  const XMLElement* root = doc.FirstChildElement();
  if (root == nullptr || std::string(root->Name()) != "VornelTabXML") {
    Prompts().ShowMessage("This is not a VornelTabXML document!", MessageKind::kError);
    return false;
  }
  const char* version = root->Attribute("version");
  if (version == nullptr || *version == '\0') {
    Prompts().ShowMessage("No XML version given: is this a valid VornelTabXML file?", MessageKind::kError);
    return false;
  }
  try {
    const XMLElement* settings = ExpectChildElement(root->FirstChild(), "document-settings");
    const XMLElement* identity = ExpectChildElement(settings->FirstChild(), "identity");
    ExpectChildElement(identity->FirstChild(), "track-texts");
    ExpectSequence(identity->NextSibling(),
                   {"layout", "preliminaries", "associations", "metadata-fonts", "section-fonts"});
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
  // Read straight into the parser's own buffer: a large document is never held twice.
  std::FILE* file = OpenRegularFileForReading(writer.GetFileName(), CBriotabDoc::kMaxFileBytes, &error);
  if (file == nullptr) return refuse(writer.GetFileName() + ":\n" + error);
  const tinyxml2::XMLError loaded = writer.LoadFile(file);
  std::fclose(file);
  if (loaded != tinyxml2::XML_SUCCESS) return refuse(writer.ErrorStr());
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
