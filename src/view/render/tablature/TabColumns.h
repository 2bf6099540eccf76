#pragma once
// The room a tablature line's columns keep for what reaches beyond its letters: the strokes
// written before its bourdons, ornaments beside the letters and changes of time signature,
// which take a column of their own as wide as the signature. An element whose ink would reach
// the element before it stands further right, and when the line has no room left for that, its
// columns stand closer. Every stave of the line lays its columns out alike, so that a staff
// above a tablature stays in line with it.

#include <cstdint>
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CInstrumentDlg;
class nChordArray;

struct TabColumnRoom {
  int32_t columnWidth = 0;      // how far the columns stand apart
  std::vector<int32_t> shifts;  // how far each element's column moves right; empty: none
};

// The columns of the voices of a line of `definition` (its tablature's letters, bourdons, the
// ornaments beside the letters and the time signatures), drawn at `zoom` on `dc` with columns
// `columnWidth` apart from `left`, the last ending by `right` (as far as the room allows:
// columns are narrowed by at most a quarter). The device is only read.
TabColumnRoom LayTabColumnRoom(DeviceContext& dc, CInstrumentDlg& definition, int32_t zoom,
                               const std::vector<const nChordArray*>& voices, int32_t columnWidth,
                               bool halfColumnBars, int64_t left, int64_t right);

// How wide a time signature stands on a tablature of `lines` lines `spacing` apart with the
// event's value (its size in bits 16-23, else the instrument's `signatureSize`).
int32_t TabSignatureWidth(int32_t lines, int32_t spacing, uint32_t value, int32_t signatureSize);

}  // namespace vornel
