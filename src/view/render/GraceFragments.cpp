#include "view/render/GraceFragments.h"

#include <algorithm>
#include <memory>
#include <string>

#include "model/instrument/CInstrumentDlg.h"
#include "model/ornament/COrnamentTable.h"
#include "model/instrument/CTabInstrument.h"
#include "model/FloorDivision.h"
#include "model/voice/nChord.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/FontDrawing.h"
#include "view/render/MarkSeams.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/TabFonts.h"
#include "view/render/VoiceGroupPainter.h"

namespace vornel {

namespace {

constexpr int32_t kGraceSize = -40;

int NoteStep(StaffRenderer& stave, const nNotes& note) {
  uint16_t name = 0;
  char accidental = 0;
  return stave.Stave().key.SpellPitch(note.pitch + stave.Stave().transposition, name, accidental, false);
}

}  // namespace

Rect DrawMiniStaff(StaffRenderer& stave, int patternCode, const nChord&, const nNotes& note, uint32_t flags, int32_t x,
                   int32_t) {
  if (patternCode < 1 || patternCode > 103) return {};
  const std::unique_ptr<CMusicPattern> pattern = CreateMusicPattern(patternCode);
  if (pattern == nullptr || pattern->steps.empty()) return {};
  DeviceContext& dc = stave.Graphics().dc;
  const COLORREF old = dc.SetTextColor(stave.GraceColour());
  const Rect r = stave.IsTablature() ? DrawTabGraceNotes(stave, *pattern, note, flags, x)
                                     : DrawStaffGraceNotes(stave, *pattern, note, flags, x);
  dc.SetTextColor(old);
  return r;
}

void DrawLedgerLine(StaffRenderer& stave, int32_t width, int32_t x, int32_t y) {
  const int32_t s = stave.Spacing();
  const int32_t top = stave.Top();
  if (s <= 0 || !(y < top || y > top + 4 * s)) return;
  if ((std::abs(y - top) % s) >= s / 4) return;
  const int32_t length = width * 3 / 2;
  const int32_t centre = x + width / 2;
  DeviceContext& dc = stave.Graphics().dc;
  const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, std::max(width / 8, 1), stave.GraceColour()));
  dc.MoveTo(centre - length / 2, y);
  dc.LineTo(centre + length / 2, y);
  dc.SelectPen(old);
}

void DrawSingleGraceNote(StaffRenderer& stave, int step, int valueCode, const CKey& graceKey, bool stemsDown,
                         int32_t x) {
  DeviceContext& dc = stave.Graphics().dc;
  const char accidental = stave.Stave().key.GetAccidentalChar(step, graceKey.StepToPitch(step));
  const int32_t y = stave.Stave().StepToY(step);
  const int32_t base = stave.GetNoteHeadBase() - (stave.Stave().currentStemsDown != 0 ? 10 : 0);
  const uint32_t glyph = static_cast<uint32_t>(base + std::clamp(valueCode, 0, 7) + (stemsDown ? 10 : 0));
  dc.TextOut(x, y, GlyphText(glyph));
  if (const uint32_t a = AccidentalGlyph(accidental)) {
    const unsigned previous = dc.SetTextAlign(TA_RIGHT | TA_BASELINE);
    dc.TextOut(x, y, GlyphText(a));
    dc.SetTextAlign(previous);
  }
  DrawLedgerLine(stave, dc.GetCharWidth(static_cast<uint32_t>(base + 8)), x, y);
}

