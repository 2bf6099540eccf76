#pragma once
// The columns the lines of a system share when it is drawn: what sounds together on any of its
// staves stands one above the other, and a chord stands far enough from the one before it for
// its syllable and its fret digits to keep clear of theirs.

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "model/score/SystemSlots.h"
#include "platform/draw/DeviceContext.h"

namespace vornel {

class CInstrument;
class CStaveArray;

// A line is shown unless its instrument is hidden.
bool LineShown(const CInstrument* line);

// Whether a voice the line's staves draw ends with a bar line of its own.
bool EndsWithBarLine(const CInstrument& line);

struct SystemGrid {
  std::vector<std::pair<CInstrument*, size_t>> voices;  // the line and voice of each list of places
  SystemSlots slots;
};

// The shared columns of the system's shown lines, their ink measured on `dc` at `zoom` with
// columns `columnWidth` wide. Nothing when fewer than two drawn voices hold anything: a voice
// alone keeps the columns of its own stave.
std::optional<SystemGrid> LayOutSystemGrid(const CStaveArray& system, DeviceContext& dc, int32_t zoom,
                                           int32_t columnWidth);

// Puts the grid's places on the staves of its lines at `unit` device units to a unit of the
// grid; every other voice of the system (all of them without a grid) keeps its stave's own
// columns.
void PlaceGrid(const CStaveArray& system, const SystemGrid* grid, double unit);

}  // namespace vornel
