#pragma once
// The alfabeto chart of a tablature instrument: chord shapes assigned to capital letters, the
// font the letters are drawn in and a switch that shows or hides them in the score. Each chart
// chord carries its letter as the value of its first alfabeto meta-event (kind 2).

#include <tinyxml2.h>

#include <cstdint>
#include <string>

#include "model/text/dfLogFont.h"
#include "model/voice/nChordArray.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

class CAlfabeto {
 public:
  // The letter proposed when 'A' to 'Z' are all taken.
  static constexpr char16_t kLetterAfterZ = u'[';

  int32_t showAlfabeto = 1;
  dfLogFont letterFont;     // a fresh description: colour 0, zoom 100
  std::string letter;       // the letter field of the dialog (at most one character)
  std::string description;  // the chord's description in the dialog; becomes its name
  nChordArray chart;        // the chord shapes, owned

  CAlfabeto() = default;
  CAlfabeto(const CAlfabeto& other);
  CAlfabeto& operator=(const CAlfabeto& other);

  // The letter font, the switch and deep copies of the chart's chords.
  void CopyFrom(const CAlfabeto& other);
  void RemoveAllChords();

  // The first chart chord whose first alfabeto event carries `letter` (compared as a 16-bit
  // character), and its index; null when none.
  nChord* FindChordByLetter(char16_t letter, size_t* index = nullptr) const;
  // The first letter from 'A' to 'Z' without a chord, or '[' when all are taken.
  char16_t ProposeLetter() const;
  // What the letter field shows for a typed character: '+' is '[', lower case is upper case,
  // anything outside 'A' to '\' gives nothing (0).
  static char16_t NormalizeLetter(char16_t typed);
  // Stores a copy of `chord` under `letter`, named with the description. When the letter is
  // taken, asks before replacing; a refusal changes nothing and gives null.
  nChord* AssignChord(char16_t letter, const nChord& chord);

  // Letter font, chart (count, then each chord with its class name), show switch.
  void Store(ArchiveWriter& ar) const;
  void Load(ArchiveReader& ar);

  // "alfabeto" with the letter font and "chord-definitions".
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Requires "alfabeto"; returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
};

}  // namespace vornel