void DrawGraceAccidentals(StaffRenderer& stave, const CMusicPattern& pattern, const CVoiceGroup& group, int startStep,
                          const CKey& graceKey, bool stemsDown) {
  DeviceContext& dc = stave.Graphics().dc;
  const CKey& key = stave.Stave().key;
  const int32_t s = stave.Spacing();
  const unsigned previous = dc.SetTextAlign(TA_RIGHT | TA_BASELINE);
  int step = startStep;
  for (size_t i = 0; i < pattern.steps.size() && i < group.size(); ++i) {
    if (i > 0) step += pattern.steps[i];
    const CNoteGroup* e = group.at(i);
    if (e == nullptr) continue;
    const char accidental = key.GetAccidentalChar(step, graceKey.StepToPitch(step));
    const uint32_t glyph = AccidentalGlyph(accidental);
    if (glyph == 0) continue;
    const int32_t ax = stemsDown ? e->x + s : e->x;
    const int32_t ay = stemsDown ? e->y - 2 * s + 4 * s : e->y - 2 * s;
    dc.TextOut(ax, ay, GlyphText(glyph));
  }
  dc.SetTextAlign(previous);
}

LineSegment BuildPatternGroup(CVoiceGroup& group, GraphicUtil& g, const CMusicPattern& pattern, int32_t s,
                              uint16_t glyphBase, int valueCode, bool stemsDown, int32_t x, int32_t y) {
  DeviceContext& dc = g.dc;
  dc.SetTextColor(0);
  group.Reset();
  group.tabMode = 0;
  group.glyphBase = glyphBase;
  group.slopeEnabled = true;
  group.stemsDown = stemsDown;
  group.noteheadWidth = dc.GetCharWidth(U' ');
  group.stemLength = group.noteheadWidth * 10 / 4;
  group.stemWidth = s;
  const int32_t d = MulDiv(s, 80, 100);
  const int32_t count = static_cast<int32_t>(pattern.steps.size());
  int32_t px = x - 2 * count * d;
  int32_t py = y;
  for (size_t i = 0; i < pattern.steps.size(); ++i) {
    py -= pattern.steps[i] * s / 2;
    group.AddNoteHead(true, static_cast<uint8_t>(std::clamp(valueCode, 0, 7)), {}, px, py, static_cast<int32_t>(i));
    px += 2 * d;
  }
  group.tupletNumber = 2;
  group.stemsDrawn = true;
  group.colour = 0;
  group.spacing = s / 2;
  group.ResetBeamLevel();
  group.ComputeThickness();
  const CVoiceGroup::Segment ends = group.GetFirstToLastSegment();
  LineSegment segment(ends.from.x, ends.from.y, ends.to.x, ends.to.y);
  const uint32_t head = static_cast<uint32_t>(valueCode < 4 ? glyphBase + valueCode : glyphBase + 8);
  for (const auto& e : group.items()) {
    if (e != nullptr) dc.TextOut(e->x, e->y, GlyphText(head));
  }
  const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, std::max(s / 8, 1), 0));
  VoiceGroupPainter(group, g).Draw(group.noteheadWidth);
  dc.SelectPen(old);
  if (!stemsDown) {
    segment.start.x -= d;
    segment.end.x -= d;
    segment.start.y += d / 4;
    segment.end.y += d / 4;
    segment.UpdateDirection();
  }
  return segment;
}

