// The slur word of a note on either stave type: curves to a later note with their number,
// ties from an earlier note, slides, legato lines along a course, mark glyphs beside the head
// and the tablature's slur shapes.

#include "view/render/marks/Slurs.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/text/NumberText.h"
#include "view/render/LabelDrawing.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

constexpr uint32_t kHidden = 11;
constexpr uint32_t kTie = 8;
constexpr uint32_t kWide = 13;

uint32_t SlurType(uint32_t slur) { return (slur >> 8) & 0x0F; }
uint32_t SlurShape(uint32_t slur) { return (slur >> 12) & 0x07; }

// The signed offset of bits 3-5 with bit 6 its sign.
int SlurOffset(uint32_t slur) {
  const int magnitude = static_cast<int>((slur >> 3) & 7);
  return (slur & 0x40) != 0 ? -magnitude : magnitude;
}

COLORREF SlurColour(const StaffRenderer& stave) {
  const CInstrumentDlg* d = stave.Definition();
  return stave.ColourOn() && d != nullptr ? d->GetElementColor(COrnamentTable::kSlurs + 1) : 0;
}

// The x of a voice element's column, or none past the list.
std::optional<int32_t> ColumnX(StaffRenderer& stave, int index) {
  const auto& xs = stave.Stave().Drawn().chordPositions;
  if (index < 0 || static_cast<size_t>(index) >= xs.size()) return std::nullopt;
  return static_cast<int32_t>(xs[static_cast<size_t>(index)]);
}

// The width of a head or a letter: the notation space on a staff, "a" on a tablature.
int32_t HeadWidth(StaffRenderer& stave) {
  DeviceContext& dc = stave.Graphics().dc;
  return stave.IsTablature() ? dc.GetTextExtent("a").cx : dc.GetCharWidth(U' ');
}

void DrawMarkGlyph(StaffRenderer& stave, uint32_t glyph, int32_t x, int32_t y, unsigned alignment) {
  DeviceContext& dc = stave.Graphics().dc;
  std::optional<ScopedFlagsFont> flags;
  if (stave.IsTablature()) {
    flags.emplace(stave);
    if (!*flags) return;
  }
  const unsigned old = dc.SetTextAlign(alignment);
  stave.DrawGlyph(glyph, x, y);
  dc.SetTextAlign(old);
}

// A positive lift bends the curve down, under the heads or letters; bit 7 turns it over.
// Types 1 and 2 show their number beyond the curve's middle.
void DrawSlurWithNumber(StaffRenderer& stave, const SlurCurve& curve, COLORREF colour, int number,
                        int32_t flag = 1) {
  GraphicUtil& g = stave.Graphics();
  const int32_t s = stave.Spacing();
  const int32_t lift = curve.height;
  g.DrawSlur(lift, flag, curve.from.x, curve.from.y, curve.to.x, curve.to.y, colour);
  if (number == 0) return;
  const int32_t beyond = lift > 0 ? lift + s : lift - s / 4;
  const Point middle{(curve.from.x + curve.to.x) / 2, (curve.from.y + curve.to.y) / 2 + beyond};
  DrawPatternLabel(g.dc, stave.Zoom(), FormatInt(number), TA_CENTER | TA_BASELINE, 0, middle, colour);
}

// The thickness GraphicUtil::DrawSlur gives a curve in its middle, which it adds to the lift
// with the slope of the chord.
int32_t SlurThickness(StaffRenderer& stave) { return stave.Graphics().HundredthMmToDeviceY(40); }

int32_t DrawnHeight(int32_t lift, int32_t thickness, Point from, Point to) {
  const int32_t sign = lift >= 0 ? 1 : -1;
  return lift + sign * (thickness + std::abs(to.y - from.y) / 8);
}

