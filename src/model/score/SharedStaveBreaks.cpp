#include "model/score/SharedStaveBreaks.h"

#include <algorithm>
#include <cstdint>

#include "model/voice/nChord.h"

namespace vornel {

namespace {

constexpr int64_t kColumn = SystemSlots::kUnitsPerColumn;
// A run shorter than this stays whole.
constexpr int64_t kWholeRunColumns = 12;

// The entries of a voice between the stave breaks it already has: [first, end) of each system.
std::vector<std::pair<size_t, size_t>> Segments(const SlotVoice& voice) {
  std::vector<std::pair<size_t, size_t>> segments;
  size_t first = 0;
  for (size_t i = 0; i < voice.events.size(); ++i) {
    const nChord* e = voice.events[i];
    if (e == nullptr || !e->IsStaveBreak()) continue;
    segments.emplace_back(first, i);
    first = i + 1;
  }
  segments.emplace_back(first, voice.events.size());
  return segments;
}

}  // namespace

std::vector<std::vector<size_t>> SharedStaveBreakPlaces(const std::vector<SlotVoice>& voices, size_t run,
                                                        SlotSpacing spacing, BreakAtBar where) {
  std::vector<std::vector<size_t>> places(voices.size());
  std::vector<std::vector<std::pair<size_t, size_t>>> segments;
  size_t systems = 0;
  for (const SlotVoice& voice : voices) {
    segments.push_back(Segments(voice));
    systems = std::max(systems, segments.back().size());
  }
  const int64_t runUnits = static_cast<int64_t>(std::min<size_t>(run, INT32_MAX)) * kColumn;
  for (size_t s = 0; s < systems; ++s) {
    std::vector<SlotVoice> parts(voices.size());
    for (size_t v = 0; v < voices.size(); ++v) {
      if (s >= segments[v].size()) continue;
      const auto [first, end] = segments[v][s];
      parts[v].events.assign(voices[v].events.begin() + static_cast<std::ptrdiff_t>(first),
                             voices[v].events.begin() + static_cast<std::ptrdiff_t>(end));
      parts[v].halfColumnBars = voices[v].halfColumnBars;
    }
    const SystemSlots slots = LaySystemSlots(parts, spacing);
    if (slots.end < kWholeRunColumns * kColumn) continue;
    // The columns of the bar lines, where a system may end.
    std::vector<int64_t> bars;
    for (size_t v = 0; v < parts.size(); ++v) {
      for (size_t i = 0; i < parts[v].events.size(); ++i) {
        const nChord* e = parts[v].events[i];
        if (e != nullptr && e->IsBarLine()) bars.push_back(slots.places[v][i] - BarOffsetUnits(*e));
      }
    }
    std::sort(bars.begin(), bars.end());
    bars.erase(std::unique(bars.begin(), bars.end()), bars.end());
    std::vector<size_t> from(voices.size(), 0);
    const auto breakAt = [&](int64_t bar) {
      for (size_t v = 0; v < parts.size(); ++v) {
        const std::vector<const nChord*>& events = parts[v].events;
        size_t i = from[v];
        while (i < events.size() && slots.places[v][i] < bar) ++i;
        if (where == BreakAtBar::kAfter && i < events.size() && events[i] != nullptr && events[i]->IsBarLine() &&
            slots.places[v][i] - BarOffsetUnits(*events[i]) == bar) {
          ++i;
        }
        // A voice that ends before the break does not break; one that has nothing before it
        // breaks before its first entry and leaves the system before it empty.
        if (i >= events.size()) continue;
        places[v].push_back(segments[v][s].first + i);
        from[v] = i;
      }
    };
    // Engraved, each system takes the bars that fit in the run (a bar longer than the run
    // stands alone); tablature, as a voice alone breaks, ends after the first bar line past it.
    const bool fit = spacing == SlotSpacing::kEngraved;
    int64_t last = 0;
    int64_t fitting = 0;
    for (const int64_t bar : bars) {
      if (bar <= 0 || bar >= slots.end) continue;
      if (fit && bar - last > runUnits && fitting > last) {
        breakAt(fitting);
        last = fitting;
      }
      if (bar - last > runUnits) {
        breakAt(bar);
        last = bar;
      }
      fitting = bar;
    }
  }
  return places;
}

}  // namespace vornel
