#pragma once
// Where the last drawing put a stave's columns. The drawn layout moves columns off the even
// grid of the stave's column width (bars lined up across the lines of a system, half columns
// after bar lines, room for the strokes before bass letters, time-proportional spacing); the
// caret and a click follow the drawing. Each voice keeps the places of its last drawing on the
// stave (`CClef::DrawnPlaces::voicePositions`); a voice not drawn there since it changed length keeps the
// grid.

#include <cstdint>

namespace vornel {

class CClef;
class nChordArray;

// How far column `column` of `voice` stands right of its place on the grid; columns past the
// voice's end keep the shift of its last element.
int64_t DrawnColumnShift(const CClef& stave, int32_t voiceIndex, const nChordArray& voice, int64_t column);

// Where column `column` of `voice` was drawn (past the voice's end, counted on in column
// widths; on the even grid when the drawing did not place `voice`).
int64_t DrawnColumnX(const CClef& stave, int32_t voiceIndex, const nChordArray& voice, int64_t column);

// The column of `voice` (the line's voice `voiceIndex`) whose drawn place is the last at or left of `x` (past the voice's end,
// counted on in column widths), or -1 when the drawing did not place `voice` or `x` is left
// of its first column.
int64_t DrawnColumnAt(const CClef& stave, int32_t voiceIndex, const nChordArray& voice, int64_t x);

}  // namespace vornel
