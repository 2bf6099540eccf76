#pragma once
// How one instrument definition sounds: its General MIDI program, main-channel controllers,
// velocity shaping, the ornament, portamento and pedal switches, the octave doubling of the
// bass courses and an echo on a second channel. Every instrument definition embeds one; its
// element and its record are part of the document formats.

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

class MIDIControllers {
 public:
  static constexpr std::string_view kDefaultPatchName = "25. Acoustic Guitar (nylon)";
  // A dynamic amplitude above this many percent is no amplitude; it falls back to kFallbackAmplitude.
  static constexpr int32_t kMaxAmplitude = 100;
  static constexpr int32_t kFallbackAmplitude = 20;

  std::string name;           // General MIDI program text
  uint8_t patch = 0;          // program number 0-127
  int32_t transpose = 0;      // half steps
  int32_t mute = 0;
  int32_t mergeVoices = 0;    // both voices on one channel
  int32_t monophonic = 0;
  int32_t ornamentsPlayed = 1;
  int32_t echoOn = 0;
  int32_t octaveDoublingOn = 0;
  int32_t portamentoOn = 0;
  uint8_t volume = 100;
  uint8_t expression = 100;
  uint8_t pan = 64;
  uint8_t velocity = 64;
  int32_t holdPedal = 0;      // "resonate"
  int32_t equalizer = 0;      // velocity curve depth
  uint8_t brightness = 0;
  uint8_t modulation = 0;     // vibrato
  int32_t softPedal = 0;      // "legato"
  uint8_t portamentoTime = 0;
  int32_t attack = 0;
  int32_t celeste = 0;
  int32_t chorus = 10;
  int32_t release = 60;
  int32_t reverb = 60;
  int32_t dynamicAmplitude = 10;  // percent
  uint8_t octaveChannel = 6;
  int32_t octaveDelay = 0;        // ticks
  int32_t octaveString = 0;       // first course doubled
  int32_t octaveVelocity = 40;
  uint8_t echoChannel = 8;
  uint8_t echoVolume = 60;
  uint8_t echoOctave = 0;
  uint8_t echoPatch = 25;
  uint8_t echoDelay = 30;         // ticks
  // The family of definitions written before their family had a place of its own; kept in
  // neither stored form of these settings.
  uint8_t family = 0;

  bool operator==(const MIDIControllers&) const = default;

  void CopyFrom(const MIDIControllers& other) { *this = other; }
  // The values of the "Defaults" command; the equalizer and the echo octave stay.
  void SetDefaults();

  // The fields in their stored order (bytes, integers and the name as a text).
  void Store(ArchiveWriter& ar) const;
  // Fields by version: the octave fields, monophonic, mute and portamento time above "6.42";
  // the echo and octave channel from "6.45"; name, patch and transpose from "6.51"; equalizer
  // and ornaments from "6.54"; the rest from "7.0".
  void Load(ArchiveReader& ar);

  // "midi-controllers" with "options", "main-channel", "controllers", "octave" and "echo".
  // Monophonic and the dynamic amplitude have attributes of their own too, so that a save
  // keeps them.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Missing attributes read as 0, except monophonic and the dynamic amplitude, which keep
  // their values when absent (older files lack them). Returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
};

}  // namespace vornel
