#pragma once
// Where the letters of a tablature chord stand: each note's fret text on its course line and
// the bourdons below the lines (above them in the Spanish/modern style), as the note drawing
// places them. The bourdons of a stave keep one row: it stands as far beyond the row their
// stored distance gives as the stave's letters on the lines need (BourdonDrop); each further
// bourdon of a chord stands a row beyond the one before and clear of it. The marks beside the
// letters keep clear of what this gives. Lengths are device pixels; the tablature's letter
// face must be selected.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class CVoicesArray;
class StaffRenderer;
class nChord;
class nNotes;

struct PlacedLetter {
  const nNotes* note = nullptr;
  std::string text;
  Point at;  // the text's base line, centred on x
  Rect ink;  // what the text covers; empty when nothing is drawn
  bool bourdon = false;
};

// The letters of `chord` standing in the column at x (none for a rhythm-only, ghost or
// percussion chord).
std::vector<PlacedLetter> PlaceChordLetters(StaffRenderer& stave, const nChord& chord, int32_t x);

// The room between a letter and what keeps clear of it.
int32_t LetterGap(const StaffRenderer& stave);

// How far the stave's bourdons stand beyond their stored row (away from the lines) so that the
// first bourdon of every chord of `voices` clears the chord's letters on the lines; 0 when the
// stored row does.
int32_t MeasureBourdonDrop(StaffRenderer& stave, const CVoicesArray& voices);

// The stored offset of the base line of the `counter`-th bourdon of a chord on `course` from
// the base line of the row below the staff (above it in the Spanish/modern style), without the
// stave's drop.
int32_t StoredBourdonOffset(const StaffRenderer& stave, int course, int counter);

}  // namespace vornel
