#include "model/nNotes.h"

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

bool nNotes::operator==(const nNotes& o) const {
  return pitch == o.pitch && string == o.string && interval == o.interval && ornament == o.ornament &&
         fingering == o.fingering && slur == o.slur && name == o.name && status == o.status && flags == o.flags;
}

void nNotes::Store(ArchiveWriter& ar) const {
  ar.WriteU8(pitch);
  ar.WriteU8(string);
  ar.WriteU16(ornament);
  ar.WriteU16(fingering);
  ar.WriteU8(interval);
  ar.WriteU32(status);
  ar.WriteU16(flags);
  ar.WriteU32(slur);
}

void nNotes::Load(ArchiveReader& ar) {
  name = 0;  // the spelled name is not part of the record
  if (!ar.VersionAbove("9.8.0.0")) {
    LoadLegacy(ar);
    return;
  }
  pitch = ar.ReadU8();
  string = ar.ReadU8();
  ornament = ar.ReadU16();
  fingering = ar.ReadU16();
  interval = ar.ReadU8();
  status = ar.ReadU32();
  flags = ar.ReadU16();
  slur = ar.ReadU32();
}

void nNotes::LoadLegacy(ArchiveReader& ar) {
  pitch = ar.ReadU8();
  string = ar.ReadU8();
  ornament = ar.ReadU8();
  fingering = ar.ReadU8();
  interval = ar.ReadU8();
  status = ar.ReadU8();
  flags = ar.VersionAtLeast("7.9") ? ar.ReadU8() : 0;
  slur = ar.VersionAtLeast("9.7.3.0") ? ar.ReadU16() : 0;

  // Older files counted pitches from another origin.
  if (pitch <= 23) pitch = static_cast<uint8_t>(pitch + 13);
  status &= ~0x40u;
  if (ornament == 0xA4) ornament = 0x42;
  if (ar.VersionAbove("9.7.5.0") && ar.VersionBelow("9.8.0.0") && ornament == 0x24) ornament = 2;
}

tinyxml2::XMLElement* nNotes::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("note");
  SetTextAttribute(element, "word", GetNameText());
  SetIntAttribute(element, "pitch", pitch);
  SetIntAttribute(element, "string", string);
  SetIntAttribute(element, "interval", interval);
  SetIntAttribute(element, "ornament", ornament);
  SetIntAttribute(element, "fingering", fingering);
  SetIntAttribute(element, "status", static_cast<int32_t>(status));
  SetIntAttribute(element, "flags", flags);
  SetIntAttribute(element, "slur", static_cast<int32_t>(slur));
  SetIntAttribute(element, "name", name);
  return element;
}

const tinyxml2::XMLElement* nNotes::ReadXml(const tinyxml2::XMLElement* element) {
  pitch = static_cast<uint8_t>(ReadUnsignedAttribute(element, "pitch"));
  string = static_cast<uint8_t>(ReadUnsignedAttribute(element, "string"));
  interval = static_cast<uint8_t>(ReadUnsignedAttribute(element, "interval"));
  ornament = static_cast<uint16_t>(ReadUnsignedAttribute(element, "ornament"));
  fingering = static_cast<uint16_t>(ReadUnsignedAttribute(element, "fingering"));
  status = ReadUnsignedAttribute(element, "status");
  flags = static_cast<uint16_t>(ReadUnsignedAttribute(element, "flags"));
  slur = ReadUnsignedAttribute(element, "slur");
  name = static_cast<uint16_t>(ReadUnsignedAttribute(element, "name"));
  return element->NextSiblingElement();
}

std::string nNotes::GetNameText() const { return NameText(name); }

std::string nNotes::NameText(uint16_t nameWord) {
  if (nameWord == 0) return {};
  std::string text;
  text += static_cast<char>('A' + (nameWord & 0x0F));
  text += std::to_string((nameWord >> 4) & 0x0F);
  switch ((nameWord >> 8) & 0x0F) {
    case kFlat: text += "b"; break;
    case kDoubleFlat: text += "bb"; break;
    case kSharp: text += "#"; break;
    case kDoubleSharp: text += "x"; break;
    default: break;
  }
  return text;
}

}  // namespace vornel
