#pragma once
// Grace-note fragments: a predefined rhythm pattern drawn small just before its chord, as
// noteheads (one alone, or a beamed group) on a staff, or as fret letters on a tablature,
// joined by a slur. The broken-chord effect uses the same small drawing. Each returns the
// rectangle it covered, which the meta-event drawing keeps for hit testing.

#include <cstdint>

#include "model/instrument/CClef.h"
#include "model/events/GraceNoteEvent.h"
#include "platform/draw/DrawTypes.h"
#include "view/draw/LineSegment.h"

namespace vornel {

class GraphicUtil;
class StaffRenderer;
class nChord;
class nNotes;
struct CMusicPattern;

// The fragment of pattern `patternCode` (1-103) for `note` of `chord` before x; an unknown
// pattern draws nothing and gives an empty rectangle.
Rect DrawMiniStaff(StaffRenderer& stave, int patternCode, const nChord& chord, const nNotes& note, uint32_t flags,
                   int32_t x, int32_t y);
Rect DrawStaffGraceNotes(StaffRenderer& stave, const CMusicPattern& pattern, const nNotes& note, uint32_t flags,
                         int32_t x);
Rect DrawTabGraceNotes(StaffRenderer& stave, const CMusicPattern& pattern, const nNotes& note, uint32_t flags,
                       int32_t x);
// One small note on `step` before x, with the accidental the stave's key needs for the step's
// pitch in `graceKey`.
void DrawSingleGraceNote(StaffRenderer& stave, int step, int valueCode, const CKey& graceKey, bool stemsDown,
                         int32_t x);
// The accidentals of every step of a pattern group that needs one in the key.
void DrawGraceAccidentals(StaffRenderer& stave, const CMusicPattern& pattern, const CVoiceGroup& group, int startStep,
                          const CKey& graceKey, bool stemsDown);
// The slur, the figure 3 and (tablature) the flag glyph over the fragment's segment.
void DrawGraceDecoration(StaffRenderer& stave, uint32_t flags, LineSegment segment);
// One fret of a tablature fragment at x on `course`; returns the next x.
int32_t DrawTabGraceFret(StaffRenderer& stave, const CKey& graceKey, int step, int course, int32_t x, int32_t& y);
// The group of a pattern's steps, drawn; returns the segment from its first to its last
// stem end.
LineSegment BuildPatternGroup(CVoiceGroup& group, GraphicUtil& g, const CMusicPattern& pattern, int32_t spacing,
                              uint16_t glyphBase, int valueCode, bool stemsDown, int32_t x, int32_t y);
// A chord's notes one after another as small fret letters before x, joined by a curve.
void DrawTabGraceChord(StaffRenderer& stave, const nChord& chord, bool ascending, int32_t x);
// A ledger line through a small notehead of width `width` above or below the staff, only
// on a line position.
void DrawLedgerLine(StaffRenderer& stave, int32_t width, int32_t x, int32_t y);

}  // namespace vornel
