#include "view/render/tablature/TabMarks.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/draw/DeviceContext.h"
#include "view/draw/MeasuredInk.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/tablature/ChordLetters.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

bool Meet(const Rect& a, const Rect& b, int32_t gap) {
  return a.left < b.right + gap && b.left < a.right + gap && a.top < b.bottom + gap && b.top < a.bottom + gap;
}

int64_t OverlapArea(const Rect& a, const Rect& b) {
  const int64_t w = int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
  const int64_t h = int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

enum class Side { kLeft, kRight, kAbove, kBelow };

}  // namespace

// What the marks of the current chord keep clear of, gathered once per chord: its letters and
// flag, the letters of the columns beside it and the bar lines there.
struct MarkSurroundings {
  const nChord* chord = nullptr;
  std::vector<PlacedLetter> own;
  std::vector<Rect> letters;  // the letters of the columns beside it
  std::vector<Rect> other;    // its flag and the bar lines beside it
};

namespace {

MarkSurroundings Gather(StaffRenderer& stave, const nChord& chord, int32_t x) {
  MarkSurroundings s;
  s.chord = &chord;
  s.own = PlaceChordLetters(stave, chord, x);
  if (std::optional<Rect> flag = FlagInk(stave, chord, x)) s.other.push_back(*flag);
  const nChordArray* voice = stave.Voice();
  const auto& xs = stave.Stave().Drawn().chordPositions;
  const size_t index = stave.ElementIndex();
  const int32_t top = stave.Top();
  const int32_t bottom = top + std::max(stave.LineCount() - 1, 0) * stave.Spacing();
  for (const size_t at : {index - 1, index + 1}) {
    // index - 1 wraps past every size at the first element.
    if (voice == nullptr || at >= voice->size() || at >= xs.size()) continue;
    const nChord* e = voice->at(at);
    if (e == nullptr) continue;
    const int32_t ex = static_cast<int32_t>(xs[at]) + ColumnShift(*e, stave.Stave().columnWidth);
    if (e->IsBarLine()) {
      s.other.push_back({ex - 1, top, ex + 1, bottom});
    } else if (e->IsChord()) {
      for (const PlacedLetter& letter : PlaceChordLetters(stave, *e, ex)) {
        if (!letter.ink.IsEmpty()) s.letters.push_back(letter.ink);
      }
    }
  }
  return s;
}

}  // namespace

std::optional<Rect> FlagInk(StaffRenderer& stave, const nChord& chord, int32_t x) {
  const CTabInstrument* tab = stave.Stave().tabInstrument;
  const std::optional<FontSpec>& face = stave.FlagsFont();
  if (tab == nullptr || !face || !ChordFlagShown(stave, chord)) return std::nullopt;
  uint32_t glyph = tab->GetFlagGlyph(chord.rhythm & 7);
  if (tab->rotateFlags != 0) glyph += 1;
  DeviceContext& dc = stave.MeasuringDevice();
  if (!(dc.GetFont() == *face)) dc.SelectFont(*face);
  const Rect ink = InkAt(dc, GlyphText(glyph), {x, stave.Stave().textBaseline}, TA_CENTER | TA_BASELINE);
  if (ink.IsEmpty()) return std::nullopt;
  return ink;
}

Rect InkAt(DeviceContext& dc, std::string_view text, Point at, unsigned alignment) {
  const Rect ink = dc.GetTextInkBox(text);
  if (ink.IsEmpty()) return {};
  const int32_t width = dc.GetTextExtent(text).cx;
  const unsigned horizontal = alignment & (TA_CENTER | TA_RIGHT);
  const int32_t left = horizontal == TA_CENTER ? at.x - width / 2 : horizontal == TA_RIGHT ? at.x - width : at.x;
  return {left + ink.left, at.y + ink.top, left + ink.right, at.y + ink.bottom};
}

SlurInkKeeper::SlurInkKeeper(StaffRenderer& stave)
    : stave_(stave),
      boxes_(std::make_unique<InkBoxes>(stave.Graphics().dc,
                                        [](InkSource source, const Rect&) { return source == InkSource::kSlur; })) {}

SlurInkKeeper::~SlurInkKeeper() {
  std::vector<Rect>& slurs = stave_.Marks().slurs;
  slurs.insert(slurs.end(), boxes_->Boxes().begin(), boxes_->Boxes().end());
}

