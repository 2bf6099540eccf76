#pragma once
// What a click or a double click on a drawn page does to the document: the cursor placed on
// the chord and row under the point, and the objects under a double click edited (a
// system's texts and options, a meta-event, a page text or an instrument's name). Points are
// the page's logical pixels; the places tested are those the last drawing recorded.

#include <cstdint>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class CBriotabDoc;
class CSystemArray;

// The active system's line, stave, chord column and row under the point become the cursor's
// (a point right of the last column moves only the row). True when the cursor moved.
bool PlaceCursorAtPoint(CSystemArray& section, int32_t pageIndex, Point point);

// The systems of page `pageIndex` tested in order: a point on a system's caption makes it
// the active system (1); a point on its rich-text box opens the rich-text editor, and one in
// its options area makes it active, opens its options and numbers the bars again (both 0,
// ending the search). 0 when nothing was hit.
int DoubleClickSystem(CSystemArray& section, int32_t pageIndex, Point point);

// A double click on the score: the systems of the page (a hit opens the active system's
// options), then the meta-events of the active line's selected voice from the cursor on.
// True when something took the point.
bool EditObjectAt(CBriotabDoc& doc, int32_t pageIndex, Point point);

// A double click on a text of the active section's page (edited; the section's heading fonts
// then go to the document and back), or on the first system's first instrument name (its
// font edited). True when something took the point.
bool EditTrackTextAt(CBriotabDoc& doc, Point point);

}  // namespace vornel
