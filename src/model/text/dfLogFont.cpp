#include "model/text/dfLogFont.h"

#include <bit>
#include <charconv>
#include <cmath>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/NumberText.h"
#include "platform/text/TextConversion.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr std::string_view kTabDefaultFace = "TabDefault";
constexpr std::string_view kTabDefaultReplacement = "Vornelfg";
constexpr float kLoadedZoom = 100.0f;

// "%.8g", locale-independent.
std::string FormatReal8(double value) {
  if (!std::isfinite(value)) return FormatReal(value);
  char buffer[48];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 8);
  return std::string(buffer, result.ptr);
}

// A colour written as a real number, rounded back to the nearest 32-bit value.
uint32_t ReadRealColor(const tinyxml2::XMLElement* element, const char* name) {
  const double value = ReadRealAttribute(element, name);
  if (!(value > 0)) return 0;  // also NaN
  if (value >= 4294967295.0) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(std::llround(value));
}

}  // namespace

std::string FitFaceName(std::string_view face) {
  std::u16string units = Utf8ToWide(face);
  if (units.size() <= LogFont::kMaxFaceUnits) return std::string(face);
  size_t keep = LogFont::kMaxFaceUnits;
  // Never keep the first half of a surrogate pair alone.
  if (units[keep - 1] >= 0xD800 && units[keep - 1] <= 0xDBFF) --keep;
  units.resize(keep);
  return WideToUtf8(units);
}

bool SameFaceName(std::string_view a, std::string_view b) { return EqualsNoCase(a, b); }

dfLogFont::dfLogFont() {
  SetDefaults();
  color = 0;
  zoom = 100.0f;
}

dfLogFont& dfLogFont::operator=(const dfLogFont& other) {
  if (this == &other) return *this;
  // The height as the other holds it: a copy (the sections' heading fonts taken from the
  // document's at every open and save) changes no stored font.
  logFont = other.logFont;
  pointSize = other.pointSize;
  zoom = other.zoom;
  zoomScale = other.zoomScale;
  staveAdjust = other.staveAdjust;
  color = other.color;
  microTuning = other.microTuning;
  return *this;
}

bool dfLogFont::operator==(const dfLogFont& o) const {
  return staveAdjust == o.staveAdjust && color == o.color && logFont == o.logFont && zoom == o.zoom &&
         parentSize == o.parentSize && pointSize == o.pointSize && zoomScale == o.zoomScale &&
         microTuning == o.microTuning;
}

void dfLogFont::SetDefaults() {
  staveAdjust = {0, 0};
  color = kDefaultColor;
  logFont = LogFont{};
  logFont.lfHeight = -12;
  logFont.lfWeight = 300;
  logFont.lfQuality = 2;            // proof quality
  logFont.lfPitchAndFamily = 0x12;  // variable pitch, roman
  logFont.lfFaceName = std::string(kDefaultFace);
  zoom = 1.0f;
  pointSize = {120, 0};
  zoomScale = {100, 100};
  microTuning = 0;
}

void dfLogFont::InitFont(std::string_view face, int32_t pointSizeTenths, uint8_t charSet) {
  SetDefaults();
  logFont.lfFaceName = FitFaceName(face);
  pointSize.cx = pointSizeTenths;
  logFont.lfCharSet = charSet;
  color = 0;
  microTuning = 0;
}

void dfLogFont::SetLogFont(const LogFont& font) {
  logFont = font;
  // The magnitude only: INT32_MIN has none that fits, so it stays the largest height.
  if (logFont.lfHeight < 0) logFont.lfHeight = logFont.lfHeight == INT32_MIN ? INT32_MAX : -logFont.lfHeight;
}

std::string dfLogFont::GetDescription() const {
  return logFont.lfFaceName + " - Size " + FormatInt(pointSize.cx / 10);
}

