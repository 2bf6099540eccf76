#include "model/text/CRTFPreface.h"

#include "model/text/RichTextEditor.h"
#include "model/text/RtfText.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/rtf/RtfToHtml.h"
#include "platform/text/NumberText.h"
#include "platform/text/TextConversion.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr std::string_view kTextRtfHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Tahoma;}"
    "{\\f1\\fnil\\fcharset0 MS Shell Dlg 2;}{\\f2\\fnil\\fprq2\\fcharset0 Arial;}}"
    "{\\colortbl ;\\red0\\green0\\blue0;\\red163\\green21\\blue21;}"
    "\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs20\\qc";

// Each line feed of the escaped body becomes a paragraph end.
std::string BodyParagraphs(std::string_view body) {
  const std::string escaped = EscapeRtfText(body);
  std::string out;
  out.reserve(escaped.size());
  for (const char c : escaped) {
    if (c == '\n') {
      out += "\n\\par\n";
    } else {
      out += c;
    }
  }
  return out;
}

// Text right after a control word: a letter, digit or hyphen would run into the word or its
// number, so a space (which the reader takes as the word's end) goes between them.
void AppendAfterControlWord(std::string& rtf, const std::string& escaped) {
  if (!escaped.empty()) {
    const char first = escaped.front();
    if ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || (first >= '0' && first <= '9') ||
        first == '-') {
      rtf += ' ';
    }
  }
  rtf += escaped;
}

}  // namespace

void CRTFPreface::TextToRtf(std::string_view title, std::string_view body) {
  std::string rtf(kTextRtfHeader);
  rtf += "\\pard";
  AppendAfterControlWord(rtf, EscapeRtfText(title));
  rtf += " \\par \\par\\cf0\\b0\\f1\\fs17\\par\\f2\\pard\\cf1\\fs19";
  AppendAfterControlWord(rtf, BodyParagraphs(body));
  rtf += "\\pard\\cf0\\fs17\\par}";
  text = std::move(rtf);
}

int32_t CRTFPreface::AppendRtfBulletItem(std::string_view rtf, int32_t number, std::string_view itemText) {
  text += "{\\par\\b\\f0\\fs14 \\par \\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}"
          " Section ";
  text += FormatInt(number);
  text += ": ";
  text += EscapeRtfText(itemText);
  text += " \\b\\pard \\par}";
  text += RtfTrailingBody(rtf);
  return ++itemCount;
}

int32_t CRTFPreface::Edit() {
  std::string edited = text;
  int32_t length = 0;
  if (!RichTextEditors().Edit(edited, readOnly != 0, length)) return 0;
  if (readOnly == 0) text = length == 0 ? std::string() : std::move(edited);
  return 1;
}

void CRTFPreface::Store(ArchiveWriter& ar) const {
  font.Store(ar);
  ar.WriteText(text);
}

void CRTFPreface::Load(ArchiveReader& ar) {
  font.Load(ar);
  text = ar.ReadText();
}

tinyxml2::XMLElement* CRTFPreface::WriteXml(tinyxml2::XMLDocument& doc, const char* elementName) const {
  tinyxml2::XMLElement* element = doc.NewElement(elementName);
  SetTextAttribute(element, "type", kClassName);
  element->InsertEndChild(AddTextElement(doc, "rtf-text", text));
  return element;
}

tinyxml2::XMLElement* CRTFPreface::WriteHtml(tinyxml2::XMLDocument& doc, const char* elementName) const {
  tinyxml2::XMLElement* element = doc.NewElement(elementName);
  if (tinyxml2::XMLElement* html = RtfToHtmlElement(doc, text)) element->InsertEndChild(html);
  return element;
}

const tinyxml2::XMLElement* CRTFPreface::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  text = Decode8BitText(ElementText(element->FirstChildElement()));
  return element->NextSiblingElement();
}

}  // namespace vornel
