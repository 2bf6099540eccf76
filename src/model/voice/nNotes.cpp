#include "model/voice/nNotes.h"

#include <algorithm>
#include <cstdlib>

#include "model/instrument/CKey.h"
#include "model/ornament/COrnamentProps.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

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

void nNotes::ConvertLegacyOrnaments(bool movedFingerings) {
  if (movedFingerings) {
    uint16_t moved = 0;
    switch (ornament & 0x0F) {
      case 8: moved = 1; break;
      case 9: moved = 2; break;
      case 10: moved = 3; break;
      case 11: moved = 4; break;
      case 13: moved = 10; break;
      default: break;
    }
    if (moved != 0) {
      fingering = static_cast<uint16_t>((fingering & 0x0F) | (moved << 4));
      ornament &= 0xFFF0;
    }
  }
  const uint16_t code = (ornament >> 4) & 0xFF;
  const uint16_t low = ornament & 0x0F;
  if (code == 14) {
    ornament = low;
    flags |= 0x1000;
  } else if (code > 65) {
    ornament = static_cast<uint16_t>(((code + 2) << 4) | low);
  }
  if ((ornament & 0x0F) == 6) {
    ornament &= 0xFFF0;
    flags = 0x0B;
  }
}

void nNotes::ConvertLegacyLayout() {
  // 1. The old flags were the slur; the fingering's low nibble selected a slur addition.
  static constexpr uint32_t kSlurAdditions[16] = {0,      0x1000, 0x2000, 0x0300, 0x0500, 0x0240, 0x0140, 0x3000,
                                                  0x0900, 0x0A00, 0x4000, 0x8000, 0x0600, 0,      0x0400, 0};
  slur = flags | kSlurAdditions[fingering & 0x0F];
  fingering &= 0xFFF0;
  if (slur == 0x0B) slur = 0x8000;

  // 2. The flags come from the old status bits.
  const uint32_t oldStatus = status;
  flags = 0;
  if (oldStatus & 0x01) flags |= 0x80;
  if (oldStatus & 0x02) flags |= 0x04;
  if (oldStatus & 0x08) flags |= 0x09;
  if (oldStatus & 0x10) flags |= 0x01;
  if (oldStatus & 0x40) flags |= 0x80;
  if (oldStatus & 0x80) slur = 0x0800;
  status = oldStatus & 0x24;

  // 3. Octave and course marks that were kept in the fingering.
  switch (fingering & 0xFFF0) {
    case 0x80:
      interval = static_cast<uint8_t>(interval - 7);
      pitch = static_cast<uint8_t>(pitch - 12);
      status |= 0x02;
      fingering &= 0x0F;
      break;
    case 0x90:
      status |= 0x10;
      fingering &= 0x0F;
      break;
    case 0xA0:
      fingering = 0x7F;
      break;
    default:
      break;
  }

  // 4. The ornament's low nibble: slur shapes, or a fingering.
  switch (ornament & 0x0F) {
    case 11: slur = 0x0500; break;
    case 14: slur = (slur & ~0xF000u) | 0x7000u; break;
    case 15: slur = 0x0600; break;
    case 13: fingering |= 11; break;
    default: fingering |= ornament & 0x0F; break;
  }

  // 5. The old ornament codes.
  static constexpr uint16_t kOrnaments[16] = {0,    0x01, 0x41, 0x24, 0x24, 0x02, 0x82, 0x04,
                                              0x84, 0x21, 0x21, 0x22, 0x22, 0x16, 0x11, 0x12};
  ornament = kOrnaments[(ornament >> 4) & 0x0F];
}

tinyxml2::XMLElement* nNotes::WriteXml(tinyxml2::XMLDocument& doc) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out); });
}

void nNotes::WriteXml(XmlSink& out) const {
  out.Open("note");
  out.Attribute("word", GetNoteName());
  out.Int("pitch", pitch);
  out.Int("string", string);
  out.Int("interval", interval);
  out.Int("ornament", ornament);
  out.Int("fingering", fingering);
  out.Int("status", static_cast<int32_t>(status));
  out.Int("flags", flags);
  out.Int("slur", static_cast<int32_t>(slur));
  out.Int("name", name);
  out.Close();
}

const tinyxml2::XMLElement* nNotes::ReadXml(const tinyxml2::XMLElement* element) {
  AttributeReader a(element);
  pitch = static_cast<uint8_t>(a.Unsigned("pitch"));
  string = static_cast<uint8_t>(a.Unsigned("string"));
  interval = static_cast<uint8_t>(a.Unsigned("interval"));
  ornament = static_cast<uint16_t>(a.Unsigned("ornament"));
  fingering = static_cast<uint16_t>(a.Unsigned("fingering"));
  status = a.Unsigned("status");
  flags = static_cast<uint16_t>(a.Unsigned("flags"));
  slur = a.Unsigned("slur");
  name = static_cast<uint16_t>(a.Unsigned("name"));
  return element->NextSiblingElement();
}

