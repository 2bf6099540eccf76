#include "midi/MidiChannels.h"

#include "model/score/SectionTools.h"

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

uint32_t MidiBeatTicks(uint32_t beatCode) { return GetBeatTicks(beatCode > 7 ? 0 : static_cast<int>(beatCode)); }

}  // namespace vornel
