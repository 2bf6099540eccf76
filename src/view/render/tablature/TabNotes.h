#pragma once
// Notes on tablature-type staves: the course lines, the fret letters or numbers with their
// colours, white boxes and shifts, the bourdons below the lines with their strokes, the
// fingering marks of the low nibble, the tablature slur shapes and the rhythm flags above.
// Lengths are device pixels; "spacing" is the tablature's line spacing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/DrawObjects.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class StaffRenderer;
class nChord;
class nNotes;

// Flag colours of coloured flags, by rhythm code.
inline constexpr COLORREF kFlagColours[8] = {0x000000, 0x2D52A0, 0xC80000, 0x0000FA,
                                             0xC800C8, 0x00A2C8, 0x00C800, 0x00DCFA};

// The tablature style of the stave's instrument (0 French, 1 Italian, 2 Spanish/modern with
// the first course on the bottom line, 3 mixed French, 4 percussion).
int TabStyle(const StaffRenderer& stave);

// The y of a course's line; courses past the lines (bourdons) one line below the staff
// (Spanish/modern: a third of a spacing above it).
int32_t GetCourseY(const StaffRenderer& stave, int course);
// The vertical fine offset of the letters (the letters' nibble of the glyph adjustments; 5
// is none).
int LetterFineOffset(const StaffRenderer& stave);

// The base line of a letter on a course (its fine offset applied, half a spacing lower when
// letters sit between the lines).
int32_t GetLetterBaseline(const StaffRenderer& stave, int course);

// The text a note of `chord` shows and the course it stands on: its own, or for a note whose
// fret has no text and which asks for it (status bit 1) once the course its pitch takes;
// nothing when the note shows nothing (a rhythm-only chord, a hidden or greyed note in print).
struct ShownFret {
  std::string text;
  int course = 0;
};
std::optional<ShownFret> ShowFret(const StaffRenderer& stave, const nChord& chord, const nNotes& note);
// How far a note's letter stands right of its column (left when negative): the chord mark's
// alternating shift and the note's own shift.
int32_t LetterShift(const StaffRenderer& stave, uint16_t chordMark, const nNotes& note, const TextMetrics& metrics);

// One note of a tablature-type stave at position.x; position.y comes back as its letter's
// base line.
void DrawTabNoteAt(StaffRenderer& stave, nNotes& note, Point& position, uint16_t rhythm, std::string_view fingers);
// The fret text of a note at `point` (base line, centred) in its colour; returns its size.
// A note whose fret has no text and which asks for it (status bit 1) is drawn once more on
// the course its pitch takes; without such a course nothing is drawn.
Size DrawFretText(StaffRenderer& stave, const nNotes& note, Point point);
// The white square behind a letter on its line.
void DrawLetterBox(StaffRenderer& stave, int32_t x, int32_t y);
// The letter colour of a note.
COLORREF GetTabNoteColor(const StaffRenderer& stave, const nNotes& note);

// A bourdon's text below the lines at (x, y) with its strokes, in its row (see
// ChordLetters.h); returns its size and leaves its base line in the stave's marks.
Size DrawBourdon(StaffRenderer& stave, const nNotes& note, int32_t x, int32_t y);
// The offset of the next bourdon of the current chord from the row below the staff.
int32_t GetDiapasonOffset(StaffRenderer& stave, int course);
// `count` strokes of a diapason style left of a bourdon letter of height `height` at (x, y).
void DrawDiapasonStrokes(StaffRenderer& stave, int count, int kind, int32_t height, int32_t textWidth, int32_t x,
                         int32_t y);
// Where the k-th of `count` strokes stands before a letter at `letter` on a tablature of
// `spacing`: the right end of a stroke glyph or '/', the top end of a drawn stroke.
Point DiapasonStrokePoint(int kind, int k, int count, int32_t height, int32_t textWidth, int32_t spacing,
                          Point letter);
// How far left of the letter's x the ink of `count` strokes reaches; the letter's font is
// selected, `flagsFont` is the tablature's flags face (for the stroke glyphs).
int32_t DiapasonStrokesReach(DeviceContext& dc, const std::optional<FontSpec>& flagsFont, int count, int kind,
                             int32_t height, int32_t textWidth, int32_t spacing);


// The tablature slur shapes of slur-word bits 12-14: 3 and 4 a slanted line through the
// letter toward the neighbouring course, 7 a hold line.
void DrawTabSlurShape(StaffRenderer& stave, const nNotes& note, int shape, int32_t x, int32_t y);

// Whether the chord's flag is drawn after its notes (not where it repeats the flag before).
bool ChordFlagShown(const StaffRenderer& stave, const nChord& chord);
// The flag of a chord after its notes (or of a rest) at x; the rhythm mark of chord mark 4.
void DrawChordFlag(StaffRenderer& stave, const nChord& chord, int32_t x);
void DrawRhythmFlag(StaffRenderer& stave, const nChord& chord, int32_t x, uint16_t rhythm, uint32_t tuplet);
void DrawRhythmMark(StaffRenderer& stave, const nChord& chord, int32_t x);

// The stave's flags font selected for its lifetime (nothing is drawn by the marks that need
// it when the face cannot be made).
class ScopedFlagsFont {
 public:
  explicit ScopedFlagsFont(StaffRenderer& stave);
  ~ScopedFlagsFont();
  ScopedFlagsFont(const ScopedFlagsFont&) = delete;
  ScopedFlagsFont& operator=(const ScopedFlagsFont&) = delete;
  explicit operator bool() const { return previous_.has_value(); }

 private:
  StaffRenderer& stave_;
  std::optional<FontSpec> previous_;
};

}  // namespace vornel
