#include "model/voice/RhythmValues.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "model/voice/nChord.h"

namespace vornel {

namespace {

// A value of a tuplet lasts m/n of its plain length (as nChord::DurationTicks plays it).
struct Tuplet {
  uint16_t selector;
  int64_t n;
  int64_t m;
};
// Plain first, then triplets; selector 4 (6 in the time of 4) lasts as a triplet does.
constexpr Tuplet kTuplets[] = {{0, 2, 2}, {1, 3, 2},  {2, 5, 2},  {3, 7, 4},  {5, 9, 4},
                               {6, 11, 4}, {7, 13, 4}, {8, 15, 8}, {9, 17, 2}};
constexpr Tuplet kSextuplet = {4, 6, 4};

// The plain values, longest first: every length in ticks is a multiple of 6.
struct Value {
  int64_t ticks;
  uint16_t word;
};
constexpr Value kValues[] = {{2304, 8}, {1536, 0}, {1152, 9}, {768, 1}, {576, 10}, {384, 2}, {288, 11}, {192, 3},
                             {144, 12}, {96, 4},   {72, 13},  {48, 5},  {36, 14},  {24, 6},  {18, 15},  {12, 7}};
constexpr int64_t kLongest = 2304;
constexpr int64_t kShortest = 12;
// Beyond these a fraction is no length a score holds.
constexpr int64_t kLargestTerm = int64_t{1} << 46;

// The longest plain values, at most kMaxRhythmValues, that go into `ticks` (a multiple of 6 of
// at least 12), each given the tuplet selector, and what they leave.
std::vector<uint16_t> PlainValues(int64_t& ticks, uint16_t selector) {
  std::vector<uint16_t> words;
  while (ticks > 0 && words.size() < kMaxRhythmValues) {
    // The longest value that leaves a length the values still make (anything but 6 ticks).
    const Value* value = std::find_if(std::begin(kValues), std::end(kValues),
                                      [&](const Value& v) { return v.ticks <= ticks && ticks - v.ticks != 6; });
    if (value == std::end(kValues)) break;
    words.push_back(static_cast<uint16_t>(value->word | (selector << 4)));
    ticks -= value->ticks;
  }
  return words;
}

// Plain values adding up to `ticks` exactly; empty when they cannot.
std::vector<uint16_t> ExactPlainValues(int64_t ticks, uint16_t selector) {
  if (ticks < kShortest || ticks % 6 != 0) return {};
  std::vector<uint16_t> words = PlainValues(ticks, selector);
  return ticks == 0 ? words : std::vector<uint16_t>();
}

TickLength Reduced(int64_t numerator, int64_t denominator) {
  const int64_t g = std::gcd(numerator, denominator);
  return g == 0 ? TickLength{} : TickLength{numerator / g, denominator / g};
}

const Tuplet& TupletOf(uint16_t word) {
  const uint32_t n = nChord::TupletNumber(word);
  if (n == 6) return kSextuplet;
  for (const Tuplet& t : kTuplets) {
    if (static_cast<uint32_t>(t.n) == n) return t;
  }
  return kTuplets[0];
}

}  // namespace

std::vector<uint16_t> RhythmsForLength(TickLength length) {
  if (length.numerator <= 0 || length.denominator <= 0) return {};
  const TickLength t = Reduced(length.numerator, length.denominator);
  if (t.numerator > kLargestTerm || t.denominator > kLargestTerm) return {};
  for (const Tuplet& tuplet : kTuplets) {
    // The plain length whose tuplet value lasts t.
    const int64_t numerator = t.numerator * tuplet.n;
    const int64_t denominator = t.denominator * tuplet.m;
    if (numerator % denominator != 0) continue;
    if (numerator / denominator > kLongest * static_cast<int64_t>(kMaxRhythmValues)) continue;
    std::vector<uint16_t> words = ExactPlainValues(numerator / denominator, tuplet.selector);
    if (!words.empty()) return words;
  }
  return {};
}

std::vector<uint16_t> RhythmsForTicks(uint32_t ticks) { return RhythmsForLength({ticks, 1}); }

std::vector<uint16_t> NearestRhythms(TickLength length) {
  const double ticks = length.denominator > 0 ? static_cast<double>(length.numerator) / length.denominator : 0.0;
  const double longest = static_cast<double>(kLongest * static_cast<int64_t>(kMaxRhythmValues));
  int64_t rounded = std::max<int64_t>(std::llround(std::clamp(ticks, 0.0, longest) / 12.0), 1) * 12;
  // Beyond what the most values hold, the longest of them.
  return PlainValues(rounded, 0);
}

TickLength RhythmLength(uint16_t rhythmWord) {
  const Tuplet& tuplet = TupletOf(rhythmWord);
  return Reduced(int64_t{nChord::PlainTicks(rhythmWord)} * tuplet.m, tuplet.n);
}

std::shared_ptr<nChord> HeldContinuation(const nChord& chord, uint16_t rhythmWord) {
  auto next = std::make_shared<nChord>(chord);
  next->metaEvents.clear();
  next->name.clear();
  next->rhythm = rhythmWord;
  for (const auto& note : next->notes) {
    if (note == nullptr) continue;
    note->slur = kHeldSlurWord;
    note->ornament = 0;
    note->fingering = 0;
  }
  return next;
}

std::string RhythmsText(const std::vector<uint16_t>& words) {
  std::string text;
  for (const uint16_t word : words) {
    const TickLength length = RhythmLength(word);
    const TickLength whole = Reduced(length.numerator, length.denominator * nChord::kWholeTicks);
    if (!text.empty()) text += " + ";
    text += std::to_string(whole.numerator) + "/" + std::to_string(whole.denominator);
  }
  return text;
}

}  // namespace vornel
