#include "layout/export/CMusicXMLPrinter.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "model/CSystemArray.h"
#include "platform/text/FormatText.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel::musicxml_export {

namespace {

bool Named(const tinyxml2::XMLElement& element, const char* name) { return std::strcmp(element.Name(), name) == 0; }

}  // namespace

CMusicXMLPrinter::CMusicXMLPrinter(std::string& out, int section, const CSystemArray& sectionModel,
                                   const ExportDate& date)
    : MusicXmlPrinterBase(out, 0), section_(section), sectionModel_(sectionModel), date_(date), out_(out) {
  // The declaration comes first, at the start of the file.
  ClearBuffer(true);
}

bool CMusicXMLPrinter::Visit(const tinyxml2::XMLDeclaration& declaration) {
  PushDeclaration(declaration.Value());
  PushUnknown(kDocumentType);
  OpenElement("score-partwise");
  PushAttribute("version", "2.0");
  return true;
}

bool CMusicXMLPrinter::VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute*) {
  if (Named(element, "document-settings")) return WriteHeader(element);
  if (Named(element, "section")) {
    if (ReadIntAttribute(&element, "index") == section_ && !sectionWritten_) WriteSection(element);
    return false;
  }
  return true;
}

bool CMusicXMLPrinter::VisitExit(const tinyxml2::XMLElement&) { return true; }

bool CMusicXMLPrinter::WriteHeader(const tinyxml2::XMLElement& settings) {
  // The metadata texts in the document's order: title, author, source, transcriber,
  // copyright, comments.
  std::array<std::string, 6> texts;
  const tinyxml2::XMLElement* text = ChildAt(ChildAt(&settings, 0), 0);
  text = text != nullptr ? text->FirstChildElement() : nullptr;
  for (std::string& t : texts) {
    t = ElementText(text);
    if (text != nullptr) text = text->NextSiblingElement();
  }
  const auto& [title, author, source, transcriber, copyright, comments] = texts;

  WriteTextElement("movement-title", title);
  OpenElement("identification");
  WriteCreator("composer", author);
  WriteTextElement("rights", copyright);
  OpenElement("encoding");
  WriteTextElement("software", kSoftware);
  WriteTextElement("encoder", transcriber);
  for (const char* attribute : {"new-system", "new-page"}) {
    OpenElement("supports");
    PushAttribute("attribute", attribute);
    PushAttribute("element", "print");
    PushAttribute("type", "yes");
    PushAttribute("value", "yes");
    CloseElement();
  }
  WriteTextElement("encoding-date", date_.Text());
  CloseElement();  // "encoding"
  WriteTextElement("source", source);
  CloseElement();  // "identification"

  // The defaults are fixed: nothing of the document's page settings enters them.
  OpenElement("defaults");
  OpenElement("scaling");
  WriteTextElement("millimeters", "7.2319");
  WriteIntElement("tenths", 40);
  CloseElement();
  OpenElement("page-layout");
  WriteIntElement("page-height", 1545);
  WriteIntElement("page-width", 1194);
  OpenElement("page-margins");
  PushAttribute("type", "both");
  WriteIntElement("left-margin", 140);
  WriteIntElement("right-margin", 70);
  WriteIntElement("top-margin", 70);
  WriteIntElement("bottom-margin", 70);
  CloseElement();
  CloseElement();  // "page-layout"
  OpenElement("system-layout");
  OpenElement("system-margins");
  WriteIntElement("left-margin", 0);
  WriteIntElement("right-margin", 0);
  CloseElement();
  WriteIntElement("system-distance", 127);
  WriteIntElement("top-system-distance", 127);
  CloseElement();
  OpenElement("word-font");
  PushAttribute("font-family", "Times New Roman");
  PushAttribute("font-size", "8.25");
  CloseElement();
  OpenElement("lyric-font");
  PushAttribute("font-family", "Times New Roman");
  PushAttribute("font-size", "10");
  PushAttribute("name", "verse");
  CloseElement();
  CloseElement();  // "defaults"

  const CreditWords words = {comments, "1124", "1393", "12", "right", "center"};
  WriteCredit(&words, 1);
  return false;
}

void CMusicXMLPrinter::WriteCredit(const CreditWords* words, size_t count) {
  // A "credit" needs words; one without any is left out.
  bool any = false;
  for (size_t i = 0; i < count; ++i) any = any || !words[i].text.empty();
  if (!any) return;
  OpenElement("credit");
  PushAttribute("page", "1");
  for (size_t i = 0; i < count; ++i) {
    const CreditWords& w = words[i];
    if (w.text.empty()) continue;
    OpenElement("credit-words");
    PushAttribute("default-x", w.x);
    PushAttribute("default-y", w.y);
    PushAttribute("font-size", w.size);
    PushAttribute("font-weight", "bold");
    PushAttribute("halign", w.halign);
    PushAttribute("justify", w.justify);
    PushAttribute("valign", "top");
    PushText(w.text.c_str());
    CloseElement();
  }
  CloseElement();
}

