#include "model/instrument/DrawnColumns.h"

#include <algorithm>

#include "model/instrument/CClef.h"
#include "model/score/nChordArray.h"

namespace vornel {

namespace {

// The drawn places (one per element and the stave's right end) belong to `voice`.
bool DrawnFor(const CClef& stave, const nChordArray& voice) {
  return stave.columnWidth > 0 && !voice.empty() && stave.chordPositions.size() == voice.size() + 1;
}

int64_t GridX(const CClef& stave, int64_t column) { return int64_t{stave.area.left} + column * stave.columnWidth; }

}  // namespace

int64_t DrawnColumnShift(const CClef& stave, const nChordArray& voice, int64_t column) {
  if (!DrawnFor(stave, voice)) return 0;
  const int64_t at = std::clamp<int64_t>(column, 0, static_cast<int64_t>(voice.size()) - 1);
  return int64_t{stave.chordPositions[static_cast<size_t>(at)]} - GridX(stave, at);
}

int64_t DrawnColumnAt(const CClef& stave, const nChordArray& voice, int64_t x) {
  if (!DrawnFor(stave, voice)) return -1;
  const std::vector<uint32_t>& xs = stave.chordPositions;
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
