#pragma once
// Where breaking the voices of a section into systems puts stave breaks when the section has
// several voices: every voice breaks at the same bar, so that a system holds the same bars on
// all its lines, and a system is measured by the columns its voices share (what sounds together
// takes one column), not by the events of each voice apart.

#include <cstddef>
#include <vector>

#include "model/score/StaveBreakPlaces.h"
#include "model/score/SystemSlots.h"

namespace vornel {

// For each voice (its entries in order, the section's stave breaks among them marking the
// systems it already has), the indices of the entries before which a stave break goes. Engraved,
// each system takes the bars whose shared columns come to at most `run` columns (a bar longer
// than that stands alone); as tablature, a system ends at the first bar line past `run` columns,
// as a voice alone breaks. A run of fewer than twelve columns stays whole. A voice breaks before its first entry at or after the shared bar line's column
// (at its first entry when it has nothing before it, several times when it has nothing for
// several systems); a voice that ends before the bar line does not break. With `where` after,
// the bar line ends its system: the break goes after a voice's bar line at that column.
std::vector<std::vector<size_t>> SharedStaveBreakPlaces(const std::vector<SlotVoice>& voices, size_t run,
                                                        SlotSpacing spacing, BreakAtBar where = BreakAtBar::kBefore);

}  // namespace vornel
