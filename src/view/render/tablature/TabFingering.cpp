// The fingering of tablature notes: figures and right-hand signs of the high nibble, dots,
// signs and finger letters of the low nibble, each where its code puts it unless that meets
// other ink (PlaceTabMark).

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "model/instrument/CInstrumentDlg.h"
#include "model/ornament/COrnamentTable.h"
#include "model/voice/nChord.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/MeasuredInk.h"
#include "view/render/LabelDrawing.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/tablature/ChordLetters.h"
#include "view/render/tablature/TabMarks.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

// A glyph of the flags face drawn at `origin` with `alignment`, moved clear where it must be.
void DrawPlacedGlyph(StaffRenderer& stave, const nNotes& note, uint32_t glyph, Point origin, unsigned alignment) {
  ScopedFlagsFont flags{stave};
  if (!flags) return;
  DeviceContext& dc = stave.Graphics().dc;
  const unsigned old = dc.SetTextAlign(alignment);
  const Point at = PlaceTabMark(stave, note, origin, InkAt(dc, GlyphText(glyph), origin, alignment));
  stave.DrawGlyph(glyph, at.x, at.y);
  dc.SetTextAlign(old);
}

// A text drawn by `draw` at a point, first at `origin`, moved clear where it must be.
void DrawPlacedText(StaffRenderer& stave, const nNotes& note, Point origin,
                    const std::function<void(DeviceContext&, Point)>& draw) {
  DeviceContext& dc = stave.Graphics().dc;
  const Rect ink = MeasuredInk(dc, [&](DeviceContext& measuring) { draw(measuring, origin); });
  draw(dc, PlaceTabMark(stave, note, origin, ink));
}

// The figures 1-7 stand right of the letter and half its height up; the right-hand signs 9-12
// over the chord's highest letter.
void DrawTabHighFingerMark(StaffRenderer& stave, const nNotes& note, int code, int32_t x, int32_t y) {
  const int32_t s = stave.Spacing();
  DeviceContext& dc = stave.Graphics().dc;
  if (code >= 1 && code <= 7) {
    // With the finger option the figure goes into the note group's text instead.
    if (stave.FingerOption()) return;
    static constexpr char kFingers[] = {'1', '2', '3', '4', 'p', '0', '5'};
    const std::string text(1, kFingers[code - 1]);
    dfLogFont font = PageFontOrDefault(dc, kBarNumberFont);
    const FontSpec previous = CreateScaledFont(font, static_cast<float>(stave.Zoom()), dc);
    const int32_t h = dc.GetTextMetrics().tmHeight;
    dc.SelectFont(previous);
    DrawPlacedText(stave, note, {x + s * 3 / 8, y - (s / 4 + h / 2)}, [&](DeviceContext& target, Point at) {
      DrawFontText(text, font, target, TA_CENTER | TA_BASELINE, static_cast<float>(stave.Zoom()), 0, 0, at.x, at.y);
    });
    return;
  }
  static constexpr uint32_t kGlyphs[] = {0x113, 0x114, 0x42, 0x43};
  if (code < 9 || code > 12) return;
  const uint32_t glyph = kGlyphs[code - 9];
  int32_t highest = y;
  if (const nChord* chord = stave.CurrentChord()) {
    for (const PlacedLetter& letter : PlaceChordLetters(stave, *chord, stave.Marks().chordX)) {
      if (!letter.ink.IsEmpty()) highest = std::min(highest, letter.ink.top);
    }
  }
  const std::optional<FontSpec>& face = stave.FlagsFont();
  if (!face) return;
  DeviceContext& measuring = stave.MeasuringDevice();
  if (!(measuring.GetFont() == *face)) measuring.SelectFont(*face);
  const Rect ink = InkAt(measuring, GlyphText(glyph), {x, 0}, TA_CENTER | TA_BASELINE);
  DrawPlacedGlyph(stave, note, glyph, {x, highest - LetterGap(stave) - ink.bottom}, TA_CENTER | TA_BASELINE);
}

void DrawTabLowFingerMark(StaffRenderer& stave, const nNotes& note, int code, int32_t x, int32_t y, int32_t w) {
  GraphicUtil& g = stave.Graphics();
  DeviceContext& dc = g.dc;
  const int32_t s = stave.Spacing();
  if (code == 8 || code == 9) {
    const int32_t half = std::max(s / 4, 1);
    g.DrawTriangle(code == 8 ? 0 : 1, code == 8 ? 0xC86464 : 0xFA6400, x, y + half, half, half);
    return;
  }
  struct Placed {
    uint32_t glyph;
    int32_t x;
    int32_t y;
    unsigned align;
  };
  std::optional<Placed> p;
  const unsigned centred = TA_CENTER | TA_BASELINE;
  switch (code) {
    case 1: p = Placed{0xF1, x, y - s / 88, centred}; break;
    case 2: p = Placed{0x12A, x, y, centred}; break;
    case 3: p = Placed{0xEF, x, y + s, centred}; break;
    case 4: p = Placed{0xF4, x, y, centred}; break;
    case 5: p = Placed{0xF0, x - s / 2, y - s / 4, TA_RIGHT | TA_BASELINE}; break;
    case 6: p = Placed{0xF6, x + w, y, centred}; break;
    case 7: p = Placed{0xF6, x - w, y, centred}; break;
    case 10: p = Placed{0xF0, x + s + w - s / 2, y - s / 4, TA_RIGHT | TA_BASELINE}; break;
    case 11: p = Placed{0xF3, x - s / 2, y, centred}; break;
    default: break;
  }
  if (p) {
    DrawPlacedGlyph(stave, note, p->glyph, {p->x, p->y}, p->align);
    return;
  }
  // Codes 12-15 name the finger: outside the grid modes it is written as a label right of the
  // letter, from half a line above its base line (the label's top).
  const int mode = stave.Stave().tabMode;
  if (mode == 1 || mode == 2) return;
  if (const char letter = StaffRenderer::GetFingerLetter(code, false)) {
    const int32_t gap = std::max(s / 8, 1);
    const COLORREF colour = dc.GetTextColor();
    DrawPlacedText(stave, note, {x + w - w / 2 + gap, y - s / 2}, [&](DeviceContext& target, Point at) {
      DrawPatternLabel(target, stave.Zoom(), std::string(1, letter), TA_LEFT | TA_BASELINE, 0, at, colour);
    });
  }
}

}  // namespace

void DrawTabFingering(StaffRenderer& stave, const nNotes& note, int32_t x, int32_t y, int32_t w) {
  const CInstrumentDlg* d = stave.Definition();
  if (d == nullptr || d->hideOrnaments != 0) return;
  DeviceContext& dc = stave.Graphics().dc;
  const InkSourceScope ink(dc, InkSource::kFingering);
  const COLORREF old = dc.SetTextColor(stave.ColourOn() ? d->ornaments.table.colors[COrnamentTable::kFingerings] : 0);
  const int high = (note.fingering >> 4) & 0x0F;
  const int low = note.fingering & 0x0F;
  if (high != 0) DrawTabHighFingerMark(stave, note, high, x, y);
  if (low != 0) DrawTabLowFingerMark(stave, note, low, x, y, w);
  dc.SetTextColor(old);
}

}  // namespace vornel
