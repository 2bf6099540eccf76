#pragma once
// The room a tablature line's columns keep for the strokes written before its bourdons: a
// chord whose strokes would reach the letters of the column before it (or the bar line
// before it) stands further right, and when the line has no room left for that, its columns
// stand closer. Every stave of the line lays its columns out alike, so that a staff above a
// tablature stays in line with it.

#include <cstdint>
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CInstrumentDlg;
class nChordArray;

struct BourdonColumns {
  int32_t columnWidth = 0;      // how far the columns stand apart
  std::vector<int32_t> shifts;  // how far each element's column moves right; empty: none
};

// The columns of the voices of a line of `definition` (its tablature's letters, bourdons and
// the ornaments beside the letters), drawn at `zoom` on `dc` with columns `columnWidth` apart
// from `left`, the last ending by `right` (as far as the room allows: columns are narrowed by
// at most a quarter). The device is only read.
BourdonColumns LayBourdonColumns(DeviceContext& dc, CInstrumentDlg& definition, int32_t zoom,
                                 const std::vector<const nChordArray*>& voices, int32_t columnWidth,
                                 bool halfColumnBars, int64_t left, int64_t right);

}  // namespace vornel
