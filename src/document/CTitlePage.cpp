#include "document/CTitlePage.h"

#include <memory>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/rtf/RtfToHtml.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

CTitlePage::CTitlePage() {
  texts.push_back(std::make_unique<CTrackText>("tp-title"));
  texts.push_back(std::make_unique<CTrackText>("tp-author"));
  texts.push_back(std::make_unique<CTrackText>("tp-publisher"));
  texts.push_back(std::make_unique<CTrackText>("contents-table"));
  Text(kContentsHeader).text = std::string(kContentsHeaderText);
}

tinyxml2::XMLElement* CTitlePage::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("preliminaries");
  SetIntAttribute(element, "print-titlepage", printTitlepage);
  SetIntAttribute(element, "print-preface", printPreface);
  SetIntAttribute(element, "date-stamp", dateStamp);
  SetIntAttribute(element, "alternate-margins", alternateMargins);
  SetIntAttribute(element, "frame-style", frameStyle);

  tinyxml2::XMLElement* titleElements = doc.NewElement("title-elements");
  titleElements->InsertEndChild(texts.WriteXml(doc));
  titleElements->InsertEndChild(texts.WriteFontsXml(doc, "titlepage-fonts"));
  titleElements->InsertEndChild(formattedTitle.WriteXml(doc, "rtf-title"));
  titleElements->InsertEndChild(picture.WriteXml(doc));
  element->InsertEndChild(titleElements);

  element->InsertEndChild(preface.WriteXml(doc, "preface"));
  element->InsertEndChild(imageList.WriteXml(doc));

  tinyxml2::XMLElement* contents = doc.NewElement("contents");
  SetIntAttribute(contents, "print-contents", printContents);
  SetIntAttribute(contents, "useRTF", useRtf);
  SetIntAttribute(contents, "columns", columns);
  SetIntAttribute(contents, "section-position", sectionPosition);
  SetIntAttribute(contents, "page-numbers", pageNumbers);
  SetIntAttribute(contents, "offset-cx", origin.x);
  SetIntAttribute(contents, "offset-cy", origin.y);
  SetIntAttribute(contents, "max-lines", maxLines);
  element->InsertEndChild(contents);
  return element;
}

tinyxml2::XMLElement* CTitlePage::WriteMetadataXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("preliminaries");
  tinyxml2::XMLElement* titleElements = doc.NewElement("title-elements");
  // The formatted title keeps the element name of the full form, so that the page printer
  // knows it; its content is the title converted to HTML.
  if (tinyxml2::XMLElement* html = RtfToHtmlElement(doc, formattedTitle.text)) {
    tinyxml2::XMLElement* title = doc.NewElement("rtf-track-text");
    SetTextAttribute(title, "name", "rtf-title");
    title->InsertEndChild(html);
    titleElements->InsertEndChild(title);
  }
  titleElements->InsertEndChild(picture.WriteXml(doc));
  element->InsertEndChild(titleElements);

  tinyxml2::XMLElement* prefaceElement = doc.NewElement("preface");
  if (tinyxml2::XMLElement* html = RtfToHtmlElement(doc, preface.text)) prefaceElement->InsertEndChild(html);
  element->InsertEndChild(prefaceElement);
  element->InsertEndChild(imageList.WriteXml(doc));
  return element;
}

const tinyxml2::XMLElement* CTitlePage::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "preliminaries");
  printTitlepage = ReadIntAttribute(element, "print-titlepage");
  printPreface = ReadIntAttribute(element, "print-preface");
  dateStamp = ReadIntAttribute(element, "date-stamp");
  alternateMargins = ReadIntAttribute(element, "alternate-margins");
  frameStyle = ReadIntAttribute(element, "frame-style");

  const tinyxml2::XMLElement* titleElements = element->FirstChildElement();
  const tinyxml2::XMLElement* next = texts.ReadXml(titleElements != nullptr ? titleElements->FirstChildElement() : nullptr);
  next = texts.ReadFontsXml(next);
  next = formattedTitle.ReadXml(next);
  picture.ReadXml(next);

  next = preface.ReadXml(titleElements->NextSiblingElement());
  next = imageList.ReadXml(next);
  const tinyxml2::XMLElement* contents = ExpectChildElement(next, "contents");
  printContents = ReadIntAttribute(contents, "print-contents");
  useRtf = ReadBoolAttribute(contents, "useRTF") ? 1 : 0;
  columns = ReadIntAttribute(contents, "columns");
  sectionPosition = ReadIntAttribute(contents, "section-position");
  pageNumbers = ReadIntAttribute(contents, "page-numbers");
  origin.x = ReadIntAttribute(contents, "offset-cx");
  origin.y = ReadIntAttribute(contents, "offset-cy");
  maxLines = ReadIntAttribute(contents, "max-lines");
  if (maxLines == 0) maxLines = 100;
  if (printContents == 17) useRtf = 1;
  return element->NextSiblingElement();
}

void CTitlePage::Store(ArchiveWriter& ar) const {
  const int32_t contentsWord = useRtf != 0 ? (printContents | kUseRtfBit) : printContents;
  ar.WriteI32(dateStamp);
  ar.WriteI32(alternateMargins);
  ar.WriteI32(contentsWord);
  ar.WriteI32(printTitlepage);
  ar.WriteI32(frameStyle);
  ar.WriteI32(columns);
  ar.WriteI32(printPreface);
  ar.WriteI32(origin.x);
  ar.WriteI32(origin.y);
  ar.WriteI32(pageNumbers);
  ar.WriteI32(sectionPosition);
  for (const TextIndex i : {kTitle, kAuthor, kPublisher, kContentsHeader}) Text(i).Store(ar);
  picture.Store(ar);
  imageList.Store(ar);
  ar.WriteText(preface.text);
  titleFont.Store(ar);
  formattedTitle.Store(ar);
}

void CTitlePage::Load(ArchiveReader& ar) {
  dateStamp = ar.ReadI32();
  alternateMargins = ar.ReadI32();
  printContents = ar.ReadI32();
  printTitlepage = ar.ReadI32();
  frameStyle = ar.ReadI32();
  columns = ar.ReadI32();
  printPreface = ar.ReadI32();
  if (ar.VersionAbove("6.3")) {
    origin.x = ar.ReadI32();
    origin.y = ar.ReadI32();
  }
  if (ar.VersionAbove("9.6.5.9")) pageNumbers = ar.ReadI32();
  if (ar.VersionAbove("9.7.2.1")) sectionPosition = ar.ReadI32();
  for (const TextIndex i : {kTitle, kAuthor, kPublisher, kContentsHeader}) Text(i).Load(ar);
  picture.Load(ar);
  picture.mode = DIBornament::kModeLoaded;
  if (ar.VersionBelow("9.7.0.0")) {
    imageList.LoadPathsOnly(ar);
  } else {
    imageList.Load(ar);
  }
  preface.text = ar.ReadText();
  titleFont.Load(ar);
  if (ar.VersionAbove("9.6.5.6")) formattedTitle.Load(ar);
  if (ar.VersionBelow("6.57")) Text(kContentsHeader).text = std::string(kContentsHeaderText);
  useRtf = (printContents & kUseRtfBit) != 0 ? 1 : 0;
}

}  // namespace vornel
