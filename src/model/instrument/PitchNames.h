#pragma once
// The names of the twelve pitch classes, as tunings, courses and dialogs show them: sharps for
// C and F, flats for E, A and B.

#include <array>
#include <string_view>

namespace vornel {

inline constexpr std::array<std::string_view, 12> kPitchClassNames = {"C",  "C#", "D",  "Eb", "E",  "F",
                                                                      "F#", "G",  "Ab", "A",  "Bb", "B"};

// "C" ... "B" for a MIDI pitch (negative pitches too).
constexpr std::string_view PitchClassName(int midiPitch) {
  return kPitchClassNames[static_cast<size_t>(((midiPitch % 12) + 12) % 12)];
}

}  // namespace vornel
