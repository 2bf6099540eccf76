#include "model/score/SystemSlots.h"

#include <algorithm>
#include <cmath>
#include <compare>
#include <limits>

#include "model/events/CMetaEvent.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"

namespace vornel {

namespace {

constexpr uint64_t kBarEnd = std::numeric_limits<uint64_t>::max();
constexpr uint64_t kQuarterTicks = nChord::kWholeTicks / 4;
// The rhythm-flag style of modern tablature.
constexpr int32_t kModernFlags = 2;

// Bar lines close their bar after everything in it; a change of signature or clef comes before
// the chords of its time.
enum Rank : int { kBarRank = 0, kEventRank = 1, kChordRank = 2 };

// Where an event stands: its bar, its time in the bar (a bar line at the bar's end), its kind,
// and for events of one voice that share all three, how many of them follow it (counted down,
// so that the last, the one that lasts, meets the other voices' event of that time).
struct Key {
  uint64_t bar = 0;
  uint64_t tick = 0;
  int rank = 0;
  int64_t ordinal = 0;
  auto operator<=>(const Key&) const = default;
};

bool ShowsTimeSignature(const nChord& bar) {
  const CMetaEvent* signature =
      (bar.status & 0x0C) == 0x04 ? bar.metaEvents.Find(CMetaEvent::kTimeSignature) : nullptr;
  return signature != nullptr && (signature->value & 1) != 0;
}

// One voice's events with their bars and times.
struct WalkedVoice {
  std::vector<Key> keys;                // one per event; unused for blank entries
  std::vector<uint64_t> absolute;       // each event's time from the system's start
  std::vector<uint64_t> barLineTicks;   // the time of each of its bar lines
  std::vector<uint64_t> barLengths;     // how far each bar reached, the last one included
};

WalkedVoice Walk(const SlotVoice& voice) {
  WalkedVoice w;
  const size_t n = voice.events.size();
  w.keys.resize(n);
  w.absolute.resize(n, 0);
  uint64_t bar = 0;
  uint64_t tick = 0;
  uint64_t total = 0;
  for (size_t i = 0; i < n; ++i) {
    const nChord* e = voice.events[i];
    w.absolute[i] = total;
    if (e == nullptr) continue;
    if (e->IsBarLine()) {
      w.keys[i] = {bar, kBarEnd, kBarRank, 0};
      w.barLineTicks.push_back(total);
      w.barLengths.push_back(tick);
      ++bar;
      tick = 0;
    } else if (e->IsSpecialEvent()) {
      w.keys[i] = {bar, tick, kEventRank, 0};
    } else {
      w.keys[i] = {bar, tick, kChordRank, 0};
      tick += e->GetDurationTicks();
      total += e->GetDurationTicks();
    }
  }
  w.barLengths.push_back(tick);
  return w;
}

// A voice without bar lines takes the bars of `reference` by time.
void TakeBarsOf(WalkedVoice& w, const SlotVoice& voice, const std::vector<uint64_t>& reference) {
  std::fill(w.barLengths.begin(), w.barLengths.end(), 0);
  w.barLengths.resize(reference.size() + 1, 0);
  for (size_t i = 0; i < voice.events.size(); ++i) {
    const nChord* e = voice.events[i];
    if (e == nullptr) continue;
    const uint64_t at = w.absolute[i];
    const auto bar = static_cast<uint64_t>(std::upper_bound(reference.begin(), reference.end(), at) - reference.begin());
    const uint64_t start = bar == 0 ? 0 : reference[bar - 1];
    w.keys[i].bar = bar;
    w.keys[i].tick = at - start;
    if (e->IsChord()) {
      w.barLengths[bar] = std::max(w.barLengths[bar], at - start + e->GetDurationTicks());
    }
  }
}

// Counts down the events of the voice that share bar, time and kind.
void NumberSharedKeys(WalkedVoice& w, const SlotVoice& voice) {
  std::vector<size_t> order;
  for (size_t i = 0; i < voice.events.size(); ++i) {
    if (voice.events[i] != nullptr) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return w.keys[a] < w.keys[b]; });
  for (size_t k = order.size(); k-- > 0;) {
    const bool sameAsNext = k + 1 < order.size() && w.keys[order[k]].bar == w.keys[order[k + 1]].bar &&
                            w.keys[order[k]].tick == w.keys[order[k + 1]].tick &&
                            w.keys[order[k]].rank == w.keys[order[k + 1]].rank;
    w.keys[order[k]].ordinal = sameAsNext ? w.keys[order[k + 1]].ordinal - 1 : 0;
  }
}

}  // namespace

