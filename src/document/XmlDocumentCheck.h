#pragma once
// Loading an XML document file and the structural check that comes before reading it.

#include <tinyxml2.h>

#include "platform/xml/XMLWriter.h"

namespace vornel {

// Checks the root "VornelTabXML", its version and the order of the top-level elements, of
// each section, each instrument and the systems. Shows its own message and returns false
// when the document may not be read.
bool CheckDocumentXml(const tinyxml2::XMLDocument& doc);

// Loads and parses the writer's file, then checks it. Shows "Unable to parse this XML file!"
// when the file cannot be loaded or parsed.
bool ParseXmlFile(XMLWriter& writer);

// Asks for an XML document to open, then loads and checks it; false when cancelled.
bool PromptAndParseXmlFile(XMLWriter& writer);

}  // namespace vornel
