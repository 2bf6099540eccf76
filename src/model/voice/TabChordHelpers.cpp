#include "model/voice/TabChordHelpers.h"

#include <algorithm>

#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "model/FloorDivision.h"
#include "model/instrument/PitchNames.h"

namespace vornel {

namespace {

// A pitch byte's class counted from A: the byte scale starts at MIDI 23, a B.
int PitchClassFromA(int pitchByte) { return FloorMod(pitchByte + 2, 12); }

int KindIndex(int kind) { return kind < 0 || kind >= static_cast<int>(kChordTypeNames.size()) ? 0 : kind; }

}  // namespace

int TabCharToPitch(char c, const CTabInstrument& instrument, int string) {
  int fret = -1;
  if (c >= 'a' && c <= 'i') fret = c - 'a';
  else if (c >= 'j' && c <= 'z') fret = c - 'b';
  else if (c >= '0' && c <= '9') fret = c - '0';
  if (fret < 0 || string < 0 || string >= instrument.tuning.stringCount ||
      string >= static_cast<int>(nTuning::kMaxCourses))
    return -1;
  return instrument.tuning.courses[static_cast<size_t>(string)].pitch + fret + kCoursePitchOffset;
}

int GetLowestFret(const nChord& chord, const CTabInstrument& instrument) {
  int lowest = 255;
  for (const auto& note : chord.notes) {
    if (note->string >= nTuning::kMaxCourses) continue;
    const int open = instrument.tuning.courses[note->string].pitch + kCoursePitchOffset;
    lowest = std::min(lowest, static_cast<int>(note->pitch) - open);
  }
  return lowest;
}

std::string ChordSymbolName(int root, int kind, bool minor) {
  // A is pitch class 9 counted from C.
  std::string name(PitchClassName(PitchClassFromA(root) + 9));
  if (minor) name += "m";
  if (KindIndex(kind) != 0) name += kChordTypeNames[static_cast<size_t>(KindIndex(kind))];
  return name;
}

std::unique_ptr<nChord> MakeChord(int root, int kind, bool minor, bool skipThird, const CTabInstrument& instrument) {
  const int bassClass = PitchClassFromA(root);
  // Checked here so that a chart filled by the dozen skips a chord without a message each.
  const int bass = instrument.FindBassString(bassClass);
  if (bass == 0 || bass >= instrument.tuning.stringCount) return nullptr;
  auto chord = std::make_unique<nChord>();
  if (!chord->PlaceOnInstrument(bassClass, instrument, minor, KindIndex(kind), skipThird ? 1 : 0)) return nullptr;
  chord->name = ChordSymbolName(root, kind, minor);
  return chord;
}

}  // namespace vornel
