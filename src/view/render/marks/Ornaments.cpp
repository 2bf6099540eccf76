#include "view/render/marks/Ornaments.h"

#include <algorithm>
#include <string>
#include <vector>

#include "model/instrument/CInstrumentDlg.h"
#include "model/ornament/COrnamentTable.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "platform/draw/MulDiv.h"
#include "view/render/MarkSeams.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/tablature/ChordLetters.h"
#include "view/render/tablature/TabMarks.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

constexpr unsigned kLeft = TA_LEFT | TA_BASELINE;
constexpr unsigned kRight = TA_RIGHT | TA_BASELINE;
constexpr unsigned kCentre = TA_CENTER | TA_BASELINE;

struct Placer {
  StaffRenderer& stave;
  int32_t h;
  int32_t w;
  bool withAccidental;
  bool tab;
  bool stemsDown;
  int32_t s;
  int32_t d;       // 0.6 mm
  int32_t u;       // a spacing on a staff, h/2 on a tablature
  int32_t column;
  Point p;
  unsigned alignment = kLeft;

  bool RoomForGap() const { return 2 * d < column; }

  void Code0() { p.x += w / 2; alignment = kLeft; }
  void Code1() {
    p.x -= w / 2;
    if (RoomForGap()) p.x -= d;
    if (withAccidental) p.x -= s;
    alignment = kRight;
  }
  void Code5() {
    p.y -= tab ? h / 2 : u;
    Code1();
  }
  void Code6() {
    if (RoomForGap()) p.x += d;
    p.y -= (tab ? h : u) / 2;
    Code0();
  }
  void Code9() {
    p.y = GetUpperMarkY(stave, p.y);
    if (!tab) p.x += w / 2;
    alignment = kLeft;
  }

  bool Place(int code) {
    switch (code) {
      case 0: Code0(); return true;
      case 1: Code1(); return true;
      case 2:
        if (!tab) {
          p.y += stemsDown ? -h : h;
          p.x += w / 2;
        }
        alignment = kLeft;
        return true;
      case 3:
        p.y += TabStyle(stave) == CTabInstrument::kSpanish && tab ? -h : h;
        if (!tab) {
          p.y += stemsDown ? -4 * s : s;
          p.x += stemsDown ? w : w / 2;
        }
        alignment = kLeft;
        return true;
      case 4:
        if (tab) {
          p.y += TabStyle(stave) == CTabInstrument::kSpanish ? 5 * h / 4 : -5 * h / 4;
        } else {
          p.y += stemsDown ? 5 * s : -4 * s;
          p.x += stemsDown ? w : w / 4;
        }
        alignment = kLeft;
        return true;
      case 5: Code5(); return true;
      case 6: Code6(); return true;
      case 7:
        p.y += tab ? 3 * h / 2 : 2 * u;
        Code5();
        return true;
      case 8:
        if (RoomForGap()) p.x += d;
        p.y += tab ? 3 * h / 2 : u;
        Code6();
        return true;
      case 9: Code9(); return true;
      case 10:
        p.y = GetLowerMarkY(stave, p.y);
        if (tab && TabStyle(stave) == CTabInstrument::kFrench && stave.Marks().diapasonCount > 0) {
          p.y += GetDiapasonOffset(stave, 7) + h;
        }
        alignment = kLeft;
        return true;
      case 11:
        p.y += h / 2;
        Code9();
        return true;
      case 12:
      case 13:
        if (tab) return false;
        p.y += s;
        Code1();
        return true;
      default:
        return false;
    }
  }
};

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The base line of a mark whose ink is `ink` drawn from `origin`, moved (up or down, as the
// mark already went from its letter) until it meets none of the chord's other letters: a mark
// over a letter on a neighbouring course stands beyond that letter instead.
int32_t ClearOfLetters(const std::vector<Rect>& letters, const Rect& ink, Point origin, bool up, int32_t gap) {
  int32_t y = origin.y;
  for (size_t pass = 0; pass < letters.size(); ++pass) {
    const Rect mark{origin.x + ink.left, y + ink.top, origin.x + ink.right, y + ink.bottom};
    const auto hit = std::find_if(letters.begin(), letters.end(), [&](const Rect& l) { return Overlap(mark, l); });
    if (hit == letters.end()) break;
    y = up ? hit->top - gap - ink.bottom : hit->bottom + gap - ink.top;
  }
  return y;
}

}  // namespace

int32_t GetUpperMarkY(StaffRenderer& stave, int32_t y) {
  const int32_t s = stave.Spacing();
  if (stave.IsTablature()) {
    const int32_t base = stave.Stave().textBaseline;
    return stave.Stave().tabMode == 2 ? base + 4 * s : base - 3 * s;
  }
  const int32_t k = stave.Stave().currentStemsDown != 0 ? s : 4 * s;
  return std::min(stave.Top(), y - k);
}

int32_t GetLowerMarkY(StaffRenderer& stave, int32_t y) {
  const int32_t s = stave.Spacing();
  const int32_t bottomLine = stave.Top() + std::max(stave.LineCount() - 1, 0) * s;
  if (stave.IsTablature()) return stave.Stave().tabMode == 2 ? stave.Top() - s : bottomLine + 2 * s;
  const int32_t k = stave.Stave().currentStemsDown != 0 ? 4 * s : s;
  const int32_t bottom = stave.Stave().area.bottom;
  return y + k >= bottom ? y + k + 2 * s : bottom;
}

