#pragma once
// A key signature with its mode and transposition. It also spells pitches: the diatonic step,
// letter, octave and accidental of a pitch in the key, and the pitch of a diatonic step.
// Diatonic step numbers are octave * 7 + step (C = 0 ... B = 6); pitches are semitone numbers
// whose octave is pitch / 12.

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/archive/Persistent.h"

namespace vornel {

class CKey : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CKey";
  static constexpr int32_t kMinorBit = 0x1;

  int32_t keyAlterations = 0;  // accidental of the tonic: 0 none, 1 flat, 2 sharp
  int32_t transposePitch = 0;
  int32_t transpose = 0;
  int32_t mode = 0;            // bits 8-11 the mode index (0 Ionian ... 6 Locrian), bit 0 minor
  int32_t keyName = 0;         // tonic step 0-6 (C ... B)
  int32_t bemol = 1;           // non-zero: the signature uses flats
  uint32_t alterations = 0;    // sharps or flats in the signature, 0-7

  bool operator==(const CKey& other) const;

  // The signature of `fifths` sharps (flats when negative, kept within 7) of a major or minor
  // key: count, flats flag, tonic with its accidental, and the mode.
  void SetSignature(int32_t fifths, bool minor);
  // +1, -1 or 0: what the signature does to a step 0-6.
  int GetStepAlteration(int step) const;
  // 12 * octave + natural semitone + the signature's alteration of the step.
  int StepToPitch(int stepNumber) const;
  // 0 when the signature already gives `pitch` on the step; else 'z', 'b', 'n', '#' or 'x' for
  // the step's total alteration; 0 for anything further off.
  char GetAccidentalChar(int stepNumber, int pitch) const;
  // The diatonic step number of `pitch` in the key; writes the packed note name (letter index
  // from A in bits 0-3, pitch / 12 in bits 4-7, accidental bits 8-11) and the accidental
  // character. With `respell` the note moves to the neighbouring step that keeps its pitch.
  int SpellPitch(int pitch, uint16_t& packedName, char& accidental, bool respell = false) const;
  // The packed note name of diatonic step `stepNumber` shown with `accidental` (as SpellPitch
  // writes it).
  static uint16_t PackedName(int stepNumber, char accidental);
  // The pitch of diatonic step `stepNumber` without any alteration.
  static int NaturalPitch(int stepNumber);

  // The diatonic steps of the usual interval of `semitones` (a minor third for 3, a perfect
  // fifth for 7, the augmented fourth for 6), octaves counted as seven steps.
  static int DiatonicSteps(int semitones);
  // How many fifths up (down when negative) an interval of `semitones` spelled over `steps`
  // moves a key: a major second moves it two fifths up.
  static int FifthsOfInterval(int semitones, int steps) { return 7 * semitones - 12 * steps; }

  // 1 when the key spells `pitch` the other way from the requested '#' or '&' (flat).
  int NeedsRespelling(int pitch, int step, char requested) const;

  // The mode index's name; empty for an index without one.
  std::string GetModeName() const;
  // "CM[0b]": tonic, tonic accidental, M or m, number of alterations and their sign.
  std::string GetKeyLabel() const;
  // The label, a blank and the mode name.
  std::string GetKeyDescription() const;
  // Tonic (with its accidental, "m" for minor) and, for a signature with alterations,
  // " [3b]"; 255 alterations count as none.
  std::string GetKeySignatureText() const;

  std::string_view ClassName() const override { return kClassName; }
  // The tonic accidental only for versions above "6.2", when storing as when loading.
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "key" with its attributes and the description as text.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Requires "key"; returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // The pitch class (C = 0) of the major key with this signature.
  int TonicPitchClass() const;

 private:
  // Alterations within the tables: anything outside 0-7 counts as none.
  int AlterationCount() const;
  int ChromaticCorrection(int pitch) const;
};

}  // namespace vornel
