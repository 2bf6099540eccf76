#pragma once
// Where breaking a voice list into systems puts stave breaks, shared by inserting the breaks
// into a list and by reflowing a section, which puts the list on its systems without them.

#include <cstddef>
#include <vector>

#include "model/voice/nChord.h"

namespace vornel {

// Where a stave break stands beside the bar line it is placed at.
enum class BreakAtBar {
  kBefore,  // the bar line starts the next system (a voice's own break insertion)
  kAfter,   // the bar line ends its system (the music of a file read in)
};

// The indices of the entries of a list of `count` entries (`entryAt(i)` gives entry i, or null)
// before which a stave break goes so that systems hold about `run` entries: at a bar line
// more than `run` entries after the last break (a break already in the list counts), before
// it or after it as `at` says, never before the first entry or among the last ten. A list of
// fewer than twelve entries stays whole.
template <typename EntryAt>
std::vector<size_t> StaveBreakPlaces(size_t count, size_t run, EntryAt&& entryAt, BreakAtBar where = BreakAtBar::kBefore) {
  std::vector<size_t> places;
  if (count < 12) return places;
  const size_t shift = where == BreakAtBar::kAfter ? 1 : 0;
  size_t last = 0;  // position of the last break, counted with the breaks placed
  for (size_t i = 1; i < count - 10; ++i) {
    const nChord* e = entryAt(i);
    if (e == nullptr || !e->IsBarLine()) continue;
    const size_t at = i + shift + places.size();
    if (e->IsStaveBreak()) {
      last = i + places.size();
    } else if (at - last > run) {
      last = at;
      places.push_back(i + shift);
    }
  }
  return places;
}

}  // namespace vornel