int32_t ExtraHalfColumnsAfter(const nChord& e, bool halfColumnBars) {
  if (e.IsSpecialEvent()) return 1;
  if (!e.IsBarLine()) return 0;
  // A time signature shown after a bar line takes a column of its own.
  const int32_t signatureRoom = ShowsTimeSignature(e) ? 2 : 0;
  return (halfColumnBars ? 1 : 0) + (e.IsMultiBarRest() ? 2 : 0) + signatureRoom;
}

bool SpacedAsEngraved(const CClef& stave, const CTabInstrument* tab) {
  if (!stave.IsTablature()) return true;
  return tab != nullptr && (tab->tabStyle == CTabInstrument::kOwnFlags || tab->flagStyle == kModernFlags);
}

int32_t ChordColumnUnits(uint64_t ticks) {
  constexpr double kQuarterUnits = SystemSlots::kUnitsPerColumn * 3 / 4.0;
  const double ratio = std::pow(static_cast<double>(ticks) / static_cast<double>(kQuarterTicks), 0.4);
  return static_cast<int32_t>(std::lround(kQuarterUnits * std::clamp(ratio, 4 / 9.0, 8 / 3.0)));
}

int32_t BarOffsetUnits(const nChord& bar) { return bar.IsMultiBarRest() ? SystemSlots::kUnitsPerColumn : 0; }

int32_t BarColumnUnits(const nChord& bar) {
  constexpr int32_t kColumn = SystemSlots::kUnitsPerColumn;
  return kColumn * 3 / 8 + BarOffsetUnits(bar) + (ShowsTimeSignature(bar) ? kColumn : 0);
}

