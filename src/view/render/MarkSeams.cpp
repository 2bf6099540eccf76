#include "view/render/MarkSeams.h"

namespace vornel {

void DrawAllMetaEvents(StaffRenderer&, nChord&, int32_t) {}

Rect DrawMetaEvent(StaffRenderer&, CMetaEvent&, nChord&, int32_t) { return {}; }

Rect DrawTimeSignature(StaffRenderer&, CMetaEvent&, const Rect&) { return {}; }

void DrawMetaEventMarkers(StaffRenderer&, nChord&, int32_t) {}

void DrawSymbolEvent(StaffRenderer&, const nChord&, const nNotes&, const Rect&) {}

void DrawTabNote(StaffRenderer&, nNotes&, Point&, uint16_t, size_t, std::string_view) {}

void DrawTabChordExtras(StaffRenderer&, nChord&, int32_t) {}

void DrawChordEffect(StaffRenderer&, nChord&, int32_t) {}

void DrawSlur(StaffRenderer&, const nNotes&, Point) {}

void ApplySizeMark(StaffRenderer&, nChord&) {}

int32_t DrawDiapason(StaffRenderer&, const nNotes&, int32_t, int32_t) { return 0; }

}  // namespace vornel