Point PlaceTabMark(StaffRenderer& stave, const nNotes& note, Point origin, const Rect& ink) {
  MarkState& marks = stave.Marks();
  const nChord* chord = stave.CurrentChord();
  if (ink.IsEmpty() || chord == nullptr) return origin;
  if (!marks.surroundings || marks.surroundings->chord != chord) {
    marks.surroundings = std::make_shared<const MarkSurroundings>(Gather(stave, *chord, marks.chordX));
  }
  const MarkSurroundings& around = *marks.surroundings;
  const int32_t gap = LetterGap(stave);
  // Slurs and marks well behind the chord are done with.
  const int32_t behind = marks.chordX - 2 * std::max(stave.Stave().columnWidth, stave.Spacing());
  std::erase_if(marks.slurs, [&](const Rect& r) { return r.right < behind; });
  std::erase_if(marks.chordMarks, [&](const Rect& r) { return r.right < behind; });

  // A mark may stand close to its own letter, never on it; other letters it keeps clear of.
  const auto hitsLetter = [&](const Rect& r) {
    return std::any_of(around.own.begin(), around.own.end(),
                       [&](const PlacedLetter& l) {
                         return !l.ink.IsEmpty() && Meet(r, l.ink, l.note == &note ? -1 : gap);
                       }) ||
           std::any_of(around.letters.begin(), around.letters.end(), [&](const Rect& l) { return Meet(r, l, gap); });
  };
  const auto hitsOther = [&](const Rect& r) {
    const auto meets = [&](const Rect& o) { return Meet(r, o, 0); };
    return std::any_of(around.other.begin(), around.other.end(), meets) ||
           std::any_of(marks.chordMarks.begin(), marks.chordMarks.end(), meets) ||
           std::any_of(marks.slurs.begin(), marks.slurs.end(), meets);
  };
  const auto accept = [&](const Rect& r, Point at) {
    marks.chordMarks.push_back(r);
    return at;
  };
  if (!hitsLetter(ink) && !hitsOther(ink)) return accept(ink, origin);

  // The mark's own letter: the sides are taken from it.
  const auto own = std::find_if(around.own.begin(), around.own.end(),
                                [&](const PlacedLetter& l) { return l.note == &note && !l.ink.IsEmpty(); });
  if (own == around.own.end()) return accept(ink, origin);
  const Rect& letter = own->ink;
  const Point centre = letter.CenterPoint();
  const Point markCentre = ink.CenterPoint();
  const int32_t dx = markCentre.x - centre.x;
  const int32_t dy = markCentre.y - centre.y;
  // The side the code put the mark on first, then the others nearest to it.
  Side first = Side::kBelow;
  if (std::abs(dx) * 2 >= std::abs(dy)) {
    first = dx < 0 ? Side::kLeft : Side::kRight;
  } else {
    first = dy < 0 ? Side::kAbove : Side::kBelow;
  }
  std::array<Side, 4> order{};
  switch (first) {
    case Side::kLeft: order = {Side::kLeft, Side::kBelow, Side::kAbove, Side::kRight}; break;
    case Side::kRight: order = {Side::kRight, Side::kAbove, Side::kBelow, Side::kLeft}; break;
    case Side::kAbove: order = {Side::kAbove, Side::kRight, Side::kLeft, Side::kBelow}; break;
    case Side::kBelow: order = {Side::kBelow, Side::kLeft, Side::kRight, Side::kAbove}; break;
  }
  const int32_t w = ink.Width();
  const int32_t h = ink.Height();
  struct Candidate {
    Rect ink;
    Point at;
  };
  std::vector<Candidate> candidates;
  const auto add = [&](int32_t left, int32_t top) {
    candidates.push_back({{left, top, left + w, top + h}, {origin.x + left - ink.left, origin.y + top - ink.top}});
  };
  for (const Side side : order) {
    switch (side) {
      case Side::kLeft:
      case Side::kRight: {
        const int32_t left = side == Side::kLeft ? letter.left - gap - w : letter.right + gap;
        add(left, ink.top);
        add(left, centre.y - h / 2);
        break;
      }
      case Side::kAbove:
        add(centre.x - w / 2, letter.top - gap - h);
        break;
      case Side::kBelow:
        add(centre.x - w / 2, letter.bottom + gap);
        break;
    }
  }
  for (const Candidate& c : candidates) {
    if (!hitsLetter(c.ink) && !hitsOther(c.ink)) return accept(c.ink, c.at);
  }
  // Nowhere clear: the place with the least ink over letters, then over the rest.
  const auto cost = [&](const Rect& r) {
    int64_t letters = hitsLetter(r) ? 1 : 0;
    for (const PlacedLetter& l : around.own) letters += OverlapArea(r, l.ink);
    for (const Rect& l : around.letters) letters += OverlapArea(r, l);
    int64_t rest = 0;
    for (const Rect& o : around.other) rest += OverlapArea(r, o);
    for (const Rect& o : marks.chordMarks) rest += OverlapArea(r, o);
    for (const Rect& o : marks.slurs) rest += OverlapArea(r, o);
    return std::pair(letters, rest);
  };
  Candidate best{ink, origin};
  auto bestCost = cost(ink);
  for (const Candidate& c : candidates) {
    const auto k = cost(c.ink);
    if (k < bestCost) {
      best = c;
      bestCost = k;
    }
  }
  return accept(best.ink, best.at);
}

}  // namespace vornel
