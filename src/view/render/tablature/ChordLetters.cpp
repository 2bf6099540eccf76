#include "view/render/tablature/ChordLetters.h"

#include <algorithm>
#include <optional>

#include "model/instrument/CTabInstrument.h"
#include "model/score/CVoicesArray.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "view/render/StaffRenderer.h"
#include "view/render/TabFonts.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

int CourseCount(const StaffRenderer& stave) {
  const CTabInstrument* tab = stave.Stave().tabInstrument;
  return tab != nullptr ? std::clamp(tab->tuning.lines, 0, static_cast<int32_t>(nTuning::kMaxCourses)) : 0;
}

// Bourdons stand above the lines in the Spanish/modern style, below them otherwise.
int AwayFromTheLines(const StaffRenderer& stave) { return TabStyle(stave) == CTabInstrument::kSpanish ? -1 : 1; }

bool Meet(const Rect& a, const Rect& b, int32_t gap) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom + gap && b.top < a.bottom + gap;
}

// How far `ink` must move in `direction` (1 down, -1 up) to keep `gap` from `obstacle`.
int32_t PushPast(const Rect& ink, const Rect& obstacle, int direction, int32_t gap) {
  return direction > 0 ? obstacle.bottom + gap - ink.top : ink.bottom - (obstacle.top - gap);
}

struct Placement {
  std::vector<PlacedLetter> letters;
  int32_t firstBourdonPush = 0;  // how far the first bourdon had to move past the letters
};

Placement Place(StaffRenderer& stave, const nChord& chord, int32_t x, int32_t drop) {
  Placement placed;
  CTabInstrument* tab = stave.Stave().tabInstrument;
  const int count = CourseCount(stave);
  const uint16_t mark = chord.ChordMark();
  if (tab == nullptr || !chord.IsChord() || mark == nChord::kRhythmMark || chord.IsGhost() ||
      TabStyle(stave) == CTabInstrument::kOwnFlags) {
    return placed;
  }
  // Measured in the face the chord's letters are drawn in, whatever is selected now.
  const FontSpec face = stave.Marks().letterFont.value_or(stave.Graphics().dc.GetFont());
  DeviceContext& dc = stave.MeasuringDevice();
  if (!(dc.GetFont() == face)) dc.SelectFont(face);
  const TextMetrics metrics = dc.GetTextMetrics();
  const int direction = AwayFromTheLines(stave);
  const int32_t gap = LetterGap(stave);
  std::vector<const nNotes*> bourdons;
  const auto measure = [&](const nNotes& note, const ShownFret& shown, int32_t baseline) {
    PlacedLetter letter;
    letter.note = &note;
    letter.text = shown.text;
    letter.bourdon = shown.course >= count;
    std::optional<FontSpec> previous;
    if ((note.status & 0x10) != 0) previous = CreateSmallTabFont(*tab, dc, stave.Zoom());
    const Size size = dc.GetTextExtent(shown.text);
    const Rect ink = dc.GetTextInkBox(shown.text);
    if (previous) dc.SelectFont(*previous);
    int32_t lx = x + LetterShift(stave, mark, note, metrics);
    if (letter.bourdon && TabStyle(stave) == CTabInstrument::kFrench && shown.course - count < 4 &&
        shown.text == "d") {
      lx -= size.cx / 2;
    }
    letter.at = {lx, baseline};
    const int32_t left = lx - size.cx / 2;
    if (ink.IsEmpty()) return letter;
    letter.ink = {left + ink.left, baseline + ink.top, left + ink.right, baseline + ink.bottom};
    // The strokes before a bourdon belong to it: they reach left of it, about as high as it.
    const int past = shown.course - count;
    if (letter.bourdon && TabStyle(stave) == CTabInstrument::kFrench && past > 0 && past < 4) {
      const int32_t reach = DiapasonStrokesReach(dc, stave.FlagsFont(), past, tab->diapasonStyle, size.cy, size.cx,
                                                 stave.Spacing());
      letter.ink.left = std::min(letter.ink.left, lx - reach);
      letter.ink.top = std::min(letter.ink.top, baseline - size.cy * 2 / 3);
    }
    return letter;
  };
  for (const auto& note : chord.notes) {
    if (note == nullptr) continue;
    const std::optional<ShownFret> shown = ShowFret(stave, chord, *note);
    if (!shown) continue;
    if (shown->course >= count) {
      bourdons.push_back(note.get());
      continue;
    }
    placed.letters.push_back(measure(*note, *shown, GetLetterBaseline(stave, shown->course)));
  }
  // Each bourdon a row beyond the one before, moved on past whatever letter it would meet.
  for (size_t k = 0; k < bourdons.size(); ++k) {
    const nNotes& note = *bourdons[k];
    const ShownFret shown = *ShowFret(stave, chord, note);
    const int32_t row = GetLetterBaseline(stave, shown.course) +
                        StoredBourdonOffset(stave, shown.course, static_cast<int>(k)) + direction * drop;
    PlacedLetter letter = measure(note, shown, row);
    int32_t moved = 0;
    for (size_t pass = 0; pass <= placed.letters.size() && !letter.ink.IsEmpty(); ++pass) {
      // The bass letters read as a row of their own: twice a mark's room from the letters on
      // the lines, a mark's room from one another.
      const auto room = [&](const PlacedLetter& other) { return other.bourdon ? gap : 2 * gap; };
      const auto hit = std::find_if(placed.letters.begin(), placed.letters.end(), [&](const PlacedLetter& other) {
        return !other.ink.IsEmpty() && Meet(letter.ink, other.ink, room(other));
      });
      if (hit == placed.letters.end()) break;
      const int32_t push = std::max(PushPast(letter.ink, hit->ink, direction, room(*hit)), 1);
      letter.ink.Offset(0, direction * push);
      letter.at.y += direction * push;
      moved += push;
    }
    if (k == 0) placed.firstBourdonPush = moved;
    placed.letters.push_back(std::move(letter));
  }
  return placed;
}

}  // namespace

