#include "midi/nTrackArray.h"

#include <algorithm>

namespace vornel {

int32_t nTrackArray::GetTempo() const {
  for (const auto& t : *this) {
    if (t != nullptr && t->tempo > 0) return t->tempo;
  }
  return 120;
}

void nTrackArray::GetTimeSignature(int32_t& num, int32_t& den) const {
  for (const auto& t : *this) {
    if (t != nullptr && t->numerator > 0 && t->denominator > 0) {
      num = t->numerator;
      den = t->denominator;
      return;
    }
  }
  num = 4;
  den = 4;
}

void nTrackArray::GetKeySignature(int32_t& accidentals, int32_t& minor) const {
  for (const auto& t : *this) {
    if (t != nullptr && t->hasKey) {
      accidentals = t->keyAccidentals;
      minor = t->keyMinor;
      return;
    }
  }
  accidentals = 0;
  minor = 0;
}

void nTrackArray::ApplyTrackChoices(const std::vector<int32_t>& choices) {
  size_t next = 0;
  for (const auto& t : *this) {
    if (t == nullptr || t->mark != TrackInfo::kImport) continue;
    if (next >= choices.size()) break;
    t->choice = choices[next++] - 1;
  }
}

size_t nTrackArray::MergeTrackBuffers() {
  merged.clear();
  metaRecords.clear();
  tempo = GetTempo();
  GetTimeSignature(numerator, denominator);
  GetKeySignature(keyAccidentals, keyMinor);
  size_t noteOns = 0;
  for (const auto& t : *this) {
    if (t == nullptr) continue;
    metaRecords.insert(metaRecords.end(), t->metaRecords.begin(), t->metaRecords.end());
    if (t->mark != TrackInfo::kImport || t->notes.empty()) continue;
    for (const strMidiNote& r : t->notes) noteOns += r.kind == strMidiNote::kImportNoteOn ? 1 : 0;
    // Each track's records are in time order already; a stable merge keeps earlier tracks
    // first on equal places.
    t->notes.Sort();
    merged.Merge(std::move(t->notes));
  }
  std::stable_sort(metaRecords.begin(), metaRecords.end(),
                   [](const MidiMetaRecord& x, const MidiMetaRecord& y) { return x.time < y.time; });
  metaRecords.erase(std::unique(metaRecords.begin(), metaRecords.end()), metaRecords.end());
  return noteOns;
}

}  // namespace vornel
