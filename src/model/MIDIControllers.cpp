#include "model/MIDIControllers.h"

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

const tinyxml2::XMLElement* Child(const tinyxml2::XMLElement* parent, const char* name) {
  return parent->FirstChildElement(name);
}

int32_t Int(const tinyxml2::XMLElement* e, const char* name) { return e != nullptr ? ReadIntAttribute(e, name) : 0; }
uint8_t Byte(const tinyxml2::XMLElement* e, const char* name) { return static_cast<uint8_t>(Int(e, name)); }

// Attributes that older files lack keep the value they had.
int32_t IntOr(const tinyxml2::XMLElement* e, const char* name, int32_t fallback) {
  return e != nullptr && e->Attribute(name) != nullptr ? ReadIntAttribute(e, name) : fallback;
}

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
  *this = r;
}

tinyxml2::XMLElement* MIDIControllers::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("midi-controllers");
  SetTextAttribute(element, "name", name);
  SetIntAttribute(element, "merge-voices", mergeVoices);
  SetIntAttribute(element, "mute", mute);
  SetIntAttribute(element, "transpose", transpose);
  SetIntAttribute(element, "monophonic", monophonic);

  tinyxml2::XMLElement* options = doc.NewElement("options");
  SetIntAttribute(options, "ornament-enabled", ornamentsPlayed);
  SetIntAttribute(options, "echo-enabled", echoOn);
  SetIntAttribute(options, "octave-enabled", octaveDoublingOn);
  SetIntAttribute(options, "portamento-enabled", portamentoOn);
  element->InsertEndChild(options);

  tinyxml2::XMLElement* main = doc.NewElement("main-channel");
  SetIntAttribute(main, "patch", patch);
  SetIntAttribute(main, "volume", volume);
  SetIntAttribute(main, "expression", expression);
  SetIntAttribute(main, "pan", pan);
  SetIntAttribute(main, "velocity", velocity);
  SetIntAttribute(main, "resonate", holdPedal);
  SetIntAttribute(main, "equalizer", equalizer);
  SetIntAttribute(main, "dynamic-amplitude", dynamicAmplitude);
  element->InsertEndChild(main);

  tinyxml2::XMLElement* controllers = doc.NewElement("controllers");
  SetIntAttribute(controllers, "brightness", brightness);
  SetIntAttribute(controllers, "modwheel", modulation);
  SetIntAttribute(controllers, "legato", softPedal);
  SetIntAttribute(controllers, "portamento", portamentoTime);
  SetIntAttribute(controllers, "attack", attack);
  SetIntAttribute(controllers, "celeste", celeste);
  SetIntAttribute(controllers, "chorus", chorus);
  SetIntAttribute(controllers, "release", release);
  SetIntAttribute(controllers, "reverb", reverb);
  element->InsertEndChild(controllers);

  tinyxml2::XMLElement* octave = doc.NewElement("octave");
  SetIntAttribute(octave, "channel", octaveChannel);
  SetIntAttribute(octave, "delay", octaveDelay);
  SetIntAttribute(octave, "string", octaveString);
  SetIntAttribute(octave, "velocity", octaveVelocity);
  element->InsertEndChild(octave);

  tinyxml2::XMLElement* echo = doc.NewElement("echo");
  SetIntAttribute(echo, "channel", echoChannel);
  SetIntAttribute(echo, "volume", echoVolume);
  SetIntAttribute(echo, "octave", echoOctave);
  SetIntAttribute(echo, "patch", echoPatch);
  SetIntAttribute(echo, "velocity", echoDelay);
  element->InsertEndChild(echo);
  return element;
}

const tinyxml2::XMLElement* MIDIControllers::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "midi-controllers");
  MIDIControllers r = *this;
  r.name = ReadTextAttribute(element, "name");
  r.mergeVoices = Int(element, "merge-voices");
  r.mute = Int(element, "mute");
  r.transpose = Int(element, "transpose");
  r.monophonic = IntOr(element, "monophonic", monophonic);

  const tinyxml2::XMLElement* options = Child(element, "options");
  r.ornamentsPlayed = Int(options, "ornament-enabled");
  r.echoOn = Int(options, "echo-enabled");
  r.octaveDoublingOn = Int(options, "octave-enabled");
  r.portamentoOn = Int(options, "portamento-enabled");

  const tinyxml2::XMLElement* main = Child(element, "main-channel");
  r.patch = Byte(main, "patch");
  r.volume = Byte(main, "volume");
  r.expression = Byte(main, "expression");
  r.pan = Byte(main, "pan");
  r.velocity = Byte(main, "velocity");
  r.holdPedal = Int(main, "resonate");
  r.equalizer = Int(main, "equalizer");
  r.dynamicAmplitude = IntOr(main, "dynamic-amplitude", dynamicAmplitude);
  if (r.dynamicAmplitude > kMaxAmplitude) r.dynamicAmplitude = kFallbackAmplitude;

  const tinyxml2::XMLElement* controllers = Child(element, "controllers");
  r.brightness = Byte(controllers, "brightness");
  r.modulation = Byte(controllers, "modwheel");
  r.softPedal = Int(controllers, "legato");
  r.portamentoTime = Byte(controllers, "portamento");
  r.attack = Int(controllers, "attack");
  r.celeste = Int(controllers, "celeste");
  r.chorus = Int(controllers, "chorus");
  r.release = Int(controllers, "release");
  r.reverb = Int(controllers, "reverb");

  const tinyxml2::XMLElement* octave = Child(element, "octave");
  r.octaveChannel = Byte(octave, "channel");
  r.octaveDelay = Int(octave, "delay");
  r.octaveString = Int(octave, "string");
  r.octaveVelocity = Int(octave, "velocity");

  const tinyxml2::XMLElement* echo = Child(element, "echo");
  r.echoChannel = Byte(echo, "channel");
  r.echoVolume = Byte(echo, "volume");
  r.echoOctave = Byte(echo, "octave");
  r.echoPatch = Byte(echo, "patch");
  r.echoDelay = Byte(echo, "velocity");
  *this = r;
  return element->NextSiblingElement();
}

}  // namespace vornel
