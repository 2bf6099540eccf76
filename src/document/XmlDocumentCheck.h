#pragma once
// Loading an XML document file and the structural check that comes before reading it.

#include <tinyxml2.h>

#include <string>
#include <string_view>

#include "platform/xml/XMLWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

inline constexpr std::string_view kUnparsableXmlMessage = "Unable to parse this XML file!";

// Checks the root "VornelTabXML", its version and the order of the top-level elements, of
// each section, each instrument and the systems. Shows its own message and returns false
// when the document may not be read; an element that is simply missing is refused without a
// message, and `silentReason` (when given) then says what was missing.
bool CheckDocumentXml(const tinyxml2::XMLDocument& doc, std::string* silentReason = nullptr);

// The steps of that check, for a reader that takes a document a part at a time. Each raises
// XmlTagMismatch as ExpectChildElement does.
// The root: its name and version (shows its message and raises a mismatch already shown).
void CheckRootXml(const tinyxml2::XMLElement* root);
// The children of "document-settings".
void CheckSettingsXml(const tinyxml2::XMLElement* settings);
// The children of a "section" up to its "systems" element (which may be empty), returned.
const tinyxml2::XMLElement* CheckSectionHeadXml(const tinyxml2::XMLElement* section);
// "<parent> counts N <child> but holds M.": fewer children than the parent's count.
XmlTagMismatch CountedChildrenMissing(std::string_view parent, int count, std::string_view child, int held);

// Loads and parses the writer's file, then checks it. Shows "Unable to parse this XML file!"
// followed by the reason when the file cannot be loaded or parsed, or when the check refused
// it without a message of its own.
bool ParseXmlFile(XMLWriter& writer);

// Asks for an XML document to open, then loads and checks it; false when cancelled.
bool PromptAndParseXmlFile(XMLWriter& writer);

}  // namespace vornel
