#pragma once
// The built-in instrument templates: two sets of twelve records from which a fresh instrument
// base, the shipped base and the shipped document templates are made. A record names the
// first stave's notation mode, the tuning, the General MIDI program, the instrument's name
// and its family.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vornel {

struct InstrumentTemplateRecord {
  int32_t notationMode;          // the first stave's type: 0 staff notation, 1 tablature
  std::string_view tuning;       // tuning text ("GDAFCGF")
  uint8_t program;               // General MIDI program, 1-128
  std::string_view programName;  // its name as the patch chooser lists it
  std::string_view name;
  uint8_t family;                // index into the family names
};

inline constexpr size_t kTemplateSetSize = 12;
inline constexpr size_t kTemplateSetCount = 2;
// The early-music set ("Renaissance lute in G (vieil ton)" first) and the modern set
// ("Modern guitar" first).
inline constexpr size_t kEarlyMusicSet = 0;
inline constexpr size_t kModernSet = 1;

// The records of a set; an index beyond the last set gives the last.
std::span<const InstrumentTemplateRecord, kTemplateSetSize> InstrumentTemplateSet(size_t set);

}  // namespace vornel
