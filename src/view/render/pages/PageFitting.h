#pragma once
// Laying a section out on pages a page at a time: the screen draws a page once the systems up
// to it are measured, and measures the rest later (or when a later page is drawn), so that
// the first page of a long section shows before its last system is measured. The pages come
// out as FitSystemsOfSection lays them out.

#include <cstddef>
#include <cstdint>

#include "view/render/pages/SystemReachCache.h"

namespace vornel {

// The room system `s` takes on a page, as MeasureSystemRooms measures it (the first system
// with the band of the headings, the last with its end text); `clefs` holds what the
// definitions recorded before the system and is left holding what they recorded after it.
int64_t MeasureSystemRoom(CSystemArray& section, size_t s, DeviceContext& dc, CPageDlg& page, const Rect& printable,
                          const ReachContext& context, RecordedClefState& clefs);

// True when every page of the section's layout was measured.
bool PagesLaidOut(const CSystemArray& section);

// Measures on from the first page not yet measured, until page `throughPage` is known (its
// systems and where the next page starts) or, at a page's end, `budget` systems were measured;
// the pages after those measured are estimated. Nothing when they are known already.
void FitSystemsThroughPage(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const Rect& printable,
                           size_t throughPage, size_t budget = SIZE_MAX);

}  // namespace vornel
