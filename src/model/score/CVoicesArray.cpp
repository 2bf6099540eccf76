#include "model/score/CVoicesArray.h"

#include <algorithm>

#include "model/instrument/CKey.h"

namespace vornel {

void CVoicesArray::DeleteAllChords() {
  for (nChordArray* voice : voices_) voice->DeleteChords();
}

uint32_t CVoicesArray::SetTimeSignatureAndRebar(const CMetaEvent* timeSignature, int32_t numerator,
                                                int32_t denominator) {
  for (nChordArray* voice : voices_) {
    voice->SetCurrentTimeSignature(timeSignature);
    barLength = voice->RebarVoice(numerator, denominator);
  }
  return barLength;
}

void CVoicesArray::RebarAll(int32_t numerator, int32_t denominator) {
  for (nChordArray* voice : voices_) voice->RebarAndFreeFixedBars(numerator, denominator);
}

std::pair<uint32_t, uint32_t> CVoicesArray::ShortestAndLongest() const {
  uint32_t shortest = 65535;
  uint32_t longest = 0;
  for (const nChordArray* voice : voices_) {
    shortest = std::min(shortest, voice->Shortest());
    longest = std::max(longest, voice->Longest());
  }
  return {shortest, longest};
}

size_t CVoicesArray::LongestVoice() const {
  size_t longest = 0;
  for (const nChordArray* voice : voices_) {
    size_t count = voice->size();
    if (count > 0 && (voice->back() == nullptr || !voice->back()->IsChord())) --count;
    longest = std::max(longest, count);
  }
  return longest;
}

void CVoicesArray::Compact() {
  for (nChordArray* voice : voices_) voice->Compact();
}

void CVoicesArray::AlignVoices(uint32_t length) {
  if (voices_.empty()) return;
  Compact();
  CBarArray scratch;
  voices_.front()->NumberBars(0, scratch);
  for (nChordArray* voice : voices_) {
    voice->BarsToSpecialEvents();
    voice->cursor = 0;
  }
  for (const auto& record : scratch) record->phase = length != 0 ? record->tickPosition % length : record->tickPosition;

  // Every distinct chord start time, ascending: the voices offer their next events and the
  // earliest wins (on equal times the later voice).
  std::vector<uint32_t> times{0};
  for (;;) {
    size_t winner = voices_.size();
    const nChord* best = nullptr;
    for (size_t v = 0; v < voices_.size(); ++v) {
      const nChord* offer = voices_[v]->NextEvent(v != 0);
      if (offer != nullptr && (best == nullptr || offer->time <= best->time)) {
        best = offer;
        winner = v;
      }
    }
    if (best == nullptr) break;
    if (best->IsChord() && best->time > times.back()) times.push_back(best->time);
    ++voices_[winner]->cursor;
  }

  size_t largest = 0;
  for (nChordArray* voice : voices_) {
    voice->SpreadToTimes(times);
    voice->RestoreBarLines(scratch);
    largest = std::max(largest, voice->size());
  }

  for (nChordArray* voice : voices_) {
    if (voice->empty() || voice->size() >= largest) continue;
    const bool beforeLast = voice->back() != nullptr && voice->back()->IsBarLine();
    voice->InsertNulls(beforeLast ? voice->size() - 1 : voice->size(), largest - voice->size());
  }
  for (nChordArray* voice : voices_) voice->FoldSpecialEventsIntoBars();
}

uint32_t CVoicesArray::MeasureVoices() {
  uint32_t longest = 0;
  size_t bars = 0;
  for (const nChordArray* voice : voices_) {
    longest = std::max(longest, voice->TotalLength());
    const size_t barLines = static_cast<size_t>(std::count_if(voice->begin(), voice->end(), [](const auto& e) {
      return e != nullptr && e->IsBarLine();
    }));
    bars = std::max(bars, barLines + 1);
  }
  largestBarCount = static_cast<int32_t>(bars);
  return longest;
}

size_t CVoicesArray::GetMaxEventCount() const {
  size_t most = 0;
  for (const nChordArray* voice : voices_) most = std::max(most, voice->CountBarsAndEvents());
  return most;
}

void CVoicesArray::ClearItems(ClearCommand command) {
  for (nChordArray* voice : voices_) voice->ClearItems(command);
}

void CVoicesArray::RespellVoices(const CKey& key) {
  // The bar-by-bar pass spells every note of every chord with its status bit 2, as respelling
  // keeping marks does, and sets or clears bit 5 itself: a respelling pass before it would be
  // all overwritten.
  for (nChordArray* voice : voices_) voice->RespellInKey(key);
}

}  // namespace vornel
