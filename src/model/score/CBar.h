#pragma once
// The bar table of a run of music: one record for the start of a voice and one for each of
// its bar lines. Derived data, rebuilt by the bar numbering and never stored.

#include <cstdint>

#include "model/events/CMetaEventArray.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class CBar {
 public:
  int32_t elementIndex = 0;  // index of the bar line in the voice (0 for the start)
  int32_t eventCount = 0;     // elements after the bar line up to the next one (largest over voices)
  uint32_t tickPosition = 0;  // the bar line's bar-cut time
  uint32_t statusWord = 0;    // (rhythm word << 8) | status of the bar line
  CMetaEventArray items;      // copies of the bar line's meta-events
  int32_t barNumber = 0;
  uint32_t phase = 0;  // tick position modulo a cycle length, set by voice alignment
  // The bar line's own status and rhythm words: the packed status word cannot give them back
  // when the status reaches into the rhythm's bits (a multi-bar rest).
  uint16_t barStatus = 0;
  uint16_t barRhythm = 0;
};

class CBarArray : public OwnedArray<CBar> {
 public:
  int32_t largestElementCount = 0;  // most elements of any voice the list was filled from
  uint32_t largestTickLength = 0;   // longest total length of those voices

  // The record at `index`, or a new empty record appended at the end when `index` is past the
  // end (only one, whatever the index: callers ask in order).
  CBar* GetOrCreateBar(size_t index);
  // Deletes every record and zeroes the counters.
  void DeleteAll();
};

}  // namespace vornel
