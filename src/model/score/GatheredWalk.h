#pragma once
// Walking an instrument's voice across the systems of a section as gathering lists it, without
// building the list: passes that only read or touch the events (tick positions, spelling) need
// no list of shared handles, whose building touches every event's reference count and, on a
// long section, allocates and faults in a list as large as the voice.

#include <cstddef>
#include <cstdint>

#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"

namespace vornel {

// True when GatherVoice(first, instrument, …) can reach the instrument's line on every system
// it gathers from; when false, gathering throws.
inline bool CanGatherLines(const CSystemArray& section, size_t first, size_t instrument) {
  if (instrument >= section.definitions.size()) return false;
  for (size_t s = first; s < section.systems.size(); ++s) {
    const CStaveArray& system = *section.systems.at(s);
    if (system.hidden == 0 && instrument >= system.lines.size()) return false;
  }
  return true;
}

// Calls `visit(nChord&)` for every non-null entry of the list GatherVoice(first, instrument,
// voice, …) builds, in its order: the voice of each shown system followed by the section's
// system break, the breaks at the end left out. The lines must be reachable (CanGatherLines).
template <typename Visit>
void ForEachGatheredEvent(const CSystemArray& section, size_t first, size_t instrument, size_t voice, Visit&& visit) {
  const nChordArray::Handle& systemBreak = section.SystemBreak();
  // Breaks are held back until an entry follows them: the trailing ones are not listed.
  size_t heldBreaks = 0;
  const auto take = [&](const nChordArray::Handle& entry) {
    if (entry == systemBreak) {
      ++heldBreaks;
      return;
    }
    for (; heldBreaks > 0; --heldBreaks) visit(*systemBreak);
    if (entry != nullptr) visit(*entry);
  };
  for (size_t s = first; s < section.systems.size(); ++s) {
    const CStaveArray& system = *section.systems.at(s);
    if (system.hidden != 0) continue;
    for (const nChordArray::Handle& entry : system.Line(instrument)->Voice(voice)) take(entry);
    take(systemBreak);
  }
}

// The tick positions that gathering the voice gives its events (nChordArray::UpdateTickPositions
// over the gathered list, in the section's meter).
inline void UpdateGatheredTicks(const CSystemArray& section, size_t first, size_t instrument, size_t voice) {
  const Meter meter = Meter::From(section.numerator, section.denominator);
  uint32_t t = 0;
  ForEachGatheredEvent(section, first, instrument, voice, [&](nChord& e) {
    e.delta = t;
    if (e.IsChord()) {
      e.number = t / meter.barLength;
      t += e.GetDurationTicks();
    }
  });
}

}  // namespace vornel
