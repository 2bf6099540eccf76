#include "view/render/VoiceGroupPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "model/instrument/CTabInstrument.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/NumberText.h"
#include "view/draw/DrawContext.h"
#include "view/draw/FontDrawing.h"
#include "view/render/LabelDrawing.h"
#include "view/render/NotationGlyphs.h"

namespace vornel {

namespace {

int32_t Round(double value) { return static_cast<int32_t>(std::lround(value)); }

}  // namespace

int32_t VoiceGroupPainter::StemEnd(const CNoteGroup& e) const {
  const int32_t end = group_.stemsDown ? e.bottom : e.top;
  return end != 0 ? end : e.y;
}

void VoiceGroupPainter::DrawElementText(size_t index, int32_t x, int32_t y) {
  const CNoteGroup& e = At(index);
  if (e.text.empty()) return;
  const int32_t w = group_.noteheadWidth;
  if (group_.tupletNumber != 2) {
    x -= w;
    if (e.text.size() >= 2) x -= w / 2;
    const int32_t away = static_cast<int32_t>(e.text.size() + 1) * (group_.stemLength / 2);
    y += group_.stemsDown ? away : -away;
  }
  dfLogFont font;
  if (auto page = PageFont(g_.dc, kElementTextFont)) font = *page;
  const InkSourceScope ink(g_.dc, InkSource::kFingering);
  DrawFontText(e.text, font, g_.dc, TA_CENTER | TA_BASELINE, static_cast<float>(g_.zoom), 0, 0, x, y);
}

void VoiceGroupPainter::DrawSingle(size_t index, uint16_t glyphBase) {
  DeviceContext& dc = g_.dc;
  const CNoteGroup& e = At(index);
  // A rest has no stem to end at: it stands where the rests of a group stand.
  if (!e.HasNotes() && group_.tabMode == 0) {
    DrawRest(index, false);
    return;
  }
  const int code = e.ValueCode();
  const uint32_t glyph = e.HasNotes() ? glyphBase + static_cast<uint32_t>(code) : 120u + static_cast<uint32_t>(code);
  const int32_t end = StemEnd(e);
  const COLORREF old = dc.SetTextColor(group_.colour);
  {
    const InkSourceScope ink(dc, group_.tabMode != 0 ? InkSource::kRhythmFlag
                                 : e.HasNotes()      ? InkSource::kFlag
                                                     : InkSource::kRest);
    dc.TextOut(e.x, end, GlyphText(glyph));
  }
  dc.SetTextColor(old);
  if (group_.tabMode == 0 && e.noteCount >= 2 && code >= 4) {
    const InkSourceScope ink(dc, InkSource::kStem);
    const int32_t x = group_.stemsDown ? e.x : e.x + group_.noteheadWidth;
    dc.MoveTo(x, end);
    dc.LineTo(x, group_.stemsDown ? e.top : e.bottom);
  }
  const int32_t w = group_.noteheadWidth;
  DrawElementText(index, e.x, group_.stemsDown ? e.bottom + 5 * w / 2 : e.top - 5 * w / 2);
}

void VoiceGroupPainter::ComputeSlope() {
  group_.slope = 0.0f;
  if (!group_.slopeEnabled || group_.tabMode != 0 || !group_.stemsDrawn || group_.size() < 2) return;
  int a = -1;
  int b = -1;
  for (size_t i = 0; i < group_.size(); ++i) {
    if (!At(i).HasNotes()) continue;
    if (a < 0) a = static_cast<int>(i);
    b = static_cast<int>(i);
  }
  if (a < 0) return;
  const CNoteGroup& first = At(static_cast<size_t>(a));
  const CNoteGroup& last = At(static_cast<size_t>(b));
  const int32_t d = group_.stemsDown ? first.bottom - last.bottom : first.top - last.top;
  double slope = d * 0.5;
  const int32_t s = group_.spacing;
  if (std::abs(Round(slope)) > s) slope *= 0.25;
  if (std::abs(Round(slope)) > s / 2) slope /= 3;
  group_.slope = static_cast<float>(slope);
}

void VoiceGroupPainter::DrawRest(size_t index, bool insideBeam) {
  DeviceContext& dc = g_.dc;
  const CNoteGroup& e = At(index);
  const uint32_t glyph = static_cast<uint32_t>(e.ValueCode() + (group_.tabMode == 0 ? 120 : 100));
  int32_t y = 0;
  if (group_.tabMode == 0) {
    // Inside the beam the rest stands with its bottom on the previous note's top; before or
    // after the beamed notes it takes its place on the middle line (the flag line).
    const CNoteGroup* neighbour = nullptr;
    for (size_t i = index; insideBeam && i-- > 0;) {
      if (At(i).HasNotes()) {
        neighbour = &At(i);
        break;
      }
    }
    if (neighbour != nullptr) {
      const Rect ink = dc.GetTextInkBox(GlyphText(glyph));
      y = neighbour->top - ink.bottom;
      // The beams run over the rest's column too (e.y is their edge towards the notes once
      // the primary beams are drawn): a rest taller than the room under them moves off them.
      const int32_t gap = std::max(group_.spacing / 4, 1);
      if (group_.stemsDown) {
        y = std::min(y, e.y - gap - ink.bottom);
      } else {
        y = std::max(y, e.y + gap - ink.top);
      }
    } else {
      y = group_.flagLine;
    }
  } else {
    y = group_.flagLine;
    if (group_.flagPlacement == 2) y -= group_.stemLength;
  }
  const COLORREF old = dc.SetTextColor(group_.colour);
  const InkSourceScope ink(dc, group_.tabMode != 0 ? InkSource::kRhythmFlag : InkSource::kRest);
  dc.TextOut(e.x, y, GlyphText(glyph));
  dc.SetTextColor(old);
}

void VoiceGroupPainter::Draw(int32_t noteheadWidth) {
  group_.noteheadWidth = noteheadWidth;
  const int32_t w = noteheadWidth;
  int n = static_cast<int>(group_.size());
  group_.count = n;
  const int m = group_.GetMinValue();
  const int maxValue = group_.GetMaxValue();
  if (n == 1) {
    const CNoteGroup& e = At(0);
    DrawElementText(0, e.x, group_.stemsDown ? e.bottom + 5 * w / 2 : e.top - 5 * w / 2);
  }
  if (n == 0) return;
  if (n == 1 && At(0).ValueCode() < 4) return;
  if (n == 2 && (At(0).ValueCode() < 4 || At(1).ValueCode() < 4)) {
    DrawSingle(0, group_.glyphBase);
    DrawSingle(1, group_.glyphBase);
    return;
  }
  ComputeSlope();
  while (n > 0 && !At(static_cast<size_t>(n - 1)).HasNotes()) {
    DrawRest(static_cast<size_t>(n - 1), false);
    --n;
  }
  group_.count = n;
  if (n == 0) return;
  const int f = group_.GetFirstNoted();
  // Rests that open a group stand before its notes as whole glyphs.
  for (int i = 0; i < f; ++i) DrawRest(static_cast<size_t>(i), false);
  const int32_t e = group_.stemsDown ? w / 3 : -(w / 3);
  for (int threshold = 4; threshold <= 7; ++threshold) {
    if (maxValue > threshold) group_.beamLevel += e;
  }
  int noted = 0;
  for (int i = f; i < n; ++i) noted += At(static_cast<size_t>(i)).HasNotes() ? 1 : 0;
  if (noted == 1) {
    DrawSingle(static_cast<size_t>(f), group_.glyphBase);
    return;
  }
  (void)m;
  group_.beamResult = ComputeBeamLine();
  DrawBeams();
}

int32_t VoiceGroupPainter::ComputeBeamLine() {
  const int n = group_.count;
  const int32_t w = group_.noteheadWidth;
  if (group_.addedBeams != 0) group_.stemLength += group_.spacing;
  const int32_t y0 = group_.stemsDown ? group_.beamLevel + group_.stemLength : group_.beamLevel - group_.stemLength;
  const int f = group_.GetFirstNoted();
  int noted = 0;
  for (int i = 0; i < n; ++i) noted += At(static_cast<size_t>(i)).HasNotes() ? 1 : 0;
  if (noted == 1 && f < n && At(static_cast<size_t>(f)).noteCount == 1) {
    const CNoteGroup& only = At(static_cast<size_t>(f));
    return group_.stemsDown ? only.top : only.bottom;
  }
  const int32_t q = Round(group_.stemWidth * 0.125);
  for (int i = 0; i < n; ++i) {
    CNoteGroup& e = At(static_cast<size_t>(i));
    if (group_.glyphBase < 100) e.x += group_.stemsDown ? w / 2 : -(w / 2);
    e.x += group_.stemsDown ? q / 2 : w - q / 2;
  }
  const double slope = group_.slope;
  const int32_t yFirst = Round(y0 + slope);
  const int32_t yLast = Round(y0 - slope);
  const int32_t xFirst = At(0).x;
  const int32_t xLast = At(static_cast<size_t>(n - 1)).x;
  for (int i = 0; i < n; ++i) {
    CNoteGroup& e = At(static_cast<size_t>(i));
    e.y = xLast != xFirst ? yFirst + MulDiv(yLast - yFirst, e.x - xFirst, xLast - xFirst) : yFirst;
  }
  DeviceContext& dc = g_.dc;
  for (int i = f; i < n; ++i) {
    const CNoteGroup& e = At(static_cast<size_t>(i));
    if (!e.HasNotes() || e.ValueCode() < 4) continue;
    {
      const InkSourceScope ink(dc, group_.tabMode != 0 ? InkSource::kRhythmFlag : InkSource::kStem);
      dc.MoveTo(e.x, e.y);
      dc.LineTo(e.x, group_.stemsDown ? e.top : e.bottom);
    }
    DrawElementText(static_cast<size_t>(i), e.x, group_.stemsDown ? e.y + 5 * w / 2 : e.y - 5 * w / 2);
  }
  return yFirst;
}

void VoiceGroupPainter::DrawBeamBand(Point from, Point to) const {
  const InkSourceScope ink(g_.dc, group_.tabMode != 0 ? InkSource::kRhythmFlag : InkSource::kBeam);
  LineSegment(from.x, from.y, to.x, to.y).DrawBand(g_.dc, group_.thickness, true, group_.colour);
}

void VoiceGroupPainter::DrawBeams() {
  const int n = group_.count;
  if (n < 1) return;
  const int f = group_.GetFirstNoted();
  if (f >= n) return;
  group_.ComputeStep();
  const int32_t p = group_.beamStep;
  const int m = group_.minValue;
  const Point first{At(static_cast<size_t>(f)).x, At(static_cast<size_t>(f)).y};
  const Point last{At(static_cast<size_t>(n - 1)).x, At(static_cast<size_t>(n - 1)).y};
  const int primary = std::max(m - 3, 0) + group_.addedBeams;
  for (int k = 0; k < primary; ++k) {
    DrawBeamBand({first.x, first.y + k * p}, {last.x, last.y + k * p});
  }
  const int32_t total = primary * p;
  for (int i = 0; i < n; ++i) {
    CNoteGroup& e = At(static_cast<size_t>(i));
    e.y = group_.tabMode == 0 ? e.y + total : group_.beamLevel + total;
  }
  for (int i = f; i < n; ++i) {
    const CNoteGroup& e = At(static_cast<size_t>(i));
    if (e.HasNotes()) {
      if (e.ValueCode() > m) DrawSecondaryBeams(static_cast<size_t>(i));
    } else {
      DrawRest(static_cast<size_t>(i), true);
      // The rest's own beam stands as a stub on the note before it.
      if (e.ValueCode() > m && i > 0) DrawStubs(static_cast<size_t>(i - 1), 1, true, e.ValueCode());
    }
  }
  if (group_.tupletNumber != 2 && group_.maxValue > 3) DrawTupletNumber();
}

void VoiceGroupPainter::DrawStubs(size_t index, int count, bool toRight, int valueCode) {
  if (count <= 0) return;
  const CNoteGroup& e = At(index);
  const int32_t w = group_.noteheadWidth;
  const int32_t p = group_.beamStep;
  const int k = valueCode >= 0 ? valueCode : e.ValueCode();
  const int m = group_.minValue;
  // The stub follows the beam's direction.
  const Point a{At(0).x, At(0).y};
  const Point b{At(static_cast<size_t>(std::max(group_.count - 1, 0))).x,
                At(static_cast<size_t>(std::max(group_.count - 1, 0))).y};
  const int32_t dy = b.x != a.x ? MulDiv(b.y - a.y, w, b.x - a.x) : 0;
  for (int j = 0; j < count; ++j) {
    const int level = (k - m) - count + j;
    const int32_t y = e.y + level * p;
    if (toRight) {
      DrawBeamBand({e.x, y}, {e.x + w, y + dy});
    } else {
      DrawBeamBand({e.x - w, y - dy}, {e.x, y});
    }
  }
}

void VoiceGroupPainter::DrawSecondaryBeams(size_t i) {
  const int n = group_.count;
  const int m = group_.minValue;
  const int32_t p = group_.beamStep;
  const CNoteGroup& e = At(i);
  const int k = e.ValueCode();
  const size_t f = static_cast<size_t>(group_.firstNoted);
  const bool isFirst = i == f;
  const bool isLast = static_cast<int>(i) == n - 1;
  if (isFirst) {
    const bool nextNoted = i + 1 < static_cast<size_t>(n) && At(i + 1).HasNotes();
    if (nextNoted && k <= At(i + 1).ValueCode()) return;
    DrawStubs(i, k - m, true);
    return;
  }
  const CNoteGroup& before = At(i - 1);
  const int kb = before.ValueCode();
  const int k2 = std::min(kb, k) - m;
  if (before.HasNotes()) {
    for (int level = 0; level < k2; ++level) {
      DrawBeamBand({before.x, before.y + level * p}, {e.x, e.y + level * p});
    }
  }
  if (isLast) {
    if (k > kb) DrawStubs(i, k - kb, false);
    return;
  }
  const int kn = At(i + 1).ValueCode();
  if (k > kb && kn < k) DrawStubs(i, k - kb, false);
  if (!before.HasNotes() && k2 != 0) DrawStubs(i, k2, true);
}

void VoiceGroupPainter::DrawTupletNumber() {
  // Under a tablature whose flags hang below it the curve goes under the stems' free ends,
  // away from the letters of the bottom course that the beams stand close to.
  if (group_.tabMode == 2 && tabStemEnds_) {
    DrawTupletCurve(*tabStemEnds_, true);
  } else {
    DrawTupletCurve(group_.beamResult, group_.stemsDown);
  }
}

void VoiceGroupPainter::DrawTupletCurve(int32_t from, bool downward) {
  const int n = group_.count;
  if (n == 2 || n < 1) return;
  const int32_t tuplet = group_.tupletNumber;
  const int32_t number = n == 2 * tuplet ? 2 * tuplet : tuplet;
  int32_t h = g_.HundredthMmToDeviceY(120);
  if (!downward) h = -h;
  const int32_t x1 = At(0).x;
  const int32_t x2 = At(static_cast<size_t>(n - 1)).x;
  int32_t y1 = from + h / 4;
  int32_t y2 = y1;
  if (group_.tabMode == 0) {
    const int32_t rise = Round(group_.slope);
    y1 += rise;
    y2 -= rise;
  }
  const InkSourceScope ink(g_.dc, InkSource::kTuplet);
  g_.DrawCurveBetween(h, 1, x1, y1, x2, y2, group_.colour);
  const unsigned alignment = downward ? 6u : 14u;
  DrawPatternLabel(g_.dc, g_.zoom, FormatInt(number), alignment, 0, {(x1 + x2) / 2, (y1 + y2) / 2 + h / 2},
                   group_.colour);
}

// ---------------------------------------------------------------------------------------------
// Tablature rhythm flags

void VoiceGroupPainter::DrawTabFlags(const CTabInstrument& tab, int32_t tupletNumber, int32_t unit) {
  const InkSourceScope ink(g_.dc, InkSource::kRhythmFlag);
  group_.tupletNumber = tupletNumber;
  group_.ComputeStep();
  const int n = static_cast<int>(group_.size());
  group_.count = n;
  group_.GetMinValue();
  group_.GetMaxValue();
  group_.slope = 0.0f;
  const int32_t w = unit / 2;
  group_.noteheadWidth = w;
  group_.stemsDown = group_.flagPlacement == 2;
  if (n == 0) return;
  if (n == 1 || At(0).ValueCode() < 4) {
    for (int i = 0; i < n; ++i) {
      const CNoteGroup& e = At(static_cast<size_t>(i));
      DrawElementText(static_cast<size_t>(i), e.x, group_.stemsDown ? e.bottom + 5 * w / 2 : e.top - 5 * w / 2);
    }
    return;
  }
  int last = n;
  while (last > 0 && !At(static_cast<size_t>(last - 1)).HasNotes()) --last;
  const int f = group_.GetFirstNoted();
  if (last - f == 1) {
    const CNoteGroup& e = At(static_cast<size_t>(f));
    const COLORREF old = g_.dc.SetTextColor(group_.colour);
    g_.dc.TextOut(e.x, group_.flagLine, GlyphText(tab.GetFlagGlyph(e.ValueCode())));
    g_.dc.SetTextColor(old);
    return;
  }
  if (tupletNumber != 2 && group_.tupletStyle == 2) {
    DrawGroupedTabFlags(tab, unit);
    return;
  }
  // Beams hanging a quarter unit above the flag line, stems down to it. A beam is as thick as
  // the stems' length allows, never a block that swallows them.
  group_.stemsDown = false;
  group_.thickness = std::max(1, Round(std::min(group_.spacing / 3.5, group_.stemLength / 6.0)));
  group_.ComputeStep();
  const int32_t beamY = group_.flagLine - group_.stemLength - unit / 4;
  group_.beamLevel = beamY;
  DeviceContext& dc = g_.dc;
  const int32_t stemEnd = group_.flagLine - unit / 4;
  for (int i = 0; i < n; ++i) {
    CNoteGroup& e = At(static_cast<size_t>(i));
    e.y = beamY;
    if (e.HasNotes()) {
      dc.MoveTo(e.x, stemEnd);
      dc.LineTo(e.x, beamY);
    }
  }
  tabStemEnds_ = stemEnd;
  group_.beamResult = beamY;
  DrawBeams();
}

void VoiceGroupPainter::DrawGroupedTabFlags(const CTabInstrument& tab, int32_t u) {
  const InkSourceScope ink(g_.dc, InkSource::kRhythmFlag);
  const int n = group_.count;
  if (n < 1) return;
  const int32_t yb = group_.flagLine + u / 3;
  const CNoteGroup& first = At(0);
  Rect square{first.x, yb - 2 * u, first.x + u, yb - u / 2};
  square.Inflate(u / 2, u / 2);
  g_.DrawGlyphsInRect(CTabInstrument::kFlagsFace, GlyphText(tab.GetFlagGlyph(first.ValueCode())), 1, group_.colour, false,
                      square);
  int lowest = 10;
  std::vector<int> changes;
  for (int i = 0; i < n; ++i) {
    const int code = At(static_cast<size_t>(i)).ValueCode();
    lowest = std::min(lowest, code);
    if (i > 0 && code != At(static_cast<size_t>(i - 1)).ValueCode()) changes.push_back(i);
  }
  const CNoteGroup& last = At(static_cast<size_t>(n - 1));
  if (changes.empty()) {
    g_.DrawTupletCurve(-u, group_.tupletNumber, last.rhythm, first.rhythm, first.x, yb, last.x);
    return;
  }
  int32_t number = group_.tupletNumber;
  for (int step = lowest; step < 4; ++step) number *= 2;
  int start = 0;
  changes.push_back(n);
  for (int change : changes) {
    const int end = std::max(change - 1, start);
    const CNoteGroup& a = At(static_cast<size_t>(start));
    const CNoteGroup& b = At(static_cast<size_t>(end));
    const int32_t figure = (a.ValueCode() - lowest + 1) * number;
    g_.DrawTupletCurve(-u, figure, b.rhythm, a.rhythm, a.x, yb, b.x);
    start = change;
    if (start >= n) break;
  }
}

}  // namespace vornel
