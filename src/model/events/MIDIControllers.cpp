#include "model/events/MIDIControllers.h"

#include <array>
#include <initializer_list>

#include "model/Scaling.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

using M = MIDIControllers;

// One setting of the XML form: its attribute and its field, an integer or a byte.
struct Setting {
  const char* attribute;
  int32_t M::*integer;
  uint8_t M::*byte;
  bool keptWhenAbsent;  // older files lack the attribute: a missing one keeps the value

  int32_t Get(const M& m) const { return integer != nullptr ? m.*integer : m.*byte; }
  void Set(M& m, int32_t value) const {
    if (integer != nullptr) {
      m.*integer = value;
    } else {
      m.*byte = static_cast<uint8_t>(value);
    }
  }
};

constexpr Setting Int(const char* attribute, int32_t M::*field, bool keptWhenAbsent = false) {
  return {attribute, field, nullptr, keptWhenAbsent};
}
constexpr Setting Byte(const char* attribute, uint8_t M::*field) { return {attribute, nullptr, field, false}; }

// The settings in the order of the XML form: those of the element itself (after its name),
// then those of each child element.
struct SettingGroup {
  const char* element;  // null: the "midi-controllers" element itself
  std::initializer_list<Setting> settings;
};

const std::array<SettingGroup, 6> kSettingGroups = {{
    {nullptr,
     {Int("merge-voices", &M::mergeVoices), Int("mute", &M::mute), Int("transpose", &M::transpose),
      Int("monophonic", &M::monophonic, true)}},
    {"options",
     {Int("ornament-enabled", &M::ornamentsPlayed), Int("echo-enabled", &M::echoOn),
      Int("octave-enabled", &M::octaveDoublingOn), Int("portamento-enabled", &M::portamentoOn)}},
    {"main-channel",
     {Byte("patch", &M::patch), Byte("volume", &M::volume), Byte("expression", &M::expression), Byte("pan", &M::pan),
      Byte("velocity", &M::velocity), Int("resonate", &M::holdPedal), Int("equalizer", &M::equalizer),
      Int("dynamic-amplitude", &M::dynamicAmplitude, true)}},
    {"controllers",
     {Byte("brightness", &M::brightness), Byte("modwheel", &M::modulation), Int("legato", &M::softPedal),
      Byte("portamento", &M::portamentoTime), Int("attack", &M::attack), Int("celeste", &M::celeste),
      Int("chorus", &M::chorus), Int("release", &M::release), Int("reverb", &M::reverb)}},
    {"octave",
     {Byte("channel", &M::octaveChannel), Int("delay", &M::octaveDelay), Int("string", &M::octaveString),
      Int("velocity", &M::octaveVelocity)}},
    {"echo",
     {Byte("channel", &M::echoChannel), Byte("volume", &M::echoVolume), Byte("octave", &M::echoOctave),
      Byte("patch", &M::echoPatch), Byte("velocity", &M::echoDelay)}},
}};

}  // namespace

void MIDIControllers::SetDefaults() {
  name = std::string(kDefaultPatchName);
  patch = 24;
  transpose = 0;
  mute = 0;
  mergeVoices = 0;
  monophonic = 0;
  ornamentsPlayed = 1;
  echoOn = 0;
  octaveDoublingOn = 0;
  portamentoOn = 0;
  volume = 120;
  expression = 100;
  pan = 64;
  velocity = 64;
  holdPedal = 0;
  brightness = 8;
  modulation = 0;
  softPedal = 0;
  portamentoTime = 0;
  attack = 0;
  celeste = 0;
  chorus = 0;
  release = 0;
  reverb = 40;
  dynamicAmplitude = 10;
  octaveChannel = 0;
  octaveDelay = 0;
  octaveString = 0;
  octaveVelocity = 0;
  echoChannel = 10;
  echoVolume = 0;
  echoPatch = 0;
  echoDelay = 0;
}

