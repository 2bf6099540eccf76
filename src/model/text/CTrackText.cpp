#include "model/text/CTrackText.h"

#include "model/text/CRTFTrackText.h"
#include "model/text/DIBornament.h"
#include "model/Scaling.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/TextConversion.h"
#include "platform/text/TextEdits.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

int32_t ZoomOrFull(int32_t zoomPercent) { return zoomPercent > 0 ? zoomPercent : 100; }

}  // namespace

CTrackText::CTrackText() { font.logFont.lfWeight = 400; }

CTrackText::CTrackText(std::string_view descriptorName) : CTrackText() { descriptor = std::string(descriptorName); }

std::unique_ptr<CTrackText> CTrackText::CreateByClassName(std::string_view name) {
  if (name == CTrackText::kClassName) return std::make_unique<CTrackText>();
  if (name == CRTFTrackText::kClassName) return std::make_unique<CRTFTrackText>();
  if (name == DIBornament::kClassName) return std::make_unique<DIBornament>();
  return nullptr;
}

bool CTrackText::operator==(const CTrackText& o) const {
  return alignment == o.alignment && font == o.font && size == o.size && text == o.text && span == o.span &&
         descriptor == o.descriptor && zoom == o.zoom && flags == o.flags && dx == o.dx && dy == o.dy &&
         origin == o.origin && x == o.x && y == o.y && drawnRect == o.drawnRect && trackerStyle == o.trackerStyle &&
         lastZoom == o.lastZoom;
}

void CTrackText::CopyFrom(const CTrackText& other) {
  text = other.text;
  font = other.font;
  alignment = other.alignment;
  flags = other.flags;
  dx = other.dx;
  dy = other.dy;
  span = other.span;
  origin = other.origin;
  x = other.x;
  y = other.y;
  zoom = other.zoom;
}

void CTrackText::AppendText(std::string_view addition) {
  if (addition == text) return;
  size_t start = 0;
  while (start < addition.size() && IsBlank(addition[start])) ++start;
  addition.remove_prefix(start);
  if (addition.empty()) return;
  if (!text.empty()) text += " -- ";
  text += addition;
}

void CTrackText::SetPlacement(const Rect& deviceRect, int32_t pixelsPerInchX, int32_t pixelsPerInchY) {
  const int64_t offsetX = static_cast<int64_t>(deviceRect.left) - origin.x;
  const int64_t offsetY = static_cast<int64_t>(deviceRect.top) - origin.y;
  const int32_t z = ZoomOrFull(zoom);
  x = ScaleTruncated(offsetX, 100, z);
  y = ScaleTruncated(offsetY, 100, z);
  if (pixelsPerInchX > 0) dx = ScaleTruncated(offsetX, 254, pixelsPerInchX);
  if (pixelsPerInchY > 0) dy = ScaleTruncated(offsetY, 254, pixelsPerInchY);
  drawnRect = deviceRect;
}

void CTrackText::PlaceInBox(Rect box, int mode, std::optional<int32_t> top, SizePair measured,
                            Point anchor, int32_t zoomPercent, int32_t pixelsPerInchX,
                            int32_t pixelsPerInchY) {
  box.Normalize();
  if (!IsPicture()) size = measured;
  span = {box.right, box.bottom};
  switch (mode) {
    case kPlaceRight:
      x = box.right - size.cx;
      break;
    case kPlaceCenter:
      x = box.left + box.Width() / 2 - size.cx / 2;
      break;
    default:
      x = box.left;
      break;
  }
  if (top) y = *top;
  if (text.empty()) return;
  origin = anchor;
  zoom = zoomPercent;
  SetPlacement({x, y, x + size.cx, y + size.cy}, pixelsPerInchX, pixelsPerInchY);
}

void CTrackText::MoveTo(Point corner) {
  const int64_t offsetX = static_cast<int64_t>(corner.x) - origin.x;
  const int64_t offsetY = static_cast<int64_t>(corner.y) - origin.y;
  const int32_t z = ZoomOrFull(zoom);
  x = ScaleTruncated(offsetX, 100, z);
  y = ScaleTruncated(offsetY, 100, z);
  dx = ScaleTruncated(offsetX, 1, 1);
  dy = ScaleTruncated(offsetY, 1, 1);
  flags |= kPositionPending;
}

void CTrackText::ConvertPendingOffsets(int32_t pixelsPerInchX, int32_t pixelsPerInchY) {
  if ((flags & kPositionPending) == 0) return;
  if (pixelsPerInchX > 0) dx = ScaleTruncated(dx, 254, pixelsPerInchX);
  if (pixelsPerInchY > 0) dy = ScaleTruncated(dy, 254, pixelsPerInchY);
  flags &= 0xFFFu;
}

void CTrackText::Store(ArchiveWriter& ar) const {
  font.Store(ar);
  ar.WriteText(text);
  ar.WriteI32(x);
  ar.WriteI32(y);
  ar.WriteU32(alignment);
  ar.WriteI32(dx);
  ar.WriteI32(dy);
  ar.WriteU32(flags);
}

void CTrackText::Load(ArchiveReader& ar) {
  font.Load(ar);
  text = ar.ReadText();
  x = ar.ReadI32();
  y = ar.ReadI32();
  alignment = ar.ReadU32();
  dx = ar.ReadI32();
  dy = ar.ReadI32();
  // Texts of older files carry no flags and are shown.
  flags = ar.VersionAtLeast("7.4") ? ar.ReadU32() : kVisible;
  drawnRect = {};
}

tinyxml2::XMLElement* CTrackText::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = AddTextElement(doc, "track-text", text);
  SetTextAttribute(element, "descriptor", descriptor);
  SetIntAttribute(element, "x", x);
  SetIntAttribute(element, "y", y);
  SetUnsignedAttribute(element, "alignment", alignment);
  SetIntAttribute(element, "visibility", static_cast<int32_t>(flags));
  SetIntAttribute(element, "dx", dx);
  SetIntAttribute(element, "dy", dy);
  return element;
}

const tinyxml2::XMLElement* CTrackText::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  descriptor = ReadTextAttribute(element, "descriptor");
  x = ReadIntAttribute(element, "x");
  y = ReadIntAttribute(element, "y");
  alignment = ReadUnsignedAttribute(element, "alignment");
  flags = ReadUnsignedAttribute(element, "visibility");
  dx = ReadIntAttribute(element, "dx");
  dy = ReadIntAttribute(element, "dy");
  text = Decode8BitText(ElementText(element));
  return element->NextSiblingElement();
}

size_t SplitStringAtChar(std::string_view text, char separator, std::vector<std::string>& pieces) {
  while (!text.empty()) {
    const size_t pos = text.rfind(separator);
    if (pos == std::string_view::npos) {
      pieces.emplace_back(text);
      break;
    }
    std::string_view last = text.substr(pos + 1);
    while (!last.empty() && IsBlank(last.back())) last.remove_suffix(1);
    pieces.emplace_back(last);
    text = text.substr(0, pos);
  }
  return pieces.size();
}

}  // namespace vornel