int nNotes::SpellInKey(const CKey& key, bool otherSpelling, char& accidental) {
  uint16_t spelled = 0;
  int step = WrittenSpelling(key, pitch, spelled, accidental);
  if (step < 0) {
    // A pitch moved away from its writer's spelling is spelled in the key from now on.
    status &= ~kWrittenSpelling;
    step = key.SpellPitch(pitch, spelled, accidental, otherSpelling);
  }
  interval = static_cast<uint8_t>(std::clamp(step, 0, 255));
  name = spelled;
  return step;
}

bool nNotes::SetWrittenSpelling(int stepNumber, const CKey& key) {
  if (stepNumber < 0 || stepNumber > 255 || std::abs(pitch - CKey::NaturalPitch(stepNumber)) > 2) return false;
  const char accidental = key.GetAccidentalChar(stepNumber, pitch);
  name = CKey::PackedName(stepNumber, accidental);
  interval = static_cast<uint8_t>(stepNumber);
  status |= kWrittenSpelling;
  return true;
}

int nNotes::WrittenSpelling(const CKey& key, int soundingPitch, uint16_t& packedName, char& accidental) const {
  // The step is the interval the spelling gave: the record keeps it, not the name.
  if ((status & kWrittenSpelling) == 0 || soundingPitch != pitch || std::abs(pitch - CKey::NaturalPitch(interval)) > 2) {
    return -1;
  }
  accidental = key.GetAccidentalChar(interval, pitch);
  packedName = CKey::PackedName(interval, accidental);
  return interval;
}

std::string nNotes::GetNoteName() const { return NameText(name); }

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

// ---------------------------------------------------------------------------------------------
// Decorations

void nNotes::ToggleFingeringLow(uint16_t value) {
  const uint16_t low = (fingering & 0x0F) == value ? 0 : (value & 0x0F);
  fingering = static_cast<uint16_t>((fingering & 0xF0) | low);
}

void nNotes::ToggleFingeringHigh(uint16_t value) {
  const uint16_t high = ((fingering >> 4) & 0x0F) == value ? 0 : (value & 0x0F);
  fingering = static_cast<uint16_t>((fingering & 0x0F) | (high << 4));
}

void nNotes::ToggleDecoration(int code) {
  switch (code) {
    // Right-hand marks.
    case 0: ToggleFingeringHigh(6); return;
    case 1: ToggleFingeringHigh(1); return;
    case 2: ToggleFingeringHigh(2); return;
    case 3: ToggleFingeringHigh(3); return;
    case 4: ToggleFingeringHigh(4); return;
    case 5: ToggleFingeringHigh(5); return;
    case 22: ToggleFingeringHigh(12); return;
    case 23: ToggleFingeringHigh(11); return;
    case 56: ToggleFingeringHigh(7); return;
    case 57: ToggleFingeringHigh(9); return;
    case 58: ToggleFingeringHigh(10); return;
    default: break;
  }
  if (code >= 7 && code <= 21) {
    static constexpr uint16_t kLeftHand[15] = {5, 1, 10, 2, 7, 6, 11, 3, 4, 8, 9, 12, 13, 14, 15};
    ToggleFingeringLow(kLeftHand[code - 7]);
  } else if (code >= 24 && code <= 55) {
    // Decoration codes 24-55 set the ornaments of the kinds 0-31.
    const uint16_t value = COrnamentProps::KindCode(code - 24);
    ornament = (ornament & 0x7F) == value ? 0 : value;
  }
}

// ---------------------------------------------------------------------------------------------
// Slurs

void nNotes::SetSlurType(uint32_t type) {
  const uint32_t current = (slur >> 8) & 0x0F;
  const uint32_t next = current == (type & 0x0F) ? 0 : (type & 0x0F);
  slur = (slur & 0x80FF) | (next << 8);
  if (slur == 0x100 || slur == 0x200) slur |= 0x40;
}

bool nNotes::StepSlurOffset(bool down) {
  const int magnitude = static_cast<int>((slur >> 3) & 7);
  const int offset = (slur & 0x40) ? -magnitude : magnitude;
  const int stepped = offset + (down ? -1 : 1);
  if (stepped > 7 || stepped < -7) return false;
  slur &= ~0x78u;
  slur |= static_cast<uint32_t>(stepped < 0 ? -stepped : stepped) << 3;
  if (stepped < 0) slur |= 0x40;
  return true;
}

void nNotes::SetSlurShape(uint32_t shape) {
  const uint32_t current = (slur >> 12) & 7;
  const uint32_t next = current == (shape & 7) ? 0 : (shape & 7);
  slur = (slur & ~0x7000u) | (next << 12);
}

}  // namespace vornel