// The head among `heads` that holds the point, nearest to it in y; none when no head does.
std::optional<size_t> HeadAt(const std::vector<StaffInk>& ink, int32_t x, int32_t y, int32_t reach) {
  std::optional<size_t> found;
  int32_t nearest = reach + 1;
  for (size_t i = 0; i < ink.size(); ++i) {
    const Rect& r = ink[i].box;
    if (!ink[i].head || x < r.left || x > r.right) continue;
    const int32_t off = y < r.top ? r.top - y : (y > r.bottom ? y - r.bottom : 0);
    if (off < nearest) {
      nearest = off;
      found = i;
    }
  }
  return found;
}

void DrawShapedSlur(StaffRenderer& stave, const DeferredSlur& slur, const std::vector<StaffInk>& ink) {
  const int32_t s = std::max(stave.Spacing(), 1);
  const int32_t thickness = SlurThickness(stave);
  SlurCurve rule = slur.curve;
  rule.height = DrawnHeight(slur.curve.height, thickness, rule.from, rule.to);
  const int32_t w = slur.headWidth;
  std::optional<size_t> startHead;
  std::optional<size_t> endHead;
  if (slur.anchored) {
    startHead = HeadAt(ink, slur.head.x + w / 2, slur.head.y, 0);
    endHead = HeadAt(ink, rule.to.x + w / 2, slur.endHeadY, s);
  }
  std::vector<Rect> between;
  for (size_t i = 0; i < ink.size(); ++i) {
    const Rect& r = ink[i].box;
    if (i == startHead || i == endHead || r.right < rule.from.x || r.left > rule.to.x) continue;
    between.push_back(r);
  }
  SlurClearance clearance;
  clearance.thickness = thickness;
  clearance.gap = std::max(s / 3, 1);
  clearance.step = std::max(s / 3, 1);
  clearance.mostEndMove = 8 * s;
  clearance.mostHeight = std::min(std::max((rule.to.x - rule.from.x) / 3, 2 * s), 4 * s);
  const auto box = [&ink](std::optional<size_t> i) { return i ? std::optional<Rect>(ink[*i].box) : std::nullopt; };
  SlurCurve shaped = ClearSlur(rule, between, clearance, box(startHead), box(endHead));
  // Back to the lift that draws it.
  const int32_t sign = rule.height >= 0 ? 1 : -1;
  const int32_t lift = shaped.height - sign * (thickness + std::abs(shaped.to.y - shaped.from.y) / 8);
  shaped.height = sign * std::max(sign * lift, 1);
  DrawSlurWithNumber(stave, shaped, slur.colour, slur.number, slur.flag);
}

}  // namespace

void DrawStaffSlurs(StaffRenderer& stave, std::vector<DeferredSlur> slurs, const std::vector<StaffInk>& ink) {
  // Shorter slurs first, so that a slur over another keeps clear of it too.
  std::stable_sort(slurs.begin(), slurs.end(), [](const DeferredSlur& a, const DeferredSlur& b) {
    return a.curve.to.x - a.curve.from.x < b.curve.to.x - b.curve.from.x;
  });
  const InkSourceScope source(stave.Graphics().dc, InkSource::kSlur);
  for (const DeferredSlur& slur : slurs) DrawShapedSlur(stave, slur, ink);
}

