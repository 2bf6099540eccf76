#pragma once
// The chord effect word (arpeggio signs, strokes, accents, a written-out broken chord) and the
// size marks of chords, on both stave types.

#include <cstdint>

namespace vornel {

class StaffRenderer;
class nChord;

// The effect named by the chord's dy word at its column x; nothing when bit 13 hides it.
void DrawChordEffectWord(StaffRenderer& stave, const nChord& chord, int32_t x);
// Size marks 5 and 6 open a run of larger or smaller notes and the next marked chord closes
// it; mark 4 toggles the stave's alternate-voice flag.
void ApplyChordSizeMark(StaffRenderer& stave, const nChord& chord);

}  // namespace vornel
