#include "model/events/EventLocation.h"

#include <algorithm>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/draw/MulDiv.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace {

void StoreRect(ArchiveWriter& ar, const EventRect& r) {
  ar.WriteI32(r.left);
  ar.WriteI32(r.top);
  ar.WriteI32(r.right);
  ar.WriteI32(r.bottom);
}

EventRect LoadRect(ArchiveReader& ar) {
  EventRect r;
  r.left = ar.ReadI32();
  r.top = ar.ReadI32();
  r.right = ar.ReadI32();
  r.bottom = ar.ReadI32();
  return r;
}

void WritePart(XmlSink& out, const char* name, const EventRect& r, int32_t cx, int32_t cy) {
  out.Open(name);
  out.Int("l", r.left);
  out.Int("r", r.right);
  out.Int("t", r.top);
  out.Int("b", r.bottom);
  out.Int("cx", cx);
  out.Int("cy", cy);
  out.Close();
}

void ReadPart(const tinyxml2::XMLElement* e, EventRect& r, int32_t& cx, int32_t& cy) {
  AttributeReader a(e);
  r.left = a.Int("l");
  r.right = a.Int("r");
  r.top = a.Int("t");
  r.bottom = a.Int("b");
  cx = a.Int("cx");
  cy = a.Int("cy");
}

// Widens [low, high] by 5 on each side when it is narrower than 5.
void Widen(int32_t& low, int32_t& high) {
  if (static_cast<int64_t>(high) - low < 5) {
    low = static_cast<int32_t>(static_cast<uint32_t>(low) - 5u);
    high = static_cast<int32_t>(static_cast<uint32_t>(high) + 5u);
  }
}

int32_t SaneZoom(int32_t zoom) { return zoom < 1 ? 100 : zoom; }

// Hundredths of a millimetre to pixels of a device of `dpi` and back.
int32_t HimetricToPixels(int32_t v, int32_t dpi) { return MulDiv(v, dpi, 2540); }
int32_t PixelsToHimetric(int32_t v, int32_t dpi) { return dpi > 0 ? MulDiv(v, 2540, dpi) : 0; }

}  // namespace

Point EventLocation::DeviceOffset(int view, int32_t dpiX, int32_t dpiY, int32_t zoom) const {
  const bool notationView = view == kNotation;
  const int32_t z = SaneZoom(zoom);
  return {MulDiv(HimetricToPixels(SaneStoredLength(notationView ? notationCx : tablatureCx), dpiX), z, 100),
          MulDiv(HimetricToPixels(SaneStoredLength(notationView ? notationCy : tablatureCy), dpiY), z, 100)};
}

bool EventLocation::Move(int view, Point drop, int32_t dpiX, int32_t dpiY, int32_t zoom) {
  const EventRect& drawn = Rect(view);
  if (drawn.left == 0) return false;
  const bool notationView = view == kNotation;
  const int32_t z = SaneZoom(zoom);
  const int32_t x = HimetricToPixels(notationView ? notationCx : tablatureCx, dpiX) +
                    MulDiv(drop.x - drawn.left, 100, z);
  const int32_t y = HimetricToPixels(notationView ? notationCy : tablatureCy, dpiY) +
                    MulDiv(drop.y - drawn.top, 100, z);
  SetOffset(view, PixelsToHimetric(x, dpiX), PixelsToHimetric(y, dpiY));
  return true;
}

void EventLocation::SetOffset(int view, int32_t cx, int32_t cy) {
  if (view == kNotation) {
    notationCx = cx;
    notationCy = cy;
  } else {
    tablatureCx = cx;
    tablatureCy = cy;
  }
}

void EventLocation::SetRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int view) {
  EventRect r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  Widen(r.top, r.bottom);
  Widen(r.left, r.right);
  Rect(view) = r;
}

void EventLocation::Store(ArchiveWriter& ar) const {
  StoreRect(ar, notation);
  StoreRect(ar, tablature);
  ar.WriteI32(notationCx);
  ar.WriteI32(notationCy);
  ar.WriteI32(tablatureCx);
  ar.WriteI32(tablatureCy);
}

void EventLocation::Load(ArchiveReader& ar) {
  notation = LoadRect(ar);
  tablature = LoadRect(ar);
  notationCx = ar.ReadI32();
  notationCy = ar.ReadI32();
  tablatureCx = ar.ReadI32();
  tablatureCy = ar.ReadI32();
}

tinyxml2::XMLElement* EventLocation::WriteXml(tinyxml2::XMLDocument& doc) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out); });
}

void EventLocation::WriteXml(XmlSink& out) const {
  out.Open("location");
  WritePart(out, "notation", notation, notationCx, notationCy);
  WritePart(out, "tablature", tablature, tablatureCx, tablatureCy);
  out.Close();
}

const tinyxml2::XMLElement* EventLocation::ReadXml(const tinyxml2::XMLElement* element) {
  const tinyxml2::XMLElement* notationPart = element->FirstChildElement();
  const tinyxml2::XMLElement* tablaturePart = notationPart != nullptr ? notationPart->NextSiblingElement() : nullptr;
  ReadPart(notationPart, notation, notationCx, notationCy);
  ReadPart(tablaturePart, tablature, tablatureCx, tablatureCy);
  return element->NextSiblingElement();
}

}  // namespace vornel
