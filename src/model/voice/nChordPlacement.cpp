// Chords from chord symbols on the courses of a tablature instrument, and the layout of a
// chord's fret diagram.

#include <algorithm>

#include "model/instrument/CTabInstrument.h"
#include "model/FloorDivision.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/NumberText.h"

namespace vornel {

std::array<int, 7> nChord::ChordToneTable(bool minor, int kind) {
  std::array<int, 7> t = minor ? std::array<int, 7>{3, 7, 12, 15, 19, 24, 27} : std::array<int, 7>{4, 7, 12, 16, 19, 24, 28};
  const auto add = [&t](size_t a, size_t b, int amount) {
    t[a] += amount;
    t[b] += amount;
  };
  switch (kind) {
    case 1: add(0, 3, minor ? 2 : 1); break;  // "4": the third becomes a fourth
    case 2: add(1, 4, 2); break;              // "6"
    case 3: add(2, 5, -2); break;             // "7m"
    case 4: add(2, 5, 2); break;              // "9"
    case 5: add(2, 5, -1); break;             // "7M"
    case 6: add(2, 5, 1); break;              // "9-"
    case 7:                                   // "4+6"
      add(0, 3, 2);
      add(1, 4, 2);
      break;
    case 8:  // "5+"
      add(1, 4, 1);
      add(2, 5, -1);
      break;
    case 9: t = {3, 6, 9, 15, 18, 21, 24}; break;    // "sus"
    case 10: t = {3, 8, 16, 20, 24, 28, 32}; break;  // "4s"
    default: break;
  }
  return t;
}

bool nChord::PlaceOnInstrument(int bassClass, const CTabInstrument& instrument, bool minor, int kind, int startIndex) {
  const int bass = instrument.FindBassString(bassClass);
  if (bass == 0) {
    Prompts().ShowMessage("Cannot find bass...", MessageKind::kError);
    return false;
  }
  if (bass >= instrument.tuning.stringCount) {
    Prompts().ShowMessage("Bass string out of instrument's range", MessageKind::kError);
    return false;
  }
  // Pitches are worked out in the instrument's scale and stored as MIDI pitches, so that
  // notes the placing does not touch keep theirs.
  const auto open = [&instrument](int course) { return static_cast<int>(instrument.tuning.courses[static_cast<size_t>(course)].pitch); };
  const auto setOnCourse = [this](int course, int pitch) {
    const int midi = pitch + kCoursePitchOffset;
    if ((pitch & 0xFF) == 0 || midi > 127) {
      notes.RemoveNote(static_cast<uint8_t>(course), true);
    } else {
      notes.SetNote(static_cast<uint8_t>(midi), static_cast<uint8_t>(course), 0, true);
    }
  };
  if (notes.empty()) dy = 0;
  const int s = FloorMod(open(bass) - 10, 12);
  const int b = open(bass) + FloorMod(bassClass - s, 12);
  setOnCourse(bass, b);

  const std::array<int, 7> table = ChordToneTable(minor, kind);
  // One entry per course (two for a course whose open pitch lies above the first); once the
  // table is used up, the courses left are not touched.
  size_t position = static_cast<size_t>(std::max(startIndex, 0));
  for (int course = bass - 1; course >= 0 && position < table.size(); --course, ++position) {
    int tone = b + table[position];
    if (open(course) > tone) {
      if (++position >= table.size()) break;
      tone = b + table[position];
    }
    if (tone >= open(course) + 12) tone -= 12;
    setOnCourse(course, tone);
  }
  return true;
}

FretDiagram nChord::LayoutFretDiagram(const CTabInstrument& instrument, int32_t left, int32_t top, int32_t width,
                                      int32_t height, int32_t dpiX, int32_t dpiY) const {
  FretDiagram d;
  const int lines = instrument.tuning.lines;
  if (notes.empty() || lines < 3) return d;
  const int n = std::min(lines, static_cast<int>(nTuning::kMaxCourses)) - 1;
  const int32_t w = width / n;
  const int32_t right = left + n * w;  // course 0

  const nNoteArray::Frets frets = notes.FretRange(instrument.tuning);
  int lo = frets.lowest;
  int hi = frets.highest;
  if (lo != 0 && hi - lo < 2) ++hi;
  if (lo == 100 || hi == 0) {
    lo = 0;
    hi = 1;
  }
  if (lo < 3) lo = 0;  // close to the nut the diagram starts there
  const int rows = hi - lo + (lo != 0 ? 1 : 0);
  const int32_t h = height / std::max(rows, 1);
  const int32_t t = 6 * dpiY / 254;
  d.gridPen = std::max(1, MulDiv(15, dpiX, 2540));
  d.barrePen = std::max(1, MulDiv(80, dpiX, 2540));

  // The barré notes, by their courses.
  const nNoteArray::BarreNotes barreNotes = notes.CountBarreNotes();
  const int firstBarre = barreNotes.count > 0 ? notes[static_cast<size_t>(barreNotes.first)]->string : -1;
  const int lastBarre = barreNotes.count > 0 ? notes[static_cast<size_t>(barreNotes.last)]->string : -1;
  const auto fretOf = [&frets](int course) {
    return course >= 0 && course < static_cast<int>(frets.onCourse.size()) ? frets.onCourse[static_cast<size_t>(course)] : -1;
  };
  const int barreFret = fretOf(firstBarre);

  d.name = {{left + w, top + height + t}, name.str()};
  if (lo != 0) {
    d.firstFret = FretDiagram::Text{{left - t, top + h}, FormatInt(lo)};
    ++hi;
  } else {
    d.nut = Rect{left, top - t, right + 1, top};
  }

  int32_t barreY = 0;
  for (int course = n; course >= 0; --course) {
    const int32_t x = left + (n - course) * w;
    d.courses.push_back({{x, top - t}, {x, top + height + t}});
    const int fret = fretOf(course);
    if (fret < 0) {
      d.marks.push_back({{x, top - 3 * t / 2}, FretDiagram::kNotPlayed});
    } else if (fret == 0) {
      d.marks.push_back({{x, top - t}, FretDiagram::kOpen});
    } else {
      const int32_t y = top + (fret - lo + (lo != 0 ? 1 : 0)) * h;
      if (course == firstBarre) barreY = y - h / 2;
      // Under the barré its fret needs no mark of its own.
      if (barreNotes.count == 0 || fret != barreFret) d.marks.push_back({{x, y}, FretDiagram::kStopped});
    }
  }
  for (int fret = lo; fret <= hi; ++fret) {
    const int32_t y = top + (fret - lo) * h;
    d.frets.push_back({{left, y}, {right, y}});
  }
  if (barreNotes.count > 0 && firstBarre <= n && lastBarre <= n) {
    d.barre = FretDiagram::Line{{right - firstBarre * w, barreY}, {right - lastBarre * w, barreY}};
  }
  d.covered = Rect{left, top, left + width, top + height};
  return d;
}

}  // namespace vornel
