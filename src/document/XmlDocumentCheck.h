#pragma once
// Loading an XML document file and the structural check that comes before reading it.

#include <tinyxml2.h>

#include <string>
#include <string_view>

#include "platform/xml/XMLWriter.h"

namespace vornel {

inline constexpr std::string_view kUnparsableXmlMessage = "Unable to parse this XML file!";

// Checks the root "VornelTabXML", its version and the order of the top-level elements, of
// each section, each instrument and the systems. Shows its own message and returns false
// when the document may not be read; an element that is simply missing is refused without a
// message, and `silentReason` (when given) then says what was missing.
bool CheckDocumentXml(const tinyxml2::XMLDocument& doc, std::string* silentReason = nullptr);

// Loads and parses the writer's file, then checks it. Shows "Unable to parse this XML file!"
// followed by the reason when the file cannot be loaded or parsed, or when the check refused
// it without a message of its own.
bool ParseXmlFile(XMLWriter& writer);

// Asks for an XML document to open, then loads and checks it; false when cancelled.
bool PromptAndParseXmlFile(XMLWriter& writer);

}  // namespace vornel