std::optional<OrnamentPlacement> PlaceOrnament(StaffRenderer& stave, int code, int32_t h, int32_t w, Point note,
                                               bool withAccidental) {
  Placer placer{stave,
                h,
                w,
                withAccidental,
                stave.IsTablature(),
                stave.Stave().currentStemsDown != 0,
                stave.Spacing(),
                MulDiv(6, stave.Graphics().dc.LogPixelsX(), 254),
                stave.IsTablature() ? h / 2 : stave.Spacing(),
                stave.Stave().columnWidth,
                note};
  if (!placer.Place(code)) return std::nullopt;
  // A letter's x is its middle: what a staff aligns on a head's edge is centred over it.
  if (placer.tab && placer.alignment == kLeft && code != 0 && code != 6 && code != 8) placer.alignment = kCentre;
  return OrnamentPlacement{placer.p, placer.alignment};
}

void DrawNoteOrnament(StaffRenderer& stave, const nNotes& note, int32_t x, int32_t y, int32_t width) {
  CInstrumentDlg* d = stave.Stave().definition;
  if (d == nullptr || d->hideOrnaments != 0) return;
  const int32_t s = stave.Spacing();
  if ((note.ornament & 0x80) != 0) {
    if (const nChord* chord = stave.CurrentChord()) {
      DrawSymbolEvent(stave, *chord, note, {x - s / 2, y - s, x + s / 2, y});
    }
    return;
  }
  const uint32_t code = note.ornament & 0x7F;
  if (code == 0) return;
  const bool tab = stave.IsTablature();
  // The tablature half of the table draws in the flags face, the notation half in the
  // notation face, whatever type a row was read with.
  const COrnamentProps& row = d->ornaments.table.GetOrnament(code, tab ? 0 : 1, true);
  const uint32_t glyph = row.glyph & 0xFFFF;
  if (glyph == 0x20 || glyph == 0) return;

  DeviceContext& dc = stave.Graphics().dc;
  int32_t w = width;
  if (w == 0) {
    w = dc.GetTextExtent("tr").cx;
    if (2 * w < stave.Stave().columnWidth) w = w * 3 / 2;
  }
  if (tab && TabStyle(stave) == CTabInstrument::kSpanish) w = -w;

  // Measured in the tablature face, before the flags face replaces it.
  std::vector<PlacedLetter> placedLetters;
  const nChord* chord = stave.CurrentChord();
  if (tab && chord != nullptr) placedLetters = PlaceChordLetters(stave, *chord, x);
  std::vector<Rect> others;
  std::vector<Rect> letters;
  std::optional<Rect> own;
  for (const PlacedLetter& letter : placedLetters) {
    if (letter.ink.IsEmpty()) continue;
    letters.push_back(letter.ink);
    if (letter.note == &note) {
      own = letter.ink;
    } else {
      others.push_back(letter.ink);
    }
  }
  std::optional<FontSpec> previous;
  if (tab) {
    previous = stave.SelectFlagsFont();
    if (!previous) return;
  }
  const std::string text = GlyphText(glyph);
  const Rect ink = dc.GetTextInkBox(text);
  const int32_t h = tab ? s : std::max(ink.Height(), 1);
  const COLORREF colour = stave.ColourOn() ? (row.color != 0 ? row.color
                                                              : d->ornaments.table.colors[COrnamentTable::kOrnaments])
                                           : 0;
  // On a tablature a mark belongs to its letter: the rows above and below the staff stand over
  // and under it instead, a mark's room from it.
  int alignment = row.alignment;
  const bool hugging = tab && own && !ink.IsEmpty() && (alignment == 9 || alignment == 10 || alignment == 11);
  if (hugging) alignment = alignment == 10 ? 3 : 4;
  if (auto placed = PlaceOrnament(stave, alignment, h, w, {x, y}, stave.AccidentalDrawn())) {
    const int32_t gap = std::max<int32_t>(1, s / 8);
    if (hugging) placed->at.y = alignment == 4 ? own->top - gap - ink.bottom : own->bottom + gap - ink.top;
    const int32_t advance = dc.GetTextExtent(text).cx;
    const int32_t left = placed->at.x + (placed->alignment == kCentre ? -advance / 2
                                         : placed->alignment == kRight ? -advance
                                                                        : 0);
    if (tab && placed->at.y != y && !ink.IsEmpty()) {
      const bool up = placed->at.y < y;
      const int32_t clear = ClearOfLetters(others, ink, {left, placed->at.y}, up, gap);
      const std::optional<Rect> flag = chord != nullptr ? FlagInk(stave, *chord, x) : std::nullopt;
      const Rect mark{left + ink.left, clear + ink.top, left + ink.right, clear + ink.bottom};
      // A mark that would sit on the chord's rhythm flag goes to the letter's other side.
      int32_t mirrored = 2 * y - placed->at.y;
      if (hugging) mirrored = up ? own->bottom + gap - ink.top : own->top - gap - ink.bottom;
      placed->at.y = flag && Overlap(mark, *flag) ? ClearOfLetters(letters, ink, {left, mirrored}, !up, gap) : clear;
    }
    // Whatever else it would meet (the columns beside it, the chord's other marks) it keeps
    // clear of too.
    if (tab && !ink.IsEmpty()) {
      const Rect at{left + ink.left, placed->at.y + ink.top, left + ink.right, placed->at.y + ink.bottom};
      placed->at = PlaceTabMark(stave, note, placed->at, at);
    }
    const COLORREF oldColour = dc.SetTextColor(colour);
    const unsigned oldAlign = dc.SetTextAlign(placed->alignment);
    stave.DrawGlyph(glyph, placed->at.x, placed->at.y);
    dc.SetTextAlign(oldAlign);
    dc.SetTextColor(oldColour);
  }
  if (previous) dc.SelectFont(*previous);
}

}  // namespace vornel
