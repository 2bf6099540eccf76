#pragma once
// The MIDI channels of the instrument lines of a file: given in order, one or two per line,
// passing over the percussion channel 10 (index 9) except for percussion lines, and never
// more than the sixteen channels there are: when they run out, lines share them again from
// the first.

#include <cstdint>
#include <vector>

namespace vornel {

inline constexpr uint8_t kMidiPercussionChannel = 9;

struct MidiLineChannels {
  uint8_t first = 0;
  uint8_t second = 0;  // the second voice's channel; the first one when the line needs one
};

struct MidiLineNeeds {
  bool percussion = false;
  bool twoChannels = false;
};

std::vector<MidiLineChannels> AssignMidiChannels(const std::vector<MidiLineNeeds>& lines);

// The ticks of one beat for the beat-unit code of a section's tempo word: 1 a half note, 2 an
// eighth, 3 a whole, 4 a dotted quarter, 5 a dotted half, 6 a dotted eighth, 7 a dotted whole,
// anything else a quarter.
uint32_t MidiBeatTicks(uint32_t beatCode);

}  // namespace vornel
