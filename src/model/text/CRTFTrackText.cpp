#include "model/text/CRTFTrackText.h"

#include "model/text/RichTextEditor.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

CRTFTrackText::CRTFTrackText() : CTrackText("rich-text") { trackerStyle = kTrackerDottedResize; }

bool CRTFTrackText::operator==(const CRTFTrackText& o) const {
  return CTrackText::operator==(o) && storedRect == o.storedRect && handleSize == o.handleSize;
}

void CRTFTrackText::SetDefaultRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  drawnRect.left = left;
  drawnRect.top = top;
  drawnRect.right = left + width;
  if (drawnRect.bottom == 0) drawnRect.bottom = top + height / 2;
  storedRect = drawnRect;
  x = left;
  y = top;
}

void CRTFTrackText::CenterBetween(int32_t left, int32_t right) {
  const int32_t width = drawnRect.Width();
  const int32_t newLeft = left + (right - left) / 2 - width / 2;
  drawnRect.left = newLeft;
  drawnRect.right = newLeft + width;
  storedRect = drawnRect;
  x = newLeft;
}

bool CRTFTrackText::EditRtf() {
  std::string edited = text;
  int32_t length = 0;
  if (!RichTextEditors().Edit(edited, false, length)) return false;
  text = length == 0 ? std::string() : std::move(edited);
  return true;
}

void CRTFTrackText::Store(ArchiveWriter& ar) const {
  CTrackText::Store(ar);
  ar.WriteI32(storedRect.left);
  ar.WriteI32(storedRect.top);
  ar.WriteI32(storedRect.right);
  ar.WriteI32(storedRect.bottom);
  ar.WriteI32(origin.x);
  ar.WriteI32(origin.y);
}

void CRTFTrackText::Load(ArchiveReader& ar) {
  CTrackText::Load(ar);
  storedRect.left = ar.ReadI32();
  storedRect.top = ar.ReadI32();
  storedRect.right = ar.ReadI32();
  storedRect.bottom = ar.ReadI32();
  origin.x = ar.ReadI32();
  origin.y = ar.ReadI32();
  drawnRect = storedRect;
}

tinyxml2::XMLElement* CRTFTrackText::WriteXml(tinyxml2::XMLDocument& doc, std::string_view name) const {
  tinyxml2::XMLElement* element = doc.NewElement("rtf-track-text");
  SetTextAttribute(element, "name", name);
  element->InsertEndChild(CTrackText::WriteXml(doc));
  tinyxml2::XMLElement* tracker = doc.NewElement("tracker");
  SetIntAttribute(tracker, "l", storedRect.left);
  SetIntAttribute(tracker, "r", storedRect.right);
  SetIntAttribute(tracker, "t", storedRect.top);
  SetIntAttribute(tracker, "b", storedRect.bottom);
  // The attribute names are spelled as the files have always spelled them.
  SetIntAttribute(tracker, "offet-cx", origin.x);
  SetIntAttribute(tracker, "offet-cy", origin.y);
  element->InsertEndChild(tracker);
  return element;
}

const tinyxml2::XMLElement* CRTFTrackText::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  const tinyxml2::XMLElement* tracker = CTrackText::ReadXml(element->FirstChildElement());
  if (tracker != nullptr) {
    storedRect.left = ReadIntAttribute(tracker, "l");
    storedRect.right = ReadIntAttribute(tracker, "r");
    storedRect.top = ReadIntAttribute(tracker, "t");
    storedRect.bottom = ReadIntAttribute(tracker, "b");
    origin.x = ReadIntAttribute(tracker, "offet-cx");
    origin.y = ReadIntAttribute(tracker, "offet-cy");
  }
  drawnRect = storedRect;
  return element->NextSiblingElement();
}

}  // namespace vornel
