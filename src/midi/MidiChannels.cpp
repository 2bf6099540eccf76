#include "midi/MidiChannels.h"

namespace vornel {

std::vector<MidiLineChannels> AssignMidiChannels(const std::vector<MidiLineNeeds>& lines) {
  std::vector<MidiLineChannels> out;
  out.reserve(lines.size());
  uint8_t next = 0;
  const auto take = [&next]() {
    if (next == kMidiPercussionChannel) ++next;
    if (next > 15) next = 0;
    return next++;
  };
  for (const MidiLineNeeds& line : lines) {
    MidiLineChannels c;
    if (line.percussion) {
      c.first = c.second = kMidiPercussionChannel;
    } else {
      c.first = take();
      c.second = line.twoChannels ? take() : c.first;
    }
    out.push_back(c);
  }
  return out;
}

uint32_t MidiBeatTicks(uint32_t beatCode) {
  switch (beatCode) {
    case 1: return 384;
    case 2: return 96;
    case 3: return 768;
    case 4: return 288;
    case 5: return 576;
    case 6: return 144;
    case 7: return 1152;
    default: return 192;
  }
}

}  // namespace vornel
