#include "model/instrument/DrawnColumns.h"

#include <algorithm>

#include "model/instrument/CClef.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

// The places `voice` was drawn at (one per element and the stave's right end), or null when
// they are not of its present length.
const std::vector<uint32_t>* DrawnPlaces(const CClef& stave, int32_t voiceIndex, const nChordArray& voice) {
  if (stave.columnWidth <= 0 || voice.empty() || voiceIndex < 0 ||
      static_cast<size_t>(voiceIndex) >= stave.LastDrawn().voicePositions.size()) {
    return nullptr;
  }
  const std::vector<uint32_t>& xs = stave.LastDrawn().voicePositions[static_cast<size_t>(voiceIndex)];
  return xs.size() == voice.size() + 1 ? &xs : nullptr;
}

int64_t GridX(const CClef& stave, int64_t column) { return int64_t{stave.area.left} + column * stave.columnWidth; }

}  // namespace

int64_t DrawnColumnShift(const CClef& stave, int32_t voiceIndex, const nChordArray& voice, int64_t column) {
  const std::vector<uint32_t>* xs = DrawnPlaces(stave, voiceIndex, voice);
  if (xs == nullptr) return 0;
  const int64_t at = std::clamp<int64_t>(column, 0, static_cast<int64_t>(voice.size()) - 1);
  return int64_t{(*xs)[static_cast<size_t>(at)]} - GridX(stave, at);
}

int64_t DrawnColumnX(const CClef& stave, int32_t voiceIndex, const nChordArray& voice, int64_t column) {
  return GridX(stave, column) + DrawnColumnShift(stave, voiceIndex, voice, column);
}

int64_t DrawnColumnAt(const CClef& stave, int32_t voiceIndex, const nChordArray& voice, int64_t x) {
  const std::vector<uint32_t>* drawn = DrawnPlaces(stave, voiceIndex, voice);
  if (drawn == nullptr) return -1;
  const std::vector<uint32_t>& xs = *drawn;
  const size_t last = voice.size() - 1;
  if (x < int64_t{xs[0]}) return -1;
  size_t column = 0;
  for (size_t i = 1; i <= last; ++i) {
    if (int64_t{xs[i]} <= x) column = i;
  }
  if (column < last) return static_cast<int64_t>(column);
  return static_cast<int64_t>(last) + (x - int64_t{xs[last]}) / stave.columnWidth;
}

}  // namespace vornel
