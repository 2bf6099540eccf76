#include "midi/MidiTime.h"

#include <algorithm>

namespace vornel {

MidiMeter MidiMeter::From(int64_t numerator, int64_t denominator) {
  MidiMeter m;
  // Numerators are 8-bit values in the model; anything beyond is not a signature.
  if (numerator <= 0 || numerator > 255 || denominator <= 0) return m;
  uint32_t shift = 0;
  for (int64_t d = denominator; d > 1; d /= 2) ++shift;
  if (shift > 9) return m;  // 768 >> shift would be 0 ticks
  const uint32_t unit = kMidiTicksPerWhole >> shift;
  m.numerator = static_cast<uint32_t>(numerator);
  m.denominator = static_cast<uint32_t>(denominator);
  m.barTicks = unit * m.numerator;
  m.beatTicks = unit;
  return m;
}

uint32_t MidiTempoBpm(uint32_t tempoWord) {
  const uint32_t bpm = tempoWord & 0xFFF;
  if (bpm == 0) return kMidiDefaultTempo;
  return bpm < kMidiMinTempo ? kMidiMinTempo : bpm;
}

uint32_t MidiTempoMicroseconds(uint32_t tempoWord) { return 60000000u / MidiTempoBpm(tempoWord); }

uint64_t MidiScale(uint64_t number, uint64_t numerator, uint64_t denominator) {
  if (denominator == 0) return 0;
  return (number * numerator + denominator / 2) / denominator;
}

}  // namespace vornel
