#pragma once
// Lengths as the rhythm words of chords hold them. A chord holds one value (breve to
// sixty-fourth, with or without a dot, plain or in one of the tuplets); a length that no value
// holds is written as several values that add up to it, to be joined as one held sound.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vornel {

class nChord;

// A length in ticks (a whole note is 768) as the fraction numerator / denominator.
struct TickLength {
  int64_t numerator = 0;
  int64_t denominator = 1;
};

// The most values one length is written with; a longer length is beyond what the values hold.
inline constexpr size_t kMaxRhythmValues = 32;

// The rhythm words whose lengths add up to `length` exactly, the longest first: one word
// where one value holds it, else the fewest plain values, else the values of the first tuplet
// that holds it (triplets first). Empty when no values make it exactly, or more than
// kMaxRhythmValues would be needed.
std::vector<uint16_t> RhythmsForLength(TickLength length);
std::vector<uint16_t> RhythmsForTicks(uint32_t ticks);

// Plain values adding up to the multiple of a sixty-fourth nearest to `length` (at least one
// sixty-fourth), or the longest kMaxRhythmValues values where that takes more: never empty.
std::vector<uint16_t> NearestRhythms(TickLength length);

// The length a rhythm word holds, exactly (without the rounding of a tuplet group).
TickLength RhythmLength(uint16_t rhythmWord);

// "3/8 + 1/16": the values of the words as fractions of a whole note.
std::string RhythmsText(const std::vector<uint16_t>& words);

// Slur type (bits 8-11 of a note's slur word) of a note held from the chord before it: it
// sounds on, it is not struck again.
inline constexpr uint32_t kHeldSlurWord = 0x800;

// The chord that continues `chord` for one more value: its notes held, without its marks,
// ornaments, fingerings and name.
std::shared_ptr<nChord> HeldContinuation(const nChord& chord, uint16_t rhythmWord);

}  // namespace vornel
