#include "document/XmlDocumentReader.h"

#include <memory>
#include <optional>
#include <string>

#include "document/CDocumentSettings.h"
#include "document/XmlDocumentCheck.h"
#include "model/score/CSectionArray.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlScanner.h"

namespace vornel {

namespace {

using tinyxml2::XMLElement;
using Node = XmlScanner::Node;

// The scanner and the parser of one document, with the scanner's and the parser's failures
// raised as XmlParseFailure.
class PartReader {
 public:
  explicit PartReader(std::string_view text) : scanner_(text), parser_(scanner_) {}

  Node Next() {
    const Node node = scanner_.Next();
    if (node == Node::kFailed) throw XmlParseFailure(scanner_.Error());
    return node;
  }
  // The node `node` (Next gave it) must be an element named `name`, as the check walks nodes.
  void Expect(Node node, std::string_view name) const {
    ExpectElementName(node == Node::kElement ? std::optional(scanner_.CurrentTag().name) : std::nullopt, name);
  }
  void ExpectNext(std::string_view name) { Expect(Next(), name); }
  const XmlScanner::Tag& Tag() const { return scanner_.CurrentTag(); }
  void Enter() { scanner_.Enter(); }
  void SkipRest() {
    if (!scanner_.SkipRest()) throw XmlParseFailure(scanner_.Error());
  }
  // The element whose start tag was given last, parsed; its tree lives until the next parse.
  const XMLElement* Take() {
    const std::string_view part = scanner_.TakeElement();
    if (part.empty()) throw XmlParseFailure(scanner_.Error());
    return Parsed(parser_.Parse(part));
  }
  const XMLElement* StartTag() { return Parsed(parser_.ParseStartTag(Tag())); }
  const XMLElement* Parse(std::string_view built, std::string_view origin) { return Parsed(parser_.Parse(built, origin)); }

 private:
  const XMLElement* Parsed(const XMLElement* element) const {
    if (element == nullptr) throw XmlParseFailure(parser_.Error());
    return element;
  }

  XmlScanner scanner_;
  XmlPartParser parser_;
};

// The counted children named `child` of the element entered last (`parent`), each handed to
// `read` at its start tag; then the rest of the parent is passed over.
template <typename Read>
void ReadCounted(PartReader& reader, std::string_view parent, int32_t count, std::string_view child, Read read) {
  for (int32_t i = 0; i < count; ++i) {
    const Node node = reader.Next();
    if (node == Node::kEnd) throw CountedChildrenMissing(parent, count, child, i);
    reader.Expect(node, child);
    read();
  }
  reader.SkipRest();
}

// A section, its start tag given last: its head (the start tag and the children before
// "systems", with "systems" written empty) is parsed as one part, each system as another.
std::unique_ptr<CSystemArray> ReadSection(PartReader& reader) {
  const XmlScanner::Tag section = reader.Tag();
  std::string head(section.text);
  std::optional<XmlScanner::Tag> systems;
  if (!section.empty) {
    reader.Enter();
    const char* childrenStart = section.text.data() + section.text.size();
    const char* childrenEnd = childrenStart;
    for (Node node = reader.Next(); node != Node::kEnd; node = reader.Next()) {
      if (node == Node::kElement && reader.Tag().name == "systems") {
        systems = reader.Tag();
        childrenEnd = systems->text.data();
        break;
      }
      // Any other child is passed over by the next step and parsed again with the head.
    }
    if (!systems) childrenEnd = reader.Tag().text.data();  // the section's end tag
    head.append(childrenStart, childrenEnd);
    if (systems) {
      head.append(systems->text.substr(0, systems->text.size() - (systems->empty ? 2 : 1)));
      head += "/>";
    }
    head += "</" + std::string(section.name) + ">";
  }

  auto read = std::make_unique<CSystemArray>();
  const XMLElement* element = reader.Parse(head, section.text);
  CheckSectionHeadXml(element);
  const int32_t count = ReadIntAttribute(read->ReadXmlHead(element), "count");
  if (!systems || systems->empty) {
    if (count > 0) throw CountedChildrenMissing("systems", count, "system", 0);
  } else {
    reader.Enter();
    ReadCounted(reader, "systems", count, "system", [&] { read->ReadSystemXml(reader.Take()); });
  }
  if (!section.empty) reader.SkipRest();  // what follows the systems in the section
  read->FinishXmlRead();
  return read;
}

}  // namespace

XmlDocumentVersion ReadXmlDocument(std::string_view text, CDocumentSettings& settings, CSectionArray& sections) {
  PartReader reader(text);
  // The root is the first element of the text.
  Node node = reader.Next();
  while (node == Node::kOther) node = reader.Next();
  const std::string_view body = text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
  if (node != Node::kElement && body.find_first_not_of(" \t\n\r\v\f") == std::string_view::npos) {
    throw XmlParseFailure(XmlErrorText(tinyxml2::XML_ERROR_EMPTY_DOCUMENT, 0));
  }
  const XMLElement* root = node == Node::kElement ? reader.StartTag() : nullptr;
  CheckRootXml(root);
  XmlDocumentVersion version;
  version.major = ReadIntAttribute(root, "major");
  version.minor = ReadIntAttribute(root, "minor");
  reader.Enter();

  reader.ExpectNext("document-settings");
  const XMLElement* settingsElement = reader.Take();
  CheckSettingsXml(settingsElement);
  settings.ReadXml(settingsElement);

  reader.ExpectNext("sections");
  const XMLElement* sectionsElement = reader.StartTag();
  const int32_t count = ReadIntAttribute(sectionsElement, "count");
  sections.ResetSections();
  sections.activeSection = ReadIntAttribute(sectionsElement, "active-section");
  reader.Enter();
  ReadCounted(reader, "sections", count, "section", [&] { sections.push_back(ReadSection(reader)); });
  sections.ClampActiveSection();
  sections.Renumber();

  reader.SkipRest();  // the rest of the root
  reader.SkipRest();  // the rest of the text
  return version;
}

}  // namespace vornel
