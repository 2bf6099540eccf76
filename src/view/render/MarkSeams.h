#pragma once
// Where the staff renderer hands over to the drawing of tablature notes and marks: meta-events,
// floating symbols, slurs, chord effects, size marks and bourdons. Each is called at its place
// in the stave's pass with everything it needs; the drawing itself lives in tablature/,
// marks/ and metaevents/ beside this file.

#include <cstdint>
#include <string_view>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class CMetaEvent;
class StaffRenderer;
struct PlacedSyllable;
class nChord;
class nNotes;

// All meta-events of a chord at its column x.
void DrawAllMetaEvents(StaffRenderer& stave, nChord& chord, int32_t x);
// A lyric the stave kept for its end, in the rectangle of its chord's column.
void DrawLyricEvent(StaffRenderer& stave, CMetaEvent& event, const nChord& chord, const Rect& rect, int32_t u);
// The hyphen after `syllable` (placed at `from`): in the middle of the gap to the next syllable
// of its verse placed at `to` when they share a line (none where the gap cannot hold it), else
// right after `from`.
void DrawLyricHyphen(StaffRenderer& stave, const CMetaEvent& syllable, const PlacedSyllable& from,
                     const PlacedSyllable* to);
// One meta-event at x (the ending of a bar line, the caption of a time-signature element);
// returns the rectangle it covered.
Rect DrawMetaEvent(StaffRenderer& stave, CMetaEvent& event, nChord& chord, int32_t x);
// The figures of a time signature fitted into `box`.
Rect DrawTimeSignature(StaffRenderer& stave, CMetaEvent& event, const Rect& box);
// The meta-event markers of a special bar line (screen only).
void DrawMetaEventMarkers(StaffRenderer& stave, nChord& bar, int32_t x);
// The floating symbol of a note (ornament bit 7) in a box one spacing wide.
void DrawSymbolEvent(StaffRenderer& stave, const nChord& chord, const nNotes& note, const Rect& box);
// One note of a tablature-type stave: its fret letter at `position` (y comes back as drawn),
// with the finger characters that go into the note group.
void DrawTabNote(StaffRenderer& stave, nNotes& note, Point& position, uint16_t rhythm, size_t noteIndex,
                 std::string_view fingerCharacters);
// What a tablature-type stave draws after a chord's notes (its chord extras, the rhythm mark
// of chord mark 4).
void DrawTabChordExtras(StaffRenderer& stave, nChord& chord, int32_t x);
// The chord's effect (arpeggio, broken chord) named by its dy word.
void DrawChordEffect(StaffRenderer& stave, nChord& chord, int32_t x);
// The slur word of a note at its head or letter: slurs, ties, slides, legato lines (which may
// learn and store their span) and mark glyphs.
void DrawSlur(StaffRenderer& stave, nNotes& note, Point head);
// A size mark (status bits 4-6) of a chord.
void ApplySizeMark(StaffRenderer& stave, nChord& chord);
// A bourdon below the tablature lines; returns the width it took.
int32_t DrawDiapason(StaffRenderer& stave, const nNotes& note, int32_t x, int32_t y);

}  // namespace vornel