void MIDIControllers::Store(ArchiveWriter& ar) const {
  for (const uint8_t b : {volume, expression, brightness, modulation, velocity, pan}) ar.WriteU8(b);
  for (const int32_t v : {softPedal, portamentoOn, mergeVoices, holdPedal, octaveDelay, octaveString, octaveVelocity,
                          monophonic, mute}) {
    ar.WriteI32(v);
  }
  for (const uint8_t b : {portamentoTime, octaveChannel, echoDelay}) ar.WriteU8(b);
  ar.WriteI32(echoOn);
  for (const uint8_t b : {echoChannel, echoVolume, echoOctave, echoPatch}) ar.WriteU8(b);
  ar.WriteText(name);
  ar.WriteU8(patch);
  for (const int32_t v : {transpose, equalizer, ornamentsPlayed, attack, dynamicAmplitude, celeste, chorus, release,
                          reverb, octaveDoublingOn}) {
    ar.WriteI32(v);
  }
}

void MIDIControllers::Load(ArchiveReader& ar) {
  MIDIControllers r = *this;
  for (uint8_t* b : {&r.volume, &r.expression, &r.brightness, &r.modulation, &r.velocity, &r.pan}) *b = ar.ReadU8();
  for (int32_t* v : {&r.softPedal, &r.portamentoOn, &r.mergeVoices, &r.holdPedal}) *v = ar.ReadI32();
  const bool octave = ar.VersionAbove("6.42");
  const bool echo = ar.VersionAtLeast("6.45");
  if (octave) {
    for (int32_t* v : {&r.octaveDelay, &r.octaveString, &r.octaveVelocity, &r.monophonic, &r.mute}) *v = ar.ReadI32();
    r.portamentoTime = ar.ReadU8();
  }
  if (echo) {
    r.octaveChannel = ar.ReadU8();
    r.echoDelay = ar.ReadU8();
    r.echoOn = ar.ReadI32();
    for (uint8_t* b : {&r.echoChannel, &r.echoVolume, &r.echoOctave, &r.echoPatch}) *b = ar.ReadU8();
  }
  if (ar.VersionAtLeast("6.51")) {
    r.name = ar.ReadText();
    r.patch = ar.ReadU8();
    r.transpose = ar.ReadI32();
  }
  if (ar.VersionAtLeast("6.54")) {
    r.equalizer = ar.ReadI32();
    r.ornamentsPlayed = ar.ReadI32();
  }
  if (ar.VersionAtLeast("7.0")) {
    for (int32_t* v : {&r.attack, &r.dynamicAmplitude, &r.celeste, &r.chorus, &r.release, &r.reverb,
                       &r.octaveDoublingOn}) {
      *v = ar.ReadI32();
    }
  }
  if (ar.VersionAtMost("6.58")) r.brightness = 80;
  if (ar.VersionBelow("6.59")) r.echoDelay = 0;
  if (ar.VersionBelow("7.96")) r.octaveDoublingOn = r.octaveString != 0 ? 1 : 0;
  if (r.dynamicAmplitude > kMaxAmplitude) r.dynamicAmplitude = kFallbackAmplitude;
  r.transpose = ClampTransposition(r.transpose);
  *this = r;
}

tinyxml2::XMLElement* MIDIControllers::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("midi-controllers");
  SetTextAttribute(element, "name", name);
  for (const SettingGroup& group : kSettingGroups) {
    tinyxml2::XMLElement* target = group.element != nullptr ? doc.NewElement(group.element) : element;
    for (const Setting& setting : group.settings) SetIntAttribute(target, setting.attribute, setting.Get(*this));
    if (target != element) element->InsertEndChild(target);
  }
  return element;
}

const tinyxml2::XMLElement* MIDIControllers::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "midi-controllers");
  MIDIControllers r = *this;
  r.name = ReadTextAttribute(element, "name");
  for (const SettingGroup& group : kSettingGroups) {
    // A missing child reads its attributes as 0 (or as they were, for the kept ones).
    const tinyxml2::XMLElement* source = group.element != nullptr ? element->FirstChildElement(group.element) : element;
    for (const Setting& setting : group.settings) {
      const bool absent = source == nullptr || source->Attribute(setting.attribute) == nullptr;
      if (absent && setting.keptWhenAbsent) continue;
      setting.Set(r, source != nullptr ? ReadIntAttribute(source, setting.attribute) : 0);
    }
  }
  if (r.dynamicAmplitude > kMaxAmplitude) r.dynamicAmplitude = kFallbackAmplitude;
  r.transpose = ClampTransposition(r.transpose);
  *this = r;
  return element->NextSiblingElement();
}

}  // namespace vornel
