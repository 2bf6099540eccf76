#pragma once
// The General MIDI names: the 128 programs ("25. Acoustic Guitar (nylon)") and the percussion
// keys 35 to 81 of channel 10, as the patch chooser lists them.

#include <cstddef>
#include <string_view>

namespace vornel {

inline constexpr size_t kGMProgramCount = 128;
inline constexpr size_t kGMPercussionCount = 47;
inline constexpr int kGMFirstPercussionKey = 35;
// The channel (0-based) whose chooser lists percussion keys.
inline constexpr int kGMPercussionChannel = 9;

// "1.  Acoustic Grand Piano" ... "128. Gunshot"; empty outside 0-127.
std::string_view GMProgramName(int program);
// The name of percussion entry `index` (key 35 + index); empty outside 0-46.
std::string_view GMPercussionName(int index);
// The chooser's entry `index` for a channel: percussion names on channel 9, else programs.
std::string_view GMName(int channel, int index);
size_t GMNameCount(int channel);

}  // namespace vornel
