#pragma once
// Ornaments of notes on both stave types: the rows of the instrument's ornament table (the
// tablature half in the flags face, the notation half in the notation face) placed by their
// alignment code around the head or letter, and the mark lines above and below a stave.

#include <cstdint>
#include <optional>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class StaffRenderer;
class nNotes;

struct OrnamentPlacement {
  Point at;
  unsigned alignment = 0;
};

// Where an ornament of placement code `code` (the row's alignment 0-11; on a staff 12 and 13
// too) goes from the note's point, `w` being its width and `h` its height; nothing for a code
// that places nothing.
std::optional<OrnamentPlacement> PlaceOrnament(StaffRenderer& stave, int code, int32_t h, int32_t w, Point note,
                                               bool withAccidental);
// The line ornaments above the stave stand on, and the line below it.
int32_t GetUpperMarkY(StaffRenderer& stave, int32_t y);
int32_t GetLowerMarkY(StaffRenderer& stave, int32_t y);

// The ornament of `note` drawn at its head or letter (x, y); `width` 0 measures a reference
// text.
void DrawNoteOrnament(StaffRenderer& stave, const nNotes& note, int32_t x, int32_t y, int32_t width);

}  // namespace vornel
