#pragma once
// One sounding note of a chord: pitch, course, staff step, marks and spelled name.

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/BuildBudget.h"
#include "platform/archive/Persistent.h"

namespace vornel {

class XmlSink;

class CKey;

class nNotes : public Persistent {
 public:
  static constexpr std::string_view kClassName = "nNotes";
  // What one costs a reading under way (see BuildBudget).
  [[no_unique_address]] BuildCharge<48> buildCharge;

  // Spelled-name accidentals (bits 8-11 of `name`).
  static constexpr uint16_t kFlat = 1;
  static constexpr uint16_t kDoubleFlat = 2;
  static constexpr uint16_t kSharp = 4;
  static constexpr uint16_t kDoubleSharp = 8;
  // Course of a note that has none; such notes are taken out when a note is removed.
  static constexpr uint8_t kNoCourse = 255;
  // Flag of a note that went to the lower voice in a split by pitch.
  static constexpr uint16_t kLowerVoiceFlag = 0x80;
  // Status bit of a note whose interval is its writer's spelling (an imported score's step and
  // alteration): spelling it again keeps that step as long as it still gives the pitch.
  static constexpr uint32_t kWrittenSpelling = 0x100;

  uint8_t pitch = 0;      // MIDI note number, 60 = middle C
  uint8_t string = 0;     // course index, 0 = first (highest) course
  uint8_t interval = 0;   // diatonic step: octave * 7 + step (C = 0 ... B = 6)
  uint16_t ornament = 0;  // ornament code of the instrument's ornament table, 0 = none
  uint16_t fingering = 0; // two 4-bit fingering marks
  uint32_t slur = 0;      // extent/direction, type, shape
  uint16_t name = 0;      // spelled name: letter, octave, accidental; 0 = none
  uint32_t status = 0;
  uint16_t flags = 0;

  nNotes() = default;
  nNotes(const nNotes&) = default;
  nNotes& operator=(const nNotes&) = default;

  bool operator==(const nNotes& other) const;

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // The "note" element.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  void WriteXml(XmlSink& out) const;
  // Reads a "note" element and returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // Notes of files written before 9.7.3.0 kept ornaments, fingerings, slurs and status bits
  // in older codings. The first step moves the ornament codes that were fingerings (files
  // before 8.2 only, `movedFingerings`) and renumbers old ornament codes; the second brings
  // the old packing of flags, status and fingering into the current layout.
  void ConvertLegacyOrnaments(bool movedFingerings);
  void ConvertLegacyLayout();

  // Interval and spelled name from the key's spelling of the pitch (the other spelling with
  // `otherSpelling`), or from the writer's spelling while the note keeps one. Returns the step
  // number; `accidental` receives the accidental the pitch needs there.
  int SpellInKey(const CKey& key, bool otherSpelling, char& accidental);
  // Gives the note the writer's spelling of diatonic step `stepNumber`, kept by spelling it
  // again; false, and nothing changed, when that step is more than two semitones from the pitch.
  bool SetWrittenSpelling(int stepNumber, const CKey& key);
  // The writer's spelling of `soundingPitch` in `key` (the step, its packed name and accidental)
  // when the note keeps one and `soundingPitch` is its own pitch; -1 otherwise.
  int WrittenSpelling(const CKey& key, int soundingPitch, uint16_t& packedName, char& accidental) const;

  // "C6#" for letter C, octave 6, sharp; empty for name 0.
  std::string GetNoteName() const;
  static std::string NameText(uint16_t nameWord);

  // --- decorations
  // Sets the low (bits 0-3) or high (bits 4-7) fingering mark to `value`, or clears it when it
  // already holds it; the other mark stays and bits 8-15 are cleared.
  void ToggleFingeringLow(uint16_t value);
  void ToggleFingeringHigh(uint16_t value);
  // Toggles a decoration by the code of the palette and the importers: codes 0-5, 22, 23 and
  // 56-58 are right-hand marks (high fingering), 7-21 left-hand marks (low fingering), 24-55
  // ornaments. Other codes do nothing.
  void ToggleDecoration(int code);

  // --- slurs
  // Sets the slur type (bits 8-11), or clears it when it already holds it; the shape bits
  // 12-14 are cleared.
  void SetSlurType(uint32_t type);
  // Steps the slur's signed offset (magnitude bits 3-5, sign bit 6) one unit up, or down with
  // `down`; false, and nothing changed, when the magnitude would pass 7.
  bool StepSlurOffset(bool down);
  // Sets the slur shape (bits 12-14), or clears it when it already holds it.
  void SetSlurShape(uint32_t shape);

 private:
  void LoadLegacy(ArchiveReader& ar);
};

}  // namespace vornel
