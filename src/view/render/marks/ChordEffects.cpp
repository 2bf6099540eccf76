// What a chord's effect word adds around its notes (arpeggio signs, strokes, accents, a
// broken chord written out small), and the size marks that enlarge or reduce a run of chords.

#include "view/render/marks/ChordEffects.h"

#include <algorithm>
#include <climits>

#include "model/ornament/COrnamentTable.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/FontDrawing.h"
#include "view/render/GraceFragments.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/TabFonts.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

constexpr int kSizeMarkVoice = 4;
constexpr int kSizeMarkLarger = 5;
constexpr int kSizeMarkSmaller = 6;
constexpr int32_t kSizeChange = 20;

struct Extent {
  int32_t top;
  int32_t bottom;
};

// The chord's vertical extent: its highest and lowest notes, or the staff when it has none.
Extent ChordExtent(StaffRenderer& stave) {
  if (stave.ChordTop() == INT32_MAX) {
    return {stave.Top(), stave.Top() + std::max(stave.LineCount() - 1, 0) * stave.Spacing()};
  }
  return {stave.ChordTop(), stave.ChordBottom()};
}

void DrawGlyphAt(StaffRenderer& stave, uint32_t glyph, int32_t x, int32_t y) {
  DeviceContext& dc = stave.Graphics().dc;
  const unsigned old = dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  if (stave.IsTablature()) {
    if (ScopedFlagsFont flags{stave}) stave.DrawGlyph(glyph, x, y);
  } else {
    stave.DrawGlyph(glyph, x, y);
  }
  dc.SetTextAlign(old);
}

void DrawArpeggioSign(StaffRenderer& stave, const nChord& chord, int32_t x) {
  DeviceContext& dc = stave.Graphics().dc;
  const int32_t s = stave.Spacing();
  const int sub = chord.dy & 3;
  const bool right = (chord.dy & 0x1000) != 0;
  const bool tab = stave.IsTablature();
  int32_t reference = 0;
  int32_t y = 0;
  if (tab) {
    const int style = TabStyle(stave);
    reference = dc.GetCharWidth(style == CTabInstrument::kFrench ? U'd' : U'0') * 5 / 6;
    const auto [first, last] = chord.notes.GetStringSpan();
    y = (GetCourseY(stave, first) + GetCourseY(stave, last)) / 2 + s / 2;
    if (sub == 1) y += s;
    const CTabInstrument* instrument = stave.Stave().tabInstrument;
    if (style == CTabInstrument::kSpanish && instrument != nullptr && instrument->flagStyle == 2) {
      // A Spanish tablature written with rhythm notes shows a small curve beside the chord.
      const int32_t cx = x - s / 2 - reference;
      stave.Graphics().DrawCurveBetween(s / 3, 1, cx, GetCourseY(stave, first), cx, GetCourseY(stave, last),
                                        stave.NoteColour());
      return;
    }
  } else {
    reference = dc.GetCharWidth(U' ');
    const Extent e = ChordExtent(stave);
    y = (e.top + e.bottom) / 2 - 2 * s;
  }
  const int32_t ax = right ? x + (tab ? reference * 4 / 6 : reference / 2) : x - s / 2 - reference;
  const uint32_t glyph = tab ? (sub == 2 ? 0xF7 : 0xF8) : (sub == 2 ? 0xAE : 0xAF);
  DrawGlyphAt(stave, glyph, ax, y);
}

void DrawBrokenChord(StaffRenderer& stave, const nChord& chord, int32_t x) {
  const int sub = chord.dy & 3;
  if (stave.IsTablature()) {
    DrawTabGraceChord(stave, chord, sub != 2, x);
    return;
  }
  // The notes one after another, from the lowest, as a small beamed group before the chord.
  nNoteArray notes = chord.notes;
  notes.SortByPitch(true);
  CMusicPattern pattern;
  int firstStep = 0;
  int previous = 0;
  for (const auto& note : notes) {
    if (note == nullptr) continue;
    uint16_t name = 0;
    char accidental = 0;
    const int step = stave.Stave().key.SpellPitch(note->pitch, name, accidental, false);
    if (pattern.steps.empty()) firstStep = step;
    pattern.steps.push_back(static_cast<int16_t>(pattern.steps.empty() ? 0 : step - previous));
    previous = step;
  }
  if (pattern.steps.empty()) return;
  // The rhythm step may pass the shortest value: it stops at the sixty-fourth.
  const int valueCode = std::min((chord.rhythm & 7) + ((chord.dy >> 2) & 3), 7);
  const bool stemsDown = sub == 2;
  const FontSpec previousFont = stave.SelectNotationFont(-40);
  CVoiceGroup group;
  const uint16_t glyphBase = static_cast<uint16_t>(stave.GetNoteHeadBase() -
                                                    (stave.Stave().currentStemsDown != 0 ? 10 : 0) +
                                                    (stemsDown ? 10 : 0));
  const LineSegment segment = BuildPatternGroup(group, stave.Graphics(), pattern, stave.Spacing(), glyphBase,
                                                valueCode, stemsDown, x, stave.Stave().StepToY(firstStep));
  DrawGraceDecoration(stave, 0, segment);
  stave.Graphics().dc.SelectFont(previousFont);
}