int32_t LetterGap(const StaffRenderer& stave) { return std::max(stave.Spacing() / 8, 1); }

int32_t StoredBourdonOffset(const StaffRenderer& stave, int course, int counter) {
  const CTabInstrument* tab = stave.Stave().tabInstrument;
  const int32_t s = stave.Spacing();
  const int style = TabStyle(stave);
  const int nibble = tab != nullptr ? (tab->flagsHeight >> 4) & 0x0F : 0;
  int32_t offset = nibble * s / 4;
  if (style == CTabInstrument::kSpanish) offset = -offset;
  if (style == CTabInstrument::kFrench && course - CourseCount(stave) >= 4) offset += s / 4;
  if (counter > 0) {
    if (style == CTabInstrument::kSpanish) {
      offset -= s / 2 * counter;
    } else {
      // Each further bourdon of the chord a line lower than the one before.
      offset += s * std::min(counter, static_cast<int>(nTuning::kMaxCourses));
    }
  }
  return offset - s / 2;
}

std::vector<PlacedLetter> PlaceChordLetters(StaffRenderer& stave, const nChord& chord, int32_t x) {
  return Place(stave, chord, x, stave.BourdonDrop()).letters;
}

int32_t MeasureBourdonDrop(StaffRenderer& stave, const CVoicesArray& voices) {
  const int count = CourseCount(stave);
  if (count <= 0 || TabStyle(stave) == CTabInstrument::kOwnFlags) return 0;
  int32_t drop = 0;
  for (const nChordArray* voice : voices) {
    if (voice == nullptr) continue;
    for (const auto& chord : *voice) {
      if (chord == nullptr || !chord->IsChord()) continue;
      const bool withBourdon = std::any_of(chord->notes.begin(), chord->notes.end(),
                                           [&](const auto& note) { return note != nullptr && note->string >= count; });
      if (withBourdon) drop = std::max(drop, Place(stave, *chord, 0, 0).firstBourdonPush);
    }
  }
  // However large the letters, the row stays within three lines of where it was stored.
  return std::min(drop, 3 * stave.Spacing());
}

}  // namespace vornel
