#pragma once
// Small music helpers of tablature chords: the pitch of a fret sign, the lowest fret a chord
// uses, and chords built by symbol for the alfabeto chart.

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace vornel {

class CTabInstrument;
class nChord;

// The chord kinds by index, as the chart dialog lists them ("5" stands for the plain triad).
inline constexpr std::array<std::string_view, 11> kChordTypeNames = {"5",  "4",  "6",   "7m",  "9", "7M",
                                                                     "9-", "4+6", "5+", "sus", "4s"};

// The MIDI pitch of a fret sign on a course: 'a'-'i' are frets 0-8 and from 'j' on the letter
// before counts ('j' is fret 8 like 'i', 'k' fret 9); '0'-'9' are the digit. -1 for any other
// character or a course not in use.
int TabCharToPitch(char c, const CTabInstrument& instrument, int string);

// The smallest fret of the chord's notes on the instrument; 255 for a chord without notes.
int GetLowestFret(const nChord& chord, const CTabInstrument& instrument);

// The name of a chord built by MakeChord: root name, "m" when minor, the kind's suffix (none
// for kind 0). The root is a pitch byte (MIDI - 23), named counting from A.
std::string ChordSymbolName(int root, int kind, bool minor);

// A chord of the root (pitch byte), kind 0-10 (anything else counts as 0), major or minor,
// optionally without its third, placed on the instrument's courses and named as above. Null
// when the instrument has no bass course for the root.
std::unique_ptr<nChord> MakeChord(int root, int kind, bool minor, bool skipThird, const CTabInstrument& instrument);

}  // namespace vornel
