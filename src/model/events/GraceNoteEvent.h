#pragma once
// The fields of a grace-note event (kind 38), shared by its dialog, its drawing and playback.
// The value names the note the group belongs to (pitch in bits 16-23, course in bits 8-15,
// interval in bits 0-7); cx holds the pattern code; cy holds the group's flags:
//   bit 0 slur ("Draw ligature"), bit 1 slur above, bit 2 the ternary mark, bit 3 stems down,
//   bit 4 the tablature flag, bit 5 a straight slur;
//   bits 16-19 the flag value: the list position 0 "Half note" ... 5 "64th note", read as a
//     signed offset from the half note (value code 2 + it);
//   bits 24-27 the key rotations and bits 28-31 the start offset, each a number of -7 to 7
//     with a 3-bit magnitude and bit 3 as the sign.

#include <cstdint>

#include "model/instrument/CKey.h"

namespace vornel {

class CMetaEvent;
class nChord;
class nNotes;

namespace grace {
constexpr uint32_t kSlur = 0x1;
constexpr uint32_t kSlurAbove = 0x2;
constexpr uint32_t kMark = 0x4;
constexpr uint32_t kStemsDown = 0x8;
constexpr uint32_t kFlagGlyph = 0x10;
constexpr uint32_t kFlatSlur = 0x20;
}  // namespace grace

// A number of -7 to 7 in one nibble: magnitude in bits 0-2, sign in bit 3.
int ReadSignedNibble(uint32_t nibble);
uint32_t MakeSignedNibble(int number);

// The pitch byte of the note the event belongs to.
uint8_t GraceNotePitch(const CMetaEvent& event);
// The note of the chord the event belongs to; the first note when none has its pitch.
const nNotes* GraceNoteOf(const CMetaEvent& event, const nChord& chord);

// The chord's grace-note event that belongs to `note`, if any.
const CMetaEvent* GraceEventOf(const nChord& chord, const nNotes& note);

// The rhythm value code of the grace notes (2 half note ... 7 64th note).
int GraceValueCode(uint32_t flags);
int GraceRotations(uint32_t flags);
// The dialog's start offset; the staff drawing moves the slur's end by it (in half line
// spacings) and playback takes it as the diatonic step to the ornament's neighbour.
int GraceStartOffset(uint32_t flags);
// The key the grace notes are spelled in: the stave's key turned by the rotations along the
// circle of fifths (a positive rotation adds sharps, a negative one flats), within 7.
CKey GraceKey(const CKey& key, uint32_t flags);

}  // namespace vornel