void CMusicXMLPrinter::WriteCredits(const tinyxml2::XMLElement* firstText) {
  std::array<CreditWords, 3> words = {{{"", "624", "1500", "14", "center", "center"},
                                       {"", "124", "1450", "12", "left", "left"},
                                       {"", "1124", "1450", "12", "right", "center"}}};
  const tinyxml2::XMLElement* text = firstText;
  for (CreditWords& w : words) {
    w.text = ElementText(text);
    if (text != nullptr) text = text->NextSiblingElement();
  }
  WriteCredit(words.data(), words.size());
}

void CMusicXMLPrinter::WriteSection(const tinyxml2::XMLElement& section) {
  WriteCredits(ChildAt(ChildAt(&section, 0), 0));

  const tinyxml2::XMLElement* instruments = ChildNamed(&section, "instruments");
  const int count = ReadIntAttribute(instruments, "count");
  OpenElement("part-list");
  if (count > 1) {
    OpenElement("part-group");
    PushAttribute("number", "1");
    PushAttribute("type", "start");
    WriteTextElement("group-barline", "yes");
    CloseElement();
  }
  const tinyxml2::XMLElement* definition = instruments != nullptr ? instruments->FirstChildElement() : nullptr;
  for (int i = 0; i < count && definition != nullptr; ++i) definition = WriteScorePart(*definition, i);
  if (count > 1) {
    OpenElement("part-group");
    PushAttribute("number", "1");
    PushAttribute("type", "stop");
    CloseElement();
  }
  CloseElement();  // "part-list"

  const tinyxml2::XMLElement* settings = ChildNamed(&section, "section-settings");
  const tinyxml2::XMLElement* systems = ChildNamed(&section, "systems");
  for (int i = 0; i < count; ++i) {
    const tinyxml2::XMLElement* d = ChildAt(instruments, i);
    if (d == nullptr) break;
    const int staves = ReadIntAttribute(ChildNamed(d, "clefs"), "count");
    for (int j = 0; j < staves; ++j) WritePart(settings, systems, d, i, j);
  }
  CloseElement();  // "score-partwise"
  sectionWritten_ = true;
}

const tinyxml2::XMLElement* CMusicXMLPrinter::WriteScorePart(const tinyxml2::XMLElement& definition, int instrument) {
  const int staves = ReadIntAttribute(ChildNamed(&definition, "clefs"), "count");
  const std::string name = ElementText(definition.FirstChildElement());
  const tinyxml2::XMLElement* midi = ChildNamed(&definition, "midi-controllers");
  const std::string fallback = ReadTextAttribute(midi, "name");
  const int patch = ReadIntAttribute(ChildNamed(midi, "main-channel"), "patch");
  for (int j = 0; j < staves; ++j) {
    const std::string instrumentId = FormatText("P%d-I%d-%d", instrument + 1, j + 1, j);
    OpenElement("score-part");
    PushAttribute("id", FormatText("P%d-%d", instrument + 1, j).c_str());
    OpenElement("part-name");
    PushAttribute("print-object", "no");
    PushText(FormatText("Part %d - %s", j + 1, name.c_str()).c_str());
    CloseElement();
    OpenElement("score-instrument");
    PushAttribute("id", instrumentId.c_str());
    WriteTextElement("instrument-name", name.empty() ? fallback : name);
    CloseElement();
    OpenElement("midi-instrument");
    PushAttribute("id", instrumentId.c_str());
    WriteIntElement("midi-channel", j + 1);
    // MusicXML counts programs from 1; the stored patch from 0.
    WriteIntElement("midi-program", patch + 1);
    CloseElement();
    CloseElement();  // "score-part"
  }
  return definition.NextSiblingElement();
}

void CMusicXMLPrinter::WritePart(const tinyxml2::XMLElement* sectionSettings, const tinyxml2::XMLElement* systems,
                                 const tinyxml2::XMLElement* definition, int instrument, int staff) {
  PushComment("Writing staff data");
  CMusicXMLChordPrinter staffPrinter(out_);
  staffPrinter.BeginStaff(sectionSettings, definition, instrument, staff);
  const size_t count = std::min(static_cast<size_t>(std::max(ReadIntAttribute(systems, "count"), 0)),
                                 sectionModel_.systems.size());
  const nChordArray noVoice;
  for (size_t k = 0; k < count; ++k) {
    // The instrument's first voice in this system; the second voice is not exported.
    const CStaveArray* system = sectionModel_.systems.at(k);
    if (system == nullptr || instrument < 0 || static_cast<size_t>(instrument) >= system->lines.size()) continue;
    const CInstrument* line = system->lines.at(static_cast<size_t>(instrument));
    // A missing line is written as an empty one.
    const nChordArray& voice = line != nullptr ? line->firstVoice : noVoice;
    tinyxml2::XMLDocument scratch;
    const tinyxml2::XMLElement* element = voice.WriteXml(scratch);
    staffPrinter.SetSystem(static_cast<int>(k) + 1);
    element->Accept(&staffPrinter);
  }
  staffPrinter.EndStaff();
}

}  // namespace vornel::musicxml_export