void DrawSlurMarks(StaffRenderer& stave, nNotes& note, Point head) {
  const uint32_t slur = note.slur;
  const uint32_t type = SlurType(slur);
  if (type == kHidden) return;
  const bool tab = stave.IsTablature();
  const int32_t s = stave.Spacing();
  const int32_t w = HeadWidth(stave);
  const bool stemsDown = stave.Stave().currentStemsDown != 0;
  const int32_t x = head.x;
  const int32_t y = head.y;
  const uint32_t shape = SlurShape(slur);
  const unsigned centred = TA_CENTER | TA_BASELINE;

  if (tab && (shape == 3 || shape == 4 || shape == 7)) DrawTabSlurShape(stave, note, static_cast<int>(shape), x, y);
  if (shape == 5) {
    if (tab) {
      DrawMarkGlyph(stave, 0xE9, x, y - s, centred);
    } else {
      DrawMarkGlyph(stave, 0xD3, x + s, stemsDown ? y - s : y + s, centred);
    }
  } else if (shape == 6) {
    if (tab) {
      DrawMarkGlyph(stave, 0xD6, x - s / 2, y - s / 2, centred);
    } else {
      DrawMarkGlyph(stave, 0xB5, x + s, stemsDown ? y - 2 * s : y + s / 3, centred);
    }
  }
  switch (type) {
    case 5:
      if (tab) {
        DrawMarkGlyph(stave, kTabSlurMarkGlyphs.type5, x + w, y - w, centred);
      } else {
        DrawMarkGlyph(stave, 0x42, x + 3 * w / 2, y - w / 2, centred);
      }
      break;
    case 6:
      if (tab) {
        DrawMarkGlyph(stave, kTabSlurMarkGlyphs.type6, x, y, centred);
      } else {
        DrawMarkGlyph(stave, 0x41, x + 3 * w / 2, y + w / 2, centred);
      }
      break;
    case 9: DrawMarkGlyph(stave, tab ? 0xFE : 0x11A, x + w, y, centred); break;
    case 10: DrawMarkGlyph(stave, 0xFD, x + w, y, centred); break;
    default: break;
  }
  if (type == 3 || type == 4) {
    DrawStringLegato(stave, note, x, y);
  } else if ((slur & 0xFFFF) != 0) {
    DrawSlurCurve(stave, slur, w, note, x, y);
  }
}

void DrawSlurArc(StaffRenderer& stave, int32_t startX, bool below, int32_t endX, int32_t y) {
  const int32_t s = stave.Spacing();
  const bool tab = stave.IsTablature();
  const int32_t lift = tab ? s / 2 : s;
  // The arc runs above the heads, or below them with the flag.
  const int32_t offset = below ? s / 2 : -(tab ? s : s / 2);
  stave.Graphics().DrawSlur(below ? lift : -lift, 1, startX, y + offset, endX, y + offset, SlurColour(stave));
}

void DrawSlurCurve(StaffRenderer& stave, uint32_t slur, int32_t w, const nNotes& note, int32_t x, int32_t y) {
  const uint32_t type = SlurType(slur);
  const bool tab = stave.IsTablature();
  // Under a tablature whose rhythm flags hang below it, arcs that would bend down among the
  // flags are turned over above the letters.
  const bool flagsUnder = tab && stave.Stave().tabMode == 2;
  const int32_t s = stave.Spacing();
  const nChordArray* voice = stave.Voice();
  const int index = static_cast<int>(stave.ElementIndex());

  if (type == kTie) {
    // The side flag is set for stems down and turns the arc over: ties sit opposite the stems.
    bool flag = stave.Stave().currentStemsDown != 0;
    if ((slur & 0x80) != 0) flag = !flag;
    if ((note.flags & 0x80) != 0) flag = !flag;
    const bool below = flag == flagsUnder;
    int start = index;
    std::optional<int32_t> startX;
    if (voice != nullptr && voice->FindPrevNearPitch(start, note.pitch)) startX = ColumnX(stave, start);
    // A tie into a head with an accidental before it ends before the accidental.
    int32_t endX = x;
    if (!tab && stave.AccidentalDrawn() && stave.AccidentalLeft() != INT32_MAX) {
      endX = std::min(endX, stave.AccidentalLeft() - std::max(s / 6, 1));
    }
    const int32_t begin = startX.value_or(x - 3 * s);
    DrawSlurArc(stave, begin, below, std::max(endX, std::min(begin + s, x)), y);
    return;
  }
  if (type == 5 || type == 6 || (slur & 0xFF) == 0) return;

  // Bit 7 turns the curve over the notes.
  const bool over = ((slur & 0x80) != 0) != flagsUnder;
  const int32_t u = tab ? s : s / 2;
  Point from{x, y};
  if (!tab) from = {x + w / 3, y + w / 2};
  const int n = static_cast<int>(slur & 7) + 1;
  int32_t endX = x + stave.Stave().columnWidth * n;
  const nChord* target = nullptr;
  if (voice != nullptr) {
    int after = index + 1;
    target = voice->NextNthChord(n, after);
    if (target != nullptr) {
      if (const auto column = ColumnX(stave, after - 1)) endX = *column;
    }
  }
  int32_t lift = tab ? u * 5 / 8 : u * 9 / 4;
  if (n > 1) lift += u / 3;
  if (over) {
    lift = -lift;
    from.y -= type == kWide ? s : s / 3;
  } else {
    from.y += s / 5;
  }
  // A slur to a chord of the next system ends where its staff ends.
  endX = std::min(endX, stave.Stave().area.right);
  Point to{endX, from.y - (tab ? s / 3 : u) * SlurOffset(slur)};
  GraphicUtil& g = stave.Graphics();
  const COLORREF colour = SlurColour(stave);

  if (type == 7 || type == 12) {
    g.DrawThinLine(type == 7 ? 25 : 10, colour, from.x + w, from.y, to.x - w, to.y);
    return;
  }
  if (!tab) {
    from.x += w / 4;
    if (target != nullptr) {
      const nNotes* neighbour = target->notes.FindNeighbourNote(note.interval);
      if (neighbour != nullptr && neighbour->pitch < note.pitch) to.y += over ? -s / 2 : s / 2;
    }
  } else if (type == kWide) {
    from.x -= w / 2;
    to.x += w / 2;
  } else if (n >= 5 || over) {
    from.x += w / 2;
    to.x -= w / 2;
  }
  const int number = type == 1 || type == 2 ? n : 0;
  // On a staff the curve waits for the notes between its ends, which it keeps clear of.
  if (!tab && stave.DeferSlur({.curve = {from, to, lift},
                               .head = {x, y},
                               .endHeadY = y - u * SlurOffset(slur),
                               .headWidth = w,
                               .colour = colour,
                               .number = number})) {
    return;
  }
  DrawSlurWithNumber(stave, {from, to, lift}, colour, number);
}