Rect DrawStaffGraceNotes(StaffRenderer& stave, const CMusicPattern& pattern, const nNotes& note, uint32_t flags,
                         int32_t x) {
  GraphicUtil& g = stave.Graphics();
  DeviceContext& dc = g.dc;
  const int valueCode = GraceValueCode(flags);
  const bool stemsDown = (flags & grace::kStemsDown) != 0;
  const CKey graceKey = GraceKey(stave.Stave().key, flags);
  const int32_t s = stave.Spacing();
  const int firstStep = NoteStep(stave, note) + pattern.steps.front();
  const int32_t firstY = stave.Stave().StepToY(firstStep);
  const FontSpec previous = stave.SelectNotationFont(kGraceSize);
  const int32_t headBase = stave.GetNoteHeadBase() - (stave.Stave().currentStemsDown != 0 ? 10 : 0);
  const uint16_t glyphBase = static_cast<uint16_t>(headBase + (stemsDown ? 10 : 0));
  LineSegment segment;
  if (pattern.steps.size() == 1) {
    const int32_t w = dc.GetCharWidth(static_cast<uint32_t>(glyphBase + 8));
    DrawSingleGraceNote(stave, firstStep, valueCode, graceKey, stemsDown, x - 2 * w);
    segment = LineSegment(x - 2 * w, firstY, x, firstY);
  } else {
    CVoiceGroup group;
    const int32_t noteY = stave.Stave().StepToY(NoteStep(stave, note));
    segment = BuildPatternGroup(group, g, pattern, s, glyphBase, valueCode, stemsDown, x, noteY);
    for (const auto& e : group.items()) {
      if (e == nullptr || !e->HasNotes()) continue;
      const int32_t lx = stemsDown ? e->x : e->x - group.noteheadWidth;
      DrawLedgerLine(stave, group.noteheadWidth, lx, e->top);
    }
    if (GraceRotations(flags) != 0) DrawGraceAccidentals(stave, pattern, group, firstStep, graceKey, stemsDown);
    if (!stemsDown) segment.start.x += s / 2;
  }
  DrawGraceDecoration(stave, flags, segment);
  dc.SelectFont(previous);
  return {x - s / 2, firstY - s, x + s / 2, firstY};
}

void DrawGraceDecoration(StaffRenderer& stave, uint32_t flags, LineSegment segment) {
  GraphicUtil& g = stave.Graphics();
  const int32_t s = stave.Spacing();
  int32_t h = stave.IsTablature() ? s / 2 : s;
  const bool above = (flags & grace::kSlurAbove) != 0;
  if (!stave.IsTablature()) segment.end.y += s * GraceStartOffset(flags) / 2;
  if ((flags & grace::kSlur) != 0) {
    if (!above && !stave.IsTablature()) {
      segment.start.x += s / 2;
      segment.end.x += s / 2;
      segment.start.y += s / 2;
      segment.end.y += s / 2;
    }
    if (above) {
      segment.start.y -= s;
      segment.end.y -= s;
      h = -h;
    }
    const bool flat = (flags & grace::kFlatSlur) != 0;
    if (flat && !above) {
      segment.start.y += s / 3;
      segment.end.y += s / 3;
    }
    segment.UpdateDirection();
    if (flat) {
      const int32_t width = std::max(g.HundredthMmToDeviceY(15), 1);
      segment.DrawStraight(g.dc, Pen::Create(PS_SOLID, width, stave.GraceColour()));
    } else {
      g.DrawCurveBetween(h, 1, segment.start.x, segment.start.y, segment.end.x, segment.end.y, stave.GraceColour());
    }
  }
  if ((flags & grace::kMark) != 0) {
    const Point middle = segment.GetMidPoint();
    g.DrawNumberAt(middle.x, middle.y + h + (above ? 0 : s), 3);
  }
  if ((flags & grace::kFlagGlyph) != 0 && stave.IsTablature() && stave.Stave().tabInstrument != nullptr) {
    const CTabInstrument& tab = *stave.Stave().tabInstrument;
    uint32_t glyph = tab.GetFlagGlyph(GraceValueCode(flags));
    if (tab.flagStyle == 2 && glyph >= 0x9E) glyph -= 0x9E;
    const FontSpec previous = stave.SelectNotationFont(kGraceSize);
    const int32_t higher = std::min(segment.start.y, segment.end.y);
    g.dc.TextOut(segment.start.x, higher - s / 3 - (above ? 0 : s), GlyphText(glyph));
    g.dc.SelectFont(previous);
  }
}

