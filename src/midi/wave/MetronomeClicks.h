#pragma once
// The two metronome sounds: short clicks built by our code as WAVE files (44,100 samples per
// second, 16 bits, mono). A WAVE file of the same name in the data folder replaces one.

#include <cstdint>
#include <string>
#include <vector>

namespace vornel {

// The ids the metronome asks for: the higher click and the lower one.
inline constexpr int kMetronomeClickHigh = 1104;
inline constexpr int kMetronomeClickLow = 1110;

// "metronome1104.wav" or "metronome1110.wav".
std::string MetronomeClickFileName(int id);

// The built-in click of an id (the lower one for an unknown id).
std::vector<uint8_t> BuiltInMetronomeClick(int id);

// The click of the data folder when it holds a readable WAVE file of that name, else the
// built-in one.
std::vector<uint8_t> MetronomeClickWave(int id, const std::string& dataFolder);

}  // namespace vornel
