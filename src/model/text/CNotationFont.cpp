#include "model/text/CNotationFont.h"

#include <algorithm>
#include <cmath>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/NumberText.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr std::string_view kOldNotationFace = "VornelNote";
constexpr int32_t kCharsetSymbol = 2;
// Glyph intervals beyond this many tenths of a millimetre are no font size; keeping values
// bounded keeps the size arithmetic of the drawing layer within integers.
constexpr double kMaxInterval = 10000.0;

double SaneInterval(double value) {
  if (std::isnan(value)) return CNotationFont::kDefaultInterval;
  return std::clamp(value, -kMaxInterval, kMaxInterval);
}

}  // namespace

CNotationFont::CNotationFont() {
  logFont.lfWeight = 400;
  logFont.lfCharSet = kCharsetSymbol;
  logFont.lfFaceName = std::string(kDefaultFace);
}

CNotationFont::CNotationFont(std::string_view faceName, double glyphInterval)
    : pointSize{120, 0}, interval(SaneInterval(glyphInterval)) {
  logFont.lfWeight = 400;
  logFont.lfCharSet = 0;
  SetFace(faceName);
}

int32_t CNotationFont::ScaledHeight(int32_t dpi, int32_t zoom) const {
  zoom = zoom < 1 ? 100 : std::min(zoom, 100000);
  const int32_t a = MulDiv(720, dpi, 254);
  const int32_t b = MulDiv(pointSize.cx, dpi, 254);
  const int32_t c = MulDiv(b, microTuning, a);
  const double size = std::trunc((c + interval) * zoom / 100.0);
  const int32_t tenths = static_cast<int32_t>(std::clamp(size, -1.0e6, 1.0e6));
  return -MulDiv(tenths, dpi, 254);
}

std::string CNotationFont::GetDescription() const {
  return face + " - Size " + FormatInt(pointSize.cx / 10) + " - Weight " + FormatInt(logFont.lfWeight);
}

void CNotationFont::SetFace(std::string_view faceName) {
  face = FitFaceName(faceName);
  logFont.lfFaceName = face;
}

void CNotationFont::Store(ArchiveWriter& ar) const {
  ar.WriteText(face);
  ar.WriteDouble(interval);
  ar.WriteI32(pointSize.cx);
  ar.WriteI32(pointSize.cy);
  ar.WriteU32(color);
}

void CNotationFont::Load(ArchiveReader& ar) {
  std::string newFace = ar.ReadText();
  const double newInterval = ar.ReadDouble();
  SizePair points;
  points.cx = ar.ReadI32();
  points.cy = ar.ReadI32();
  const uint32_t newColor = ar.VersionAtLeast("9.53.1") ? ar.ReadU32() : color;

  if (SameFaceName(newFace, kOldNotationFace)) newFace = std::string(kDefaultFace);
  SetFace(newFace);
  interval = SaneInterval(newInterval);
  pointSize = points;
  color = newColor;
}

tinyxml2::XMLElement* CNotationFont::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = AddTextElement(doc, "notation-font", face);
  SetRealAttribute(element, "interval", interval);
  SetIntAttribute(element, "point-size-cx", pointSize.cx);
  SetIntAttribute(element, "point-size-cy", pointSize.cy);
  SetUnsignedAttribute(element, "color", color);
  SetIntAttribute(element, "micro-tuning", microTuning);
  return element;
}

const tinyxml2::XMLElement* CNotationFont::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  interval = SaneInterval(ReadRealAttribute(element, "interval"));
  pointSize.cx = ReadIntAttribute(element, "point-size-cx");
  pointSize.cy = ReadIntAttribute(element, "point-size-cy");
  color = ReadUnsignedAttribute(element, "color");
  microTuning = ReadIntAttribute(element, "micro-tuning");
  if (const std::string text = ElementText(element); !text.empty()) SetFace(text);
  return element->NextSiblingElement();
}

}  // namespace vornel
