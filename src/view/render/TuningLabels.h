#pragma once
// The note names of a tablature's courses beside its lines, and the join of a line's staves.

#include <cstdint>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CTabInstrument;
class GraphicUtil;

// Each course's name right-aligned at x, the first on the baseline `firstY`, one spacing
// apart (upside down for Spanish tablature). Returns the widest label's width.
int32_t DrawTuningLabelColumn(GraphicUtil& g, const CTabInstrument& tab, int32_t x, int32_t firstY, int32_t spacing);
// A vertical line at x from top to bottom and a curly brace `braceWidth` wide left of it.
void DrawStaveJoinLines(GraphicUtil& g, int32_t x, int32_t top, int32_t bottom, int32_t braceWidth);

}  // namespace vornel