void dfLogFont::Store(ArchiveWriter& ar) const {
  ar.WriteI32(logFont.lfHeight);
  ar.WriteI32(logFont.lfWidth);
  ar.WriteI32(logFont.lfEscapement);
  ar.WriteI32(logFont.lfOrientation);
  ar.WriteI32(logFont.lfWeight);
  ar.WriteU8(logFont.lfItalic);
  ar.WriteU8(logFont.lfUnderline);
  ar.WriteU8(logFont.lfStrikeOut);
  ar.WriteU8(logFont.lfCharSet);
  ar.WriteU8(logFont.lfOutPrecision);
  ar.WriteU8(logFont.lfClipPrecision);
  ar.WriteU8(logFont.lfQuality);
  ar.WriteU8(logFont.lfPitchAndFamily);
  ar.WriteText(logFont.lfFaceName);
  ar.WriteI32(staveAdjust.cx);
  ar.WriteI32(staveAdjust.cy);
  ar.WriteU32(std::bit_cast<uint32_t>(zoom));
  ar.WriteI32(pointSize.cx);
  ar.WriteI32(pointSize.cy);
  ar.WriteI32(zoomScale.cx);
  ar.WriteI32(zoomScale.cy);
  ar.WriteU32(color);
  ar.WriteI32(microTuning);
  if (ar.ExactCopy()) {
    // Kept by the XML form alone.
    ar.WriteI32(parentSize.cx);
    ar.WriteI32(parentSize.cy);
  }
}

void dfLogFont::Load(ArchiveReader& ar) {
  const std::string previousFace = logFont.lfFaceName;
  LogFont font;
  font.lfHeight = ar.ReadI32();
  font.lfWidth = ar.ReadI32();
  font.lfEscapement = ar.ReadI32();
  font.lfOrientation = ar.ReadI32();
  font.lfWeight = ar.ReadI32();
  font.lfItalic = ar.ReadU8();
  font.lfUnderline = ar.ReadU8();
  font.lfStrikeOut = ar.ReadU8();
  font.lfCharSet = ar.ReadU8();
  font.lfOutPrecision = ar.ReadU8();
  font.lfClipPrecision = ar.ReadU8();
  font.lfQuality = ar.ReadU8();
  font.lfPitchAndFamily = ar.ReadU8();
  font.lfFaceName = FitFaceName(ar.ReadText());
  SizePair adjust;
  adjust.cx = ar.ReadI32();
  adjust.cy = ar.ReadI32();
  // The zoom of the last drawing, kept as the XML form keeps it; a value no drawing can have
  // reads as 100.
  const float storedZoom = std::bit_cast<float>(ar.ReadU32());
  SizePair points;
  points.cx = ar.ReadI32();
  points.cy = ar.ReadI32();
  SizePair scale;
  scale.cx = ar.ReadI32();
  scale.cy = ar.ReadI32();
  uint32_t newColor = color;
  if (ar.VersionAbove("6.3")) newColor = ar.ReadU32();
  int32_t newMicroTuning = microTuning;
  if (ar.VersionAtLeast("9.53")) newMicroTuning = ar.ReadI32();

  // Everything was read: only now does the object change, so a short record leaves it whole.
  logFont = std::move(font);
  staveAdjust = adjust;
  pointSize = points;
  zoomScale = scale;
  color = newColor;
  microTuning = newMicroTuning;
  if (ar.ExactCopy()) {
    // A copy holds what the original held.
    zoom = storedZoom;
    parentSize.cx = ar.ReadI32();
    parentSize.cy = ar.ReadI32();
    return;
  }
  if (SameFaceName(logFont.lfFaceName, kTabDefaultFace)) {
    logFont.lfFaceName =
        SameFaceName(previousFace, kTabDefaultFace) ? std::string(kTabDefaultReplacement) : previousFace;
  }
  logFont.lfWidth = 0;
  zoom = std::isfinite(storedZoom) && storedZoom > 0 ? storedZoom : kLoadedZoom;
}

