#include "view/render/TuningLabels.h"

#include <algorithm>
#include <string>

#include "model/instrument/CTabInstrument.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

namespace {
constexpr int32_t kLabelPoints = 7;
}

int32_t DrawTuningLabelColumn(GraphicUtil& g, const CTabInstrument& tab, int32_t x, int32_t firstY, int32_t spacing) {
  const int32_t lines = std::clamp(tab.tuning.lines, 0, 16);
  const bool upsideDown = tab.tabStyle == CTabInstrument::kSpanish;
  int32_t widest = 0;
  for (int32_t k = 0; k < lines; ++k) {
    const int32_t course = upsideDown ? lines - 1 - k : k;
    const std::string label = tab.tuning.GetStringLabel(course);
    const Rect r = g.DrawTextAt(x, firstY + k * spacing, label, kLabelPoints, 0, 0, TA_RIGHT | TA_BASELINE);
    widest = std::max(widest, r.Width());
  }
  return widest;
}

void DrawStaveJoinLines(GraphicUtil& g, int32_t x, int32_t top, int32_t bottom, int32_t braceWidth) {
  if (bottom <= top) return;
  g.DrawVerticalLine(30, 0, x, top, bottom - top, false);
  if (braceWidth > 0) g.DrawCurlyBrace(braceWidth, 0, x - braceWidth, top + (bottom - top) / 2, bottom);
}

}  // namespace vornel
