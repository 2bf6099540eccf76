#pragma once
// A marking attached to one event of a voice that is not a note: lyrics, time signature,
// caption, tempo, legato, ending, fermata, hyperlink, marker ... Its kind says what value, cx,
// cy and the text mean.

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/BuildBudget.h"
#include "model/events/EventLocation.h"
#include "platform/archive/Persistent.h"

namespace vornel {

class XmlSink;

class CMetaEvent : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CMetaEvent";
  // What one costs a reading under way (see BuildBudget).
  [[no_unique_address]] BuildCharge<144> buildCharge;
  static constexpr std::string_view kChordNamePrompt = "Enter a new chord name:";

  // Kinds that the model itself acts on.
  static constexpr uint8_t kLyrics = 0;
  static constexpr uint8_t kTimeSignature = 1;
  static constexpr uint8_t kAlfabeto = 2;
  static constexpr uint8_t kChordChart = 3;
  static constexpr uint8_t kMidiController = 4;
  static constexpr uint8_t kCaption = 5;
  static constexpr uint8_t kLegato = 6;
  static constexpr uint8_t kGraphicOrnament = 7;
  static constexpr uint8_t kContinuo = 8;
  static constexpr uint8_t kClef = 9;
  static constexpr uint8_t kPedal = 10;
  static constexpr uint8_t kEnding = 12;
  static constexpr uint8_t kTempo = 14;
  static constexpr uint8_t kCrescendo = 15;
  static constexpr uint8_t kChordName = 16;
  static constexpr uint8_t kReprise = 17;
  static constexpr uint8_t kFermata = 18;
  static constexpr uint8_t kDynamicChart = 19;
  static constexpr uint8_t kRasgueado = 21;
  static constexpr uint8_t kFootnote = 23;
  static constexpr uint8_t kFloatingOrnament = 25;
  static constexpr uint8_t kBarre = 26;
  static constexpr uint8_t kHyperlink = 32;
  static constexpr uint8_t kStaveBracket = 33;
  static constexpr uint8_t kDynamics = 34;
  static constexpr uint8_t kBarPause = 36;
  static constexpr uint8_t kGraceNote = 38;
  static constexpr uint8_t kDaCapo = 39;
  static constexpr uint8_t kSegno = 40;
  static constexpr uint8_t kMarker = 48;
  static constexpr uint8_t kEndMarker = 49;
  static constexpr uint8_t kCoda = 50;
  // Set by an editor to ask for the event's removal; the chord's list deletes it.
  static constexpr uint8_t kDeleteMe = 255;

  EventLocation location;
  // A link the program keeps while running and never stores: the chord of a dynamic chart,
  // the note of a floating ornament, the chord of a marker.
  const Persistent* referent = nullptr;
  uint8_t kind = 0;
  std::string text;
  uint32_t value = 0;
  int32_t cx = 0;
  int32_t cy = 0;
  // The colour the event was last drawn in, filled by the drawing before each kind's
  // routine; never stored, copied or compared.
  uint32_t drawColour = 0;

  CMetaEvent() = default;
  CMetaEvent(uint8_t kind, std::string_view text, uint32_t value, int32_t cx, int32_t cy);
  // A copy takes the kind, text, value, cx, cy and the user's offsets; the drawn rectangles
  // start empty and the running link is not copied.
  CMetaEvent(const CMetaEvent& other);
  CMetaEvent& operator=(const CMetaEvent& other);

  // Kinds whose empty text makes the event worthless: lyrics, captions, continuo figures,
  // chord names and footnotes.
  static bool IsTextKind(uint8_t kind);

  // Every stored field, rectangles included.
  bool operator==(const CMetaEvent& other) const;

  // "Lyrics", "Time signature" ...; empty for codes without a name.
  static std::string_view KindName(uint8_t kind);

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;
  // Brings an event of a file older than 8.6 to the current meanings of legato, ending and
  // caption values.
  void ConvertFromOldVersion();

  // The "meta-event" element.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  void WriteXml(XmlSink& out) const;
  // Reads a "meta-event" element and returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // Opens the editor of the event's kind for `view` (0 staff notation, else tablature).
  // Returns true when the event was edited or needs no editor, false when cancelled or when
  // the kind has no editor.
  bool Edit(int view);
  // Puts the user's offsets back: fermatas, reprises and signs to their default places
  // (their drawn rectangles kept), every other kind to no offset and no drawn rectangle.
  // With a model of the same kind its four offsets are copied instead; a model of another
  // kind changes nothing.
  void ResetLocation(const CMetaEvent* model = nullptr);
};

}  // namespace vornel