tinyxml2::XMLElement* dfLogFont::WriteXml(tinyxml2::XMLDocument& doc, const char* name,
                                          std::string_view descriptor) const {
  tinyxml2::XMLElement* element = AddTextElement(doc, name, {});
  if (!descriptor.empty()) SetTextAttribute(element, "descriptor", descriptor);

  tinyxml2::XMLElement* mlf = doc.NewElement("mlf");
  SetIntAttribute(mlf, "lfWeight", logFont.lfWeight);
  SetIntAttribute(mlf, "lfHeight", logFont.lfHeight);
  SetIntAttribute(mlf, "lfEscapement", logFont.lfEscapement);
  SetIntAttribute(mlf, "lfOrientation", logFont.lfOrientation);
  SetIntAttribute(mlf, "lfCharset", logFont.lfCharSet);
  SetIntAttribute(mlf, "lfClipPrecision", logFont.lfClipPrecision);
  SetIntAttribute(mlf, "lfItalic", logFont.lfItalic);
  SetIntAttribute(mlf, "lfOutPrecision", logFont.lfOutPrecision);
  SetIntAttribute(mlf, "lfPitchAndFamily", logFont.lfPitchAndFamily);
  SetIntAttribute(mlf, "lfQuality", logFont.lfQuality);
  SetIntAttribute(mlf, "lfStrikeOut", logFont.lfStrikeOut);
  SetIntAttribute(mlf, "lfUnderline", logFont.lfUnderline);
  SetTextAttribute(mlf, "typeface", logFont.lfFaceName);
  element->InsertEndChild(mlf);

  SetIntAttribute(element, "stave-adjust-cx", staveAdjust.cx);
  SetIntAttribute(element, "stave-adjust-cy", staveAdjust.cy);
  element->SetAttribute("zoom", FormatReal8(zoom).c_str());
  SetIntAttribute(element, "pointsize-cx", pointSize.cx);
  SetIntAttribute(element, "zm-scale-cx", zoomScale.cx);
  SetIntAttribute(element, "zm-scale-cy", zoomScale.cy);
  SetRealAttribute(element, "color", color);
  SetIntAttribute(element, "micro-tuning", microTuning);
  SetIntAttribute(element, "parent.cx", parentSize.cx);
  SetIntAttribute(element, "parent.cy", parentSize.cy);
  return element;
}

const tinyxml2::XMLElement* dfLogFont::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  const tinyxml2::XMLElement* mlf = element->FirstChildElement();
  logFont.lfWeight = ReadIntAttribute(mlf, "lfWeight");
  logFont.lfHeight = ReadIntAttribute(mlf, "lfHeight");
  logFont.lfEscapement = ReadIntAttribute(mlf, "lfEscapement");
  logFont.lfOrientation = ReadIntAttribute(mlf, "lfOrientation");
  logFont.lfCharSet = static_cast<uint8_t>(ReadUnsignedAttribute(mlf, "lfCharset"));
  logFont.lfClipPrecision = static_cast<uint8_t>(ReadUnsignedAttribute(mlf, "lfClipPrecision"));
  logFont.lfItalic = static_cast<uint8_t>(ReadUnsignedAttribute(mlf, "lfItalic"));
  logFont.lfOutPrecision = static_cast<uint8_t>(ReadUnsignedAttribute(mlf, "lfOutPrecision"));
  logFont.lfPitchAndFamily = static_cast<uint8_t>(ReadUnsignedAttribute(mlf, "lfPitchAndFamily"));
  logFont.lfQuality = static_cast<uint8_t>(ReadUnsignedAttribute(mlf, "lfQuality"));
  logFont.lfStrikeOut = static_cast<uint8_t>(ReadUnsignedAttribute(mlf, "lfStrikeOut"));
  logFont.lfUnderline = static_cast<uint8_t>(ReadUnsignedAttribute(mlf, "lfUnderline"));
  logFont.lfFaceName = FitFaceName(ReadTextAttribute(mlf, "typeface"));

  staveAdjust.cx = ReadIntAttribute(element, "stave-adjust-cx");
  staveAdjust.cy = ReadIntAttribute(element, "stave-adjust-cy");
  zoom = static_cast<float>(ReadIntAttribute(element, "zoom"));  // the integer part only
  pointSize.cx = ReadIntAttribute(element, "pointsize-cx");
  zoomScale.cx = ReadIntAttribute(element, "zm-scale-cx");
  zoomScale.cy = ReadIntAttribute(element, "zm-scale-cy");
  color = ReadRealColor(element, "color");
  microTuning = ReadIntAttribute(element, "micro-tuning");
  parentSize.cx = ReadIntAttribute(element, "parent.cx");
  parentSize.cy = ReadIntAttribute(element, "parent.cy");
  return element->NextSiblingElement();
}

}  // namespace vornel
