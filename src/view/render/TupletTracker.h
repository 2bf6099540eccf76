#pragma once
// Follows a run of tuplet notes of one voice until their ticks fill the tuplet, then draws a
// bracket with its number over (or under) the run. Only tuplets of quarters and longer get a
// bracket; shorter values show their number on the beam.

#include <climits>
#include <cstdint>

namespace vornel {

class GraphicUtil;
class nChord;

class TupletTracker {
 public:
  // Where brackets stand: `top` and `bottom` are the stave's top and bottom lines; stems
  // down puts them below.
  void SetPlacement(int32_t top, int32_t bottom, int32_t spacing, bool below);
  // Feeds one chord at x, whose heads and stem reach from `inkTop` to `inkBottom`; draws the
  // bracket when its ticks complete the tuplet, clear of the ink of the run's chords.
  void Add(GraphicUtil& g, const nChord& chord, int32_t x, int32_t inkTop = INT32_MAX,
           int32_t inkBottom = INT32_MIN);
  // Closes an open bracket at x - (x - start) / count (a run cut short by the end of a line
  // or a bar), or forgets a tracker that holds nothing.
  void Flush(GraphicUtil& g, int32_t x);
  void Clear();
  bool HasStart() const { return count_ > 0; }

 private:
  void DrawBracket(GraphicUtil& g, int32_t endX);

  int32_t startX_ = 0;
  int32_t count_ = 0;
  uint32_t ticks_ = 0;
  uint32_t target_ = 0;
  int valueCode_ = 0;
  uint32_t number_ = 2;
  int32_t top_ = 0;
  int32_t bottom_ = 0;
  int32_t spacing_ = 0;
  bool below_ = false;
  int32_t inkTop_ = INT32_MAX;
  int32_t inkBottom_ = INT32_MIN;
};

}  // namespace vornel