SystemSlots LaySystemSlots(const std::vector<SlotVoice>& voices, SlotSpacing spacing) {
  constexpr int32_t kColumn = SystemSlots::kUnitsPerColumn;
  const bool engraved = spacing == SlotSpacing::kEngraved;
  SystemSlots result;
  std::vector<WalkedVoice> walked;
  walked.reserve(voices.size());
  size_t reference = voices.size();
  for (size_t v = 0; v < voices.size(); ++v) {
    walked.push_back(Walk(voices[v]));
    if (reference == voices.size() || walked[v].barLineTicks.size() > walked[reference].barLineTicks.size()) {
      reference = v;
    }
  }
  if (reference < voices.size() && !walked[reference].barLineTicks.empty()) {
    const std::vector<uint64_t> bars = walked[reference].barLineTicks;
    for (size_t v = 0; v < voices.size(); ++v) {
      if (walked[v].barLineTicks.empty()) TakeBarsOf(walked[v], voices[v], bars);
    }
  }
  std::vector<uint64_t> barLengths;
  std::vector<Key> keys;
  for (size_t v = 0; v < voices.size(); ++v) {
    NumberSharedKeys(walked[v], voices[v]);
    const WalkedVoice& w = walked[v];
    if (barLengths.size() < w.barLengths.size()) barLengths.resize(w.barLengths.size(), 0);
    for (size_t b = 0; b < w.barLengths.size(); ++b) barLengths[b] = std::max(barLengths[b], w.barLengths[b]);
    for (size_t i = 0; i < voices[v].events.size(); ++i) {
      if (voices[v].events[i] != nullptr) keys.push_back(w.keys[i]);
    }
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  const auto slotOf = [&keys](const Key& key) {
    return static_cast<size_t>(std::lower_bound(keys.begin(), keys.end(), key) - keys.begin());
  };

  // A chord's column lasts until the next chord or bar line of its bar; the last chords of a
  // bar left open last until the bar's end.
  std::vector<int32_t> widths(keys.size(), 0);
  for (size_t s = 0; s < keys.size(); ++s) {
    if (keys[s].rank != kChordRank) continue;
    uint64_t next = keys[s].bar < barLengths.size() ? barLengths[keys[s].bar] : keys[s].tick;
    for (size_t t = s + 1; t < keys.size() && keys[t].bar == keys[s].bar; ++t) {
      if (keys[t].rank == kChordRank) {
        next = keys[t].tick;
        break;
      }
    }
    widths[s] = engraved ? ChordColumnUnits(next > keys[s].tick ? next - keys[s].tick : 0) : kColumn;
  }
  for (size_t v = 0; v < voices.size(); ++v) {
    for (size_t i = 0; i < voices[v].events.size(); ++i) {
      const nChord* e = voices[v].events[i];
      if (e == nullptr || e->IsChord()) continue;
      const size_t s = slotOf(walked[v].keys[i]);
      const int32_t own = e->IsBarLine() && engraved
                              ? BarColumnUnits(*e)
                              : kColumn + ExtraHalfColumnsAfter(*e, voices[v].halfColumnBars) * (kColumn / 2);
      widths[s] = std::max(widths[s], own);
    }
  }
  // The chords whose ink must keep clear of the chord before them in their voice, by column.
  struct Clearance {
    size_t voice;
    size_t event;
    size_t previous;
  };
  std::vector<std::vector<Clearance>> clearances(keys.size());
  for (size_t v = 0; v < voices.size(); ++v) {
    const SlotVoice& voice = voices[v];
    if (voice.reach.size() != voice.events.size()) continue;
    size_t previous = voice.events.size();
    for (size_t i = 0; i < voice.events.size(); ++i) {
      const nChord* e = voice.events[i];
      if (e == nullptr || !e->IsChord()) continue;
      if (previous < i && (voice.reach[previous].second > 0 || voice.reach[i].first > 0)) {
        clearances[slotOf(walked[v].keys[i])].push_back({v, i, previous});
      }
      previous = i;
    }
  }
  result.starts.resize(keys.size(), 0);
  int64_t at = 0;
  for (size_t s = 0; s < keys.size(); ++s) {
    for (const Clearance& c : clearances[s]) {
      const SlotVoice& voice = voices[c.voice];
      const int64_t before = result.starts[slotOf(walked[c.voice].keys[c.previous])];
      at = std::max(at, before + voice.reach[c.previous].second + voice.reach[c.event].first);
    }
    result.starts[s] = at;
    at += widths[s];
  }
  result.end = at;

  result.places.resize(voices.size());
  for (size_t v = 0; v < voices.size(); ++v) {
    const std::vector<const nChord*>& events = voices[v].events;
    std::vector<int64_t>& places = result.places[v];
    places.assign(events.size(), -1);
    for (size_t i = 0; i < events.size(); ++i) {
      const nChord* e = events[i];
      if (e == nullptr) continue;
      places[i] = result.starts[slotOf(walked[v].keys[i])] + (e->IsBarLine() ? BarOffsetUnits(*e) : 0);
    }
    // Blank entries are spread between the events around them; no place goes back.
    int64_t previous = -1;
    for (size_t i = 0; i < events.size();) {
      if (places[i] >= 0) {
        places[i] = std::max(places[i], previous);
        previous = places[i];
        ++i;
        continue;
      }
      size_t j = i;
      while (j < events.size() && places[j] < 0) ++j;
      const int64_t from = previous >= 0 ? previous : 0;
      const int64_t to = j < events.size() ? std::max(places[j], from) : from + kColumn;
      const auto count = static_cast<int64_t>(j - i);
      for (size_t k = i; k < j; ++k) {
        places[k] = from + (to - from) * static_cast<int64_t>(k - i + 1) / (count + 1);
      }
      previous = places[j - 1];
      i = j;
    }
  }
  return result;
}

}  // namespace vornel
