#pragma once
// What the two MusicXML printers share: tinyxml2's printer writing into one text, and the
// element helpers they build the output with. Each printer keeps its own element stack, so
// the staff printer starts at the depth of a part inside "score-partwise".

#include <tinyxml2.h>

#include <string>
#include <string_view>

#include "platform/xml/XMLWriter.h"

namespace vornel::musicxml_export {

class MusicXmlPrinterBase : public XmlTextPrinter {
 public:
  MusicXmlPrinterBase(std::string& out, int depth);

  // An element that holds only `text` (an empty text still gives a start and an end tag).
  void WriteTextElement(const char* name, std::string_view text);
  void WriteIntElement(const char* name, int value);
  void WriteEmptyElement(const char* name);
  // "creator" with its "type".
  void WriteCreator(const char* type, std::string_view text);
};

// The first child element of `parent` named `child`, or null.
const tinyxml2::XMLElement* ChildNamed(const tinyxml2::XMLElement* parent, const char* child);
// The `index`-th child element of `parent` (from 0), or null.
const tinyxml2::XMLElement* ChildAt(const tinyxml2::XMLElement* parent, int index);

}  // namespace vornel::musicxml_export
