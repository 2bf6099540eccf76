#pragma once
// Slurs, ties, slides, legato lines and the mark glyphs of a note's slur word, on five-line
// and tablature-type staves.

#include <cstdint>
#include <vector>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class StaffRenderer;
class nNotes;
struct DeferredSlur;
struct StaffInk;

// The glyphs of the flags face that slur types 5 and 6 show beside a tablature letter.
struct TabSlurGlyphs {
  uint32_t type5 = 0xDA;
  uint32_t type6 = 0x62;
};
inline constexpr TabSlurGlyphs kTabSlurMarkGlyphs{};

// Everything the slur word of a note at its head or letter asks for.
void DrawSlurMarks(StaffRenderer& stave, nNotes& note, Point head);
// A curve or slide to a later note, or a tie from an earlier one; w is the head width.
void DrawSlurCurve(StaffRenderer& stave, uint32_t slur, int32_t w, const nNotes& note, int32_t x, int32_t y);
// The slurs of a staff that waited for its notes, each raised or tilted as little as it takes
// to keep clear of `ink` (the stave's notes and their marks, and the slurs drawn before it).
void DrawStaffSlurs(StaffRenderer& stave, std::vector<DeferredSlur> slurs, const std::vector<StaffInk>& ink);
// The arc of a tie from an earlier column to x, above the heads or (`below`) under them.
void DrawSlurArc(StaffRenderer& stave, int32_t startX, bool below, int32_t endX, int32_t y);
// Slur types 3 and 4: a line along the course to the next note on it. A span not yet known
// is learnt (at most 5 elements, 2 without such a note) and stored in the note.
void DrawStringLegato(StaffRenderer& stave, nNotes& note, int32_t x, int32_t y);

}  // namespace vornel
