#include "view/render/tablature/TabNotes.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CPedal.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "platform/draw/MulDiv.h"
#include "view/render/MarkSeams.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/LabelDrawing.h"
#include "view/render/StaffRenderer.h"
#include "view/render/TabFonts.h"
#include "view/render/tablature/ChordLetters.h"
#include "view/render/tablature/TabMarks.h"
#include "view/render/marks/Ornaments.h"

namespace vornel {

namespace {

constexpr uint16_t kAlternateShiftMark = 6;
constexpr uint32_t kHiddenSlur = 11;
constexpr uint32_t kTieSlur = 8;

uint32_t SlurType(const nNotes& note) { return (note.slur >> 8) & 0x0F; }

const CTabInstrument* Tab(const StaffRenderer& stave) {
  return stave.Stave().tabInstrument;
}

int CourseCount(const StaffRenderer& stave) {
  const CTabInstrument* tab = Tab(stave);
  return tab != nullptr ? std::clamp(tab->tuning.lines, 0, static_cast<int32_t>(nTuning::kMaxCourses)) : 0;
}

uint16_t CurrentMark(const StaffRenderer& stave) {
  const nChord* chord = stave.CurrentChord();
  return chord != nullptr ? chord->ChordMark() : 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Fonts

ScopedFlagsFont::ScopedFlagsFont(StaffRenderer& stave) : stave_(stave), previous_(stave.SelectFlagsFont()) {}

ScopedFlagsFont::~ScopedFlagsFont() {
  if (previous_) stave_.Graphics().dc.SelectFont(*previous_);
}

// ---------------------------------------------------------------------------------------------
// Geometry

int TabStyle(const StaffRenderer& stave) {
  const CTabInstrument* tab = Tab(stave);
  return tab != nullptr ? (tab->tabStyle & 7) : 0;
}

int LetterFineOffset(const StaffRenderer& stave) {
  const CTabInstrument* tab = Tab(stave);
  if (tab == nullptr) return 5;
  const int shift = TabStyle(stave) == CTabInstrument::kFrench ? 8 : 12;
  return (tab->flagsHeight >> shift) & 0x0F;
}

int32_t GetCourseY(const StaffRenderer& stave, int course) {
  const int count = CourseCount(stave);
  const int32_t s = stave.Spacing();
  const int32_t top = stave.Top();
  const bool upsideDown = TabStyle(stave) == CTabInstrument::kSpanish;
  if (course >= 0 && course < count) {
    const int line = upsideDown ? count - course - 1 : course;
    return top + line * s - stave.Stave().lineThickness / 2;
  }
  return upsideDown ? top - s / 3 : top + count * s;
}

int32_t GetLetterBaseline(const StaffRenderer& stave, int course) {
  const int32_t s = stave.Spacing();
  int32_t y = GetCourseY(stave, course) - MulDiv(s, LetterFineOffset(stave) - 5, 15);
  const CTabInstrument* tab = Tab(stave);
  if (tab != nullptr && tab->betweenLines != 0) y += s / 2;
  return y;
}

// ---------------------------------------------------------------------------------------------
// One note

void DrawTabNoteAt(StaffRenderer& stave, nNotes& note, Point& position, uint16_t rhythm, std::string_view fingers) {
  CTabInstrument* tab = stave.Stave().tabInstrument;
  if (tab == nullptr) return;
  DeviceContext& dc = stave.Graphics().dc;
  const InkSourceScope ink(dc, InkSource::kTabLetter);
  const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  const int32_t s = stave.Spacing();
  const int32_t x = position.x;
  const int32_t lineY = GetCourseY(stave, note.string);
  const uint16_t mark = CurrentMark(stave);
  const nChord* chord = stave.CurrentChord();
  int32_t y = lineY;
  Size size{};

  if (mark == nChord::kRhythmMark) {
    // A rhythm-only chord: its notes only give the chord its extent.
  } else if (TabStyle(stave) == CTabInstrument::kOwnFlags || (chord != nullptr && chord->IsGhost())) {
    // A percussion stave has no bourdon signs: its courses past the lines take rows of their own
    // below them, a spacing apart, so that two instruments struck together stay two marks.
    if (TabStyle(stave) == CTabInstrument::kOwnFlags && note.string >= CourseCount(stave)) {
      y = stave.Top() + note.string * s - stave.Stave().lineThickness / 2;
    }
    if (ScopedFlagsFont flags{stave}) {
      const COLORREF old = dc.SetTextColor(chord != nullptr && chord->IsGhost() ? 0x646464 : stave.NoteColour());
      stave.DrawGlyph(0x177, x, y);
      dc.SetTextColor(old);
    }
  } else {
    y = GetLetterBaseline(stave, note.string);
    if ((tab->drawOpaque & 1) != 0 && note.string < CourseCount(stave)) DrawLetterBox(stave, x, lineY);
    size = DrawFretText(stave, note, {x, y});
    // A bourdon's letter stands below its line: its fingering goes with the letter.
    const int32_t letterY = note.string >= CourseCount(stave) ? stave.Marks().bourdonBaseline : y;
    const int32_t w = size.cx;
    // The slur first: the marks beside the letter keep clear of it.
    if (note.slur != 0) {
      SlurInkKeeper keeper(stave);
      DrawSlur(stave, note, {x, y});
    }
    if (note.fingering != 0) DrawTabFingering(stave, note, x, letterY, w);
    if (note.ornament != 0) {
      const int32_t width = note.fingering != 0 ? w * 3 / 2 : 0;
      stave.DrawOrnament(note, x, y, width);
    }
  }
  // Beam and grid modes gather the chord's letters into the group that draws the flags.
  if (stave.Stave().tabMode != 0) {
    stave.Stave().Drawn().voiceGroups[0].AddNoteHead((note.status & 1) == 0, static_cast<uint8_t>(rhythm & 0xF7), fingers, x,
                                             y - size.cy, static_cast<int32_t>(stave.ElementIndex()));
  }
  stave.Marks().previousNote = {x, y};
  position.y = y;
  dc.SetTextAlign(oldAlign);
}

COLORREF GetTabNoteColor(const StaffRenderer& stave, const nNotes& note) {
  const CTabInstrument* tab = Tab(stave);
  const CInstrumentDlg* d = stave.Definition();
  COLORREF colour = stave.NoteColour();
  if (stave.ColourOn() && tab != nullptr && d != nullptr) {
    colour = (note.slur & 0x8000) != 0 ? d->ornaments.table.colors[COrnamentTable::kMelody] : tab->tabFont.color;
    // While pedals are in force a course takes the colour of its pedal, black without one.
    if (stave.PedalsInForce()) {
      const CPedal* pedal = stave.PedalOn(note.string);
      colour = pedal != nullptr ? pedal->color : 0;
    }
    if (SlurType(note) == kTieSlur) colour = d->ornaments.table.colors[COrnamentTable::kTiedNotes];
  }
  return colour;
}

std::optional<ShownFret> ShowFret(const StaffRenderer& stave, const nChord& chord, const nNotes& note) {
  const CTabInstrument* tab = Tab(stave);
  if (tab == nullptr) return std::nullopt;
  const uint16_t mark = chord.ChordMark();
  if (mark == nChord::kRhythmMark) return std::nullopt;
  if (!stave.OnScreen() && (SlurType(note) == kHiddenSlur || mark == nChord::kGreyedMark)) {
    return std::nullopt;
  }
  ShownFret shown;
  shown.course = note.string;
  tab->GetFretText(note.pitch - 23, note.string, shown.text);
  if (!shown.text.empty()) return shown;
  // Asked for (status bit 1): the note is drawn once on the course its pitch takes.
  if ((note.status & 0x2) == 0) return std::nullopt;
  const int course = tab->FindStringForPitch(note.pitch - 23, -1);
  if (course < 0 || course == note.string) return std::nullopt;
  shown.course = course;
  tab->GetFretText(note.pitch - 23, course, shown.text);
  if (shown.text.empty()) return std::nullopt;
  return shown;
}

int32_t LetterShift(const StaffRenderer& stave, uint16_t chordMark, const nNotes& note, const TextMetrics& metrics) {
  int32_t x = 0;
  if (chordMark == kAlternateShiftMark) x += stave.ShiftSign() * metrics.tmAveCharWidth / 4;
  const uint32_t shift = (note.slur >> 12) & 7;
  if (shift == 1) x -= metrics.tmAveCharWidth / 3;
  if (shift == 2) x += metrics.tmAveCharWidth / 3;
  return x;
}

Size DrawFretText(StaffRenderer& stave, const nNotes& note, Point point) {
  CTabInstrument* tab = stave.Stave().tabInstrument;
  const nChord* chord = stave.CurrentChord();
  if (tab == nullptr || chord == nullptr) return {};
  DeviceContext& dc = stave.Graphics().dc;
  const std::optional<ShownFret> shown = ShowFret(stave, *chord, note);
  if (!shown) return {};
  if (shown->course != note.string) {
    nNotes moved = note;
    moved.string = static_cast<uint8_t>(shown->course);
    moved.status &= ~uint32_t{0x2};
    const int32_t shift = GetCourseY(stave, shown->course) - GetCourseY(stave, note.string);
    return DrawFretText(stave, moved, {point.x, point.y + shift});
  }
  const std::string& text = shown->text;

  std::optional<FontSpec> smallPrevious;
  if ((note.status & 0x10) != 0) smallPrevious = CreateSmallTabFont(*tab, dc, stave.Zoom());

  const bool greyed = chord->ChordMark() == nChord::kGreyedMark;
  COLORREF colour = GetTabNoteColor(stave, note);
  if (!dc.IsPrinting() && (greyed || SlurType(note) == kHiddenSlur)) colour = 0xC8C8C8;
  const COLORREF oldColour = dc.SetTextColor(colour);

  const int32_t x = point.x + LetterShift(stave, chord->ChordMark(), note, dc.GetTextMetrics());
  Size size;
  if (note.string < CourseCount(stave)) {
    size = dc.GetTextExtent(text);
    dc.TextOut(x, point.y, text);
  } else {
    size = DrawBourdon(stave, note, x, point.y);
  }
  dc.SetTextColor(oldColour);
  if (smallPrevious) dc.SelectFont(*smallPrevious);
  return size;
}

void DrawLetterBox(StaffRenderer& stave, int32_t x, int32_t y) {
  DeviceContext& dc = stave.Graphics().dc;
  // The box hides the line under the letter: a square the width of "a" on the line.
  const int32_t a = dc.GetTextExtent("a").cx;
  const Rect box{x - a / 2, y - a / 2, x - a / 2 + a, y - a / 2 + a};
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, 1, 0xFFFFFF));
  const Brush oldBrush = dc.SelectBrush(Brush::Solid(0xFFFFFF));
  dc.Rectangle(box);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

// ---------------------------------------------------------------------------------------------
// Bourdons

int32_t GetDiapasonOffset(StaffRenderer& stave, int course) {
  const int32_t drop = stave.BourdonDrop();
  return StoredBourdonOffset(stave, course, stave.Marks().diapasonCount) +
         (TabStyle(stave) == CTabInstrument::kSpanish ? -drop : drop);
}

Size DrawBourdon(StaffRenderer& stave, const nNotes& note, int32_t x, int32_t y) {
  CTabInstrument* tab = stave.Stave().tabInstrument;
  if (tab == nullptr) return {};
  DeviceContext& dc = stave.Graphics().dc;
  const InkSourceScope ink(dc, InkSource::kBourdon);
  std::string text;
  if (!tab->GetFretText(note.pitch - 23, note.string, text) || text.empty()) return {};
  const int style = TabStyle(stave);
  std::optional<COLORREF> oldColour;
  if (style == CTabInstrument::kSpanish && tab->colored != 0) oldColour = dc.SetTextColor(0x96);
  const Size size = dc.GetTextExtent(text);
  int32_t by = y + GetDiapasonOffset(stave, note.string);
  // The row the chord's letters give it: clear of the letters on the lines and of the
  // bourdons before it.
  if (const nChord* chord = stave.CurrentChord()) {
    for (const PlacedLetter& placed : PlaceChordLetters(stave, *chord, x)) {
      if (placed.note == &note && placed.bourdon) by = placed.at.y;
    }
  }
  int32_t bx = x;
  const int past = note.string - CourseCount(stave);
  if (style == CTabInstrument::kFrench && past < 4) {
    if (text == "d") bx -= size.cx / 2;
    DrawDiapasonStrokes(stave, past, tab->diapasonStyle, size.cy, size.cx, bx, by);
  }
  dc.TextOut(bx, by, text);
  if (oldColour) dc.SetTextColor(*oldColour);
  ++stave.Marks().diapasonCount;
  stave.Marks().bourdonBaseline = by;
  return size;
}

Point DiapasonStrokePoint(int kind, int k, int count, int32_t height, int32_t textWidth, int32_t spacing,
                          Point letter) {
  switch (kind) {
    case 6: {  // right end of the k-th '/'
      const int32_t step = count < 3 ? height / 3 : height / 4;
      return {letter.x - textWidth / 2 - k * step, letter.y - k * step / 2};
    }
    case 2:
    case 3:
    case 4:  // top end of the k-th drawn stroke
      return {letter.x - textWidth / 2 - spacing / 7 - k * (spacing / 3), letter.y};
    default: {  // right end of the k-th stroke glyph
      const int32_t step = spacing / (kind == 1 ? 3 : 4);
      return {letter.x - height / 2 - (k + 1) * step, letter.y - (k + 1) * (height / 6)};
    }
  }
}

namespace {

// The run of a drawn stroke (kinds 2-4) below its top end, for a letter of `height`.
int32_t DrawnStrokeRise(int32_t height) { return std::max(height * 2 / 3, 2); }
int32_t DrawnStrokeRun(int32_t height) { return std::max(DrawnStrokeRise(height) / 2, 1); }

uint32_t StrokeGlyph(int kind) { return kind == 1 ? 0x59 : kind == 5 ? 0x12E : 0x5A; }

}  // namespace

int32_t DiapasonStrokesReach(DeviceContext& dc, const std::optional<FontSpec>& flagsFont, int count, int kind,
                             int32_t height, int32_t textWidth, int32_t spacing) {
  if (count <= 0) return 0;
  count = std::min(count, 8);
  const Point last = DiapasonStrokePoint(kind, count - 1, count, height, textWidth, spacing, {0, 0});
  int32_t width = 0;
  if (kind == 6) {
    width = dc.GetTextExtent("/").cx;
  } else if (kind >= 2 && kind <= 4) {
    width = DrawnStrokeRun(height);
  } else if (flagsFont) {
    const FontSpec previous = dc.SelectFont(*flagsFont);
    width = dc.GetTextExtent(GlyphText(StrokeGlyph(kind))).cx;
    dc.SelectFont(previous);
  }
  return width - last.x;
}

void DrawDiapasonStrokes(StaffRenderer& stave, int count, int kind, int32_t height, int32_t textWidth, int32_t x,
                         int32_t y) {
  if (count <= 0) return;
  count = std::min(count, 8);
  DeviceContext& dc = stave.Graphics().dc;
  const int32_t s = stave.Spacing();
  const COLORREF colour = dc.GetTextColor();
  const auto at = [&](int k) { return DiapasonStrokePoint(kind, k, count, height, textWidth, s, {x, y}); };
  // The strokes of one run stand close together by design: the collision check reads them as one.
  const InkCallGroup run(dc);
  switch (kind) {
    case 6: {  // the letter face's own '/'
      const unsigned old = dc.SetTextAlign(TA_RIGHT | TA_BASELINE);
      for (int k = 0; k < count; ++k) dc.TextOut(at(k).x, at(k).y, "/");
      dc.SetTextAlign(old);
      return;
    }
    case 2:
    case 3:
    case 4: {  // drawn strokes, slanted like '/', before the letter
      static constexpr int32_t kWidths[] = {25, 35, 30};
      const int32_t width = kWidths[kind - 2];
      const int32_t rise = DrawnStrokeRise(height);
      const int32_t run = DrawnStrokeRun(height);
      for (int k = 0; k < count; ++k) {
        const Point p = at(k);
        stave.Graphics().DrawThinLine(width, colour, p.x - run, p.y, p.x, p.y - rise);
      }
      return;
    }
    default: {  // the flags font's stroke glyphs
      ScopedFlagsFont flags{stave};
      if (!flags) return;
      const unsigned old = dc.SetTextAlign(TA_RIGHT | TA_BASELINE);
      for (int k = 0; k < count; ++k) stave.DrawGlyph(StrokeGlyph(kind), at(k).x, at(k).y);
      dc.SetTextAlign(old);
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Slur shapes

void DrawTabSlurShape(StaffRenderer& stave, const nNotes& note, int shape, int32_t x, int32_t y) {
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kSlur);
  const nChord* chord = stave.CurrentChord();
  const int count = CourseCount(stave);
  if (chord == nullptr || count <= 0) return;
  const int32_t s = stave.Spacing();
  const bool upsideDown = TabStyle(stave) == CTabInstrument::kSpanish;
  const int neighbour = std::clamp(chord->notes.GetNeighbourString(note.string), 0, count - 1);
  GraphicUtil& g = stave.Graphics();
  if (shape == 3 || shape == 4) {
    const int32_t d = (shape == 4 ? -2 : 2) * s / 3;
    const int32_t half = s * (neighbour - note.string) / 2;
    const int32_t yy = upsideDown ? y - half : y + half;
    const int32_t third = std::abs(d / 3);
    g.DrawThinLine(2, 0, x - d - d / 3, yy - third, x + d + d / 3, yy + third - s);
    stave.SetLastDrawnString(neighbour);
    return;
  }
  if (shape != 7) return;
  // A hold line from the letter toward the neighbouring note's course.
  const bool hasNeighbour = neighbour != note.string && chord->notes.size() > 1;
  const int32_t spacings = hasNeighbour ? std::min(std::abs(neighbour - note.string) - 1, 5) : 4;
  const int32_t length = spacings * s;
  if (length <= 0) return;
  if (upsideDown) {
    const int32_t end = std::max(y - s / 2 - length, stave.Top());
    g.DrawThinLine(10, 0x646464, x, y - s / 2, x, end);
  } else {
    const int32_t direction = hasNeighbour && neighbour < note.string ? -1 : 1;
    const int32_t from = direction > 0 ? y + s / 4 : y - s;
    // The line stays on the stave's courses.
    const int32_t bottomLine = stave.Top() + (count - 1) * s;
    const int32_t to = direction > 0 ? std::min(from + length, bottomLine) : std::max(from - length, stave.Top());
    if ((to - from) * direction <= 0) return;
    LineSegment(x, from, x, to)
        .DrawStraight(g.dc, Pen::Create(PS_SOLID, std::max(1, g.HundredthMmToDeviceX(10)), 0x646464));
  }
}

}  // namespace vornel