void DrawChordStrokes(StaffRenderer& stave, const nChord& chord, int32_t x) {
  const int count = (chord.dy >> 2) & 3;
  const int32_t s = stave.Spacing();
  const bool tab = stave.IsTablature();
  const int32_t gap = tab ? s / 2 : s;
  // Over the flags on a tablature, a spacing and a half over the chord on a staff.
  int32_t y = tab ? stave.Stave().annotationTop - s / 2 : ChordExtent(stave).top - 3 * s / 2;
  for (int k = 0; k < count; ++k) {
    stave.Graphics().DrawThinLine(30, stave.NoteColour(), x - s / 2, y + s / 4, x + s / 2, y - s / 4);
    y -= gap;
  }
}

}  // namespace

void DrawChordEffectWord(StaffRenderer& stave, const nChord& chord, int32_t x) {
  const uint16_t dy = chord.dy;
  if ((dy & 0x2000) != 0) return;
  const int kind = (dy >> 8) & 0x0F;
  const int sub = dy & 3;
  const int32_t s = stave.Spacing();
  const bool tab = stave.IsTablature();
  GraphicUtil& g = stave.Graphics();
  const Extent e = ChordExtent(stave);
  switch (kind) {
    case 6: {
      // Kept inside the room above the stave.
      const int32_t y = std::max(e.top - s, stave.Top() - 2 * s);
      const FontSpec previous = stave.SelectNotationFont(0);
      const unsigned old = g.dc.SetTextAlign(TA_CENTER | TA_BASELINE);
      stave.DrawGlyph(0xD3, x, y);
      g.dc.SetTextAlign(old);
      g.dc.SelectFont(previous);
      return;
    }
    case 5: {
      const uint32_t glyph = tab ? (sub == 1 ? 0xDE : 0xDD) : (sub == 1 ? 0xA9 : 0xA8);
      DrawGlyphAt(stave, glyph, x, e.top - 4 * s);
      return;
    }
    case 0:
      if (sub != 0) DrawArpeggioSign(stave, chord, x);
      return;
    case 4:
      DrawBrokenChord(stave, chord, x);
      return;
    case 2:
      DrawChordStrokes(stave, chord, x);
      return;
    case 3: {
      const int32_t half = stave.Stave().columnWidth / 2;
      g.DrawCurveBetween(-2 * s, 1, x - half, e.top - s / 2, x + half, e.top - s / 2, 0xC80000);
      return;
    }
    default: {
      // A wedge beside the chord, opening upward for sub-kind 2.
      const int32_t width = MulDiv(s, ((dy >> 4) & 7) + 1, 2);
      const int32_t wx = x - s;
      const bool up = sub == 2;
      const int32_t tip = up ? e.bottom : e.top;
      const int32_t open = up ? e.top : e.bottom;
      g.DrawThinLine(25, stave.NoteColour(), wx, tip, wx - width / 2, open);
      g.DrawThinLine(25, stave.NoteColour(), wx, tip, wx + width / 2, open);
      return;
    }
  }
}

void ApplyChordSizeMark(StaffRenderer& stave, const nChord& chord) {
  const int mark = (chord.status >> 4) & 7;
  MarkState& marks = stave.Marks();
  if (mark == kSizeMarkVoice) {
    marks.alternateVoice = !marks.alternateVoice;
    return;
  }
  if (mark != kSizeMarkLarger && mark != kSizeMarkSmaller) return;
  if (!marks.sizeRun) {
    marks.sizeRun = true;
    marks.sizeChange = mark == kSizeMarkLarger ? kSizeChange : -kSizeChange;
  } else {
    marks.sizeRun = false;
    marks.sizeChange = 0;
  }
  DeviceContext& dc = stave.Graphics().dc;
  if (!stave.IsTablature()) {
    stave.SelectNotationFont(marks.sizeChange);
    return;
  }
  CTabInstrument* tab = stave.Stave().tabInstrument;
  if (tab == nullptr) return;
  // The letters' size changes for the run; the stored size stays.
  dfLogFont letters = tab->tabFont;
  letters.pointSize.cx += marks.sizeChange;
  CreateScaledFont(letters, static_cast<float>(stave.Zoom()), dc);
}

}  // namespace vornel