int32_t DrawTabGraceFret(StaffRenderer& stave, const CKey& graceKey, int step, int course, int32_t x, int32_t& y) {
  const CTabInstrument* tab = stave.Stave().tabInstrument;
  if (tab == nullptr) return x;
  const int32_t s = stave.Spacing();
  const int pitch = graceKey.StepToPitch(step);
  int string = course;
  if (string >= 0 && string < static_cast<int>(nTuning::kMaxCourses) &&
      pitch - tab->tuning.courses[static_cast<size_t>(string)].pitch - 23 < 0) {
    const int other = tab->FindStringForPitch(pitch - 23, -1);
    if (other >= 0) {
      y += (other - string) * s;
      string = other;
    }
  }
  std::string text;
  if (!tab->GetFretText(pitch - 23, string, text) || text.empty()) return x;
  DeviceContext& dc = stave.Graphics().dc;
  dc.TextOut(x, y, text);
  return x + 2 * dc.GetTextExtent(text).cx;
}

Rect DrawTabGraceNotes(StaffRenderer& stave, const CMusicPattern& pattern, const nNotes& note, uint32_t flags,
                       int32_t x) {
  CTabInstrument* tab = stave.Stave().tabInstrument;
  if (tab == nullptr) return {};
  const int32_t s = stave.Spacing();
  int32_t y = stave.Top() + note.string * s + (tab->betweenLines != 0 ? s / 2 : 0);
  const int b = GraceStartOffset(flags);
  const CKey graceKey = GraceKey(stave.Stave().key, flags);
  DeviceContext& dc = stave.Graphics().dc;
  const FontSpec previous = dc.SelectFont(ToFontSpec(tab->tabFont.logFont));
  const int32_t letter = dc.GetTextExtent("a").cx;
  const int32_t count = static_cast<int32_t>(pattern.steps.size());
  int32_t px = x - (count + 1) * letter;
  const int32_t start = px;
  int step = NoteStep(stave, note);
  for (const int16_t offset : pattern.steps) {
    step += offset;
    px = DrawTabGraceFret(stave, graceKey, step, note.string, px, y);
  }
  int32_t slurStart = start;
  int32_t slurEnd = px;
  int32_t startY = y - s;
  int32_t endY = y - s;
  if ((flags & grace::kFlatSlur) != 0) {
    slurStart += s / 2;
    slurEnd -= s / 2;
  }
  if (pattern.code == 73 && b > 0) {
    startY += s / 5;
    endY -= s / 5;
  } else if (pattern.code == 9 && b < 0) {
    startY -= s / 5;
    endY += s / 5;
  }
  DrawGraceDecoration(stave, flags, LineSegment(slurStart, startY, slurEnd, endY));
  dc.SelectFont(previous);
  return {start - s / 2, y - s, px - s / 2, y};
}

void DrawTabGraceChord(StaffRenderer& stave, const nChord& chord, bool ascending, int32_t x) {
  CTabInstrument* tab = stave.Stave().tabInstrument;
  if (tab == nullptr || chord.notes.empty()) return;
  DeviceContext& dc = stave.Graphics().dc;
  const int32_t s = stave.Spacing();
  const FontSpec previous = CreateSmallTabFont(*tab, dc, stave.Zoom());
  nNoteArray notes = chord.notes;
  notes.SortByPitch(ascending);
  const int32_t letter = dc.GetTextExtent("a").cx;
  int32_t px = x - 2 * letter;
  Point first;
  Point last;
  bool any = false;
  for (const auto& note : notes) {
    if (note == nullptr) continue;
    const int32_t y = note->string * s + stave.Top();
    if (note->string >= tab->tuning.lines) {
      DrawDiapason(stave, *note, px, y);
    } else {
      std::string text;
      if (tab->GetFretText(note->pitch - 23, note->string, text)) dc.TextOut(px, y, text);
    }
    if (!any) first = {px, y};
    last = {px, y};
    any = true;
    px -= letter;
  }
  if (any) {
    stave.Graphics().DrawCurveBetween(s / 2, 1, last.x, last.y - s / 3, first.x, first.y - s / 3, stave.GraceColour());
  }
  dc.SelectFont(previous);
}

}  // namespace vornel
