#include "view/render/metaevents/AlfabetoDrawing.h"

#include <algorithm>
#include <string>

#include "model/instrument/CAlfabeto.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/GraphicUtil.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/TabFonts.h"

namespace vornel {

namespace {

// Text of fret diagrams: 8 points at natural size.
constexpr int32_t kDiagramTextSize = 8;

// The glyph marks of diagrams are drawn in the chart's flags font at the size of a diagram
// cell.
std::optional<FontSpec> SelectDiagramFont(DeviceContext& dc, CTabInstrument& instrument, int32_t zoom) {
  const auto font = CreateFlagsFont(instrument, dc, zoom);
  if (!font) return std::nullopt;
  return dc.SelectFont(*font);
}

}  // namespace

Rect DrawLetter(GraphicUtil& g, const CAlfabeto& alfabeto, std::string_view letter, bool star, const Rect& rect,
                COLORREF colour) {
  std::string text = letter == "[" ? std::string("+") : std::string(letter);
  if (star) text += '*';
  Rect r = rect;
  r.Normalize();
  if (alfabeto.showAlfabeto == 0) return {r.left, r.top, r.left + r.Height(), r.top + r.Height()};
  return g.DrawGlyphsInRect(alfabeto.letterFont.logFont.lfFaceName, text, -1, colour, false, r);
}

void DrawFretDiagram(GraphicUtil& g, const FretDiagram& diagram) {
  if (diagram.covered.IsEmpty()) return;
  DeviceContext& dc = g.dc;
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, diagram.gridPen, 0));
  for (const FretDiagram::Line& line : diagram.courses) {
    dc.MoveTo(line.from.x, line.from.y);
    dc.LineTo(line.to.x, line.to.y);
  }
  for (const FretDiagram::Line& line : diagram.frets) {
    dc.MoveTo(line.from.x, line.from.y);
    dc.LineTo(line.to.x, line.to.y);
  }
  if (diagram.nut) dc.FillSolidRect(*diagram.nut, 0);
  const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  for (const FretDiagram::Mark& mark : diagram.marks) dc.TextOut(mark.at.x, mark.at.y, GlyphText(mark.glyph));
  dc.SetTextAlign(oldAlign);
  if (diagram.barre) {
    dc.SelectPen(Pen::Create(PS_SOLID, diagram.barrePen, 0));
    dc.MoveTo(diagram.barre->from.x, diagram.barre->from.y);
    dc.LineTo(diagram.barre->to.x, diagram.barre->to.y);
  }
  dc.SelectPen(oldPen);
  if (diagram.firstFret) {
    g.DrawTextAt(diagram.firstFret->at.x, diagram.firstFret->at.y, diagram.firstFret->text, kDiagramTextSize, 0, 0,
                 TA_RIGHT | TA_BASELINE);
  }
  if (!diagram.name.text.empty()) {
    g.DrawTextAt(diagram.name.at.x, diagram.name.at.y, diagram.name.text, kDiagramTextSize, 0, 0,
                 TA_LEFT | TA_TOP);
  }
}

Rect DrawAlfabetoChord(GraphicUtil& g, const CTabInstrument& instrument, const nChord& chord, Point at, int32_t zoom) {
  DeviceContext& dc = g.dc;
  const int32_t width = MulDiv(MulDiv(65, zoom, 100), dc.LogPixelsX(), 254);
  const int32_t height = MulDiv(MulDiv(60, zoom, 100), dc.LogPixelsY(), 254);
  const FretDiagram diagram =
      chord.LayoutFretDiagram(instrument, at.x, at.y, width, height, dc.LogPixelsX(), dc.LogPixelsY());
  if (diagram.covered.IsEmpty()) return {};
  CTabInstrument& measured = const_cast<CTabInstrument&>(instrument);
  const auto previous = SelectDiagramFont(dc, measured, zoom);
  DrawFretDiagram(g, diagram);
  if (previous) dc.SelectFont(*previous);
  return diagram.covered;
}

bool DrawAlfabetoChart(GraphicUtil& g, CTabInstrument& instrument, int32_t columns, int32_t cellWidth,
                       int32_t cellHeight) {
  DeviceContext& dc = g.dc;
  CTabInstrument chartInstrument;
  chartInstrument.CopyFrom(instrument);
  chartInstrument.tabFont.zoomScale.cy = 80;
  const auto previous = SelectDiagramFont(dc, chartInstrument, g.zoom);
  if (!previous) {
    Prompts().ShowMessage(kNotationFontError, MessageKind::kError);
    return false;
  }
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  columns = std::max(columns, 1);
  int cell = 0;
  for (char16_t letter = u'A'; letter <= u'['; ++letter) {
    const nChord* chord = chartInstrument.alfabeto.FindChordByLetter(letter);
    if (chord == nullptr) continue;
    const int32_t left = (cell % columns) * cellWidth;
    const int32_t top = (cell / columns) * cellHeight;
    const int32_t boxWidth = cellWidth * 35 / 100;
    const int32_t boxHeight = cellHeight * 55 / 100;
    const int32_t boxLeft = left + (cellWidth - boxWidth) / 2;
    const int32_t boxTop = top + cellHeight / 6;
    const FretDiagram diagram = chord->LayoutFretDiagram(chartInstrument, boxLeft, boxTop, boxWidth, boxHeight,
                                                         dc.LogPixelsX(), dc.LogPixelsY());
    DrawFretDiagram(g, diagram);
    const std::string symbol = letter == u'[' ? std::string("+") : std::string(1, static_cast<char>(letter));
    g.DrawTextAt(left + cellWidth / 2, top + cellHeight - cellHeight / 20, symbol, 10, 0, 0, TA_CENTER | TA_BASELINE);
    ++cell;
  }
  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SelectFont(*previous);
  return true;
}

}  // namespace vornel