void DrawStringLegato(StaffRenderer& stave, nNotes& note, int32_t x, int32_t y) {
  const nChordArray* voice = stave.Voice();
  const bool tab = stave.IsTablature();
  const int32_t s = stave.Spacing();
  const int index = static_cast<int>(stave.ElementIndex());
  int found = index;
  const nNotes* target = voice != nullptr ? voice->FindNextNoteOnString(note.string, found) : nullptr;
  uint32_t span = note.slur & 0x0F;
  if (span == 0) {
    // The span is learnt once and kept in the note.
    span = target != nullptr ? static_cast<uint32_t>(std::min(found - index, 5)) : 2;
    note.slur = (note.slur & ~uint32_t{0x0F}) | span;
  }
  const int32_t column = stave.Stave().columnWidth;
  Point from{x + (tab ? s : 2 * s), y};
  Point to{std::min(x + column * static_cast<int32_t>(span) - s, stave.Stave().area.right), y};
  if (!tab) {
    if (target != nullptr) {
      uint16_t name = 0;
      char accidental = 0;
      const int step = stave.Stave().key.SpellPitch(target->pitch, name, accidental, false);
      to.y = stave.Stave().StepToY(step) - s / 4;
    }
    from.y -= s / 4;
  } else {
    const CTabInstrument* instrument = stave.Stave().tabInstrument;
    if (instrument == nullptr || instrument->betweenLines == 0) from.y -= s / 2;
    to.y = from.y;
  }
  GraphicUtil& g = stave.Graphics();
  const CInstrumentDlg* d = stave.Definition();
  const COLORREF colour = stave.ColourOn() && d != nullptr ? d->GetElementColor(COrnamentTable::kFingerings + 1) : 0;
  if (tab && SlurType(note.slur) == 3) {
    g.DrawArrow(std::max(to.x - from.x, s), from.x, from.y);
  } else {
    g.DrawThinLine(6, colour, from.x, from.y, to.x, to.y);
  }
}

}  // namespace vornel
