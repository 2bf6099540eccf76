#pragma once
// Alfabeto letters and chord diagrams: the letter of an alfabeto event, the fret diagram laid
// out by the model, one chart chord for a chord-chart event, and the whole chart of an
// instrument (what the chart dialog and the chord palette paint).

#include <cstdint>
#include <string_view>

#include "model/voice/FretDiagram.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class CAlfabeto;
class CTabInstrument;
class DeviceContext;
class GraphicUtil;
class nChord;

// The letter text ('[' written '+', '*' added with the star) fitted into `rect` in the
// chart's letter font; when the chart hides its letters nothing is drawn and a square at the
// rectangle's corner is returned.
Rect DrawLetter(GraphicUtil& g, const CAlfabeto& alfabeto, std::string_view letter, bool star, const Rect& rect,
                COLORREF colour);
// The diagram's grid, marks (glyphs of the font selected by the caller), barré and texts.
void DrawFretDiagram(GraphicUtil& g, const FretDiagram& diagram);
// One chart chord as a diagram in a frame 6.5 by 6 mm at the zoom, its top-left corner at
// `at`; returns what it covered (empty for a chord that makes no diagram).
Rect DrawAlfabetoChord(GraphicUtil& g, const CTabInstrument& instrument, const nChord& chord, Point at, int32_t zoom);
// Every letter the chart defines, from 'A' to '[', each with its diagram in a cell, `columns`
// cells a row. False, after the message "Fatal: Cannot load notation font", when the flags
// font cannot be made.
bool DrawAlfabetoChart(GraphicUtil& g, CTabInstrument& instrument, int32_t columns, int32_t cellWidth,
                       int32_t cellHeight);

}  // namespace vornel
